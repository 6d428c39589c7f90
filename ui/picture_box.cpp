#include "ui/picture_box.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include "ui/look.h"

namespace ripartino {

namespace {

// A plain widget reads as a "client area"; a picture should read as an image.
QAccessibleInterface* pictureAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(PictureBox::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

// Each drawing is read once, when first drawn from its vectors: the start window, made anew
// on every return to it, and the case windows share the parsed pictures, which live as long
// as the application.
QSvgRenderer& rendererFor(const QString& drawing)
{
    static QHash<QString, QSvgRenderer*> renderers;
    QSvgRenderer*& renderer = renderers[drawing];
    if (!renderer) {
        renderer = new QSvgRenderer(drawing, qApp);
        renderer->setAspectRatioMode(Qt::KeepAspectRatio);
    }
    return *renderer;
}

}  // namespace

PictureBox::PictureBox(const QString& drawing, const QColor& background, const QString& name,
                       const QString& description, QWidget* parent)
    : QWidget(parent), drawing_(drawing)
{
    static const bool factoryInstalled = (QAccessible::installFactory(pictureAccessible), true);
    Q_UNUSED(factoryInstalled);
    if (background.isValid())
        look::paintBackground(*this, background);
    setAccessibleName(name);
    setAccessibleDescription(description);
}

QString PictureBox::renderedPath() const
{
    if (!autoFillBackground())
        return {};
    return look::renderedPicturePath(drawing_, size(), devicePixelRatioF(), palette().color(backgroundRole()));
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (const QString rendered = renderedPath(); !rendered.isEmpty()) {
        if (const QImage pixels = look::renderedPixels(rendered, size() * devicePixelRatioF(), QImage::Format_RGB32);
            !pixels.isNull()) {
            painter.drawImage(QRectF(rect()), pixels);
            return;
        }
    }
    rendererFor(drawing_).render(&painter, rect());
}

}  // namespace ripartino
