#include <gtest/gtest.h>

#include "printing/system_printer.h"

using namespace ripartino;

namespace {

struct MediaRow {
    const char* name;
    const char* media;
    QSizeF size;  // in mm; empty: no size in the name
};

class MediaName : public testing::TestWithParam<MediaRow> {};
void PrintTo(const MediaRow& row, std::ostream* out) { *out << row.name; }

TEST_P(MediaName, GivesTheSizeItCarries)
{
    const std::optional<QSizeF> size = mediaSizeMm(GetParam().media);
    EXPECT_EQ(size.value_or(QSizeF()), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Queues, MediaName,
    testing::Values(MediaRow{"IsoA5", "iso_a5_148x210mm", {148, 210}}, MediaRow{"PpdName", "A4", {}},
                    MediaRow{"LetterInInches", "na_letter_8.5x11in", {215.9, 279.4}}, MediaRow{"NoUnit", "x_1x2", {}},
                    MediaRow{"CustomNamedBySize", "custom_148.52x209.9mm_148.52x209.9mm", {148.52, 209.9}},
                    MediaRow{"CustomLabelAcross", "custom_54.19x22.27mm_54.19x22.27mm", {54.19, 22.27}},
                    MediaRow{"LabelInInches", "oe_2x4-label_2.32x4in", {58.928, 101.6}}, MediaRow{"Empty", "", {}},
                    MediaRow{"SuffixAfterTheSize", "na_letter_8.5x11in_borderless", {215.9, 279.4}},
                    MediaRow{"NoHeight", "custom_10xmm", {}}, MediaRow{"Negative", "custom_-10x20mm", {}},
                    MediaRow{"Zero", "custom_0x20mm", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A media-col as libcups writes it: size and margins in hundredths of a millimetre; a
// label named wider than high is laid out upright, margins turned with it.
TEST(MediaCol, GivesSizeAndMarginsAndTheSheetStaysUpright)
{
    const std::optional<QueuePaper> label =
        mediaColPaper("{media-size={x-dimension=5419 y-dimension=2227} media-bottom-margin=152 "
                      "media-left-margin=0 media-right-margin=102 media-top-margin=152}");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->size, QSizeF(54.19, 22.27));
    EXPECT_EQ(label->margins, QMarginsF(0, 1.52, 1.02, 1.52));
    const QPageLayout upright = layoutFor(*label);
    EXPECT_EQ(upright.orientation(), QPageLayout::Portrait);
    EXPECT_EQ(upright.fullRect(QPageLayout::Millimeter).size(), QSizeF(22.27, 54.19));
    EXPECT_EQ(mediaColPaper("{media-size={x-dimension=21590 y-dimension=27940}}")->margins, QMarginsF());
    EXPECT_FALSE(mediaColPaper(""));
    EXPECT_FALSE(mediaColPaper("{media-size={x-dimension=0 y-dimension=27940}}"));
    // A queue's default: its media-default, with the media-col's margins when it is the same
    // paper; a media-col-default alone is enough.
    const char* letter =
        "{media-size={x-dimension=21590 y-dimension=27940} media-left-margin=635 media-top-margin=423}";
    EXPECT_EQ(defaultPaper(nullptr, letter)->size, QSizeF(215.9, 279.4));
    EXPECT_EQ(defaultPaper("na_letter_8.5x11in", letter)->margins, QMarginsF(6.35, 4.23, 0, 0));
    EXPECT_TRUE(defaultPaper("iso_a5_148x210mm", letter)->margins.isNull() && !defaultPaper("A4", ""));
}

}  // namespace
