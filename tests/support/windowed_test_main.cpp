#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

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
    // A home of the program's own, gone when it ends: what a test saves, the folders a file
    // dialog makes and the dialog's remembered folder stay out of the user's home, and no test
    // beside it changes the folder a dialog shows. Fontconfig's cache is shared, not rebuilt.
    const QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "no home for the tests: %s\n", qPrintable(home.errorString()));
        return 1;
    }
    if (!qEnvironmentVariableIsSet("XDG_CACHE_HOME"))
        qputenv("XDG_CACHE_HOME", QFile::encodeName(QDir::homePath() + QStringLiteral("/.cache")));
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ripartino::look::applicationIcon());
    ripartino::look::speakItalian();
    previousHandler = qInstallMessageHandler(quietenRaise);
    return RUN_ALL_TESTS();
}
