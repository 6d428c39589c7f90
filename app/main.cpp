#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include <xcb/xcb.h>

#include "core/random_source.h"
#include "windows/look.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

namespace {

// Without a display Qt would abort with a long platform report; one clear line is kinder.
// Returns why there is none, or nothing when there is one (or another platform was chosen).
const char* missingDisplay()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return nullptr;
    if (!qEnvironmentVariableIsSet("DISPLAY"))
        return "DISPLAY non impostato";
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reached = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reached ? nullptr : "il server X indicato da DISPLAY non risponde";
}

}  // namespace

int main(int argc, char* argv[])
{
    if (const char* why = missingDisplay()) {
        std::fprintf(stderr, "Ripartino: nessuno schermo grafico disponibile (%s).\n", why);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ripartino::look::applicationIcon());

    ripartino::RandomSource source;
    ripartino::ProgramWindows windows(source, ripartino::systemDecimalSeparator());
    windows.startWindow().show();
    return app.exec();
}
