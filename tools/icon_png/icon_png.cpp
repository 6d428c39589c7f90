// Renders an SVG icon as square PNGs in a freedesktop icon-theme layout:
//   icon_png SOURCE.svg OUTPUT_DIR NAME SIZE...  ->  OUTPUT_DIR/SIZExSIZE/apps/NAME.png
// Any warning from the SVG renderer fails the build rather than shipping a broken icon.

#include <cstdio>
#include <limits>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include "tool_main.h"

namespace {

int warnings = 0;

void countWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        ++warnings;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

int writePngs(const QStringList& args, QTextStream& err)
{
    qInstallMessageHandler(countWarnings);
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        err << "cannot load " << args[1] << '\n';
        return 1;
    }

    for (const QString& sizeText : args.mid(4)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size <= 0) {
            err << "bad size " << sizeText << '\n';
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();

        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(dir, args[3]);
        if (!QDir().mkpath(dir) || !image.save(file)) {
            err << "cannot write " << file << '\n';
            return 1;
        }
    }
    return warnings == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    return runTool(argc, argv, 5, std::numeric_limits<qsizetype>::max(), "icon_png SOURCE.svg OUTPUT_DIR NAME SIZE...",
                   writePngs);
}
