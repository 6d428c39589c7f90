#include <QClipboard>
#include <QRadioButton>

#include "windows_fixture.h"

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

using KeyboardTest = WindowsTest;

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
