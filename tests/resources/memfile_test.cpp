#include "resources/memfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace orv {
namespace {

void Load(MemFile& f, const std::string& bytes) { f.OpenBytes("t.txt", bytes.data(), bytes.size()); }

std::vector<std::pair<std::string, bool>> AllLines(const std::string& bytes, int calls) {
    MemFile f;
    Load(f, bytes);
    std::vector<std::pair<std::string, bool>> out;
    char line[kLineBufferSize];
    for (int i = 0; i < calls; ++i) {
        const bool ok = f.ReadLine(line);
        out.emplace_back(line, ok);
    }
    return out;
}

using Lines = std::vector<std::pair<std::string, bool>>;

TEST(ReadLine, Table) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines want;
    } cases[] = {
        {"leading spaces skipped, tab and trailing spaces kept, CR dropped",
         "  \tmap1  \r\n", {{"\tmap1  ", true}, {"", false}}},
        {"last line without line feed", "abc", {{"abc", false}, {"", false}}},
        {"line feed ends the line", "abc\n", {{"abc", true}, {"", false}}},
        {"CR anywhere is dropped", "a\rb\r\nc\n", {{"ab", true}, {"c", true}, {"", false}}},
        {"empty lines", "\n\nx\n", {{"", true}, {"", true}, {"x", true}}},
        {"line of spaces only", "   \nx", {{"", true}, {"x", false}}},
        {"empty file", "", {{"", false}, {"", false}}},
        {"NUL bytes are kept as bytes", std::string("a\0b\n", 4), {{"a", true}, {"", false}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AllLines(c.bytes, static_cast<int>(c.want.size())), c.want) << c.name;
    }
}

TEST(ReadLine, LongLineKeepsFirst127AndConsumesTheRest) {
    const std::string longline(300, 'x');
    const Lines got = AllLines(longline + "\nnext\n", 2);
    EXPECT_EQ(got[0].first, std::string(127, 'x'));
    EXPECT_TRUE(got[0].second);
    EXPECT_EQ(got[1], (std::pair<std::string, bool>{"next", true}));
}

TEST(ReadLine, CountsLinesForWarnings) {
    MemFile f;
    Load(f, "a\n\n  c\nd");
    char line[kLineBufferSize];
    EXPECT_EQ(f.line_number(), 0);
    for (int want = 1; want <= 4; ++want) {
        f.ReadLine(line);
        EXPECT_EQ(f.line_number(), want);
    }
    f.ReadLine(line);
    EXPECT_EQ(f.line_number(), 4) << "no more lines past the end";
}

TEST(MemFile, ReadAcrossTheEndCopiesWhatExistsAndSetsAtEnd) {
    MemFile f;
    Load(f, std::string("0123456789"));
    char buf[16] = {};
    f.Read(buf, 10);
    EXPECT_FALSE(f.AtEnd()) << "cursor equal to size is not the end";
    f.Read(buf, 0);
    EXPECT_FALSE(f.AtEnd());
    char one = 'z';
    f.Read(&one, 1);
    EXPECT_TRUE(f.AtEnd());
    EXPECT_EQ(one, 'z') << "nothing copied past the end";

    f.Seek(8, 0);
    std::memset(buf, '.', sizeof buf);
    f.Read(buf, 4);
    EXPECT_EQ(std::string(buf, 4), "89..");
    EXPECT_EQ(f.cursor(), 12u);

    char keep[4] = {'k', 'k', 'k', 'k'};
    f.ReadChecked(keep, 4);
    EXPECT_EQ(std::string(keep, 4), "kkkk") << "ReadChecked does nothing once at the end";
}

TEST(MemFile, SeekOrigins) {
    MemFile f;
    Load(f, std::string(10, 'a'));
    f.Seek(4, 2);
    EXPECT_EQ(f.cursor(), 6u);
    f.Seek(3, 1);
    EXPECT_EQ(f.cursor(), 9u);
    f.Seek(2, 0);
    EXPECT_EQ(f.cursor(), 2u);
    f.Seek(5, 7);
    EXPECT_EQ(f.cursor(), 2u) << "unknown origin does nothing";
}

TEST(MemFile, HugeReadCountCannotWrapTheCursor) {
    MemFile f;
    Load(f, "abcd");
    f.Seek(2, 0);
    // A length field from a file can be anything; 2 + (2^32 - 1) must not wrap to 1.
    char dst[4] = {};
    f.Read(dst, UINT32_MAX);
    EXPECT_EQ(std::string(dst, 2), "cd");
    EXPECT_TRUE(f.AtEnd());
    EXPECT_EQ(f.cursor(), UINT32_MAX);
}

TEST(MemFile, EmptyAndClosedFilesReadNothing) {
    MemFile f;
    EXPECT_EQ(f.data(), nullptr);
    EXPECT_EQ(f.size(), 0u);
    char line[kLineBufferSize] = "junk";
    EXPECT_FALSE(f.ReadLine(line));
    EXPECT_STREQ(line, "");
    Load(f, "abc");
    f.Close();
    EXPECT_EQ(f.data(), nullptr);
    EXPECT_EQ(f.cursor(), 0u);
    EXPECT_FALSE(f.ReadLine(line));
}

TEST(MemFile, OverlongNameIsRefusedAndNameIsBounded) {
    MemFile f;
    const std::string name(150, 'n');
    EXPECT_FALSE(f.Open(name.c_str()));
    EXPECT_EQ(std::string(f.name()).size(), 99u);
}

}  // namespace
}  // namespace orv
