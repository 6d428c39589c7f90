// Renders every picture at the size of the box that shows it and at twice that size onto one PNG,
// so the whole artwork can be reviewed at a glance. Icons also appear at 16 px (title bars) and
// filling a whole 41 px button, the other sizes they are seen at.

#include <array>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QSize>
#include <QString>
#include <QSvgRenderer>
#include <QTextStream>

#include "tool_main.h"

namespace {

struct Picture {
    const char* path;
    QSize box;        // pixels at 96 dpi
    QColor backdrop;  // what the picture is shown on in the program
};

const QColor windowPink(255, 192, 192);
const QColor buttonMagenta(255, 128, 255);

const std::array pictures{
    Picture{":/icons/keypad.svg", {32, 32}, windowPink},
    Picture{":/icons/exit_door.svg", {32, 32}, buttonMagenta},
    Picture{":/icons/magnifier.svg", {32, 32}, buttonMagenta},
    Picture{":/icons/printer.svg", {32, 32}, buttonMagenta},
    Picture{":/icons/road_sign.svg", {32, 32}, buttonMagenta},
    Picture{":/drawings/banner.svg", {457, 65}, windowPink},
    Picture{":/drawings/signature.svg", {82, 11}, windowPink},
    Picture{":/drawings/dog_glasses.svg", {137, 281}, windowPink},
    Picture{":/drawings/ladybird.svg", {233, 161}, windowPink},
    Picture{":/drawings/mouse.svg", {209, 217}, windowPink},
    Picture{":/drawings/cat.svg", {185, 225}, windowPink},
    Picture{":/drawings/dog_collar.svg", {201, 217}, windowPink},
    Picture{":/drawings/seal.svg", {209, 233}, windowPink},
};

constexpr int sheetWidth = 1500;
constexpr int gap = 16;
constexpr int labelHeight = 22;

QList<QSize> sizesFor(const Picture& picture)
{
    if (picture.box == QSize(32, 32))
        return {{16, 16}, picture.box, {41, 41}, picture.box * 2};
    return {picture.box, picture.box * 2};
}

QSize cellSize(const Picture& picture)
{
    QSize cell(-gap, labelHeight);
    for (const QSize& size : sizesFor(picture))
        cell = {cell.width() + gap + size.width(), qMax(cell.height(), size.height() + labelHeight)};
    return cell;
}

void paintPicture(QPainter& painter, QSvgRenderer& renderer, const QRect& box, const QColor& backdrop)
{
    painter.fillRect(box, backdrop);
    renderer.render(&painter, box);
    // a hairline just outside the box shows whether the picture fits it
    painter.setPen(QPen(QColor(200, 120, 120), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(-1, -1, 0, 0));
}

int drawSheet(const QStringList& args, QTextStream& err)
{
    // flow the cells left to right, wrapping at the sheet's width
    QList<QPoint> origins;
    int x = gap;
    int y = gap;
    int rowHeight = 0;
    for (const Picture& picture : pictures) {
        const QSize cell = cellSize(picture);
        if (x + cell.width() + gap > sheetWidth && x > gap) {
            x = gap;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        origins.append({x, y});
        x += cell.width() + 2 * gap;
        rowHeight = qMax(rowHeight, cell.height());
    }

    QImage sheet(sheetWidth, y + rowHeight + gap, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(windowPink);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont labelFont = painter.font();
    labelFont.setPixelSize(13);
    painter.setFont(labelFont);

    int failures = 0;
    for (qsizetype i = 0; i < origins.size(); ++i) {
        const Picture& picture = pictures[size_t(i)];
        QSvgRenderer renderer{QString::fromLatin1(picture.path)};
        if (!renderer.isValid()) {
            err << "cannot load " << picture.path << '\n';
            ++failures;
            continue;
        }
        const QPoint origin = origins[i];
        int left = origin.x();
        for (const QSize& size : sizesFor(picture)) {
            paintPicture(painter, renderer, QRect(QPoint(left, origin.y()), size), picture.backdrop);
            left += size.width() + gap;
        }

        const QString name = QString::fromLatin1(picture.path).section(u'/', -1);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(origin.x(), origin.y() + cellSize(picture).height() - 6),
                         QStringLiteral("%1  %2×%3").arg(name).arg(picture.box.width()).arg(picture.box.height()));
    }
    painter.end();

    if (!sheet.save(args[1])) {
        err << "cannot write " << args[1] << '\n';
        return 1;
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) { return runTool(argc, argv, 2, 2, "contact_sheet OUTPUT.png", drawSheet); }
