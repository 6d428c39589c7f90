#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "core/random_source.h"
#include "ui/look.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"
#include "ui/x11_window.h"

int main(int argc, char* argv[])
{
    // Without a display Qt would abort with a long platform report; one clear line is kinder.
    if (const char* why = ripartino::x11::missingDisplay()) {
        std::fprintf(stderr, "Ripartino: nessuno schermo grafico disponibile (%s).\n", why);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ripartino::look::applicationIcon());
    ripartino::look::speakItalian();

    ripartino::RandomSource source;
    ripartino::ProgramWindows windows(source, ripartino::systemDecimalSeparator());
    windows.startWindow().show();
    return app.exec();
}
