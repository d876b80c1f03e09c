// orvello-sdd run as a scene author runs it: pack, list, cat, check, and its refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "resources/crc32.h"
#include "tests/support/run_command.h"

namespace {

namespace fs = std::filesystem;
using orv::test::CommandResult;
using orv::test::RunCommand;

const std::string kRarDir = std::string(ORVELLO_TESTDATA) + "/rar/";

CommandResult Sdd(const std::string& args, bool merge_stderr = true) {
    return RunCommand(std::string(ORVELLO_SDD_TOOL) + " " + args, merge_stderr);
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
void WriteFile(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}
std::string Hex(const std::string& s) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", orv::Crc32(s.data(), s.size()));
    return text;
}
std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

class SddTool : public testing::Test {
protected:
    void SetUp() override {
        root_ = fs::path(testing::TempDir()) /
                ("sdd_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        for (int i = 0; i < 512; ++i) binary_ += static_cast<char>(i * 7);
    }
    // A small scene tree: text, a binary file with every byte value, an empty file.
    fs::path MakeScene(const std::string& name) {
        const fs::path dir = root_ / name;
        WriteFile(dir / "worlds.txt", "world\nWORLD_END\n");
        WriteFile(dir / "meshes" / "env.dat", binary_);
        WriteFile(dir / "textures" / "empty.tga", "");
        return dir;
    }
    fs::path root_;
    std::string binary_;
};

TEST_F(SddTool, PackListCatRoundTrip) {
    const fs::path archive = root_ / "data.sdd";
    const CommandResult pack = Sdd("pack " + Q(MakeScene("scene")) + " " + Q(archive));
    ASSERT_EQ(pack.status, 0) << pack.output;

    const CommandResult list = Sdd("list " + Q(archive));
    ASSERT_EQ(list.status, 0) << list.output;
    EXPECT_EQ(list.output,
              "  unpacked     packed method ver crc       name\n"
              "       512        512 0x30    20 " + Hex(binary_) + "  meshes\\env.dat\n"
              "         0          0 0x30    20 00000000  textures\\empty.tga\n"
              "        16         16 0x30    20 " + Hex("world\nWORLD_END\n") + "  worlds.txt\n");

    for (const auto& [name, want] : {std::pair<std::string, std::string>{"MESHES/ENV.DAT", binary_},
                                     {"meshes\\\\env.dat", binary_},
                                     {"Worlds.txt", "world\nWORLD_END\n"},
                                     {"textures/empty.tga", ""}}) {
        const CommandResult cat = Sdd("cat " + Q(archive) + " " + name, false);
        EXPECT_EQ(cat.status, 0) << name;
        EXPECT_EQ(cat.output, want) << name;
    }
    EXPECT_EQ(Sdd("check " + Q(archive)).output, "3 entries checked, 0 bad, 0 archive problems\n");
}

TEST_F(SddTool, PackIsReproducibleAndTakesRegularFilesOnly) {
    const fs::path first = MakeScene("one");
    // The same content made in another order, with other times, plus things that are not files.
    const fs::path second = root_ / "two";
    WriteFile(second / "textures" / "empty.tga", "");
    WriteFile(second / "meshes" / "env.dat", binary_);
    WriteFile(second / "worlds.txt", "world\nWORLD_END\n");
    fs::create_directories(second / "empty_dir");
    fs::create_symlink(second / "worlds.txt", second / "link.txt");
    fs::last_write_time(second / "worlds.txt", fs::file_time_type::clock::now() - std::chrono::hours(50));

    ASSERT_EQ(Sdd("pack " + Q(first) + " " + Q(root_ / "a.sdd")).status, 0);
    ASSERT_EQ(Sdd("pack " + Q(second) + " " + Q(root_ / "b.sdd")).status, 0);
    EXPECT_EQ(ReadFile(root_ / "a.sdd"), ReadFile(root_ / "b.sdd"));
    // Packing into the directory being packed leaves the archive itself out.
    ASSERT_EQ(Sdd("pack " + Q(first) + " " + Q(first / "data.sdd")).status, 0);
    EXPECT_EQ(ReadFile(first / "data.sdd"), ReadFile(root_ / "a.sdd"));
}

TEST_F(SddTool, CatSaysWhyAnEntryCannotBeRead) {
    const fs::path archive = root_ / "data.sdd";
    ASSERT_EQ(Sdd("pack " + Q(MakeScene("scene")) + " " + Q(archive)).status, 0);
    std::string bytes = ReadFile(archive);
    std::string flipped = bytes;
    flipped[bytes.size() - 5] ^= 0x01;  // inside the data of worlds.txt, the last entry
    WriteFile(root_ / "flipped.sdd", flipped);
    WriteFile(root_ / "cut.sdd", bytes.substr(0, bytes.size() - 4));

    struct Case {
        std::string archive, name, message;
    } cases[] = {
        {Q(archive), "nothing.txt", "nothing.txt: missing"},
        {Q(root_ / "flipped.sdd"), "worlds.txt", "worlds.txt: CRC mismatch"},
        {Q(root_ / "cut.sdd"), "worlds.txt", "worlds.txt: truncated"},
        {Q(kRarDir + "libarchive__test_read_format_rar4_encrypted.rar"), "b.txt", "b.txt: encrypted"},
        {Q(kRarDir + "rarfile__rar15-comment.rar"), "FILE1.TXT",
         "unsupported packing: 'FILE1.TXT' is packed with RAR 1.5 (unpacker version 15), which is not supported"},
        {Q(kRarDir + "rarfile__rar3-solid.rar"), "stest2.txt", "stest2.txt: solid"},
        {Q(root_ / "none.sdd"), "x", "archive unreadable"},
    };
    for (const Case& c : cases) {
        const CommandResult r = Sdd("cat " + c.archive + " " + c.name);
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    }
}

TEST_F(SddTool, CheckListsEveryBadEntry) {
    const CommandResult r = Sdd("check " + Q(kRarDir + "libarchive__test_read_format_rar4_encrypted.rar"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output,
              "BAD b.txt: encrypted: 'b.txt' is encrypted (needs a password)\n"
              "BAD d.txt: encrypted: 'd.txt' is encrypted (needs a password)\n"
              "4 entries checked, 2 bad, 0 archive problems\n");
    const CommandResult rar2 = Sdd("check " + Q(kRarDir + "sharpcompress__Rar2.rar"));
    EXPECT_EQ(rar2.status, 0) << rar2.output;
    const CommandResult huge = Sdd("check " + Q(kRarDir + "libarchive__test_read_format_rar_endarc_huge.rar"));
    EXPECT_EQ(huge.status, 1) << huge.output;
    EXPECT_NE(huge.output.find("BAD archive: the archive has no main header"), std::string::npos);
}

TEST_F(SddTool, ListMarksSpecialEntriesAndEscapesNames) {
    const CommandResult r = Sdd("list " + Q(kRarDir + "libarchive__test_read_format_rar.rar"));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("00000000  testdir (directory)\n"), std::string::npos) << r.output;
    const CommandResult s = Sdd("list " + Q(kRarDir + "rarfile__rar3-solid.rar"));
    EXPECT_NE(s.output.find("stest2.txt (solid)\n"), std::string::npos) << s.output;
    // Names come from untrusted archives: control bytes must not reach the terminal.
    WriteFile(root_ / "odd" / "a\x1b[2Jb\xff.txt", "x");
    ASSERT_EQ(Sdd("pack " + Q(root_ / "odd") + " " + Q(root_ / "odd.sdd")).status, 0);
    const CommandResult odd = Sdd("list " + Q(root_ / "odd.sdd"));
    EXPECT_NE(odd.output.find("  a\\x1b[2Jb\\xff.txt\n"), std::string::npos) << odd.output;
}

TEST_F(SddTool, UsageErrorsExitWith2) {
    for (const char* args : {"", "list", "cat a.sdd", "check", "pack onlydir", "list a b",
                             "extract a.sdd x", "--help"}) {
        const CommandResult r = Sdd(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.output.find("usage: orvello-sdd"), std::string::npos) << args;
    }
    EXPECT_EQ(Sdd("pack " + Q(root_ / "no_such_dir") + " " + Q(root_ / "x.sdd")).status, 1);
}

}  // namespace
