#include <QProcess>
#include <QSignalSpy>

#include "support/windows_fixture.h"

namespace ripartino {
namespace {

// Each window as a user meets it: the start window, case windows I to V with every button
// shown, the print window.
class EveryWindow : public WindowsTest, public testing::WithParamInterface<int> {
protected:
    QWidget* reach()
    {
        if (GetParam() == 0)
            return windows.openStartWindow();
        CaseWindow& window = openCase(static_cast<DivisionCase>(GetParam() == 6 ? 1 : GetParam()));
        for (const char* button : {"cmdinventa", "cmdvedi", GetParam() == 6 ? "cmdstampa" : "cmdvedi"})
            click(&window, button);
        return GetParam() == 6 ? windows.openPrintWindow() : static_cast<QWidget*>(&window);
    }
};
INSTANTIATE_TEST_SUITE_P(Windows, EveryWindow, testing::Range(0, 7), [](const auto& row) {
    return std::string(std::array{"start", "caseI", "caseII", "caseIII", "caseIV", "caseV", "print"}[row.param]);
});

TEST_P(EveryWindow, GraphicalButtonsShowExactlyTheirColourAndNoWindowStaysMinimised)
{
    QWidget* window = reach();
    const QColor magenta(255, 128, 255), lavender(192, 192, 255);
    const std::map<QString, QColor> graphical = {
        {"cmd1", {255, 192, 128}}, {"cmd2", {128, 128, 255}}, {"cmd3", {128, 255, 128}}, {"cmd4", {255, 128, 128}},
        {"cmd5", {255, 255, 128}}, {"cmdesci", magenta}, {"cmdinventa", lavender}, {"cmdok", lavender},
        {"cmdvedi", magenta}, {"cmdstampa", magenta}, {"cmdfine", magenta}};
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        const QImage face = button->grab().toImage();
        if (GetParam() == 6) {  // "&OK" and "&Annulla" look like any plain button
            QPushButton plain(button->text(), window);
            plain.setGeometry(button->geometry());
            plain.setEnabled(button->isEnabled());
            EXPECT_EQ(plain.grab().toImage(), face);
            continue;
        }
        // The face just inside the border on every side, where no caption or picture goes.
        const int right = face.width() - 3, bottom = face.height() - 3;
        for (const QPoint at : {QPoint(2, 2), QPoint(right / 2, 2), QPoint(right, 2), QPoint(2, bottom / 2),
                                QPoint(right, bottom / 2), QPoint(2, bottom), QPoint(right / 2, bottom)})
            EXPECT_EQ(face.pixelColor(at), graphical.at(button->objectName())) << button->objectName().toStdString();
    }
    window->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isMinimized() && window->isVisible(); }));
}

TEST_F(WindowsTest, ThePrintWindowClosingLastBringsBackTheStartWindow)
{
    CaseWindow& window = openCase(DivisionCase::I);
    click(&window, "cmdinventa");
    click(&window, "cmdstampa");
    window.windowHandle()->close();  // the close box
    QSignalSpy ended(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });  // "premere Inventa ! ..."
    click(windows.openPrintWindow(), "opt10");
    click(windows.openPrintWindow(), "cmdok");
    EXPECT_TRUE(windows.openStartWindow() && windows.openStartWindow()->isVisible());
    EXPECT_TRUE(ended.isEmpty());
}

// Only a window manager stacks windows: the offscreen run starts an X server and openbox and
// runs this test again in them.
TEST_F(WindowsTest, AfterFineThePrintWindowStaysInFrontOfTheStartWindow)
{
    const auto root = [](const char* property) {  // as the window manager keeps it
        QProcess xprop;
        xprop.start("xprop", {"-root", property});
        return xprop.waitForFinished() ? QString(xprop.readAll()) : QString();
    };
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        QProcess server, manager, self;
        server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        ASSERT_TRUE(server.waitForReadyRead(20000));
        qputenv("DISPLAY", ":" + server.readAll().trimmed());  // for the ones started next
        manager.start("openbox", {"--sm-disable"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return root("_NET_SUPPORTING_WM_CHECK").contains("window id"); }, 30000));
        self.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=*.AfterFine*", "-platform", "xcb"});
        EXPECT_TRUE(self.waitForFinished(60000) && self.exitCode() == 0) << self.readAll().toStdString();
        manager.kill(), server.kill(), manager.waitForFinished(), server.waitForFinished();
        return;
    }
    CaseWindow& window = openCase(DivisionCase::I);
    click(&window, "cmdinventa");
    click(&window, "cmdstampa");
    // A real click: the window manager puts a window in front only for a fresh user action.
    const QPoint fine = control(&window, "cmdfine")->mapToGlobal(QPoint(20, 20));
    QProcess::execute("xdotool", QString("mousemove %1 %2 click 1").arg(fine.x()).arg(fine.y()).split(' '));
    // Where a window stands among the managed ones, from the bottom.
    const auto place = [&](QWidget* w) { return root("_NET_CLIENT_LIST_STACKING").indexOf(QString::number(w->winId(), 16)); };
    EXPECT_TRUE(QTest::qWaitFor([&] {
        StartWindow* start = windows.openStartWindow();
        return start && place(start) > 0 && place(windows.openPrintWindow()) > place(start);
    }, 20000));
}

}  // namespace
}  // namespace ripartino
