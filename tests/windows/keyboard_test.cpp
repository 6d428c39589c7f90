#include <QClipboard>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include "support/pdf_reading.h"
#include "printing/print_window.h"
#include "printing/worksheet/qt_sheet_printer.h"
#include "support/windows_fixture.h"

namespace ripartino {
namespace {

// Keys go where a keyboard sends them: to the control with the focus.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
}

QString focusedName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// Presses Tab until `name` has the focus; fails once the focus has come round.
void tabTo(const char* name)
{
    for (int presses = 0; presses < 16 && focusedName() != QLatin1String(name); ++presses)
        press(Qt::Key_Tab);
    ASSERT_EQ(focusedName(), QLatin1String(name));
}

// Whether `window` has come to have the keyboard.
bool hasTheKeyboard(QWidget* window)
{
    return window && QTest::qWaitForWindowActive(window) && QApplication::activeWindow() == window;
}

// When the print window closes, the window manager gives the keyboard back to the window
// beneath; the offscreen platform has no window manager, so the test does it.
bool getsTheKeyboardBack(QWidget* window)
{
    window->activateWindow();
    return hasTheKeyboard(window);
}

// The print window's jobs go to a PDF file, one file per job.
class KeyboardTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        windows.setPrinterFactory([this] {
            return std::make_unique<QtSheetPrinter>(folder.filePath(QStringLiteral("job%1.pdf").arg(++jobs)));
        });
    }

    // Presses the print button of the case window in front; the print window should then
    // have the keyboard.
    PrintWindow* openPrintWindow()
    {
        tabTo("cmdstampa");
        press(Qt::Key_Space);
        PrintWindow* print = windows.openPrintWindow();
        EXPECT_TRUE(hasTheKeyboard(print));
        return print;
    }

    QTemporaryDir folder;
    int jobs = 0;
};

// From the start window through every case window and out again, with no mouse.
TEST_F(KeyboardTest, TheWholeProgramRunsFromTheKeyboard)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(windows.openStartWindow()));
    EXPECT_EQ(focusedName(), QStringLiteral("cmdesci"));

    // Case I: pick "2 cifre", invent with Enter, open the copy view and copy the text out.
    tabTo("cmd1");
    press(Qt::Key_Space);
    CaseWindow* window = windows.openCaseWindow(DivisionCase::I);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(hasTheKeyboard(window));
    EXPECT_EQ(windows.openStartWindow(), nullptr);
    EXPECT_EQ(focusedName(), QStringLiteral("cmdinventa"));

    // Tab enters the divisor group once; the arrows move within it, Space selects.
    tabTo("opt1");
    press(Qt::Key_Down);
    press(Qt::Key_Space);
    EXPECT_EQ(focusedName(), QStringLiteral("opt2"));
    EXPECT_EQ(window->divisorDigits(), DivisorDigits::TwoDigits);
    tabTo("cmdinventa");
    press(Qt::Key_Return);
    const QStringList lines = listed(*window);
    ASSERT_EQ(lines.size(), 10);
    for (const QString& line : lines)
        EXPECT_EQ(line.section(QStringLiteral(" : "), 1).section(QStringLiteral(" = "), 0, 0).size(), 2)
            << line.toStdString();

    tabTo("cmdvedi");
    press(Qt::Key_Space);
    ASSERT_TRUE(control(window, "txtris")->isVisible());
    tabTo("txtris");
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), lines.join(QString()));
    tabTo("cmdok");
    press(Qt::Key_Return);
    EXPECT_FALSE(control(window, "txtris")->isVisible());

    // The print window: Esc and Alt+A leave it without printing; the focus starts on "&Annulla".
    PrintWindow* print = openPrintWindow();
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(focusedName(), QStringLiteral("cmdannulla"));
    press(Qt::Key_Escape);
    EXPECT_EQ(windows.openPrintWindow(), nullptr);
    ASSERT_TRUE(getsTheKeyboardBack(window));
    ASSERT_NE(print = openPrintWindow(), nullptr);
    // An access key presses its button a moment later, as a click would look.
    press(Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !windows.openPrintWindow(); }, 2000));
    ASSERT_TRUE(getsTheKeyboardBack(window));

    // Then a printed sheet: 20 operations in two columns, two copies, a heading of our own.
    ASSERT_NE(print = openPrintWindow(), nullptr);
    press(Qt::Key_O, Qt::AltModifier);  // nothing to press yet: "&OK" waits for a choice
    QTest::qWait(300);
    EXPECT_EQ(jobs, 0);
    tabTo("txtcom");
    press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Dividi:"));
    tabTo("txtcop");
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_2);
    tabTo("opt10");
    press(Qt::Key_Right);
    press(Qt::Key_Space);
    EXPECT_TRUE(control<QRadioButton>(print, "opt20")->isChecked());
    tabTo("optc1");
    press(Qt::Key_Right);
    press(Qt::Key_Space);
    EXPECT_TRUE(control<QRadioButton>(print, "optc2")->isChecked());
    press(Qt::Key_O, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !windows.openPrintWindow(); }, 5000));
    EXPECT_EQ(jobs, 1);

    const QString pdf = folder.filePath(QStringLiteral("job1.pdf"));
    EXPECT_EQ(pageCount(pdf), 2);
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_EQ(text.count(QStringLiteral("Dividi:")), 2);
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("\\b2\\)"))), 2) << text.toStdString();
    ASSERT_TRUE(getsTheKeyboardBack(window));

    // The list can be read line by line.
    tabTo("list");
    press(Qt::Key_Down);
    press(Qt::Key_End);
    EXPECT_EQ(control<QListWidget>(window, "list")->currentRow(), 9);

    press(Qt::Key_Escape);
    EXPECT_EQ(windows.openCaseWindow(DivisionCase::I), nullptr);

    // Every other case: the n-th case button is n presses of Tab from "Esci".
    for (const DivisionCase divisionCase : {DivisionCase::II, DivisionCase::III, DivisionCase::IV, DivisionCase::V}) {
        SCOPED_TRACE(static_cast<int>(divisionCase));
        ASSERT_NE(windows.openStartWindow(), nullptr);
        ASSERT_TRUE(hasTheKeyboard(windows.openStartWindow()));
        EXPECT_EQ(focusedName(), QStringLiteral("cmdesci"));
        for (int presses = 0; presses < static_cast<int>(divisionCase); ++presses)
            press(Qt::Key_Tab);
        press(Qt::Key_Return);
        window = windows.openCaseWindow(divisionCase);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(hasTheKeyboard(window));
        press(Qt::Key_Space);
        EXPECT_EQ(listed(*window).size(), 10);
        EXPECT_TRUE(control(window, "cmdstampa")->isVisible());
        tabTo("cmdfine");
        press(Qt::Key_Space);
        EXPECT_EQ(windows.openCaseWindow(divisionCase), nullptr);
    }

    // Esc in the start window ends the program.
    ASSERT_TRUE(hasTheKeyboard(windows.openStartWindow()));
    EXPECT_EQ(runUntilTheProgramEnds([] { press(Qt::Key_Escape); }), 0);
}

}  // namespace
}  // namespace ripartino
