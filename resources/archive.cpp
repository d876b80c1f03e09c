// The data archive as the rest of the system sees it: entries found by name, indexes kept per
// archive path and rebuilt when the file changes.
#include "resources/archive.h"

#include <memory>

#include "platform/file_stamp.h"
#include "resources/rar_reader.h"

namespace orv {
namespace {

std::string& PathStore() {
    static std::string path = "data.sdd";
    return path;
}

// A few archives are kept indexed: the saver reads one, tools and tests alternate between some.
constexpr size_t kKeptIndexes = 4;

struct KeptIndex {
    std::string path;
    FileStamp stamp;
    std::unique_ptr<RarArchive> archive;
};

std::vector<KeptIndex>& Kept() {
    static std::vector<KeptIndex> kept;
    return kept;
}

bool SameStamp(const FileStamp& a, const FileStamp& b) {
    return a.size == b.size && a.mtime_ns == b.mtime_ns && a.inode == b.inode;
}

// The indexed archive at `path`, read again when its size, modification time or identity
// changed. Null with `failure` filled when the path is not a regular file.
RarArchive* IndexFor(const std::string& path, ExtractResult* failure) {
    FileStamp stamp;
    if (!StampFile(path, &stamp)) {
        failure->status = ExtractStatus::kArchiveUnreadable;
        failure->detail = "cannot read archive " + path + ": not an existing regular file";
        return nullptr;
    }
    auto& kept = Kept();
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if (it->path != path) continue;
        if (SameStamp(it->stamp, stamp)) return it->archive.get();
        kept.erase(it);
        break;
    }
    if (kept.size() >= kKeptIndexes) kept.erase(kept.begin());
    kept.push_back({path, stamp, RarArchive::OpenFile(path)});
    return kept.back().archive.get();
}

// Extracts entry `index`; if the bytes at its header are not those indexed (the file changed
// within the resolution of its timestamp), the archive is indexed again and `name` looked up anew.
ExtractResult ExtractChecked(const std::string& path, RarArchive* archive, long index,
                             const std::string* name) {
    if (index >= 0 && !archive->HeaderStillMatches(static_cast<size_t>(index))) {
        ForgetArchiveIndexes();
        ExtractResult failure;
        archive = IndexFor(path, &failure);
        if (!archive) return failure;
        if (name) index = archive->Find(*name);
    }
    if (index < 0) {
        ExtractResult r;
        r.status = ExtractStatus::kEntryMissing;
        r.detail = "no entry " + (name ? *name : std::string("at that position")) + " in " + path;
        return r;
    }
    return archive->Extract(static_cast<size_t>(index));
}

}  // namespace

void SetArchivePath(const std::string& path) { PathStore() = path; }
const std::string& ArchivePath() { return PathStore(); }

// The index of an archive whose headers could be read; null with `failure` set otherwise.
static RarArchive* ReadableIndexFor(const std::string& archive_path, ExtractResult* failure) {
    RarArchive* archive = IndexFor(archive_path, failure);
    if (archive && archive->listing().status != ExtractStatus::kOk) {
        failure->status = archive->listing().status;
        failure->detail = archive->listing().detail;
        return nullptr;
    }
    return archive;
}

ExtractResult ExtractEntry(const std::string& archive_path, const std::string& entry_name) {
    ExtractResult failure;
    RarArchive* archive = ReadableIndexFor(archive_path, &failure);
    if (!archive) return failure;
    return ExtractChecked(archive_path, archive, archive->Find(entry_name), &entry_name);
}

ExtractResult ExtractEntryAt(const std::string& archive_path, size_t index) {
    ExtractResult failure;
    RarArchive* archive = ReadableIndexFor(archive_path, &failure);
    if (!archive) return failure;
    const long i = index < archive->entries().size() ? static_cast<long>(index) : -1;
    return ExtractChecked(archive_path, archive, i, nullptr);
}

ArchiveListing ListArchive(const std::string& archive_path) {
    ExtractResult failure;
    RarArchive* archive = IndexFor(archive_path, &failure);
    if (!archive) {
        ArchiveListing listing;
        listing.status = failure.status;
        listing.detail = failure.detail;
        return listing;
    }
    return archive->listing();
}

void ForgetArchiveIndexes() { Kept().clear(); }

bool EntryNamesMatch(const std::string& a, const std::string& b) {
    return FoldEntryName(a) == FoldEntryName(b);
}

const char* DescribeStatus(ExtractStatus status) {
    switch (status) {
        case ExtractStatus::kOk: return "ok";
        case ExtractStatus::kArchiveUnreadable: return "archive unreadable";
        case ExtractStatus::kEntryMissing: return "missing";
        case ExtractStatus::kEncrypted: return "encrypted";
        case ExtractStatus::kSolid: return "solid";
        case ExtractStatus::kUnsupportedPacking: return "unsupported packing";
        case ExtractStatus::kCrcMismatch: return "CRC mismatch";
        case ExtractStatus::kTruncated: return "truncated";
        case ExtractStatus::kTooLarge: return "too large";
        case ExtractStatus::kCorrupt: return "corrupt";
    }
    return "unknown";
}

bool ArchiveOpens(const std::string& archive_path, std::string* why) {
    const ArchiveListing listing = ListArchive(archive_path);
    if (listing.status == ExtractStatus::kOk) return true;
    if (why) *why = listing.detail.empty() ? DescribeStatus(listing.status) : listing.detail;
    return false;
}

}  // namespace orv
