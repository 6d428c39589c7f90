#include <clocale>
#include <cstring>

#include "support/windows_fixture.h"

namespace ripartino {
namespace {

// Case IV has a decimal dividend and a decimal divisor, so every line carries separators.
TEST_F(WindowsTest, UnderItalianSettingsNumbersHaveADecimalComma)
{
    // Qt reads the name from LC_ALL even where the C library has no such locale; a machine
    // without it_IT.UTF-8 must fail here, not pass on Qt's tables alone.
    ASSERT_STREQ(std::setlocale(LC_ALL, nullptr), "it_IT.UTF-8")
        << "the it_IT.UTF-8 locale is not installed (locale -a lacks it_IT.utf8): run scripts/setup.sh";
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(systemDecimalSeparator(), ",");
    CaseWindow& window = openCase(DivisionCase::IV);
    click(&window, "cmdinventa");
    for (const QString& line : listed(window))
        EXPECT_TRUE(line.contains(QLatin1Char(',')) && !line.contains(QLatin1Char('.'))) << line.toStdString();
}

}  // namespace
}  // namespace ripartino
