#pragma once

#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// Only a window manager stacks windows, moves the focus and repeats a held key: a test of
// such things runs again in a program of its own, on an X server and openbox started for
// it, and drives the windows there with real input.
namespace ripartino::desktop {

inline bool here() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// A property of the root window, as the window manager keeps it; empty when xprop fails.
inline QString root(const char* property)
{
    QProcess xprop;
    xprop.start("xprop", {"-root", property});
    return xprop.waitForFinished(10000) ? QString(xprop.readAll()) : QString();
}

// Real input through the X server: "mousemove 10 20 click 1", "keydown Escape", ...
inline void xdotool(const QString& arguments) { QProcess::execute("xdotool", arguments.split(' ')); }
inline void clickAt(const QWidget* control, QPoint at = {8, 8})
{
    const QPoint global = control->mapToGlobal(at);
    xdotool(QString("mousemove %1 %2 click 1").arg(global.x()).arg(global.y()));
}

// Where `window` stands among the managed windows, from the bottom; -1 when not among them.
inline qsizetype place(const QWidget* window)
{
    return root("_NET_CLIENT_LIST_STACKING").indexOf(QString::number(window->winId(), 16));
}

// Runs the current test again on a desktop of its own and says whether it passed there.
inline void runTheTestThere()
{
    const testing::TestInfo& test = *testing::UnitTest::GetInstance()->current_test_info();
    QProcess server, manager, self;
    server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForReadyRead(20000));
    qputenv("DISPLAY", ":" + server.readAll().trimmed());  // for the ones started next
    // openbox names itself on the root window before its event loop runs, and events that
    // come in between (a window mapped) can wait unread until some other event comes: only
    // the command it starts just before the loop says that it manages windows. Started
    // before the server takes clients, it gives up at once.
    manager.setProcessChannelMode(QProcess::MergedChannels);
    QByteArray said;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (manager.state() == QProcess::NotRunning)  // gave up: once more
                manager.start("openbox", {"--sm-disable", "--startup", "echo managing windows"});
            return (said += manager.readAll()).contains("managing windows");
        },
        30000))
        << said.toStdString();
    self.setProcessChannelMode(QProcess::MergedChannels);
    self.start(QCoreApplication::applicationFilePath(),
               {QString("--gtest_filter=%1.%2").arg(test.test_suite_name(), test.name()), "-platform", "xcb"});
    const bool finished = self.waitForFinished(90000);
    const QByteArray output = self.readAll();  // a filter that ran nothing passes too: ask for the one test
    EXPECT_TRUE(finished && self.exitCode() == 0 && output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
    self.kill(), manager.kill(), server.kill();
    self.waitForFinished(), manager.waitForFinished(), server.waitForFinished();
}

}  // namespace ripartino::desktop
