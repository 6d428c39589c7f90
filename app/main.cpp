#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "core/random_source.h"
#include "windows/look.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

namespace {

// Without a display Qt would abort with a long platform report; one clear line is kinder.
bool displayAvailable()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!displayAvailable()) {
        std::fputs("Ripartino: nessuno schermo grafico disponibile (DISPLAY non impostato).\n", stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ripartino::look::applicationIcon());

    ripartino::RandomSource source;
    ripartino::ProgramWindows windows(source, ripartino::systemDecimalSeparator());
    windows.startWindow().show();
    return app.exec();
}
