#include <QApplication>

#include <cstdio>
#include <cstdlib>

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
    ripartino::StartWindow start;
    start.show();
    return app.exec();
}
