#include "resources/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "resources/archive.h"
#include "tests/resources/image_entries.h"
#include "tests/resources/image_fixtures.h"

namespace orv {
namespace {

using test::BlockPattern;
using test::JpegColor;
using test::MakeJpeg;

constexpr char kEntry[] = "textures\\p.jpg";

class JpegTest : public test::ImageEntries {
  protected:
    bool Decode(const std::string& bytes, DecodedImage& image) {
        Add(kEntry, bytes);
        return DecodeJpeg(kEntry, image);
    }
};

// The pixel at column x of memory row `row`.
const unsigned char* At(const DecodedImage& image, int x, int row) {
    return image.pixels.get() + static_cast<size_t>(row) * image.rowBytes + x * 3;
}

void ExpectNear(const unsigned char* got, int r, int g, int b, const char* what) {
    EXPECT_NEAR(got[0], r, 6) << what;
    EXPECT_NEAR(got[1], g, 6) << what;
    EXPECT_NEAR(got[2], b, 6) << what;
}

TEST_F(JpegTest, DecodesToRgbWithTheTopRowLastInMemory) {
    // 16 x 24 picture of 8 x 8 blocks: red, green in the first block row; blue, white in the
    // second; red, green again in the third.
    for (const bool progressive : {false, true}) {
        DecodedImage image;
        ASSERT_TRUE(
            Decode(MakeJpeg(16, 24, BlockPattern(16, 24), JpegColor::kRgb, 95, progressive), image))
            << WarningsFor(kEntry);
        EXPECT_EQ(image.width, 16);
        EXPECT_EQ(image.height, 24);
        EXPECT_EQ(image.rowBytes, 48);
        ExpectNear(At(image, 2, 23), 220, 30, 30, "top-left block, last memory row");
        ExpectNear(At(image, 12, 23), 30, 200, 40, "top-right block");
        ExpectNear(At(image, 2, 12), 30, 40, 210, "middle-left block");
        ExpectNear(At(image, 12, 12), 240, 240, 240, "middle-right block");
        ExpectNear(At(image, 12, 0), 30, 200, 40, "bottom-right block, first memory row");
    }
    EXPECT_TRUE(Diagnostics().empty());
}

TEST_F(JpegTest, GreyscaleIsWidenedToRgb) {
    DecodedImage image;
    ASSERT_TRUE(Decode(MakeJpeg(16, 16, BlockPattern(16, 16), JpegColor::kGrey), image));
    EXPECT_EQ(image.rowBytes, 48);
    const unsigned char* top_left = At(image, 3, 15);
    EXPECT_NEAR(top_left[0], 220, 6);
    EXPECT_EQ(top_left[0], top_left[1]);
    EXPECT_EQ(top_left[0], top_left[2]);
}

TEST_F(JpegTest, CmykIsRefusedWithAWarning) {
    DecodedImage image;
    EXPECT_FALSE(Decode(MakeJpeg(16, 16, BlockPattern(16, 16), JpegColor::kCmyk), image));
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_NE(WarningsFor(kEntry).find("CMYK"), std::string::npos) << WarningsFor(kEntry);
    EXPECT_TRUE(test::ShownMessages().empty());
}

TEST_F(JpegTest, DamagedDataEndsThatPictureCleanly) {
    const std::string good = MakeJpeg(32, 32, BlockPattern(32, 32));
    std::string bad_marker = good;
    bad_marker[0] = 'X';
    std::string bad_huffman = good;  // a Huffman table that claims more codes than it holds
    const size_t dht = bad_huffman.find("\xFF\xC4");
    ASSERT_NE(dht, std::string::npos);
    for (size_t i = dht + 5; i < dht + 21; ++i) bad_huffman[i] = '\xFF';
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;  // part of libjpeg's message
    } cases[] = {
        {"not a JPEG", bad_marker, "Not a JPEG file"},
        {"corrupt Huffman table", bad_huffman, "Huffman"},
        {"cut inside the tables", good.substr(0, 100), "no image"},
        {"empty entry", "", "Not a JPEG file"},
    };
    for (const Case& c : cases) {
        ClearDiagnostics();
        DecodedImage image;
        EXPECT_FALSE(Decode(c.bytes, image)) << c.name;
        EXPECT_EQ(image.pixels, nullptr) << c.name;
        const std::string warnings = WarningsFor(kEntry);
        EXPECT_NE(warnings.find("not decoded"), std::string::npos) << c.name << ": " << warnings;
        EXPECT_NE(warnings.find(c.message), std::string::npos) << c.name << ": " << warnings;
    }
    EXPECT_TRUE(test::ShownMessages().empty()) << "decoder messages never reach the user";

    // The decoder is left in a usable state: the next picture decodes.
    DecodedImage image;
    EXPECT_TRUE(Decode(good, image));
}

TEST_F(JpegTest, DataCutInsideTheScanKeepsThePartDecodedAndWarnsOnce) {
    const std::string good = MakeJpeg(64, 64, test::TestPattern(64, 64), JpegColor::kRgb, 90);
    DecodedImage image;
    ASSERT_TRUE(Decode(good.substr(0, good.size() * 2 / 3), image));
    EXPECT_EQ(image.height, 64);
    const std::string warnings = WarningsFor(kEntry);
    EXPECT_NE(warnings.find("Premature end"), std::string::npos) << warnings;
    EXPECT_EQ(Diagnostics().size(), 1u) << warnings;
}

TEST_F(JpegTest, AbsurdSizeIsRefusedBeforeDecoding) {
    std::string bytes = MakeJpeg(8, 8, BlockPattern(8, 8));
    const size_t sof = bytes.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    // Height and width follow the marker, its length and the sample precision.
    for (size_t i = sof + 5; i < sof + 9; ++i) bytes[i] = '\xFE';
    DecodedImage image;
    EXPECT_FALSE(Decode(bytes, image));
    EXPECT_NE(WarningsFor(kEntry).find("image size 65278x65278"), std::string::npos)
        << WarningsFor(kEntry);
}

TEST_F(JpegTest, MissingEntryShowsTheLoadMessage) {
    DecodedImage image;
    EXPECT_FALSE(DecodeJpeg("textures\\gone.jpg", image));
    const std::vector<test::ShownMessage> want = {
        {"ARCH:Can't load JPG file: textures\\gone.jpg", "Error"}};
    EXPECT_EQ(test::ShownMessages(), want);
}

// A JPEG written by a third-party program, read from a RAR archive made by another one.
TEST(JpegFromArchive, ThirdPartyPictureDecodes) {
    const std::string archive = std::string(ORVELLO_RAR_TESTDATA) + "/sharpcompress__Rar2.rar";
    SetArchivePath(archive);
    MemFile file;
    const bool opened = file.Open("jpg\\test.jpg");
    SetArchivePath("data.sdd");
    if (!opened) GTEST_SKIP() << "cannot read jpg\\test.jpg from " << archive;
    DecodedImage image;
    ASSERT_TRUE(DecodeJpegFile(file, image));
    EXPECT_GT(image.width, 0);
    EXPECT_GT(image.height, 0);
}

}  // namespace
}  // namespace orv
