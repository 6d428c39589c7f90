#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>

#include "ui/picture_box.h"
#include "support/windows_fixture.h"

namespace ripartino {
namespace {

// What a user sees of each graphical button: its face in exactly this colour.
const QColor magenta(255, 128, 255), lavender(192, 192, 255);
const std::map<QString, QColor> graphical = {
    {"case1Button", {255, 192, 128}}, {"case2Button", {128, 128, 255}}, {"case3Button", {128, 255, 128}}, {"case4Button", {255, 128, 128}},
    {"case5Button", {255, 255, 128}}, {"exitButton", magenta},      {"inventButton", lavender},  {"okButton", lavender},
    {"viewButton", magenta},      {"printButton", magenta},    {"backButton", magenta}};

// The windows drawn from a layout table: 0 is the start window, 1 to 5 the case windows,
// 6 the print window.
class LayoutTest : public WindowsTest, public testing::WithParamInterface<int> {};
INSTANTIATE_TEST_SUITE_P(Windows, LayoutTest, testing::Range(0, 7), [](const auto& row) {
    return row.param == 0 ? std::string("startWindow")
        : row.param == 6  ? "printWindow"
                          : "caseWindow" + std::to_string(row.param);
});

// Each control stands in its row's box within its window or frame, with its caption in a
// font that is installed and fits, and overlaps a sibling only where the layout means it to:
// the copy view's button and text, in cases II to V the picture behind the divisor frame, and
// by a pixel the print window's two columns options, as they were laid out.
// Tab walks the layout's tab order, passing over what never takes the focus. A screen reader hears every control the
// focus reaches by a name of its own, a picture button by its tooltip, and meets a picture as an image with a
// description. Pictures and icons have all the screen's device pixels, not magnified ones.
// A graphical button's face shows exactly its colour.
TEST_P(LayoutTest, EveryControlStandsFitsAndIsHeard)
{
    const int param = GetParam();
    FixedWindow& shown = param == 6 ? windows.printWindow()
        : param == 0                ? static_cast<FixedWindow&>(windows.startWindow())
                                    : windows.caseWindow(static_cast<DivisionCase>(param));
    const WindowLayout& layout = shown.layout();
    EXPECT_EQ(shown.maximumSize(), pixelsOf(QRect({}, layout.clientTwips)).size());
    const auto boxes = Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    EXPECT_EQ(shown.windowFlags() & boxes, Qt::WindowCloseButtonHint);
    QStringList overlaps, names, focusable, tabOrder, walked;
    for (const ControlRow& row : layout.controls) {
        SCOPED_TRACE(row.name);
        QWidget* placed = control(&shown, row.name);
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(placed);
        EXPECT_EQ(placed->geometry(), pixelsOf(row.twips));
        EXPECT_TRUE(placed->parentWidget()->rect().contains(placed->geometry()));
        for (const ControlRow& other : layout.controls) {
            const QWidget* sibling = control(&shown, other.name);
            if (qstrcmp(row.name, other.name) < 0 && sibling->parentWidget() == placed->parentWidget()
                && sibling->geometry().intersects(placed->geometry()))
                overlaps << QStringLiteral("%1/%2").arg(row.name, other.name);
        }
        if (row.caption && !qobject_cast<QLineEdit*>(placed)) {
            EXPECT_EQ(reader->text(QAccessible::Name), QString::fromUtf8(row.caption).remove(u'&'));
        }
        const QFontMetrics metrics = placed->fontMetrics();
        EXPECT_EQ(QFontInfo(placed->font()).family().toLower(), placed->font().family().toLower());
        if (auto* label = qobject_cast<QLabel*>(placed)) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height());
        } else if (auto* button = qobject_cast<QAbstractButton*>(placed)) {
            const int indicator = button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth);
            EXPECT_LE(metrics.horizontalAdvance(button->text()) + indicator * !!qobject_cast<QRadioButton*>(button),
                      button->width());
            EXPECT_LE(metrics.height(), button->height());
        }
        if (placed->focusPolicy() != Qt::NoFocus) {
            focusable << QLatin1String(row.name);
            names << reader->text(QAccessible::Name);
        }
        if (auto* button = qobject_cast<QPushButton*>(placed); button && param != 6) {
            const QSize sharp = button->icon().isNull() ? QSize(0, 0) : button->iconSize() * shown.devicePixelRatio();
            EXPECT_EQ(button->icon().pixmap(button->iconSize(), shown.devicePixelRatio()).size(), sharp);
            // The face just inside the border at opposite corners, where no caption or picture goes.
            const QImage face = button->grab().toImage();
            for (const QPoint at : {QPoint(2, 2), QPoint(face.width() - 3, face.height() - 3)})
                EXPECT_TRUE(shown.devicePixelRatio() > 1 || face.pixelColor(at) == graphical.at(row.name));
        }
        if (qobject_cast<PictureBox*>(placed)) {
            EXPECT_EQ(reader->role(), QAccessible::Graphic);
            EXPECT_GE(reader->text(QAccessible::Description).split(QLatin1Char(' ')).size(), 5);
            const QImage drawn = placed->grab().toImage();
            ASSERT_EQ(drawn.size(), placed->size() * shown.devicePixelRatio());
            EXPECT_EQ(drawn == drawn.scaled(placed->size()).scaled(drawn.size()),
                      shown.devicePixelRatio() == 1);  // no blocks of pixels
        }
    }
    const QObjectList& stacked = shown.children();  // from the back
    EXPECT_TRUE(param < 2 || param == 6
                || stacked.indexOf(control(&shown, "divisorGroup")) > stacked.indexOf(control(&shown, "picture")));
    const char* meant = param == 0 ? "" : param == 6 ? "oneColumnOption/twoColumnsOption" : "divisorGroup/picture copyView/okButton";
    EXPECT_EQ(overlaps.join(u' '), param == 1 ? "copyView/okButton" : meant);
    EXPECT_FALSE(names.contains(QString()));
    EXPECT_EQ(QSet(names.begin(), names.end()).size(), names.size()) << names.join(u'|').toStdString();

    for (const char* name : layout.tabOrder)
        if (focusable.contains(QLatin1String(name)))
            tabOrder << QLatin1String(name);
    for (QWidget* next = shown.nextInFocusChain(); next != &shown; next = next->nextInFocusChain())
        if (focusable.contains(next->objectName()))
            walked << next->objectName();
    // Round the chain from wherever it starts, so every control that takes the focus is in the tab order.
    EXPECT_TRUE(walked.size() == tabOrder.size() && (walked + walked).join(u' ').contains(tabOrder.join(u' ')))
        << walked.join(u' ').toStdString();
}

// Worked out in twips in single precision, subtraction first, and never clamped.
TEST(CentredPosition, IsWorkedOutInTwipsAndNeverClamped)
{
    EXPECT_EQ(centredPosition({1280, 1024}, {491, 442}), QPoint(395, 291));  // 5917.5 twips is 394.5 pixels
    EXPECT_EQ(centredPosition({800, 600}, {1000, 700}), QPoint(-100, -50));  // larger than the screen
}

}  // namespace
}  // namespace ripartino
