#include "windows/picture_box.h"

#include <QAccessibleWidget>
#include <QPainter>

#include "windows/look.h"

namespace ripartino {

namespace {

// A plain widget reads as a "client area"; a picture should read as an image.
QAccessibleInterface* pictureAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(PictureBox::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

}  // namespace

PictureBox::PictureBox(const QString& drawing, const QColor& background, const QString& name,
                       const QString& description, QWidget* parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(pictureAccessible), true);
    Q_UNUSED(factoryInstalled);
    renderer_.load(drawing);
    renderer_.setAspectRatioMode(Qt::KeepAspectRatio);
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
