#include <QLabel>
#include <QTimer>

#include "support/windows_fixture.h"

namespace ripartino {
namespace {

TEST_F(WindowsTest, TheStartWindowOpensCentredWithTheFocusOnExit)
{
    StartWindow& start = windows.startWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&start));
    EXPECT_EQ(start.windowTitle(), QStringLiteral("Ripartino"));
    EXPECT_EQ(start.pos(), QPoint(395, 291));
    EXPECT_EQ(QApplication::focusWidget(), control(&start, "cmdesci"));
    EXPECT_EQ(control<QLabel>(&start, "Label4")->text(), QStringLiteral("Dividendo e divisore decimali"));
    EXPECT_EQ(control<QPushButton>(&start, "cmd2")->text(), QStringLiteral("II caso"));

    // The load handler handed its icon over for the print window, which it neither showed nor
    // made: made later, the print window has it.
    EXPECT_EQ(windows.openPrintWindow(), nullptr);
    EXPECT_EQ(windows.printWindow().windowIcon().cacheKey(), start.windowIcon().cacheKey());
    EXPECT_FALSE(windows.printWindow().isVisible());

    // Tab walks the case buttons and the two pictures, never a label, and comes round.
    std::vector<QString> focused;
    for (int press = 0; press < 8; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        focused.push_back(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(focused, (std::vector<QString>{"cmd1", "cmd2", "cmd3", "cmd4", "cmd5", "Picture1", "Picture2",
                                             "cmdesci"}));
    // There are no access keys: Alt with a caption's letter does nothing.
    QTest::keyClick(&start, Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(windows.openCaseWindow(DivisionCase::I), nullptr);
}

TEST_F(WindowsTest, ACaseButtonOpensItsWindowAndClosesTheStartWindow)
{
    CaseWindow& window = openCase(DivisionCase::IV);
    EXPECT_EQ(windows.openStartWindow(), nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pos(), QPoint(395, 291));

    click(&window, "cmdfine");
    ASSERT_NE(windows.openStartWindow(), nullptr);
    EXPECT_TRUE(windows.openStartWindow()->isVisible());
    EXPECT_EQ(windows.openCaseWindow(DivisionCase::IV), nullptr);

    // Esc in a case window does what "Fine" does.
    CaseWindow& again = openCase(DivisionCase::II);
    QTest::keyClick(control(&again, "list"), Qt::Key_Escape);
    EXPECT_EQ(windows.openCaseWindow(DivisionCase::II), nullptr);
    ASSERT_NE(windows.openStartWindow(), nullptr);
    EXPECT_TRUE(windows.openStartWindow()->isVisible());
}

TEST_F(WindowsTest, EscInTheStartWindowEndsTheProgramAtOnce)
{
    // The print window is open and visible, and is not asked to close.
    windows.printWindow().show();
    const int code = runUntilTheProgramEnds([&] { QTest::keyClick(control(windows.openStartWindow(), "Label1"), Qt::Key_Escape); });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(windows.openPrintWindow() && windows.openPrintWindow()->isVisible());
    EXPECT_TRUE(windows.openStartWindow() && windows.openStartWindow()->isVisible());
}

TEST_F(WindowsTest, EnterRightAfterStartPressesExit)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(windows.openStartWindow()));
    EXPECT_EQ(runUntilTheProgramEnds([] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }), 0);
}

TEST_F(WindowsTest, TheProgramEndsWhenItsLastVisibleWindowIsClosed)
{
    CaseWindow& window = openCase(DivisionCase::II);
    click(&window, "cmdinventa");
    click(&window, "cmdstampa");
    ASSERT_TRUE(windows.openPrintWindow()->isVisible());

    bool lastClosed = false;
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, [&] { lastClosed = true; });
    // With the print window still on screen, closing the case window ends nothing.
    window.windowHandle()->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(lastClosed);
    EXPECT_EQ(windows.openCaseWindow(DivisionCase::II), nullptr);

    const int code = runUntilTheProgramEnds([&] { windows.openPrintWindow()->windowHandle()->close(); });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(lastClosed);
}

TEST_F(WindowsTest, AHiddenWindowDoesNotKeepTheProgramRunning)
{
    // The print window is open but hidden.
    windows.printWindow();
    const int code = runUntilTheProgramEnds([&] { windows.openStartWindow()->windowHandle()->close(); });
    EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace ripartino
