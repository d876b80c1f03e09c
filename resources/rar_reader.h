// A RAR 1.5-4.x format archive (RAR 2.x and 2.9 entries) read through our own header walker.
//
// The walker reads every block header once, checks its CRC and its sizes against the file, and
// keeps the file headers (ArchiveEntryInfo) with a name index. Extraction seeks to the indexed
// entry: stored entries are read directly, compressed ones are unpacked by libunarr. Everything
// the headers say is checked before use, so a damaged or forged archive gives a status, never an
// out-of-bounds read or an allocation beyond the limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "resources/archive.h"

namespace orv {

// Counts beyond these are treated as a corrupt archive rather than read.
constexpr size_t kMaxArchiveEntries = 100000;

// The RAR marker block that starts every archive of this format.
constexpr unsigned char kRarMarker[7] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};

class RarArchive {
public:
    // Opens and indexes the archive file. Never null: an unreadable file gives a listing whose
    // status says why.
    static std::unique_ptr<RarArchive> OpenFile(const std::string& path);
    // Indexes an archive held in memory; the bytes must outlive the object.
    static std::unique_ptr<RarArchive> OpenBytes(const void* bytes, size_t size);
    ~RarArchive();
    RarArchive(const RarArchive&) = delete;
    RarArchive& operator=(const RarArchive&) = delete;

    const ArchiveListing& listing() const { return listing_; }
    const std::vector<ArchiveEntryInfo>& entries() const { return listing_.entries; }

    // Position of the first file entry (directories do not count) whose name matches, or -1.
    long Find(const std::string& name) const;
    // Extracts one entry; entries larger than `max_size` are refused with kTooLarge.
    ExtractResult Extract(size_t index, uint64_t max_size = kMaxEntrySize);
    // False when the bytes at the entry's header are no longer those that were indexed (the file
    // changed under us): the index must be rebuilt.
    bool HeaderStillMatches(size_t index);

    class Source;  // where the bytes come from (a file or memory)

private:
    explicit RarArchive(std::unique_ptr<Source> source);
    void Walk();
    void AddFileEntry(const unsigned char* header, size_t head_size, uint64_t offset, bool crc_ok);
    ExtractResult ExtractStored(const ArchiveEntryInfo& e);
    ExtractResult ExtractPacked(const ArchiveEntryInfo& e);

    std::unique_ptr<Source> source_;
    ArchiveListing listing_;
    std::vector<uint32_t> header_crcs_;  // CRC-32 of each entry's whole header, to notice changes
    std::vector<uint16_t> header_sizes_;
    std::unordered_map<std::string, size_t> by_name_;  // folded name -> first file entry
};

// The name with letters folded to upper case and '/' turned into '\': equal keys match.
std::string FoldEntryName(const std::string& name);

}  // namespace orv
