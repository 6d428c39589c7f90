#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QResource>
#include <QStyle>
#include <QSvgRenderer>

#include "support/windows_fixture.h"
#include "ui/look.h"
#include "ui/picture_box.h"

namespace ripartino {
namespace {

// The windows drawn from a layout table: 0 is the start window, 1 to 5 the case windows,
// 6 the print window. Each test checks one rule over every window.
class LayoutTest : public WindowsTest, public testing::WithParamInterface<int> {
protected:
    FixedWindow& shown()
    {
        const int param = GetParam();
        return param == 6 ? windows.printWindow()
            : param == 0  ? static_cast<FixedWindow&>(windows.startWindow())
                          : windows.caseWindow(static_cast<DivisionCase>(param));
    }
    // Each placed control with its row, in the layout's order.
    std::vector<std::pair<const ControlRow*, QWidget*>> placed()
    {
        std::vector<std::pair<const ControlRow*, QWidget*>> found;
        for (const ControlRow& row : shown().layout().controls)
            found.emplace_back(&row, control(&shown(), row.name));
        return found;
    }
};
// What the box's vectors draw on its background, or on nothing when it has none.
QImage vectorDrawing(const PictureBox& box, qreal ratio)
{
    QImage image(box.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(box.autoFillBackground() ? box.palette().color(box.backgroundRole()) : QColor(Qt::transparent));
    QPainter painter(&image);
    QSvgRenderer vectors(box.drawing());
    vectors.setAspectRatioMode(Qt::KeepAspectRatio);
    vectors.render(&painter, QRectF(QPointF(), box.size()));
    return image;
}

INSTANTIATE_TEST_SUITE_P(Windows, LayoutTest, testing::Range(0, 7), [](const auto& row) {
    return row.param == 0 ? std::string("startWindow")
        : row.param == 6  ? "printWindow"
                          : "caseWindow" + std::to_string(row.param);
});

// Fixed in size, with only a close box; every control inside its window or frame, overlapping
// a sibling only where the layout means it to: the copy view's button and text, in cases II to
// V the picture behind the divisor frame, and by a pixel the print window's two columns options.
TEST_P(LayoutTest, FixedAndEveryControlInsideItsFrame)
{
    EXPECT_EQ(shown().maximumSize(), look::pixels(shown().layout().clientTwips));
    const auto boxes = Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    EXPECT_EQ(shown().windowFlags() & boxes, Qt::WindowCloseButtonHint);
    QStringList overlaps;
    for (const auto& [row, widget] : placed()) {
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry())) << row->name;
        for (const auto& [other, sibling] : placed())
            if (qstrcmp(row->name, other->name) < 0 && sibling->parentWidget() == widget->parentWidget()
                && sibling->geometry().intersects(widget->geometry()))
                overlaps << QStringLiteral("%1/%2").arg(row->name, other->name);
    }
    const QObjectList& stacked = shown().children();  // from the back
    const int param = GetParam();
    EXPECT_TRUE(param < 2 || param == 6
                || stacked.indexOf(control(&shown(), "divisorGroup")) > stacked.indexOf(control(&shown(), "picture")));
    const char* meant = param == 0 ? ""
        : param == 6               ? "oneColumnOption/twoColumnsOption"
                                   : "divisorGroup/picture copyView/okButton";
    EXPECT_EQ(overlaps.join(u' '), param == 1 ? "copyView/okButton" : meant);
}

// Every caption is drawn in a font that is installed, and fits its control.
TEST_P(LayoutTest, CaptionsFitInAnInstalledFont)
{
    for (const auto& [row, widget] : placed()) {
        SCOPED_TRACE(row->name);
        const QFontMetrics metrics = widget->fontMetrics();
        EXPECT_EQ(QFontInfo(widget->font()).family().toLower(), widget->font().family().toLower());
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height());
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            const int indicator = button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth);
            EXPECT_LE(metrics.horizontalAdvance(button->text()) + indicator * !!qobject_cast<QRadioButton*>(button),
                      button->width());
            EXPECT_LE(metrics.height(), button->height());
        }
    }
}

// A screen reader hears every control the focus reaches by a name of its own (a picture
// button by its tooltip, a captioned control by its caption) and meets a picture as an
// image with a description.
TEST_P(LayoutTest, HeardByScreenReaders)
{
    QStringList names;
    for (const auto& [row, widget] : placed()) {
        SCOPED_TRACE(row->name);
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(widget);
        if (row->caption && !qobject_cast<QLineEdit*>(widget)) {
            EXPECT_EQ(reader->text(QAccessible::Name), QString::fromUtf8(row->caption).remove(u'&'));
        }
        if (widget->focusPolicy() != Qt::NoFocus)
            names << reader->text(QAccessible::Name);
        if (qobject_cast<PictureBox*>(widget)) {
            EXPECT_EQ(reader->role(), QAccessible::Graphic);
            EXPECT_GE(reader->text(QAccessible::Description).split(QLatin1Char(' ')).size(), 5);
        }
    }
    EXPECT_FALSE(names.contains(QString()));
    EXPECT_EQ(QSet(names.begin(), names.end()).size(), names.size()) << names.join(u'|').toStdString();
}

// Tab walks the layout's tab order round the focus chain, passing over what never takes the focus.
TEST_P(LayoutTest, TabWalksTheLayoutsOrder)
{
    QStringList focusable, tabOrder, walked;
    for (const auto& [row, widget] : placed())
        if (widget->focusPolicy() != Qt::NoFocus)
            focusable << QLatin1String(row->name);
    for (const char* name : shown().layout().tabOrder)
        if (focusable.contains(QLatin1String(name)))
            tabOrder << QLatin1String(name);
    for (QWidget* next = shown().nextInFocusChain(); next != &shown(); next = next->nextInFocusChain())
        if (focusable.contains(next->objectName()))
            walked << next->objectName();
    EXPECT_TRUE(walked.size() == tabOrder.size() && (walked + walked).join(u' ').contains(tabOrder.join(u' ')))
        << walked.join(u' ').toStdString();
}

// Pictures and icons have all the screen's device pixels, not magnified ones, and a
// graphical button's face shows its colour unshaded just inside the border. The start
// window's pictures come from pixels rendered at build time, every other from its vectors,
// and the two look exactly alike.
TEST_P(LayoutTest, PicturesSharpAndButtonFacesInTheirColour)
{
    const qreal ratio = shown().devicePixelRatio();
    for (const auto& [row, widget] : placed()) {
        SCOPED_TRACE(row->name);
        if (qobject_cast<PictureBox*>(widget)) {
            const QImage drawn = widget->grab().toImage();
            ASSERT_EQ(drawn.size(), widget->size() * ratio);
            EXPECT_EQ(drawn == drawn.scaled(widget->size()).scaled(drawn.size()), ratio == 1);  // no blocks of pixels
            const auto& box = static_cast<const PictureBox&>(*widget);
            EXPECT_EQ(QResource(box.renderedPath()).isValid(), GetParam() == 0);
            EXPECT_EQ(drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied), vectorDrawing(box, ratio));
        }
        auto* button = qobject_cast<QPushButton*>(widget);
        if (!button || GetParam() == 6)
            continue;
        const QSize sharp = button->icon().isNull() ? QSize(0, 0) : button->iconSize() * ratio;
        EXPECT_EQ(button->icon().pixmap(button->iconSize(), ratio).size(), sharp);
        const QImage face = button->grab().toImage();
        for (const QPoint at : {QPoint(2, 2), QPoint(face.width() - 3, face.height() - 3)})
            EXPECT_TRUE(ratio > 1 || face.pixelColor(at) == button->palette().color(QPalette::Button));
    }
}

// The window icon and the start window's door, drawn from pixels rendered at build time,
// are what their vectors draw, enabled or not.
TEST(RenderedIcons, AreWhatTheirVectorsDraw)
{
    const struct {
        const char* icon;
        QSize size;
    } rows[] = {{look::exitDoorIcon, look::iconSize}, {look::keypadIcon, {16, 16}},  {look::keypadIcon, {32, 32}},
                {look::keypadIcon, {64, 64}},         {look::keypadIcon, {128, 128}}};
    const qreal ratio = qApp->devicePixelRatio();
    for (const auto& [icon, size] : rows)
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
            SCOPED_TRACE(std::string(icon) + " at " + std::to_string(size.width()) + (mode ? " disabled" : ""));
            const QString path = QLatin1String(icon);
            EXPECT_FALSE(QResource(look::renderedIconPath(path, size.width() * ratio)).data() == nullptr);
            EXPECT_EQ(look::icon(path).pixmap(size, ratio, mode).toImage(), QIcon(path).pixmap(size, ratio, mode).toImage());
        }
}

// Worked out in twips in single precision, subtraction first, and never clamped.
TEST(CentredPosition, IsWorkedOutInTwipsAndNeverClamped)
{
    EXPECT_EQ(centredPosition({1280, 1024}, {491, 442}), QPoint(395, 291));  // 5917.5 twips is 394.5 pixels
    EXPECT_EQ(centredPosition({800, 600}, {1000, 700}), QPoint(-100, -50));  // larger than the screen
}

}  // namespace
}  // namespace ripartino
