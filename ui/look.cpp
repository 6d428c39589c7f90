#include "ui/look.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QResource>
#include <QScreen>
#include <QStyleOption>
#include <QTranslator>
#include <QWidget>

#include "printing/fonts.h"

namespace {

QFont makeFont(const QString& family, qreal points, bool bold)
{
    QFont font(ripartino::fontFamily(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A graphical button's face is flat, in exactly the button's colour, inside a raised border
// that sinks when it is pressed; the focus is a dotted rectangle inside the border. The
// desktop style's gradient washed the colours out, and it cached one picture of it per
// palette, so every window made anew left a few more behind.
class GraphicalButtonStyle : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_PushButtonBevel)
            drawFace(*option, *painter);
        else
            QProxyStyle::drawControl(element, option, painter, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        // The focus mark goes with the face, under the caption and picture.
        if (element != PE_FrameFocusRect)
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_ButtonShiftHorizontal:
        case PM_ButtonShiftVertical:
            return 1;  // the caption and picture sink with the face
        case PM_ButtonDefaultIndicator:
            return 0;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

private:
    static constexpr int focusInset = 3;

    static void drawFace(const QStyleOption& option, QPainter& painter)
    {
        const bool pressed = option.state & (State_Sunken | State_On);
        const QColor face = option.palette.color(QPalette::Button);
        const QRect outer = option.rect.adjusted(0, 0, -1, -1);
        const QRect inner = option.rect.adjusted(1, 1, -1, -1);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(option.rect, pressed ? face.darker(115) : face);
        painter.setPen(QColor(64, 64, 64));
        painter.drawRect(outer);
        const QColor light = Qt::white;
        const QColor shadow = face.darker(160);
        painter.setPen(pressed ? shadow : light);  // top and left
        painter.drawLine(inner.topLeft(), inner.topRight());
        painter.drawLine(inner.topLeft(), inner.bottomLeft());
        painter.setPen(pressed ? light : shadow);  // bottom and right
        painter.drawLine(inner.bottomLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomRight());
        if (option.state & State_HasFocus) {
            painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter.drawRect(option.rect.adjusted(focusInset, focusInset, -focusInset - 1, -focusInset - 1));
        }
        painter.restore();
    }
};

// What every window shares for as long as the application lives: the one style of the
// graphical buttons and one icon per picture (each QIcon made anew would cache its own
// pixmaps again).
struct Shared : QObject {
    Shared() : QObject(qApp) {}
    GraphicalButtonStyle buttonStyle;
    QHash<QString, QIcon> icons;
};

Shared& shared()
{
    static QPointer<Shared> instance;
    if (!instance)
        instance = new Shared;
    return *instance;
}

}  // namespace

namespace ripartino::look {

QFont systemFont(qreal points, bool bold) { return makeFont(QStringLiteral("MS Sans Serif"), points, bold); }

QFont comicFont(qreal points) { return makeFont(QStringLiteral("Comic Sans MS"), points, false); }

void paintBackground(QWidget& widget, const QColor& back, const QColor& text)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Button, back);
    if (text.isValid()) {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::ButtonText, text);
    }
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
    if (qobject_cast<QPushButton*>(&widget))
        widget.setStyle(&shared().buttonStyle);
}

void setFieldColours(QWidget& widget, const QColor& base, const QColor& text)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    widget.setPalette(palette);
}

QString renderedPicturePath(const QString& drawing, QSize size, qreal ratio, const QColor& background)
{
    return QStringLiteral(":/rendered/%1-%2-%3x%4@%5x")
        .arg(QFileInfo(drawing).completeBaseName(), background.name().mid(1))
        .arg(size.width())
        .arg(size.height())
        .arg(ratio);
}

QString renderedIconPath(const QString& icon, int pixels)
{
    return QStringLiteral(":/rendered/%1-%2px").arg(QFileInfo(icon).completeBaseName()).arg(pixels);
}

QImage renderedPixels(const QString& path, QSize pixels, QImage::Format format)
{
    const QResource resource(path);
    const qint64 bytes = qint64(pixels.width()) * pixels.height() * 4;
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression || resource.size() != bytes)
        return {};
    return QImage(resource.data(), pixels.width(), pixels.height(), pixels.width() * 4, format);
}

namespace {

// An icon of the pixels rendered at build time, where every screen shows one or two device
// pixels to a pixel; else, or where none were rendered, a null icon.
QIcon renderedIcon(const QString& path)
{
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->devicePixelRatio() != 1 && screen->devicePixelRatio() != 2)
            return {};
    QIcon icon;
    for (const int pixels : renderedIconPixels)
        if (const QImage image = renderedPixels(renderedIconPath(path, pixels), {pixels, pixels},
                                                QImage::Format_ARGB32_Premultiplied);
            !image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

}  // namespace

QIcon icon(const QString& path)
{
    QIcon& icon = shared().icons[path];
    if (icon.isNull())
        icon = renderedIcon(path);
    if (icon.isNull())
        icon = QIcon(path);
    return icon;
}

QIcon applicationIcon() { return icon(QLatin1String(keypadIcon)); }

bool speakItalian()
{
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace ripartino::look
