// The archive reader against third-party archives, damaged and forged copies of our own archives,
// the name rule, the kept index, and MemFile::Open end to end.
#include "resources/archive.h"

#include <gtest/gtest.h>
#include <unarr.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "resources/crc32.h"
#include "resources/diagnostics.h"
#include "resources/memfile.h"
#include "resources/rar_reader.h"
#include "resources/rar_writer.h"

namespace orv {
namespace {

using Bytes = std::vector<unsigned char>;

const std::string kRarDir = std::string(ORVELLO_TESTDATA) + "/rar/";

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Pack(std::vector<StoredFile> files) {
    Bytes out;
    std::string error;
    EXPECT_TRUE(WriteStoredRar(std::move(files), &out, &error)) << error;
    return out;
}

std::string TempPath(const std::string& name) {
    const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
    return testing::TempDir() + t->test_suite_name() + "_" + t->name() + "_" + name;
}

std::string WriteTemp(const std::string& name, const Bytes& bytes) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Extracts and frees; the data comes back as a string so that tests can compare it.
struct Extracted {
    ExtractStatus status;
    std::string data;
    std::string detail;
};
Extracted Extract(const std::string& path, const std::string& name) {
    ExtractResult r = ExtractEntry(path, name);
    Extracted e{r.status, std::string(reinterpret_cast<const char*>(r.data), r.size), r.detail};
    if (r.status != ExtractStatus::kOk) {
        EXPECT_EQ(r.data, nullptr) << name;
    }
    std::free(r.data);
    return e;
}

uint32_t Crc(const std::string& s) { return Crc32(s.data(), s.size()); }

// Changes the file header at `offset` and puts a valid header CRC back, as a forger would.
void PatchHeader(Bytes& archive, size_t offset, const std::function<void(unsigned char*)>& edit) {
    unsigned char* h = &archive[offset];
    edit(h);
    const size_t head_size = h[5] | h[6] << 8;
    const uint32_t crc = Crc32(h + 2, head_size - 2);
    h[0] = static_cast<unsigned char>(crc);
    h[1] = static_cast<unsigned char>(crc >> 8);
}
void Put32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

constexpr size_t kFirstHeader = 20;  // marker (7) + main header (13)

// ---- third-party archives -------------------------------------------------------------------

TEST(ThirdPartyArchives, EntriesReadAsDocumented) {
    struct Case {
        const char* archive;
        const char* entry;
        ExtractStatus status;
        uint32_t size;
        uint32_t crc;
    } cases[] = {
        {"libarchive__test_read_format_rar.rar", "test.txt", ExtractStatus::kOk, 20, 0xbec8a242},
        {"libarchive__test_read_format_rar.rar", "testlink", ExtractStatus::kOk, 8, 0xb6c9447b},
        {"libarchive__test_read_format_rar.rar", "testdir\\test.txt", ExtractStatus::kOk, 20, 0xbec8a242},
        {"libarchive__test_read_format_rar.rar", "testdir", ExtractStatus::kEntryMissing, 0, 0},
        {"libarchive__test_read_format_rar4_encrypted.rar", "a.txt", ExtractStatus::kOk, 18, 0xee5a6e55},
        {"libarchive__test_read_format_rar4_encrypted.rar", "b.txt", ExtractStatus::kEncrypted, 0, 0},
        {"libarchive__test_read_format_rar4_encrypted.rar", "c.txt", ExtractStatus::kOk, 18, 0x949a3d35},
        {"libarchive__test_read_format_rar4_encrypted.rar", "d.txt", ExtractStatus::kEncrypted, 0, 0},
        {"libarchive__test_read_format_rar_compress_best.rar", "LibarchiveAddingTest.html", ExtractStatus::kOk, 20111, 0x5e05a663},
        {"libarchive__test_read_format_rar_compress_best.rar", "testdir/test.txt", ExtractStatus::kOk, 20, 0xbec8a242},
        {"libarchive__test_read_format_rar_compress_normal.rar", "testdir\\LibarchiveAddingTest.html", ExtractStatus::kOk, 20111, 0x5e05a663},
        {"libarchive__test_read_format_rar_compress_normal.rar", "testlink", ExtractStatus::kOk, 25, 0x11fcd3f1},
        {"libarchive__test_read_format_rar_endarc_huge.rar", "anything", ExtractStatus::kEntryMissing, 0, 0},
        {"libarchive__test_read_format_rar_invalid1.rar", "test", ExtractStatus::kTruncated, 0, 0},
        {"libarchive__test_read_format_rar_noeof.rar", "test.txt", ExtractStatus::kOk, 20, 0xbec8a242},
        {"libarchive__test_read_format_rar_windows.rar", "testshortcut.lnk", ExtractStatus::kOk, 441, 0x5b5cd737},
        {"libarchive__test_read_format_rar_windows.rar", "testdir\\test.txt", ExtractStatus::kOk, 16, 0x97d612f1},
        {"rarfile__rar15-comment.rar", "FILE1.TXT", ExtractStatus::kUnsupportedPacking, 0, 0},
        {"rarfile__rar15-comment.rar", "FILE2.TXT", ExtractStatus::kOk, 8, 0x3c4306f7},
        {"rarfile__rar202-comment-nopsw.rar", "FILE1.TXT", ExtractStatus::kOk, 7, 0x7a197dba},
        {"rarfile__rar202-comment-nopsw.rar", "FILE2.TXT", ExtractStatus::kOk, 7, 0x785fc3e3},
        {"rarfile__rar3-solid.rar", "stest1.txt", ExtractStatus::kOk, 2048, 0xc5b7e6a2},
        {"rarfile__rar3-solid.rar", "stest2.txt", ExtractStatus::kSolid, 0, 0},
        {"sharpcompress__Rar15.rar", "JPG\\TEST.JPG", ExtractStatus::kUnsupportedPacking, 0, 0},
        {"sharpcompress__Rar15.rar", "EXE", ExtractStatus::kEntryMissing, 0, 0},
        {"sharpcompress__Rar2.rar", "exe\\test.exe", ExtractStatus::kOk, 45056, 0xcfb109c8},
        {"sharpcompress__Rar2.rar", "jpg\\test.jpg", ExtractStatus::kOk, 40372, 0x088814e3},
        {"sharpcompress__Rar2.rar", "????.txt", ExtractStatus::kOk, 15498, 0x9bd160fa},
        {"no_such_archive.rar", "x", ExtractStatus::kArchiveUnreadable, 0, 0},
    };
    for (const Case& c : cases) {
        const Extracted e = Extract(kRarDir + c.archive, c.entry);
        EXPECT_EQ(e.status, c.status) << c.archive << " " << c.entry << ": " << e.detail;
        EXPECT_EQ(e.data.size(), c.size) << c.archive << " " << c.entry;
        if (c.status == ExtractStatus::kOk) {
            EXPECT_EQ(Crc(e.data), c.crc) << c.archive << " " << c.entry;
        }
    }
}

TEST(ThirdPartyArchives, Rar15PackingIsReportedByName) {
    const Extracted e = Extract(kRarDir + "rarfile__rar15-comment.rar", "FILE1.TXT");
    EXPECT_NE(e.detail.find("RAR 1.5 (unpacker version 15), which is not supported"),
              std::string::npos)
        << e.detail;
}

TEST(ThirdPartyArchives, ListingsShowEveryHeaderAndTheDamage) {
    struct Case {
        const char* archive;
        size_t entries;
        bool problems;
    } cases[] = {
        {"libarchive__test_read_format_rar.rar", 5, false},
        {"libarchive__test_read_format_rar4_encrypted.rar", 4, false},
        {"libarchive__test_read_format_rar_compress_best.rar", 6, false},
        {"libarchive__test_read_format_rar_endarc_huge.rar", 0, true},
        {"libarchive__test_read_format_rar_invalid1.rar", 1, true},
        {"libarchive__test_read_format_rar_noeof.rar", 1, false},
        {"rarfile__rar15-comment.rar", 2, false},
        {"rarfile__rar202-comment-nopsw.rar", 2, false},  // comments outside the header CRC
        {"sharpcompress__Rar15.rar", 5, false},
        {"sharpcompress__Rar2.rar", 5, false},
    };
    for (const Case& c : cases) {
        const ArchiveListing l = ListArchive(kRarDir + c.archive);
        EXPECT_EQ(l.status, ExtractStatus::kOk) << c.archive;
        EXPECT_EQ(l.entries.size(), c.entries) << c.archive;
        EXPECT_EQ(!l.problems.empty(), c.problems) << c.archive;
        for (const ArchiveEntryInfo& e : l.entries) {
            EXPECT_TRUE(e.header_ok) << c.archive << " " << e.name;
        }
    }
    const ArchiveListing rar2 = ListArchive(kRarDir + "sharpcompress__Rar2.rar");
    ASSERT_EQ(rar2.entries.size(), 5u);
    EXPECT_EQ(rar2.entries[3].name, "jpg\\test.jpg");
    EXPECT_EQ(rar2.entries[3].unpacker_version, 20);
    EXPECT_EQ(rar2.entries[3].method, 0x35);
    EXPECT_EQ(rar2.entries[3].packed_size, 38952u);
    EXPECT_TRUE(rar2.entries[0].directory());
}

TEST(ThirdPartyArchives, NotAnArchiveIsUnreadable) {
    const std::string path = WriteTemp("plain.txt", ToBytes("just some text, not a RAR file"));
    EXPECT_EQ(Extract(path, "x").status, ExtractStatus::kArchiveUnreadable);
    EXPECT_EQ(Extract(testing::TempDir(), "x").status, ExtractStatus::kArchiveUnreadable);
}

// ---- names ----------------------------------------------------------------------------------

TEST(EntryNames, FoldCaseAndSeparatorsOnly) {
    const std::string path =
        WriteTemp("names.rar", Pack({{"meshes\\env.dat", ToBytes("env")}, {"a.txt", ToBytes("a")}}));
    struct Case {
        const char* request;
        bool found;
    } cases[] = {
        {"meshes\\env.dat", true},   {"MESHES/ENV.DAT", true}, {"Meshes/Env.Dat", true},
        {"meshes/env.dat", true},    {"A.TXT", true},          {"meshes/env.da", false},
        {"meshes/env.dat ", false},  {"env.dat", false},       {"meshes//env.dat", false},
        {"/meshes/env.dat", false},  {"", false},
    };
    for (const Case& c : cases) {
        const Extracted e = Extract(path, c.request);
        EXPECT_EQ(e.status == ExtractStatus::kOk, c.found) << "'" << c.request << "'";
        EXPECT_EQ(e.status == ExtractStatus::kEntryMissing, !c.found) << "'" << c.request << "'";
    }
}

TEST(EntryNames, FirstOfTwoMatchingEntriesWins) {
    // Our writer refuses such twins, so join two archives' entry lists by hand.
    Bytes archive = Pack({{"MESHES\\ENV.DAT", ToBytes("first")}});
    const Bytes second = Pack({{"meshes/env.dat", ToBytes("second!")}});
    archive.insert(archive.end(), second.begin() + kFirstHeader, second.end());
    const std::string path = WriteTemp("twins.rar", archive);
    ASSERT_EQ(ListArchive(path).entries.size(), 2u);
    EXPECT_EQ(Extract(path, "meshes/env.dat").data, "first");
    EXPECT_EQ(Extract(path, "MESHES\\ENV.DAT").data, "first");
}

// ---- damaged and forged archives --------------------------------------------------------------

Bytes ThreeEntries() {
    return Pack({{"a.txt", ToBytes("alpha alpha")},
                 {"b.txt", ToBytes("bravo bravo bravo")},
                 {"c.txt", ToBytes("charlie")}});
}
size_t HeaderOffsetOf(const Bytes& archive, const std::string& name) {
    const auto r = RarArchive::OpenBytes(archive.data(), archive.size());
    const long i = r->Find(name);
    return i < 0 ? 0 : static_cast<size_t>(r->entries()[static_cast<size_t>(i)].header_offset);
}

TEST(DamagedArchives, FlippedDataByteIsACrcMismatch) {
    Bytes archive = ThreeEntries();
    const size_t b = HeaderOffsetOf(archive, "b.txt");
    archive[b + 32 + 5 + 3] ^= 0x01;  // a byte of b.txt's data
    const std::string path = WriteTemp("flip.rar", archive);
    EXPECT_EQ(Extract(path, "b.txt").status, ExtractStatus::kCrcMismatch);
    EXPECT_EQ(Extract(path, "a.txt").data, "alpha alpha");
    EXPECT_EQ(Extract(path, "c.txt").data, "charlie");
}

TEST(DamagedArchives, FlippedCompressedByteFailsThroughTheUnpacker) {
    std::ifstream in(kRarDir + "libarchive__test_read_format_rar_compress_normal.rar", std::ios::binary);
    Bytes archive((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(archive.size(), 4000u);
    archive[3000] ^= 0x10;  // inside the first entry's packed data
    const std::string path = WriteTemp("flip_packed.rar", archive);
    const ExtractStatus s = Extract(path, "LibarchiveAddingTest.html").status;
    EXPECT_TRUE(s == ExtractStatus::kCrcMismatch || s == ExtractStatus::kCorrupt) << DescribeStatus(s);
    EXPECT_EQ(Extract(path, "testlink").status, ExtractStatus::kOk);
}

TEST(DamagedArchives, CutOffFileTruncatesTheLastEntryOnly) {
    Bytes archive = ThreeEntries();
    archive.resize(archive.size() - 3);
    const std::string path = WriteTemp("cut.rar", archive);
    EXPECT_EQ(Extract(path, "c.txt").status, ExtractStatus::kTruncated);
    EXPECT_EQ(Extract(path, "b.txt").data, "bravo bravo bravo");
    const ArchiveListing l = ListArchive(path);
    ASSERT_EQ(l.entries.size(), 3u);
    EXPECT_TRUE(l.entries[2].truncated);
    EXPECT_FALSE(l.problems.empty());
}

TEST(DamagedArchives, CutInsideAHeaderKeepsTheEntriesBefore) {
    Bytes archive = ThreeEntries();
    archive.resize(HeaderOffsetOf(archive, "c.txt") + 10);
    const std::string path = WriteTemp("cut_header.rar", archive);
    EXPECT_EQ(ListArchive(path).entries.size(), 2u);
    EXPECT_EQ(Extract(path, "c.txt").status, ExtractStatus::kEntryMissing);
    EXPECT_EQ(Extract(path, "a.txt").status, ExtractStatus::kOk);
}

TEST(DamagedArchives, FlippedHeaderByteMakesTheEntryCorrupt) {
    Bytes archive = ThreeEntries();
    archive[HeaderOffsetOf(archive, "b.txt") + 20] ^= 0x40;  // the DOS time: harmless but covered
    const std::string path = WriteTemp("flip_header.rar", archive);
    EXPECT_EQ(Extract(path, "b.txt").status, ExtractStatus::kCorrupt);
    EXPECT_EQ(Extract(path, "c.txt").status, ExtractStatus::kOk);
}

TEST(ForgedHeaders, SizesAndFlagsAreCheckedBeforeUse) {
    struct Case {
        const char* what;
        std::function<void(unsigned char*)> edit;
        ExtractStatus want;
    } cases[] = {
        {"unpacked size 4 GiB - 1, compressed",
         [](unsigned char* h) { Put32(h + 11, 0xFFFFFFFF); h[25] = 0x33; }, ExtractStatus::kTooLarge},
        {"high unpacked size (flag 0x100)",
         [](unsigned char* h) {
             // Grow nothing: reuse the first 8 name bytes as HIGH_PACK_SIZE / HIGH_UNP_SIZE.
             h[4] |= 0x01;
             h[26] = 16;
             Put32(h + 32, 0);
             Put32(h + 36, 1);
         },
         ExtractStatus::kTooLarge},
        {"packed size past the end of the file", [](unsigned char* h) { Put32(h + 7, 0x7FFFFFF0); Put32(h + 11, 0x7FFFFFF0); },
         ExtractStatus::kTruncated},
        {"stored with differing sizes", [](unsigned char* h) { Put32(h + 11, 3); }, ExtractStatus::kCorrupt},
        {"encrypted flag", [](unsigned char* h) { h[3] |= 0x04; }, ExtractStatus::kEncrypted},
        {"split into the next volume", [](unsigned char* h) { h[3] |= 0x02; }, ExtractStatus::kTruncated},
        {"solid, compressed", [](unsigned char* h) { h[3] |= 0x10; h[25] = 0x33; }, ExtractStatus::kSolid},
        {"unknown method", [](unsigned char* h) { h[25] = 0x39; }, ExtractStatus::kUnsupportedPacking},
        {"unpacker version 15, compressed", [](unsigned char* h) { h[24] = 15; h[25] = 0x31; },
         ExtractStatus::kUnsupportedPacking},
        {"unpacker version 90, compressed", [](unsigned char* h) { h[24] = 90; h[25] = 0x31; },
         ExtractStatus::kUnsupportedPacking},
        {"wrong CRC in the header", [](unsigned char* h) { Put32(h + 16, 0x12345678); }, ExtractStatus::kCrcMismatch},
    };
    for (const Case& c : cases) {
        Bytes archive = Pack({{"longer_name_for_room.bin", ToBytes("0123456789abcdef")}});
        PatchHeader(archive, kFirstHeader, c.edit);
        const auto r = RarArchive::OpenBytes(archive.data(), archive.size());
        ASSERT_EQ(r->entries().size(), 1u) << c.what;
        ExtractResult e = r->Extract(0);
        EXPECT_EQ(e.status, c.want) << c.what << ": " << e.detail;
        EXPECT_EQ(e.data, nullptr) << c.what;
        std::free(e.data);
    }
}

TEST(ForgedHeaders, ImpossibleBlockSizesEndTheWalk) {
    struct Case {
        const char* what;
        std::function<void(Bytes&)> edit;
        size_t entries;
    } cases[] = {
        {"header size below 7", [](Bytes& a) { a[kFirstHeader + 5] = 3; a[kFirstHeader + 6] = 0; }, 0},
        {"header size past the end", [](Bytes& a) { a[kFirstHeader + 5] = 0xFF; a[kFirstHeader + 6] = 0xFF; }, 0},
        {"file header shorter than its fields", [](Bytes& a) { a[kFirstHeader + 5] = 20; a[kFirstHeader + 6] = 0; }, 0},
        {"name longer than the header",
         [](Bytes& a) { PatchHeader(a, kFirstHeader, [](unsigned char* h) { h[26] = 0xFF; h[27] = 0x7F; }); }, 3},
    };
    for (const Case& c : cases) {
        Bytes archive = ThreeEntries();
        c.edit(archive);
        const auto r = RarArchive::OpenBytes(archive.data(), archive.size());
        EXPECT_EQ(r->listing().status, ExtractStatus::kOk) << c.what;
        EXPECT_EQ(r->entries().size(), c.entries) << c.what;
        if (c.entries == 0) {
            EXPECT_FALSE(r->listing().problems.empty()) << c.what;
        }
        if (c.entries > 0) {
            ExtractResult e = r->Extract(0);  // the damaged one; the others read on
            EXPECT_EQ(e.status, ExtractStatus::kCorrupt) << c.what;
            std::free(e.data);
            e = r->Extract(1);
            EXPECT_EQ(e.status, ExtractStatus::kOk) << c.what;
            std::free(e.data);
        }
    }
}

TEST(ForgedHeaders, EncryptedHeadersRefuseTheArchive) {
    Bytes archive = ThreeEntries();
    PatchHeader(archive, 7, [](unsigned char* h) { h[3] |= 0x80; });
    const std::string path = WriteTemp("locked.rar", archive);
    EXPECT_EQ(Extract(path, "a.txt").status, ExtractStatus::kEncrypted);
}

// ---- our writer -------------------------------------------------------------------------------

TEST(Writer, LayoutIsTheRar2StoredOne) {
    const Bytes a = Pack({{"dir/x.txt", ToBytes("hi")}});
    const Bytes prefix = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00,                          // marker
                          0xCF, 0x90, 0x73, 0x00, 0x00, 0x0D, 0x00, 0, 0, 0, 0, 0, 0};      // main
    ASSERT_GE(a.size(), prefix.size() + 32 + 9 + 2);
    EXPECT_EQ(Bytes(a.begin(), a.begin() + 20), prefix);
    const unsigned char* h = &a[kFirstHeader];
    EXPECT_EQ(h[2], 0x74);
    EXPECT_EQ(h[3] | h[4] << 8, 0x8000);
    EXPECT_EQ(h[5] | h[6] << 8, 32 + 9);
    EXPECT_EQ(h[24], 20);
    EXPECT_EQ(h[25], 0x30);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(h + 32), 9), "dir\\x.txt");
    EXPECT_EQ(std::string(a.end() - 2, a.end()), "hi");
}

TEST(Writer, OutputDependsOnlyOnNamesAndBytes) {
    const Bytes one = Pack({{"b/z.txt", ToBytes("z")}, {"a.txt", ToBytes("a")}, {"b\\y.txt", {}}});
    const Bytes two = Pack({{"b\\y.txt", {}}, {"a.txt", ToBytes("a")}, {"b/z.txt", ToBytes("z")}});
    EXPECT_EQ(one, two);
    const auto r = RarArchive::OpenBytes(one.data(), one.size());
    ASSERT_EQ(r->entries().size(), 3u);
    EXPECT_EQ(r->entries()[0].name, "a.txt");
    EXPECT_EQ(r->entries()[1].name, "b\\y.txt");
    EXPECT_EQ(r->entries()[2].name, "b\\z.txt");
}

TEST(Writer, RefusesNamesTheReaderCannotServe) {
    for (std::vector<StoredFile> files : std::vector<std::vector<StoredFile>>{
             {{"", {}}},
             {{std::string(100, 'n'), {}}},
             {{"Same.txt", {}}, {"dir/x", {}}, {"same.TXT", {}}},
             {{"a/b", {}}, {"A\\B", {}}},
         }) {
        Bytes out;
        std::string error;
        EXPECT_FALSE(WriteStoredRar(files, &out, &error)) << files[0].name;
        EXPECT_FALSE(error.empty());
    }
    Bytes out;
    std::string error;
    EXPECT_TRUE(WriteStoredRar({{std::string(99, 'n'), {}}}, &out, &error)) << error;
}

TEST(Writer, ArchivesReadBackThroughLibunarrToo) {
    Bytes binary(70000);
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<unsigned char>(i * 131 + (i >> 7));
    const std::vector<StoredFile> files = {
        {"textures/noise.bin", binary}, {"env.txt", ToBytes("ENV_END\n")}, {"empty.dat", {}}};
    const Bytes archive = Pack(files);

    ar_stream* stream = ar_open_memory(archive.data(), archive.size());
    ASSERT_NE(stream, nullptr);
    ar_archive* ar = ar_open_rar_archive(stream);
    ASSERT_NE(ar, nullptr);
    std::vector<std::pair<std::string, Bytes>> got;
    while (ar_parse_entry(ar)) {
        Bytes data(ar_entry_get_size(ar));
        EXPECT_TRUE(ar_entry_uncompress(ar, data.data(), data.size())) << ar_entry_get_name(ar);
        got.emplace_back(ar_entry_get_name(ar), data);
    }
    EXPECT_TRUE(ar_at_eof(ar));
    ar_close_archive(ar);
    ar_close(stream);
    const std::vector<std::pair<std::string, Bytes>> want = {
        {"empty.dat", {}}, {"env.txt", ToBytes("ENV_END\n")}, {"textures/noise.bin", binary}};
    EXPECT_EQ(got, want);

    const std::string path = WriteTemp("ours.rar", archive);
    for (const StoredFile& f : files) {
        const Extracted e = Extract(path, f.name);
        EXPECT_EQ(e.status, ExtractStatus::kOk) << f.name;
        EXPECT_EQ(e.data, std::string(f.data.begin(), f.data.end())) << f.name;
    }
}

// ---- the kept index ---------------------------------------------------------------------------

TEST(KeptIndex, NoticesARewrittenArchiveEvenOfTheSameSize) {
    const std::string path = WriteTemp("changing.rar", Pack({{"a.txt", ToBytes("one")}}));
    EXPECT_EQ(Extract(path, "a.txt").data, "one");
    WriteTemp("changing.rar", Pack({{"a.txt", ToBytes("two")}}));  // same size, same second
    EXPECT_EQ(Extract(path, "a.txt").data, "two");
    WriteTemp("changing.rar", Pack({{"b.txt", ToBytes("three")}, {"c.txt", ToBytes("3")}}));
    EXPECT_EQ(Extract(path, "a.txt").status, ExtractStatus::kEntryMissing);
    EXPECT_EQ(Extract(path, "B.TXT").data, "three");
}

// ---- MemFile::Open ----------------------------------------------------------------------------

class MemFileOpen : public testing::Test {
protected:
    void SetUp() override { ClearDiagnostics(); }
    void TearDown() override { SetArchivePath("data.sdd"); }
};

TEST_F(MemFileOpen, ReadsEntriesOfTheCurrentArchiveByTheNameRule) {
    EXPECT_EQ(ArchivePath(), "data.sdd");
    SetArchivePath(WriteTemp("data.sdd", Pack({{"meshes\\env.dat", ToBytes("mesh bytes")},
                                               {"env.txt", ToBytes("line one\r\nENV_END\n")}})));
    MemFile f;
    ASSERT_TRUE(f.Open("MESHES/ENV.DAT"));
    EXPECT_STREQ(f.name(), "MESHES/ENV.DAT");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(f.data()), f.size()), "mesh bytes");
    f.Close();

    ASSERT_TRUE(f.Open("env.txt"));
    char line[kLineBufferSize];
    EXPECT_TRUE(f.ReadLine(line));
    EXPECT_STREQ(line, "line one");
    EXPECT_TRUE(f.ReadLine(line));
    EXPECT_STREQ(line, "ENV_END");
    EXPECT_TRUE(Diagnostics().empty());
}

TEST_F(MemFileOpen, FailuresLeaveTheFileEmptyAndWarnOnlyAboutDamage) {
    Bytes archive = ThreeEntries();
    archive[HeaderOffsetOf(archive, "b.txt") + 32 + 5] ^= 0x01;
    SetArchivePath(WriteTemp("data.sdd", archive));
    MemFile f;
    EXPECT_FALSE(f.Open("missing.txt"));
    EXPECT_TRUE(Diagnostics().empty());
    EXPECT_FALSE(f.Open("b.txt"));
    EXPECT_EQ(f.data(), nullptr);
    EXPECT_EQ(f.size(), 0u);
    ASSERT_EQ(Diagnostics().size(), 1u);
    EXPECT_EQ(Diagnostics()[0].entry, "b.txt");
    EXPECT_NE(Diagnostics()[0].message.find("CRC mismatch"), std::string::npos);
    char line[kLineBufferSize];
    EXPECT_FALSE(f.ReadLine(line));
    EXPECT_TRUE(f.AtEnd());

    SetArchivePath(TempPath("absent.sdd"));
    EXPECT_FALSE(f.Open("a.txt"));
}

}  // namespace
}  // namespace orv
