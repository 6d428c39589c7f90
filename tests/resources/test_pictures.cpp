// Every picture the windows show must load cleanly in Qt's SVG renderer, look like a cartoon
// (black outlines and coloured fills) at the size of its box, and keep that box's proportions.

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStringList>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

using namespace Qt::StringLiterals;

namespace {

enum class Look { Cartoon, Ink };

struct Picture
{
    const char *path;
    QSize box; // pixels at 96 dpi of the control that shows it
    Look look;
};

std::ostream &operator<<(std::ostream &out, const Picture &picture)
{
    return out << picture.path;
}

const Picture pictures[] = {
    {":/icons/keypad.svg", {32, 32}, Look::Cartoon},
    {":/icons/exit_door.svg", {32, 32}, Look::Cartoon},
    {":/icons/magnifier.svg", {32, 32}, Look::Cartoon},
    {":/icons/printer.svg", {32, 32}, Look::Cartoon},
    {":/icons/road_sign.svg", {32, 32}, Look::Cartoon},
    {":/drawings/banner.svg", {457, 65}, Look::Cartoon},
    {":/drawings/dog_glasses.svg", {137, 281}, Look::Cartoon},
    {":/drawings/signature.svg", {82, 11}, Look::Ink},
    {":/drawings/ladybird.svg", {233, 161}, Look::Cartoon},
    {":/drawings/mouse.svg", {209, 217}, Look::Cartoon},
    {":/drawings/cat.svg", {185, 225}, Look::Cartoon},
    {":/drawings/dog_collar.svg", {201, 217}, Look::Cartoon},
    {":/drawings/seal.svg", {209, 233}, Look::Cartoon},
};

QStringList messages;

void recordMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        messages.append(message);
}

struct PixelCensus
{
    int outline = 0; // opaque and near black
    int colour = 0;  // opaque and clearly not grey
    QRect painted;   // bounding box of everything drawn
};

PixelCensus census(const QImage &image)
{
    PixelCensus result;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 0)
                continue;
            result.painted |= QRect(x, y, 1, 1);
            if (pixel.alpha() < 192)
                continue;
            const int high = std::max({pixel.red(), pixel.green(), pixel.blue()});
            const int low = std::min({pixel.red(), pixel.green(), pixel.blue()});
            if (high < 64)
                ++result.outline;
            else if (high - low >= 64)
                ++result.colour;
        }
    }
    return result;
}

class PictureTest : public testing::TestWithParam<Picture>
{};

TEST_P(PictureTest, LoadsCleanlyAndLooksDrawnForItsBox)
{
    const Picture &picture = GetParam();
    messages.clear();
    QSvgRenderer renderer(QString::fromLatin1(picture.path));
    ASSERT_TRUE(renderer.isValid());

    const QSizeF viewBox = renderer.viewBoxF().size();
    const double boxAspect = double(picture.box.width()) / picture.box.height();
    const double drawnAspect = viewBox.width() / viewBox.height();
    EXPECT_NEAR(drawnAspect / boxAspect, 1.0, 0.02) << "view box " << viewBox.width() << " x " << viewBox.height();

    QImage image(picture.box, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();

    const PixelCensus pixels = census(image);
    const int area = picture.box.width() * picture.box.height();
    EXPECT_GE(pixels.outline, std::max(10, area / 100)) << "too few black outline pixels";
    if (picture.look == Look::Cartoon)
        EXPECT_GE(pixels.colour, area / 100) << "too few coloured fill pixels";
    else
        EXPECT_EQ(pixels.colour, 0) << "handwriting is black ink only";

    // drawn to the box's scale: the picture spans most of the box one way or the other
    EXPECT_TRUE(pixels.painted.width() >= picture.box.width() * 0.85
                || pixels.painted.height() >= picture.box.height() * 0.85)
        << "painted only " << pixels.painted.width() << " x " << pixels.painted.height();
}

// The renderer skips what it does not know without a word, so the pictures keep to plain shapes.
TEST_P(PictureTest, UsesOnlyPlainShapes)
{
    static const QStringList plainElements{
        u"svg"_s, u"defs"_s, u"g"_s, u"use"_s, u"path"_s, u"rect"_s, u"circle"_s, u"ellipse"_s,
        u"line"_s, u"polyline"_s, u"polygon"_s, u"linearGradient"_s, u"radialGradient"_s, u"stop"_s,
    };
    QFile file(QString::fromLatin1(GetParam().path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString element = xml.name().toString();
        EXPECT_TRUE(plainElements.contains(element)) << "element <" << element.toStdString() << ">";
        for (const QXmlStreamAttribute &attribute : xml.attributes()) {
            const QString name = attribute.name().toString();
            EXPECT_TRUE(name != u"style" && name != u"class" && name != u"filter" && name != u"mask"
                        && name != u"clip-path")
                << "attribute " << name.toStdString() << " on <" << element.toStdString() << ">";
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(AllPictures, PictureTest, testing::ValuesIn(pictures),
                         [](const testing::TestParamInfo<Picture> &info) {
                             return QString::fromLatin1(info.param.path)
                                 .section(u'/', -1)
                                 .section(u'.', 0, 0)
                                 .toStdString();
                         });

// In case windows II to V the divisor frame lies over the top-left corner of the cartoon's box;
// nothing of the drawing may hide there.
TEST(PictureResources, CartoonsLeaveTheCornerUnderTheDivisorFrameEmpty)
{
    constexpr int twipsPerPixel = 15;
    const QRect divisorFrame(3120, 1560, 1335, 1455);
    const struct
    {
        const char *path;
        QRect box; // twips, in the window's client area
    } cartoons[] = {
        {":/drawings/mouse.svg", {4080, 2520, 3135, 3255}},
        {":/drawings/cat.svg", {4440, 2160, 2775, 3375}},
        {":/drawings/dog_collar.svg", {4200, 2400, 3015, 3255}},
        {":/drawings/seal.svg", {4080, 2160, 3135, 3495}},
    };
    for (const auto &cartoon : cartoons) {
        const QRect hiddenTwips = divisorFrame.intersected(cartoon.box).translated(-cartoon.box.topLeft());
        const QRect hidden(hiddenTwips.topLeft() / twipsPerPixel, hiddenTwips.size() / twipsPerPixel);
        ASSERT_FALSE(hidden.isEmpty()) << cartoon.path;

        QSvgRenderer renderer(QString::fromLatin1(cartoon.path));
        QImage image(cartoon.box.size() / twipsPerPixel, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        EXPECT_FALSE(census(image.copy(hidden)).painted.isValid())
            << cartoon.path << " draws under the frame, within " << hidden.width() << " x " << hidden.height();
    }
}

TEST(PictureResources, HoldExactlyTheListedPictures)
{
    QStringList expected;
    for (const Picture &picture : pictures)
        expected.append(QString::fromLatin1(picture.path));

    QStringList compiledIn;
    for (const QString &folder : {QStringLiteral(":/icons"), QStringLiteral(":/drawings")}) {
        QDirIterator it(folder, QDir::Files);
        while (it.hasNext())
            compiledIn.append(it.next());
    }
    expected.sort();
    compiledIn.sort();
    EXPECT_EQ(compiledIn.join(u' ').toStdString(), expected.join(u' ').toStdString());
}

} // namespace

int main(int argc, char *argv[])
{
    // ctest lists the tests by running this program without the test's environment
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(recordMessage);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
