#include <QCheckBox>
#include <QClipboard>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>

#include "core/answers.h"
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
        ASSERT_TRUE(QTest::qWaitForWindowActive(window, waitLimit));
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
    ASSERT_TRUE(print && QTest::qWaitForWindowActive(print, waitLimit));
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

// The context menu's one entry, picked as a hand picks it once the menu is up.
void pickFromContextMenu(QWidget* on, QPoint at)
{
    QTimer menu;
    QObject::connect(&menu, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget())
            menu.stop(), QTest::keyClick(popup, Qt::Key_Down), QTest::keyClick(popup, Qt::Key_Return);
    });
    menu.start(10);
    QTest::mouseClick(on->window()->windowHandle(), Qt::RightButton, {}, on->mapTo(on->window(), at));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !menu.isActive(); }, waitLimit));
}

// An exercise worked out: step by step from none, copied whole, the long form kept; Esc closes it, as do a
// new invention and the case window's end.
TEST_P(CaseStory, ShowsAnExerciseWorkedOut)
{
    click(window, "inventButton");
    auto* list = control<QListWidget>(window, "exerciseList");
    EXPECT_EQ(list->toolTip(), QStringLiteral("Doppio clic su una divisione per vederla svolta"));
    // Through the window, which makes a double click of two clicks as the window system's input.
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                       list->viewport()->mapTo(window, list->visualItemRect(list->item(2)).center()));
    WorkedDivisionWindow* worked = windows.openWorkedDivisionWindow();
    ASSERT_TRUE(worked && QTest::qWaitForWindowActive(worked, waitLimit));
    EXPECT_TRUE(worked->windowTitle() == QLatin1String("Divisione svolta") && worked->parent() == window
                && !worked->isModal() && worked->line() == list->item(2)->text());
    const auto enabled = [&] {
        std::string on;
        for (const char* name : {"previousButton", "nextButton", "allButton"})
            on += control(worked, name)->isEnabled() ? '1' : '0';
        return on + ' ' + std::to_string(worked->stepsShown());
    };
    EXPECT_EQ(enabled(), "011 0");  // every exercise takes two steps at least
    press(Qt::Key_Right);
    EXPECT_EQ(enabled(), "111 1");
    press(Qt::Key_Left);
    EXPECT_EQ(enabled(), "011 0");
    press(Qt::Key_Space);
    EXPECT_EQ(enabled(), "111 1");
    press(Qt::Key_End);
    const std::string all = std::to_string(worked->stepsShown());
    EXPECT_EQ(enabled(), "100 " + all);
    tabTo(QStringLiteral("paper"));
    const QFontMetricsF digits(control(worked, "paper")->font());
    EXPECT_GE(digits.tightBoundingRect(QStringLiteral("0123456789")).height(), 28);
    const int square = control(worked, "paper")->font().pixelSize();
    worked->resize(worked->size() * 3 / 2);  // and grow with the window
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return control(worked, "paper")->font().pixelSize() >= square * 3 / 2 - 1; }, waitLimit));

    // The text is the core's, its last line the solution sheet's.
    const QStringList numbers = list->item(2)->text().split(QStringLiteral(" "));
    const std::string separator = windows.decimalSeparator();
    const auto core = workedDivision(*parseDecimal(numbers[0].toStdString(), separator),
                                     *parseDecimal(numbers[2].toStdString(), separator));
    const std::string answer = *writtenDivisionAnswer(numbers[0].toStdString(), numbers[2].toStdString(), separator);
    QTest::keyClick(worked, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied.toStdString(), workedDivisionText(*core, separator, false));
    EXPECT_TRUE(copied.endsWith(QString::fromStdString(" = " + answer)));
    EXPECT_EQ(control(worked, "paper")->accessibleDescription(),
              copied + "\nPasso " + all.c_str() + " di " + all.c_str() + ": "
                  + QString::number(core->steps.back().partial) + " : " + QString::number(core->wholeDivisor) + " = "
                  + QString::number(core->steps.back().digit) + " resto "
                  + QString::number(core->steps.back().remainder));
    click(worked, "productsBox");
    QApplication::clipboard()->clear();
    pickFromContextMenu(control(worked, "paper"), {20, 20});
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), workedDivisionText(*core, separator, true));

    list->setCurrentRow(4);
    QTest::keyClick(list, Qt::Key_Return);  // the same window, for another line
    EXPECT_TRUE(windows.openWorkedDivisionWindow() == worked && worked->line() == list->item(4)->text()
                && worked->stepsShown() == 0);
    QTest::keyClick(control(worked, "paper"), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !windows.openWorkedDivisionWindow(); }, waitLimit) && list->count() == 10);
    pickFromContextMenu(list->viewport(), list->visualItemRect(list->item(0)).center());
    ASSERT_TRUE(windows.openWorkedDivisionWindow()
                && QTest::qWaitForWindowActive(windows.openWorkedDivisionWindow(), waitLimit));
    EXPECT_TRUE(windows.openWorkedDivisionWindow()->line() == list->item(0)->text()
                && control<QCheckBox>(windows.openWorkedDivisionWindow(), "productsBox")->isChecked());
    click(window, "inventButton");
    EXPECT_FALSE(windows.openWorkedDivisionWindow());
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_TRUE(windows.openWorkedDivisionWindow());
    click(window, "backButton");
    EXPECT_FALSE(windows.openWorkedDivisionWindow());
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
    ASSERT_TRUE(QTest::qWaitForWindowActive(&start, waitLimit));
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
