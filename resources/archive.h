// Reading entries of the data archive (a RAR 2.x archive, "data.sdd").
//
// Entries are found by the archive's own rule: the first entry, in header order, whose name
// equals the requested one with letters folded to upper case and '\' and '/' read as the same
// separator. Every extracted entry is checked against its stored CRC-32.
#pragma once

#include <cstdint>
#include <string>

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

// Extracts one entry of the archive at `archive_path` whole into memory.
ExtractResult ExtractEntry(const std::string& archive_path, const std::string& entry_name);

// A short text for a status ("CRC mismatch", "encrypted", ...).
const char* DescribeStatus(ExtractStatus status);

}  // namespace orv
