// Every picture the windows show must load cleanly in Qt's SVG renderer, look like a cartoon
// (black outlines and coloured fills) at the size of its box, and keep that box's proportions.

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

enum class Look { Icon, Cartoon, Ink };

// box: pixels at 96 dpi of the control that shows it; clearCorner: the top-left corner that the
// divisor frame covers in the case window showing the picture, where nothing may hide
struct Picture {
    const char* name;
    QString path;
    QSize box;
    Look look;
    QSize clearCorner{0, 0};
};

void PrintTo(const Picture& picture, std::ostream* out) { *out << picture.name; }

const Picture pictures[] = {
    {"keypad", u":/icons/keypad.svg"_s, {32, 32}, Look::Icon},
    {"exit_door", u":/icons/exit_door.svg"_s, {32, 32}, Look::Icon},
    {"magnifier", u":/icons/magnifier.svg"_s, {32, 32}, Look::Icon},
    {"printer", u":/icons/printer.svg"_s, {32, 32}, Look::Icon},
    {"road_sign", u":/icons/road_sign.svg"_s, {32, 32}, Look::Icon},
    {"banner", u":/drawings/banner.svg"_s, {457, 65}, Look::Cartoon},
    {"dog_glasses", u":/drawings/dog_glasses.svg"_s, {137, 281}, Look::Cartoon},
    {"signature", u":/drawings/signature.svg"_s, {82, 11}, Look::Ink},
    {"ladybird", u":/drawings/ladybird.svg"_s, {233, 161}, Look::Cartoon},
    {"mouse", u":/drawings/mouse.svg"_s, {209, 217}, Look::Cartoon, {25, 33}},
    {"cat", u":/drawings/cat.svg"_s, {185, 225}, Look::Cartoon, {1, 57}},
    {"dog_collar", u":/drawings/dog_collar.svg"_s, {201, 217}, Look::Cartoon, {17, 41}},
    {"seal", u":/drawings/seal.svg"_s, {209, 233}, Look::Cartoon, {25, 57}},
};

QStringList warnings;

class PictureTest : public testing::TestWithParam<Picture> {};

TEST_P(PictureTest, LoadsCleanlyAndLooksDrawnForItsBox)
{
    const Picture& picture = GetParam();
    warnings.clear();
    QSvgRenderer renderer(picture.path);
    ASSERT_TRUE(renderer.isValid());
    const QSizeF view = renderer.viewBoxF().size();
    EXPECT_NEAR(view.width() * picture.box.height() / (view.height() * picture.box.width()), 1.0, 0.02);

    QImage image(picture.box, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();

    // outline: opaque and near black; colour: opaque and clearly not grey; painted: bounding box of all drawn
    int outline = 0, colour = 0, underTheFrame = 0;
    QRect painted;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const auto [low, high] = std::minmax({pixel.red(), pixel.green(), pixel.blue()});
            painted |= pixel.alpha() > 0 ? QRect(x, y, 1, 1) : QRect();
            outline += pixel.alpha() >= 192 && high < 64;
            colour += pixel.alpha() >= 192 && high - low >= 64;
            underTheFrame += pixel.alpha() > 0 && QRect({0, 0}, picture.clearCorner).contains(x, y);
        }
    const int area = picture.box.width() * picture.box.height();
    EXPECT_GE(outline, std::max(10, area / 100)) << "too few black outline pixels";
    EXPECT_TRUE(picture.look == Look::Ink ? colour == 0 : colour >= area / 100)
        << colour << " coloured pixels: handwriting is black ink only, the rest have coloured fills";
    // drawn to the box's scale, yet an icon keeps clear of its edges to sit well on a button face
    EXPECT_GE(std::max(painted.width() / double(picture.box.width()), painted.height() / double(picture.box.height())),
              0.85);
    EXPECT_TRUE(picture.look != Look::Icon || image.rect().adjusted(1, 1, -1, -1).contains(painted))
        << "touches the edge";
    EXPECT_EQ(underTheFrame, 0) << "pixels drawn where the divisor frame hides them";
}

// The renderer skips what it does not know without a word, so the pictures keep to plain shapes.
TEST_P(PictureTest, UsesOnlyPlainShapes)
{
    static const QStringList plain = u"svg defs g use path rect circle ellipse line polyline polygon"_s.split(u' ');
    static const QStringList ignored = u"style class filter mask clip-path"_s.split(u' ');
    QFile file(GetParam().path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        EXPECT_TRUE(!xml.isStartElement() || plain.contains(xml.name())) << xml.name().toString().toStdString();
        for (const QXmlStreamAttribute& attribute : xml.attributes())
            EXPECT_FALSE(ignored.contains(attribute.name())) << attribute.name().toString().toStdString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(AllPictures, PictureTest, testing::ValuesIn(pictures),
                         [](const testing::TestParamInfo<Picture>& info) { return info.param.name; });

TEST(PictureResources, HoldExactlyTheListedPictures)
{
    // each listed one loads above, so the same count means none is left untested
    QStringList compiledIn;
    for (QDirIterator it(u":/"_s, {u"*.svg"_s}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        compiledIn.append(it.next());
    EXPECT_EQ(compiledIn.size(), std::size(pictures)) << compiledIn.join(u' ').toStdString();
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");  // nothing here needs a screen, not even to list the tests
    QGuiApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg && type != QtInfoMsg)
            warnings.append(message);
    });
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
