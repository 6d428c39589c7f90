// Every picture the windows show must load cleanly in Qt's SVG renderer, keep to plain shapes,
// look like a cartoon (black outlines and coloured fills) at the size of its box, and keep that
// box's proportions.

#include <QDirIterator>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

// Each drawing: the pixels at 96 dpi of the control that shows it, and the top-left corner that the
// divisor frame covers in the case window showing the picture, where nothing may hide. Every icon
// shows on a 32 x 32 button face.
const std::map<QString, std::pair<QSize, QSize>> drawings = {
    {"banner", {{457, 65}, {}}},
    {"dog_glasses", {{137, 281}, {}}},
    {"signature", {{82, 11}, {}}},
    {"ladybird", {{233, 161}, {}}},
    {"mouse", {{209, 217}, {25, 33}}},
    {"cat", {{185, 225}, {1, 57}}},
    {"dog_collar", {{201, 217}, {17, 41}}},
    {"seal", {{209, 233}, {25, 57}}},
};

std::vector<std::string> compiledIn()
{
    std::vector<std::string> paths;
    for (QDirIterator it(":/", {"*.svg"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        paths.push_back(it.next().toStdString());
    return paths;
}

QStringList warnings;
void keepWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        warnings.append(message);
}

class PictureTest : public testing::TestWithParam<std::string> {};

TEST_P(PictureTest, UsesPlainShapesLoadsCleanlyAndLooksDrawnForItsBox)
{
    const QString path = QString::fromStdString(GetParam()), name = QFileInfo(path).baseName();
    const bool icon = path.startsWith(":/icons/"), ink = name == "signature";
    // A drawing missing from the list above fails here, with the exception map::at.
    const auto [box, clearCorner] = icon ? std::pair(QSize(32, 32), QSize()) : drawings.at(name);
    // The renderer skips what it does not know without a word, so the pictures keep to plain shapes.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch unplain =
        QRegularExpression(R"(<(?!(svg|defs|g|use|path|rect|circle|ellipse|line|polyline|polygon)\b)\w)"
                           R"(|\s(style|class|filter|mask|clip-path)=)")
            .match(QString::fromUtf8(file.readAll()));
    EXPECT_FALSE(unplain.hasMatch()) << unplain.captured().toStdString();

    warnings.clear();
    const QtMessageHandler before = qInstallMessageHandler(keepWarnings);
    QSvgRenderer renderer(path);
    const QSizeF view = renderer.viewBoxF().size();
    EXPECT_NEAR(view.width() * box.height() / (view.height() * box.width()), 1.0, 0.02);
    QImage image(box, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    qInstallMessageHandler(before);
    EXPECT_TRUE(renderer.isValid() && warnings.isEmpty()) << warnings.join(u'\n').toStdString();

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
            underTheFrame += pixel.alpha() > 0 && QRect({0, 0}, clearCorner).contains(x, y);
        }
    const int area = box.width() * box.height();
    EXPECT_GE(outline, std::max(10, area / 100)) << "too few black outline pixels";
    EXPECT_TRUE(ink ? colour == 0 : colour >= area / 100)
        << colour << " coloured pixels: handwriting is black ink only, the rest have coloured fills";
    // drawn to the box's scale, yet an icon keeps clear of its edges to sit well on a button face
    EXPECT_GE(std::max(painted.width() / double(box.width()), painted.height() / double(box.height())), 0.85);
    EXPECT_TRUE(!icon || image.rect().adjusted(1, 1, -1, -1).contains(painted));
    EXPECT_EQ(underTheFrame, 0) << "pixels drawn where the divisor frame hides them";
}

// Every picture compiled in: a listed one missing would leave a window blank, which its layout test sees.
INSTANTIATE_TEST_SUITE_P(AllPictures, PictureTest, testing::ValuesIn(compiledIn()), [](const auto& row) {
    return QFileInfo(QString::fromStdString(row.param)).baseName().toStdString();
});
}  // namespace
