#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "support/windows_fixture.h"

namespace ripartino {
namespace {

// The divisor of an exercise line "dividend : divisor = ".
QString divisorOf(const QString& line)
{
    return line.section(QStringLiteral(" : "), 1).section(QStringLiteral(" = "), 0, 0);
}

TEST_F(WindowsTest, ACaseWindowOpensInItsInitialState)
{
    for (const DivisionCase divisionCase : allCases) {
        CaseWindow& window = openCase(divisionCase);
        SCOPED_TRACE(window.objectName().toStdString());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_EQ(window.windowTitle(), QString::fromStdString(caseNumeral(divisionCase) + " caso"));
        EXPECT_TRUE(control<QLabel>(&window, "Label1")->text().startsWith(window.windowTitle() + ":"));
        EXPECT_EQ(window.pos(), QPoint(395, 291));
        EXPECT_TRUE(control<QRadioButton>(&window, "optrnd")->isChecked());
        EXPECT_FALSE(control<QRadioButton>(&window, "opt1")->isChecked());
        EXPECT_FALSE(control<QRadioButton>(&window, "opt2")->isChecked());
        EXPECT_TRUE(listed(window).isEmpty());
        for (const char* hidden : {"cmdstampa", "cmdvedi", "cmdok", "txtris", "txt"})
            EXPECT_FALSE(control(&window, hidden)->isVisible()) << hidden;
        EXPECT_TRUE(control(&window, "cmdinventa")->isVisible());
        EXPECT_TRUE(control(&window, "cmdfine")->isVisible());
        EXPECT_EQ(window.printMark(), QString());
        EXPECT_EQ(QApplication::focusWidget(), control(&window, "cmdinventa"));
        click(&window, "cmdfine");
    }
}

TEST_F(WindowsTest, InventingFillsTheListAndTheCopyTextWithTenNewLines)
{
    CaseWindow& window = openCase(DivisionCase::I);
    auto* txtris = control<QPlainTextEdit>(&window, "txtris");
    click(&window, "cmdinventa");
    EXPECT_TRUE(control(&window, "cmdstampa")->isVisible());
    EXPECT_TRUE(control(&window, "cmdvedi")->isVisible());
    EXPECT_FALSE(txtris->isVisible());
    const QStringList first = listed(window);
    ASSERT_EQ(first.size(), 10);
    EXPECT_EQ(txtris->toPlainText(), first.join(QString()));

    // The copy view opens on the text already there, and shows a new invention at once.
    click(&window, "cmdvedi");
    EXPECT_TRUE(txtris->isVisible());
    EXPECT_TRUE(control(&window, "cmdok")->isVisible());
    click(&window, "opt1");
    click(&window, "cmdinventa");
    const QStringList second = listed(window);
    ASSERT_EQ(second.size(), 10);
    EXPECT_NE(second, first);
    EXPECT_EQ(txtris->toPlainText(), second.join(QString()));
    for (const QString& line : second) {
        EXPECT_TRUE(line.endsWith(QStringLiteral(" = "))) << line.toStdString();
        EXPECT_EQ(divisorOf(line).size(), 1) << line.toStdString();
    }

    click(&window, "cmdok");
    EXPECT_FALSE(txtris->isVisible());
    EXPECT_FALSE(control(&window, "cmdok")->isVisible());
    EXPECT_TRUE(control(&window, "cmdvedi")->isVisible());

    // "2 cifre" changes only the next invention.
    click(&window, "opt2");
    EXPECT_EQ(listed(window), second);
    QTest::keyClick(control(&window, "cmdinventa"), Qt::Key_Space);
    for (const QString& line : listed(window))
        EXPECT_EQ(divisorOf(line).size(), 2) << line.toStdString();
}

TEST_F(WindowsTest, ThePrintMarkStaysUntilTheCaseWindowCloses)
{
    CaseWindow& window = openCase(DivisionCase::IV);
    EXPECT_EQ(windows.caseWindowState(DivisionCase::IV).printMark, "");
    click(&window, "cmdinventa");
    click(&window, "cmdstampa");
    EXPECT_EQ(window.printMark(), QStringLiteral("4"));
    ASSERT_NE(windows.openPrintWindow(), nullptr);
    EXPECT_TRUE(windows.openPrintWindow()->isVisible());
    EXPECT_TRUE(window.isVisible());

    click(&window, "opt2");
    click(&window, "cmdinventa");
    click(&window, "cmdstampa");
    EXPECT_EQ(control<QLineEdit>(&window, "txt")->text(), QStringLiteral("4"));
    const CaseWindowStates states = windows.caseWindowStates();
    for (const DivisionCase divisionCase : allCases) {
        const CaseWindowState& state = states[static_cast<std::size_t>(divisionCase) - 1];
        EXPECT_EQ(state.printMark, divisionCase == DivisionCase::IV ? "4" : "");
    }
    EXPECT_EQ(states[3].divisorDigits, DivisorDigits::TwoDigits);

    // Closed, the window reads as unmarked and stays closed for the reading.
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(windows.caseWindowState(DivisionCase::IV).printMark, "");
    EXPECT_EQ(windows.openCaseWindow(DivisionCase::IV), nullptr);
    EXPECT_TRUE(windows.openPrintWindow()->isVisible());

    CaseWindow& reopened = openCase(DivisionCase::IV);
    EXPECT_EQ(reopened.printMark(), QString());
    EXPECT_TRUE(listed(reopened).isEmpty());
    EXPECT_EQ(reopened.divisorDigits(), DivisorDigits::Mixed);
}

TEST_F(WindowsTest, UnderCLocaleNumbersHaveADecimalPoint)
{
    CaseWindow& window = openCase(DivisionCase::IV);
    click(&window, "cmdinventa");
    const QString text = listed(window).join(QString());
    EXPECT_TRUE(text.contains(QLatin1Char('.')));
    EXPECT_FALSE(text.contains(QLatin1Char(',')));
}

}  // namespace
}  // namespace ripartino
