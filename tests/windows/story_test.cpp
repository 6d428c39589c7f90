#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>

#include "support/dialog_answerer.h"
#include "support/windows_fixture.h"

namespace ripartino {
void PrintTo(DivisionCase row, std::ostream* out) { *out << caseNumeral(row); }
namespace {

QString focused() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
void tabTo(const QString& name)
{
    for (int presses = 0; presses < 16 && focused() != name; ++presses)
        press(Qt::Key_Tab);
    ASSERT_EQ(focused(), name);
}

// Each case window, opened from the start window and active.
class CaseStory : public WindowsTest, public testing::WithParamInterface<DivisionCase> {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        window = &openCase(GetParam());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    CaseWindow* window = nullptr;
};
INSTANTIATE_TEST_SUITE_P(Cases, CaseStory, testing::ValuesIn(allCases),
                         [](const auto& row) { return caseNumeral(row.param); });

TEST_P(CaseStory, OpensCentredWithTheFocusOnInvent)
{
    EXPECT_EQ(window->pos(), centredPosition(window->screen()->size(), window->frameGeometry().size()));
    EXPECT_EQ(focused(), QStringLiteral("inventButton"));
    EXPECT_EQ(control(window, "printButton")->toolTip().isEmpty(), GetParam() != DivisionCase::I);
}

// Entered on its selected option, the arrows move the choice, and Tab leaves the group.
TEST_P(CaseStory, DivisorGroupIsOneTabStop)
{
    tabTo(QStringLiteral("mixedOption"));
    press(Qt::Key_Up);
    EXPECT_TRUE(focused() == QLatin1String("twoDigitsOption") && window->divisorDigits() == DivisorDigits::TwoDigits
                && !control<QRadioButton>(window, "mixedOption")->isChecked());
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), QStringLiteral("inventButton"));
}

// A second invention shows its ten lines at once in the open copy view.
TEST_P(CaseStory, InventFillsListAndCopyView)
{
    click(window, "inventButton", "viewButton", "inventButton");
    const auto* list = control<QListWidget>(window, "exerciseList");
    const QString copied = control<QPlainTextEdit>(window, "copyView")->toPlainText();
    EXPECT_TRUE(list->count() == 10 && copied.startsWith(list->item(0)->text())
                && copied.endsWith(list->item(9)->text()));
}

// The job reads this window's mark and divisor choice. "&OK" and "&Annulla" are plain
// buttons; with nothing selected an option group is entered on its first option.
TEST_P(CaseStory, PrintAsksForThisCase)
{
    click(window, "twoDigitsOption", "inventButton", "printButton");
    EXPECT_TRUE(windows.markedCase() && windows.markedCase()->divisionCase == GetParam()
                && windows.markedCase()->divisorDigits == DivisorDigits::TwoDigits);
    PrintWindow* print = windows.openPrintWindow();
    ASSERT_TRUE(print && QTest::qWaitForWindowActive(print));
    for (QPushButton* button : print->findChildren<QPushButton*>()) {
        QPushButton plain(button->text(), print);
        plain.setGeometry(button->geometry());
        plain.setEnabled(button->isEnabled());
        EXPECT_EQ(plain.grab().toImage(), button->grab().toImage());
    }
    tabTo(QStringLiteral("operations10Option"));
    press(Qt::Key_Right);
    EXPECT_TRUE(control<QRadioButton>(print, "operations20Option")->isChecked()
                && !control(print, "okButton")->isEnabled());
}

TEST_P(CaseStory, OpensAgainFresh)
{
    click(window, "oneDigitOption", "inventButton", "viewButton", "printButton", "backButton");
    ASSERT_TRUE(!windows.openCaseWindow(GetParam()) && windows.openStartWindow());
    CaseWindow& again = openCase(GetParam());
    EXPECT_TRUE(control<QListWidget>(&again, "exerciseList")->count() == 0 && again.printMark().isEmpty()
                && again.divisorDigits() == DivisorDigits::Mixed);
    for (const char* hidden : {"printButton", "viewButton", "okButton", "copyView", "printMark"})
        EXPECT_TRUE(control(&again, hidden)->isHidden()) << hidden;
}

// At once by Enter right after start ("Esci" has the focus, and no access key takes it away),
// and by Esc with the print window open.
TEST_F(WindowsTest, EndsByEnterOrEsc)
{
    StartWindow& start = *windows.openStartWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&start));
    EXPECT_EQ(focused(), QStringLiteral("exitButton"));
    QTest::keyClick(&start, Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(runUntilTheProgramEnds([] { press(Qt::Key_Return); }), 0);
    windows.printWindow().show();
    EXPECT_EQ(runUntilTheProgramEnds([&] { QTest::keyClick(control(&start, "case1Label"), Qt::Key_Escape); }), 0);
    EXPECT_TRUE(windows.openPrintWindow()->isVisible() && start.isVisible());  // no window was asked to close
}

// The second press of a double click belongs to the start window; a click of its own acts at once.
TEST_F(WindowsTest, NewWindowIgnoresTheGestureThatOpenedIt)
{
    click(windows.openStartWindow(), "case1Button");
    QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;  // as quick as a hand's double click
    CaseWindow& window = *windows.openCaseWindow(DivisionCase::I);
    click(&window, "oneDigitOption");
    EXPECT_EQ(window.divisorDigits(), DivisorDigits::Mixed);
    click(&window, "oneDigitOption");
    EXPECT_EQ(window.divisorDigits(), DivisorDigits::OneDigit);
}

// Left alone on screen, with nothing to print, the print window says so and brings back the
// start window when it closes; the program ends when its last visible window is closed.
TEST_F(WindowsTest, PrintWindowNeverClosesLast)
{
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    windows.printWindow().show();
    openCase(DivisionCase::II).windowHandle()->close();
    const DialogAnswerer hands;
    click(windows.openPrintWindow(), "operations10Option", "oneColumnOption", "okButton");
    EXPECT_TRUE(hands.message.startsWith("Non ci sono esercizi da stampare")) << hands.message.toStdString();
    ASSERT_TRUE(windows.openStartWindow() && windows.openStartWindow()->isVisible() && lastClosed.isEmpty());
    EXPECT_EQ(runUntilTheProgramEnds([&] { windows.openStartWindow()->windowHandle()->close(); }), 0);
}

}  // namespace
}  // namespace ripartino
