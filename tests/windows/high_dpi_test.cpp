#include <QPainter>
#include <QSvgRenderer>

#include "windows/picture_box.h"
#include "support/windows_fixture.h"

namespace ripartino {
namespace {

// Mean difference per colour channel of two images of one size, 0 to 255.
double meanDifference(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < left.height(); ++y) {
        const auto* l = reinterpret_cast<const QRgb*>(left.constScanLine(y));
        const auto* r = reinterpret_cast<const QRgb*>(right.constScanLine(y));
        for (int x = 0; x < left.width(); ++x) {
            sum += std::abs(qRed(l[x]) - qRed(r[x])) + std::abs(qGreen(l[x]) - qGreen(r[x]))
                + std::abs(qBlue(l[x]) - qBlue(r[x]));
        }
    }
    return sum / (3.0 * left.width() * left.height());
}

// The drawing in `box` as the box paints it, at `scale` device pixels to a pixel.
QImage drawn(const PictureBox& box, const QString& drawing, qreal scale)
{
    QImage image(box.size() * scale, QImage::Format_RGB32);
    image.fill(box.palette().color(QPalette::Window));
    QSvgRenderer renderer(drawing);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(), QSizeF(box.size() * scale)));
    return image;
}

// On a screen of two device pixels to a pixel, the pictures are drawn from their vectors at
// full resolution, not drawn at one and magnified: fine edges, not two-pixel steps.
TEST_F(WindowsTest, PicturesAreDrawnSharpAtTwiceThePixels)
{
    StartWindow& start = windows.startWindow();
    ASSERT_EQ(start.devicePixelRatio(), 2.0);
    const struct {
        QWidget* window;
        const char* box;
        const char* drawing;
    } pictures[] = {
        {&start, "Picture1", ":/drawings/banner.svg"},
        {&start, "Picture2", ":/drawings/dog_glasses.svg"},
        {&windows.caseWindow(DivisionCase::I), "Picture1", ":/drawings/ladybird.svg"},
        {&windows.caseWindow(DivisionCase::V), "Picture1", ":/drawings/seal.svg"},
    };
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.drawing);
        auto* box = control<PictureBox>(picture.window, picture.box);
        const QPixmap grabbed = box->grab();
        EXPECT_EQ(grabbed.devicePixelRatio(), 2.0);
        ASSERT_EQ(grabbed.size(), box->size() * 2);

        const QImage sharp = drawn(*box, QLatin1String(picture.drawing), 2);
        const QImage blocky = drawn(*box, QLatin1String(picture.drawing), 1).scaled(sharp.size());
        const double fromSharp = meanDifference(grabbed.toImage(), sharp);
        const double fromBlocky = meanDifference(grabbed.toImage(), blocky);
        EXPECT_LT(fromSharp, 0.5);
        EXPECT_GT(fromBlocky, 1.5);  // 3 to 5.5 for these drawings
    }
}

// The picture buttons' icons come from their vectors at the screen's resolution too.
TEST_F(WindowsTest, PictureButtonIconsHaveTwiceThePixels)
{
    const auto* button = control<QPushButton>(&windows.startWindow(), "cmdesci");
    const QPixmap pixmap = button->icon().pixmap(button->iconSize(), button->devicePixelRatio());
    EXPECT_EQ(pixmap.size(), button->iconSize() * 2);
    EXPECT_EQ(pixmap.devicePixelRatio(), 2.0);
}

}  // namespace
}  // namespace ripartino
