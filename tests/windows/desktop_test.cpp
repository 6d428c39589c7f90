// What the window system decides (stacking, focus, a held key's repeats), on a real X server with openbox and real
// input. The offscreen run starts them and runs each test again there.

#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>

#include "support/desktop.h"
#include "support/dialog_answerer.h"
#include "support/windows_fixture.h"

namespace ripartino {
namespace {

class DesktopTest : public WindowsTest {
protected:
    // Case window I with its ten exercises, and in front of it the print window opened from it.
    CaseWindow& printFromCaseI()
    {
        openPrintWindow();
        CaseWindow& window = *windows.openCaseWindow(DivisionCase::I);
        EXPECT_TRUE(!desktop::here() || (centred(&window) && centred(windows.openPrintWindow())));
        return window;
    }

    // Waits for `w` to be centred as framed, once the window manager has said what frame it
    // gives: before that a real click may find it elsewhere.
    static bool centred(const QWidget* w)
    {
        return QTest::qWaitFor(
            [&] {
                return w->frameGeometry() != w->geometry()
                    && w->pos() == centredPosition(w->screen()->size(), w->frameGeometry().size());
            },
            waitLimit);
    }
};

// Esc held in the print window closes it, and its repeats press nothing in the case window
// that comes to the front.
TEST_F(DesktopTest, EscHeldClosesThePrintWindowAlone)
{
    if (!desktop::here())
        return desktop::runTheTestThere();
    CaseWindow& window = printFromCaseI();
    desktop::xdotool("keydown Escape");
    QTest::qWait(1500);  // held as a hand holds it, while the server repeats it
    desktop::xdotool("keyup Escape");
    desktop::clickAt(control(&window, "viewButton"));  // input comes in order: this click follows every repeat
    const auto open = [this] { return windows.openCaseWindow(DivisionCase::I); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !open() || control(open(), "copyView")->isVisible(); }, waitLimit));
    EXPECT_TRUE(open() && !windows.openPrintWindow());
}

// X repeats a held key as a release and a press of one time stamp, which Qt at times fails to
// call a repeat. After Esc has closed the print window such a press presses nothing in the
// case window come to the front, while an Esc pressed afresh there goes back.
TEST_F(DesktopTest, AnUnmarkedRepeatOfEscPressesNothingBelow)
{
    CaseWindow& window = printFromCaseI();
    const auto esc = [](QEvent::Type type, ulong stamp) {
        QWidget* to = QApplication::focusWidget();
        if (!to || (type == QEvent::KeyPress && qt_sendShortcutOverrideEvent(to, stamp, Qt::Key_Escape, {})))
            return;
        QKeyEvent key(type, Qt::Key_Escape, {});
        key.setTimestamp(stamp);
        QApplication::sendEvent(to, &key);
    };
    esc(QEvent::KeyPress, 100);
    window.activateWindow();
    ASSERT_TRUE(!windows.openPrintWindow() && QTest::qWaitForWindowActive(&window, waitLimit));
    esc(QEvent::KeyRelease, 140), esc(QEvent::KeyPress, 140), esc(QEvent::KeyRelease, 180);
    ASSERT_TRUE(windows.openCaseWindow(DivisionCase::I));
    esc(QEvent::KeyPress, 400);
    EXPECT_FALSE(windows.openCaseWindow(DivisionCase::I));
}

// While the print window is open it stands in front of the case and start windows, however
// they are clicked: twice in the case window's list, after a message of its own, after "Fine"
// and in the start window.
TEST_F(DesktopTest, ThePrintWindowStaysInFront)
{
    if (!desktop::here())
        return desktop::runTheTestThere();
    CaseWindow& window = printFromCaseI();
    PrintWindow& print = *windows.openPrintWindow();
    // Aside, as a hand would drag it, off the case window and the start window.
    print.move(0, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return print.pos().isNull(); }, waitLimit));
    const auto inFront = [&](const QWidget* other) {
        return desktop::place(other) >= 0 && desktop::place(&print) > desktop::place(other);
    };
    auto* list = control<QListWidget>(&window, "exerciseList");
    const auto clickRow = [&](int row) {
        desktop::clickAt(list->viewport(), list->visualItemRect(list->item(row)).center());
        return QTest::qWaitFor([&] { return list->currentRow() == row; }, waitLimit);
    };
    EXPECT_TRUE(clickRow(1) && clickRow(2) && inFront(&window));

    const DialogAnswerer hands;  // "OK" to the message "&OK" raises
    control<QLineEdit>(&print, "copiesField")->setText("0");
    click(&print, "operations10Option", "oneColumnOption", "okButton");
    EXPECT_TRUE(clickRow(3) && inFront(&window));

    // A real click: the window manager puts a window in front only for a fresh user action.
    desktop::clickAt(control(&window, "backButton"), {20, 20});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return windows.openStartWindow() && inFront(windows.openStartWindow()); }, waitLimit));
    StartWindow& start = *windows.openStartWindow();
    ASSERT_TRUE(centred(&start));
    desktop::clickAt(control(&start, "case1Label"));
    desktop::clickAt(control(&start, "case2Label"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&start, waitLimit) && inFront(&start));
}

// The window manager may minimise a window (openbox draws the button whatever the hints say),
// and there is no taskbar button to undo that: the window comes straight back.
TEST_F(DesktopTest, AMinimisedWindowComesBack)
{
    if (!desktop::here())
        return desktop::runTheTestThere();
    CaseWindow& window = openCase(DivisionCase::I);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, waitLimit));
    QSignalSpy states(window.windowHandle(), &QWindow::windowStateChanged);
    desktop::xdotool(QString("windowminimize %1").arg(window.winId()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return states.count() >= 2 && !window.isMinimized(); }, waitLimit));
    EXPECT_EQ(states.value(0).value(0).value<Qt::WindowState>(), Qt::WindowMinimized);
}

// The division worked out by a real double click and Enter, stepped by the real arrows and End, copied
// through the X clipboard; it stands above its case window, and Esc held leaves that with its ten exercises.
TEST_F(DesktopTest, AnExerciseWorkedOutByRealInput)
{
    if (!desktop::here())
        return desktop::runTheTestThere();
    CaseWindow& window = openCase(DivisionCase::IV);
    ASSERT_TRUE(centred(&window));
    desktop::clickAt(control(&window, "inventButton"));
    auto* list = control<QListWidget>(&window, "exerciseList");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->count() == 10; }, waitLimit));
    const QPoint row = list->viewport()->mapToGlobal(list->visualItemRect(list->item(1)).center());
    desktop::xdotool(QString("mousemove %1 %2 click --repeat 2 --delay 80 1").arg(row.x()).arg(row.y()));
    const auto worked = [&] { return windows.openWorkedDivisionWindow(); };
    const auto shown = [&](std::size_t steps) {
        return QTest::qWaitFor([&] { return worked() && worked()->stepsShown() == steps; }, waitLimit);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return worked() && worked()->isActiveWindow(); }, waitLimit));
    EXPECT_TRUE(worked()->line() == list->item(1)->text() && desktop::place(worked()) > desktop::place(&window));
    desktop::xdotool("key Right Right Left");
    EXPECT_TRUE(shown(1));
    desktop::xdotool("key End ctrl+c");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !control(worked(), "allButton")->isEnabled(); }, waitLimit));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::clipboard()->text() == worked()->text(); }, waitLimit));

    // Held: its repeats press nothing in the case window that comes to the front. Input comes in
    // order, so the keys after it find the case window, or nothing, once every repeat is in.
    desktop::xdotool("keydown Escape");
    QTest::qWait(1500);  // held as a hand holds it, while the server repeats it
    desktop::xdotool("keyup Escape");
    desktop::xdotool("key Down Return");
    const auto open = [this] { return windows.openCaseWindow(DivisionCase::IV); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return open() && list->currentRow() == 2; }, waitLimit) && list->count() == 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return worked() && worked()->isActiveWindow(); }, waitLimit));
    EXPECT_EQ(worked()->line(), list->item(2)->text());
}

}  // namespace
}  // namespace ripartino
