#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QRect>
#include <QString>

class QWidget;

// How the windows look: their unit of measure, colours, fonts and pictures.
namespace ripartino::look {

// Window geometry is laid out in twips; the screen has 15 of them to a pixel at 96 dpi.
inline constexpr int twipsPerPixel = 15;

constexpr int pixels(int twips) { return twips / twipsPerPixel; }
constexpr QSize pixels(QSize twips) { return {pixels(twips.width()), pixels(twips.height())}; }
constexpr QRect pixels(QRect twips)
{
    return {pixels(twips.x()), pixels(twips.y()), pixels(twips.width()), pixels(twips.height())};
}

// The colours the windows are painted in.
inline const QColor pink{255, 192, 192};
inline const QColor blue{0, 0, 255};
inline const QColor darkRed{192, 0, 0};
inline const QColor paleYellow{255, 255, 192};
inline const QColor inkBlue{0, 0, 192};
inline const QColor lavender{192, 192, 255};
inline const QColor magenta{255, 128, 255};
inline const QColor orange{255, 192, 128};
inline const QColor periwinkle{128, 128, 255};
inline const QColor lightGreen{128, 255, 128};
inline const QColor salmon{255, 128, 128};
inline const QColor lightYellow{255, 255, 128};

// The windows' two faces. They name the families the windows were drawn with; fontFamily
// (printing/fonts.h) resolves them to fonts that a Debian desktop has.
QFont systemFont(qreal points = 8.25, bool bold = false);  // "MS Sans Serif", also the default
QFont comicFont(qreal points);                             // "Comic Sans MS"

// A background of its own: `widget` paints `back` behind its content and draws its caption
// in `text`; an invalid colour keeps the system's. A push button given one is a graphical
// button: its whole face is flat in exactly `back`, with a raised border that sinks when
// pressed and a dotted focus mark.
void paintBackground(QWidget& widget, const QColor& back, const QColor& text = {});
// The colours of an editable field or list: its background and the text typed in it.
void setFieldColours(QWidget& widget, const QColor& base, const QColor& text);

// Pictures compiled into the program, by resource path (":/icons/keypad.svg").
QIcon icon(const QString& path);
QIcon applicationIcon();

inline constexpr char keypadIcon[] = ":/icons/keypad.svg";
inline constexpr char exitDoorIcon[] = ":/icons/exit_door.svg";
inline constexpr char magnifierIcon[] = ":/icons/magnifier.svg";
inline constexpr char printerIcon[] = ":/icons/printer.svg";
inline constexpr char roadSignIcon[] = ":/icons/road_sign.svg";

// Pictures drawn once at build time, so that the first window shows without parsing and
// rasterising vectors. Each is named after what decides its pixels; a picture asked for at
// any other size, scale or colour is drawn from its vectors.
QString renderedPicturePath(const QString& drawing, QSize size, qreal ratio, const QColor& background);
QString renderedIconPath(const QString& icon, int pixels);
// The pixels stored under `path`, read in place, or a null image when none of that size are.
QImage renderedPixels(const QString& path, QSize pixels, QImage::Format format);
// The sizes, in device pixels, at which an icon may be rendered.
inline constexpr int renderedIconPixels[] = {16, 32, 64, 128, 256};

// Makes the toolkit's own texts (file dialogs, their questions, the text boxes' menus,
// standard buttons) Italian like the rest of the program, whatever the user's locale;
// returns false when Qt's Italian translations are not installed.
bool speakItalian();

// Picture buttons show a 32 x 32 icon.
inline constexpr QSize iconSize{32, 32};

}  // namespace ripartino::look
