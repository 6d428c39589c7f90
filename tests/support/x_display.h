#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

namespace ripartino {

// A property of the X root window, as the window manager keeps it.
inline QString rootProperty(const char* property)
{
    QProcess xprop;
    xprop.start("xprop", {"-root", property});
    return xprop.waitForFinished() ? QString(xprop.readAll()) : QString();
}

// Only an X server with a window manager stacks windows, moves the focus and delivers real
// input: runs the tests of `filter` of this program again in Xvfb and openbox of their own,
// and fails with their output unless they pass.
inline void runAgainOnXvfb(const char* filter)
{
    QProcess server, manager, self;
    server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForReadyRead(20000));
    qputenv("DISPLAY", ":" + server.readAll().trimmed());  // for the ones started next
    // The server names its display before it takes clients; a window manager started
    // earlier gives up at once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rootProperty("_NET_SUPPORTING_WM_CHECK").isEmpty(); }, 30000));
    manager.setProcessChannelMode(QProcess::MergedChannels);
    QByteArray said;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (manager.state() == QProcess::NotRunning) {  // gave up: once more
                said += manager.readAll();
                manager.start("openbox", {"--sm-disable"});
            }
            return rootProperty("_NET_SUPPORTING_WM_CHECK").contains("window id");
        },
        30000))
        << said.toStdString();
    self.setProcessChannelMode(QProcess::MergedChannels);
    self.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--gtest_filter=") + filter, "-platform", "xcb"});
    const bool ended = self.waitForFinished(120000);
    if (!ended)
        self.kill(), self.waitForFinished();
    EXPECT_TRUE(ended && self.exitStatus() == QProcess::NormalExit && self.exitCode() == 0)
        << self.readAll().toStdString();
    manager.kill(), server.kill(), manager.waitForFinished(), server.waitForFinished();
}

}  // namespace ripartino
