#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>

#include "support/windows_fixture.h"
#include "support/x_display.h"

namespace ripartino {
namespace {

QString focused() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
void tabTo(const QString& name)
{
    for (int presses = 0; presses < 16 && focused() != name; ++presses)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(focused(), name);
}

class CaseStory : public WindowsTest, public testing::WithParamInterface<DivisionCase> {};
INSTANTIATE_TEST_SUITE_P(Cases, CaseStory, testing::ValuesIn(allCases),
                         [](const auto& row) { return caseNumeral(row.param); });

// One visit to a case window. It opens centred in place of the start window; its divisor group
// is one tab stop entered on the selected option; it invents, copies, asks for a worksheet
// (whose option groups the arrows set, beside plain buttons); it opens again fresh, and cannot
// stay minimised.
TEST_P(CaseStory, OpenInventCopyPrintAndLeave)
{
    const DivisionCase shown = GetParam();
    CaseWindow* window = &openCase(shown);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(window->pos(), centredPosition(window->screen()->size(), window->frameGeometry().size()));
    EXPECT_EQ(focused(), QStringLiteral("inventButton"));
    EXPECT_EQ(control(window, "printButton")->toolTip().isEmpty(), shown != DivisionCase::I);

    tabTo(QStringLiteral("mixedOption"));  // the divisor group is entered on its selected option
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_TRUE(focused() == QLatin1String("twoDigitsOption") && window->divisorDigits() == DivisorDigits::TwoDigits);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(focused(), QStringLiteral("inventButton"));  // the group was one stop
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    click(window, "viewButton");
    click(window, "inventButton");  // again: ten new lines, at once in the open copy view
    const auto* list = control<QListWidget>(window, "exerciseList");
    const QString copied = control<QPlainTextEdit>(window, "copyView")->toPlainText();
    EXPECT_TRUE(list->count() == 10 && copied.startsWith(list->item(0)->text())
                && copied.endsWith(list->item(9)->text()));
    click(window, "okButton");

    click(window, "printButton");  // the job reads this window's mark and divisor choice
    EXPECT_TRUE(windows.markedCase() && windows.markedCase()->divisionCase == shown
                && windows.markedCase()->divisorDigits == DivisorDigits::TwoDigits);
    PrintWindow* print = windows.openPrintWindow();
    ASSERT_TRUE(print && QTest::qWaitForWindowActive(print));
    for (QPushButton* button : print->findChildren<QPushButton*>()) {  // "&OK" and "&Annulla": plain buttons
        QPushButton plain(button->text(), print);
        plain.setGeometry(button->geometry());
        plain.setEnabled(button->isEnabled());
        EXPECT_EQ(plain.grab().toImage(), button->grab().toImage());
    }
    tabTo(QStringLiteral("operations10Option"));  // nothing selected: the group is entered on its first option
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_TRUE(control<QRadioButton>(print, "operations20Option")->isChecked() && control(print, "okButton")->isEnabled());

    click(window, "backButton");
    ASSERT_TRUE(!windows.openCaseWindow(shown) && windows.openStartWindow());
    CaseWindow& again = openCase(shown);
    EXPECT_TRUE(control<QListWidget>(&again, "exerciseList")->count() == 0 && again.printMark().isEmpty()
                && again.divisorDigits() == DivisorDigits::Mixed);
    for (const char* hidden : {"printButton", "viewButton", "okButton", "copyView", "printMark"})
        EXPECT_TRUE(control(&again, hidden)->isHidden()) << hidden;
    again.setWindowState(Qt::WindowMinimized);  // a window manager may; there is no taskbar button to undo it
    EXPECT_TRUE(QTest::qWaitFor([&] { return !again.isMinimized() && again.isVisible(); }));
}

// The start window: the focus on "Esci", its icon handed to a print window not yet
// made, no access keys. A window that has just appeared takes no part of the gesture that
// opened it (the second press of a double click, a held key's repeats), while a click or a
// key of its own acts at once. The program ends at once by Enter right after start and by Esc
// with the print window open, and when its last visible window is closed, hidden ones or not;
// the print window never closes last.
TEST_F(WindowsTest, TheStartWindowGesturesAndTheWaysToEnd)
{
    StartWindow& start = *windows.openStartWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&start));
    EXPECT_EQ(focused(), QStringLiteral("exitButton"));
    EXPECT_EQ(windows.printWindow().windowIcon().cacheKey(), start.windowIcon().cacheKey());
    QTest::keyClick(&start, Qt::Key_I, Qt::AltModifier);  // no access keys: Enter below still reaches "Esci"
    EXPECT_EQ(runUntilTheProgramEnds([] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }), 0);
    windows.printWindow().show();
    EXPECT_EQ(runUntilTheProgramEnds([&] { QTest::keyClick(control(&start, "case1Label"), Qt::Key_Escape); }), 0);
    EXPECT_TRUE(windows.openPrintWindow()->isVisible() && start.isVisible());

    // QTest keeps its clicks a double-click time apart; a hand's double click is quicker.
    const auto quickly = [] { QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval; };
    click(&start, "case1Button");
    quickly();
    CaseWindow& window = *windows.openCaseWindow(DivisionCase::I);
    click(&window, "oneDigitOption");
    EXPECT_EQ(window.divisorDigits(), DivisorDigits::Mixed);
    click(&window, "oneDigitOption");
    EXPECT_EQ(window.divisorDigits(), DivisorDigits::OneDigit);
    click(&window, "backButton");
    // Esc held in a case window: the first press goes back, the repeats press nothing.
    QTest::keyClick(&openCase(DivisionCase::III), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitForWindowActive(windows.openStartWindow()));
    auto* esci = control<QPushButton>(windows.openStartWindow(), "exitButton");
    QSignalSpy held(esci, &QPushButton::clicked);
    QTest::simulateEvent(esci, true, Qt::Key_Escape, {}, {}, true);
    QTest::keyClick(esci, Qt::Key_Tab);
    QTest::simulateEvent(esci, true, Qt::Key_Escape, {}, {}, true);
    EXPECT_EQ(held.count(), 0);

    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    openCase(DivisionCase::II).windowHandle()->close();                         // the print window is still on screen
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });  // "premere Inventa ! ..."
    click(windows.openPrintWindow(), "operations10Option");
    click(windows.openPrintWindow(), "okButton");  // closing last, the print window brings back the start window
    ASSERT_TRUE(windows.openStartWindow() && windows.openStartWindow()->isVisible() && lastClosed.isEmpty());
    EXPECT_EQ(runUntilTheProgramEnds([&] { windows.openStartWindow()->windowHandle()->close(); }), 0);
}

// Only a window manager stacks windows: the offscreen run starts an X server and openbox and
// runs this test again in them.
TEST_F(WindowsTest, AfterFineThePrintWindowStaysInFrontOfTheStartWindow)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return runAgainOnXvfb("*.AfterFine*");
    CaseWindow& window = openCase(DivisionCase::I);
    click(&window, "inventButton");
    click(&window, "printButton");
    // A real click: the window manager puts a window in front only for a fresh user action.
    const QPoint fine = control(&window, "backButton")->mapToGlobal(QPoint(20, 20));
    QProcess::execute("xdotool", QString("mousemove %1 %2 click 1").arg(fine.x()).arg(fine.y()).split(' '));
    // Where a window stands among the managed ones, from the bottom.
    const auto place = [&](QWidget* w) {
        return rootProperty("_NET_CLIENT_LIST_STACKING").indexOf(QString::number(w->winId(), 16));
    };
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            StartWindow* start = windows.openStartWindow();
            return start && place(start) > 0 && place(windows.openPrintWindow()) > place(start);
        },
        20000));
}

}  // namespace
}  // namespace ripartino
