// Reading entries of the data archive (a RAR 2.x archive, "data.sdd").
//
// Entries are found by the archive's own rule: the first entry, in header order, whose name
// equals the requested one with letters folded to upper case and '\' and '/' read as the same
// separator. Every extracted entry is checked against its stored CRC-32.
//
// The entry headers of an archive are read once and kept (per archive path) until the file's
// size or modification time changes, so opening hundreds of entries costs one walk of the headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// Entries whose unpacked size is beyond this are refused: far above any real asset, and small
// enough that a forged header cannot make us allocate without bound.
constexpr uint64_t kMaxEntrySize = 256ull * 1024 * 1024;

// The archive that MemFile::Open reads: "data.sdd" in the working directory unless set.
void SetArchivePath(const std::string& path);
const std::string& ArchivePath();

enum class ExtractStatus {
    kOk,
    kArchiveUnreadable,   // missing, unreadable, or not a RAR archive
    kEntryMissing,
    kEncrypted,
    kSolid,               // needs earlier entries of a solid archive
    kUnsupportedPacking,  // packing version the unpacker cannot handle (e.g. RAR 1.5)
    kCrcMismatch,
    kTruncated,
    kTooLarge,            // unpacked size beyond kMaxEntrySize
    kCorrupt,             // any other unpacking failure
};

struct ExtractResult {
    ExtractStatus status = ExtractStatus::kArchiveUnreadable;
    unsigned char* data = nullptr;  // malloc'ed, released with free(); null when size is 0 or on failure
    uint32_t size = 0;
    std::string detail;              // human-readable reason on failure
};

// One file header of an archive, as stored.
struct ArchiveEntryInfo {
    std::string name;            // raw name bytes up to the first NUL (separators as stored)
    uint64_t header_offset = 0;  // where the entry's block header starts
    uint64_t data_offset = 0;    // where its packed data starts
    uint64_t packed_size = 0;
    uint64_t unpacked_size = 0;
    uint32_t crc = 0;            // CRC-32 of the unpacked data
    uint32_t dos_time = 0;
    uint32_t attributes = 0;
    uint16_t flags = 0;          // the file header's flags
    uint8_t host_os = 0;
    uint8_t unpacker_version = 0;  // version needed to extract, 10 * major + minor
    uint8_t method = 0;            // 0x30 stored, 0x31..0x35 compressed
    bool header_ok = true;         // the header's CRC holds and its fields fit inside it
    bool truncated = false;        // the archive ends before the entry's data does

    bool directory() const { return (flags & 0xE0) == 0xE0; }
    bool encrypted() const { return flags & 0x04; }
    bool solid() const { return flags & 0x10; }
    bool split() const { return flags & 0x03; }
};

// Every file header of an archive in stored order, and what was wrong with its structure.
struct ArchiveListing {
    ExtractStatus status = ExtractStatus::kArchiveUnreadable;  // kOk once the headers were read
    std::string detail;
    std::vector<ArchiveEntryInfo> entries;
    std::vector<std::string> problems;  // damaged blocks, early end, ... (entries before are usable)
};

// Extracts one entry of the archive at `archive_path` whole into memory.
ExtractResult ExtractEntry(const std::string& archive_path, const std::string& entry_name);
// Extracts the entry at position `index` of ListArchive(archive_path).entries.
ExtractResult ExtractEntryAt(const std::string& archive_path, size_t index);
// Lists the file headers of an archive (directories included).
ArchiveListing ListArchive(const std::string& archive_path);
// True when the archive can be opened and its headers read; otherwise `why` says what is wrong.
bool ArchiveOpens(const std::string& archive_path, std::string* why);
// Drops every kept index; the next access reads the headers again.
void ForgetArchiveIndexes();

// True when the names are equal with letters folded to upper case and '\' and '/' the same.
bool EntryNamesMatch(const std::string& a, const std::string& b);

// A short text for a status ("CRC mismatch", "encrypted", ...).
const char* DescribeStatus(ExtractStatus status);

}  // namespace orv
