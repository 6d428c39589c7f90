#include "windows/picture_box.h"

#include <QPainter>

#include "windows/look.h"

namespace ripartino {

PictureBox::PictureBox(const QString& drawing, const QColor& background, QWidget* parent)
    : QWidget(parent)
{
    renderer_.load(drawing);
    renderer_.setAspectRatioMode(Qt::KeepAspectRatio);
    if (background.isValid())
        look::paintBackground(*this, background);
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    renderer_.render(&painter, rect());
}

}  // namespace ripartino
