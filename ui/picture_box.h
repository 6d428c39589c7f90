#pragma once

#include <QColor>
#include <QWidget>

class QSvgRenderer;

namespace ripartino {

// A drawing in a box: scaled to fit the box with its proportions kept, centred, on the
// box's own background colour, or on whatever lies behind when it has none. Screen readers
// meet it as an image, by its short name, with the description of what it shows.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QString& drawing, const QColor& background, const QString& name, const QString& description,
               QWidget* parent);

    // Where its pixels, rendered at build time for its size, scale and background now, are
    // kept; a box with no background of its own has none.
    QString renderedPath() const;
    const QString& drawing() const { return drawing_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString drawing_;
};

}  // namespace ripartino
