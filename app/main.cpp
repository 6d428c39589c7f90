#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QApplication>

#include "app/layout_dump.h"
#include "core/random_source.h"
#include "ui/look.h"
#include "ui/x11_window.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

int main(int argc, char* argv[])
{
    // "--layout" prints where the controls stand and ends; it needs no screen.
    const bool dumpLayouts = argc > 1 && std::strcmp(argv[1], "--layout") == 0;
    if (dumpLayouts)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a display Qt would abort with a long platform report; one clear line is kinder.
    if (const char* why = dumpLayouts ? nullptr : ripartino::x11::missingDisplay()) {
        std::fprintf(stderr, "Ripartino: nessuno schermo grafico disponibile (%s).\n", why);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ripartino::look::applicationIcon());
    ripartino::look::speakItalian();

    ripartino::RandomSource source;
    ripartino::ProgramWindows windows(source, ripartino::systemDecimalSeparator());
    if (dumpLayouts) {
        ripartino::dumpLayouts(windows, stdout);
        return EXIT_SUCCESS;
    }
    windows.startWindow().show();
    return app.exec();
}
