#include <QApplication>

#include <gtest/gtest.h>

#include "ui/look.h"

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says so at every raise(); thousands of times in a long session.
void quietenRaise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message != QLatin1String("This plugin does not support raise()"))
        previousHandler(type, context, message);
}

}  // namespace

int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    // ctest lists the tests before running them, where there may be no display to open.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ripartino::look::applicationIcon());
    ripartino::look::speakItalian();
    previousHandler = qInstallMessageHandler(quietenRaise);
    return RUN_ALL_TESTS();
}
