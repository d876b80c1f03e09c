#include "resources/tga_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/resources/image_entries.h"
#include "tests/resources/image_fixtures.h"

namespace orv {
namespace {

using test::ExpectedRgba;
using test::MakeTga;
using test::Rgba;
using test::TestPattern;
using test::TgaHeader;
using test::TgaKind;

constexpr char kEntry[] = "textures\\t.tga";

std::string Zeros(size_t n) {
    return std::string(n, '\0');
}

class TgaTest : public test::ImageEntries {
  protected:
    // Decodes `bytes` as the entry kEntry and converts the result to RGBA pixels.
    bool Decode(const std::string& bytes, std::vector<Rgba>* out = nullptr) {
        Add(kEntry, bytes);
        TgaImage image;
        if (!DecodeTga(kEntry, image)) return false;
        const std::vector<uint8_t> rgba = TgaToRgba(image);
        EXPECT_EQ(rgba.size(), size_t{image.width} * image.height * 4);
        if (out) {
            out->clear();
            for (size_t i = 0; i + 3 < rgba.size(); i += 4)
                out->push_back({rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]});
        }
        return true;
    }
};

TEST_F(TgaTest, EveryTypeAndDepthDecodesToTheStoredPicture) {
    const TgaKind kinds[] = {{1, 8},   {9, 8},  {2, 16},  {10, 16}, {2, 24},
                             {10, 24}, {2, 32}, {10, 32}, {3, 8},   {11, 8}};
    const int sizes[][2] = {{12, 5}, {1, 1}, {130, 3}};  // 130 wide: runs longer than a packet
    for (const TgaKind& kind : kinds) {
        for (const auto& size : sizes) {
            const std::vector<Rgba> picture = TestPattern(size[0], size[1]);
            std::vector<Rgba> want;
            for (const Rgba& p : picture) want.push_back(ExpectedRgba(kind, p));
            std::vector<Rgba> got;
            ASSERT_TRUE(Decode(MakeTga(kind, size[0], size[1], picture), &got))
                << "type " << kind.type << " depth " << kind.depth << "\n"
                << WarningsFor(kEntry);
            EXPECT_TRUE(got == want) << "type " << kind.type << " depth " << kind.depth << " size "
                                     << size[0] << "x" << size[1];
        }
    }
    EXPECT_TRUE(Diagnostics().empty());
}

TEST_F(TgaTest, RawAndRunLengthCodedGiveIdenticalPixels) {
    const std::vector<Rgba> picture = TestPattern(40, 7);
    for (const auto& [raw, coded] : {std::pair{1, 9}, {2, 10}, {3, 11}}) {
        for (const int depth : {8, 16, 24, 32}) {
            if ((raw == 2) == (depth == 8)) continue;
            std::vector<Rgba> a, b;
            ASSERT_TRUE(Decode(MakeTga({raw, depth}, 40, 7, picture), &a));
            ASSERT_TRUE(Decode(MakeTga({coded, depth}, 40, 7, picture), &b));
            EXPECT_TRUE(a == b) << "types " << raw << "/" << coded << " depth " << depth;
        }
    }
}

TEST_F(TgaTest, DecodedLayoutFollowsTheStoredForm) {
    // 16-bit 0x7FFF expands to 248, 248, 248; 32-bit B, G, R, A becomes R, G, B, A; 24-bit
    // stays B, G, R until the RGBA conversion; the first stored row comes first.
    std::string bytes = TgaHeader(0, 0, 2, 0, 0, 1, 2, 16);
    bytes += "\xFF\x7F";
    bytes += std::string("\x1F\x00", 2);  // blue only: 248, 0, 0 as B, G, R
    Add(kEntry, bytes);
    TgaImage image;
    ASSERT_TRUE(DecodeTga(kEntry, image));
    EXPECT_EQ(image.bytesPerPixel, 3);
    EXPECT_EQ(image.pixelDepth, 24);
    EXPECT_EQ(image.pixels, (std::vector<uint8_t>{248, 248, 248, 248, 0, 0}));

    Add(kEntry, TgaHeader(0, 0, 2, 0, 0, 1, 1, 32) + "\x01\x02\x03\x04");
    ASSERT_TRUE(DecodeTga(kEntry, image));
    EXPECT_EQ(image.pixels, (std::vector<uint8_t>{3, 2, 1, 4}));
}

TEST_F(TgaTest, RunLengthPackets) {
    struct Case {
        const char* name;
        int width, height;
        std::string packets;
        std::vector<uint8_t> grey;
    } cases[] = {
        {"header 0xFF repeats one pixel 128 times", 128, 1, "\xFF\x07",
         std::vector<uint8_t>(128, 7)},
        {"repeat packet cut at the image end", 3, 1, "\xFF\x09", {9, 9, 9}},
        {"raw packet cut at the image end", 2, 1, std::string("\x03\x01\x02", 3), {1, 2}},
        {"packets continue across rows", 2, 2, std::string("\x82\x05\x00\x06", 4), {5, 5, 5, 6}},
    };
    for (const Case& c : cases) {
        Add(kEntry, TgaHeader(0, 0, 11, 0, 0, c.width, c.height, 8) + c.packets);
        TgaImage image;
        ASSERT_TRUE(DecodeTga(kEntry, image)) << c.name << "\n" << WarningsFor(kEntry);
        EXPECT_EQ(image.pixels, c.grey) << c.name;
    }
}

TEST_F(TgaTest, TrueColourImageSkipsAColourMapItDoesNotUse) {
    // Map type 1 with two 16-bit entries, then one 24-bit pixel.
    Add(kEntry, TgaHeader(0, 1, 2, 2, 16, 1, 1, 24) + "mapp" + "\x0A\x0B\x0C");
    TgaImage image;
    ASSERT_TRUE(DecodeTga(kEntry, image));
    EXPECT_EQ(image.pixels, (std::vector<uint8_t>{10, 11, 12}));
}

TEST_F(TgaTest, RefusedImages) {
    const std::string map4(12, '\x10');  // four colour-map entries
    struct Case {
        const char* name;
        std::string bytes;
        const char* warning;  // part of the warning text
        bool depth_box;       // shows "Unsupported image depth."
    } cases[] = {
        {"16-bit colour map", TgaHeader(0, 1, 1, 2, 16, 1, 1, 8) + "mapp" + Zeros(1),
         "24-bit colour map", false},
        {"colour-mapped without a map", TgaHeader(0, 0, 1, 0, 0, 1, 1, 8) + Zeros(1),
         "24-bit colour map", false},
        {"depth 15", TgaHeader(0, 0, 2, 0, 0, 1, 1, 15) + Zeros(2), "depth 15", true},
        {"depth 0", TgaHeader(0, 0, 3, 0, 0, 1, 1, 0) + Zeros(1), "depth 0", true},
        {"depth 40", TgaHeader(0, 0, 10, 0, 0, 1, 1, 40) + Zeros(1), "depth 40", true},
        {"image type 0", TgaHeader(0, 0, 0, 0, 0, 1, 1, 8) + Zeros(1), "image type 0", false},
        {"image type 32", TgaHeader(0, 0, 32, 0, 0, 1, 1, 8) + Zeros(1), "image type 32", false},
        {"true colour of depth 8", TgaHeader(0, 0, 2, 0, 0, 1, 1, 8) + Zeros(1), "depth 8", false},
        {"colour-mapped of depth 16", TgaHeader(0, 1, 1, 4, 24, 1, 1, 16) + map4 + Zeros(2),
         "depth 16", false},
        {"grey of depth 24", TgaHeader(0, 0, 3, 0, 0, 1, 1, 24) + Zeros(3), "depth 24", false},
        {"colour index beyond the map", TgaHeader(0, 1, 1, 4, 24, 2, 1, 8) + map4 + "\x01\x09",
         "index 9", false},
        {"run-length index beyond the map", TgaHeader(0, 1, 9, 4, 24, 2, 1, 8) + map4 + "\x81\x04",
         "index 4", false},
        {"colour map past the end", TgaHeader(0, 1, 1, 200, 24, 1, 1, 8) + map4, "colour map",
         false},
        {"raw data shorter than the image", TgaHeader(0, 0, 2, 0, 0, 4, 4, 24) + "abcdef",
         "shorter", false},
        {"run-length data ends early",
         TgaHeader(0, 0, 10, 0, 0, 200, 1, 24) + std::string("\x81"
                                                             "xyz"
                                                             "\x00"
                                                             "abc"
                                                             "\x00",
                                                             9),
         "ends early", false},
        {"zero width", TgaHeader(0, 0, 3, 0, 0, 0, 5, 8), "size 0x5", false},
        {"65535 x 65535 in a few bytes", TgaHeader(0, 0, 11, 0, 0, 65535, 65535, 8) + "\xFF\x01",
         "size 65535x65535", false},
        {"many pixels from little run-length data",
         TgaHeader(0, 0, 11, 0, 0, 4000, 4000, 8) + std::string(64, '\xFF'), "shorter", false},
        {"header cut short", TgaHeader(0, 0, 2, 0, 0, 1, 1, 24).substr(0, 17), "header", false},
        {"ID field past the end", TgaHeader(200, 0, 2, 0, 0, 1, 1, 24) + "abc", "shorter", false},
        {"empty entry", "", "header", false},
    };
    for (const Case& c : cases) {
        ClearDiagnostics();
        test::ShownMessages().clear();
        EXPECT_FALSE(Decode(c.bytes)) << c.name;
        EXPECT_NE(WarningsFor(kEntry).find(c.warning), std::string::npos)
            << c.name << ": " << WarningsFor(kEntry);
        const std::vector<test::ShownMessage> box = {{"Unsupported image depth.", "TGA"}};
        EXPECT_EQ(test::ShownMessages(), c.depth_box ? box : std::vector<test::ShownMessage>{})
            << c.name;
    }
}

TEST_F(TgaTest, MissingEntryIsRefusedWithoutAMessageBox) {
    TgaImage image;
    EXPECT_FALSE(DecodeTga("textures\\none.tga", image));
    EXPECT_TRUE(test::ShownMessages().empty());
    EXPECT_NE(WarningsFor("textures\\none.tga").find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace orv
