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

// Each drawing is read once: the start window, made anew on every return to it, and the
// case windows share the parsed pictures, which live as long as the application.
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
    : QWidget(parent), renderer_(rendererFor(drawing))
{
    static const bool factoryInstalled = (QAccessible::installFactory(pictureAccessible), true);
    Q_UNUSED(factoryInstalled);
    if (background.isValid())
        look::paintBackground(*this, background);
    setAccessibleName(name);
    setAccessibleDescription(description);
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    renderer_.render(&painter, rect());
}

}  // namespace ripartino
