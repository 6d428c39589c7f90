#include <gtest/gtest.h>

#include <QApplication>

#include "windows/look.h"

int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests happens at build time, where there may be no display to open.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ripartino::look::applicationIcon());
    return RUN_ALL_TESTS();
}
