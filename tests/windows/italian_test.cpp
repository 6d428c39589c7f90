#include "support/windows_fixture.h"

namespace ripartino {
namespace {

// Case IV has a decimal dividend and a decimal divisor, so every line carries separators.
TEST_F(WindowsTest, UnderItalianSettingsNumbersHaveADecimalComma)
{
    EXPECT_EQ(systemDecimalSeparator(), ",");
    CaseWindow& window = openCase(DivisionCase::IV);
    click(&window, "cmdinventa");
    for (const QString& line : listed(window))
        EXPECT_TRUE(line.contains(QLatin1Char(',')) && !line.contains(QLatin1Char('.'))) << line.toStdString();
}

}  // namespace
}  // namespace ripartino
