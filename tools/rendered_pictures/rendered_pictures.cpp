// Draws the start window's pictures and icons once, at build time, as the window itself
// draws them from their vectors, at one and at two device pixels to a pixel:
//   rendered_pictures OUTPUT_DIR  ->  OUTPUT_DIR/<picture>..., OUTPUT_DIR/rendered.qrc
// Each file is the bare pixels (32 bits each, rows top down), named as the program looks
// them up; the program reads them in place, so rcc must store them uncompressed.
// This tool links no rendered pictures itself, so what it draws always comes from the vectors.

#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "core/random_source.h"
#include "ui/look.h"
#include "ui/picture_box.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

using namespace ripartino;

namespace {

// The device pixels of the icons the start window shows, and of the window icon.
struct IconPixels {
    const char* icon;
    std::initializer_list<int> pixels;
};
const IconPixels startIcons[] = {
    {look::keypadIcon, {16, 32, 64, 128, 256}},
    {look::exitDoorIcon, {look::iconSize.width(), 2 * look::iconSize.width()}},
};

bool write(const QString& dir, const QString& resourcePath, const QImage& image)
{
    QFile file(dir + u'/' + resourcePath.section(u'/', -1));
    if (!file.open(QIODevice::WriteOnly)
        || file.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()) != image.sizeInBytes()) {
        std::fprintf(stderr, "rendered_pictures: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

// The pictures at one scale, in a process of its own: the scale is fixed when Qt starts.
int drawAt(const char* ratio, const QString& dir, int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", ratio);
    QApplication app(argc, argv);
    RandomSource source;
    ProgramWindows windows(source, ",");
    StartWindow& start = windows.startWindow();
    for (PictureBox* box : start.findChildren<PictureBox*>()) {
        if (box->renderedPath().isEmpty())
            continue;
        const QImage pixels = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (pixels.size() != box->size() * box->devicePixelRatioF() || !write(dir, box->renderedPath(), pixels))
            return 1;
    }
    if (std::strcmp(ratio, "1") == 0)
        for (const IconPixels& icon : startIcons)
            for (const int pixels : icon.pixels) {
                const QImage image = QIcon(QLatin1String(icon.icon))
                                         .pixmap(QSize(pixels, pixels), 1.0)
                                         .toImage()
                                         .convertToFormat(QImage::Format_ARGB32_Premultiplied);
                if (image.size() != QSize(pixels, pixels)
                    || !write(dir, look::renderedIconPath(QLatin1String(icon.icon), pixels), image))
                    return 1;
            }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--at") == 0)
        return drawAt(argv[2], QString::fromLocal8Bit(argv[3]), 1, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: rendered_pictures OUTPUT_DIR\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.removeRecursively() || !dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "rendered_pictures: cannot make %s\n", argv[1]);
        return 1;
    }
    for (const char* ratio : {"1", "2"})
        if (QProcess::execute(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--at"), QLatin1String(ratio), dir.path()})
            != 0)
            return 1;

    QFile qrc(dir.filePath(QStringLiteral("rendered.qrc")));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Text))
        return 1;
    qrc.write("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n    <qresource prefix=\"/rendered\">\n");
    for (const QString& file : files)
        if (file != QLatin1String("rendered.qrc"))
            qrc.write("        <file>" + file.toUtf8() + "</file>\n");
    qrc.write("    </qresource>\n</RCC>\n");
    return qrc.error() == QFile::NoError ? 0 : 1;
}
