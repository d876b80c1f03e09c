#include "resources/rar_reader.h"

#include <unarr.h>

#include <cerrno>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "resources/crc32.h"

namespace orv {

// Block types and flags of the RAR 1.5-4.x format.
namespace {
constexpr uint8_t kMainHead = 0x73;
constexpr uint8_t kFileHead = 0x74;
constexpr uint8_t kNewSubHead = 0x7A;  // service data (comments, recovery record) laid out as a file
constexpr uint8_t kEndHead = 0x7B;

constexpr uint16_t kLongBlock = 0x8000;       // an ADD_SIZE field follows the base header
constexpr uint16_t kMainComment = 0x02;       // RAR 2.0x: archive comment inside the main header
constexpr uint16_t kMainHeadersEncrypted = 0x80;
constexpr uint16_t kFileComment = 0x08;       // RAR 2.0x: file comment inside the file header
constexpr uint16_t kFileLarge = 0x100;        // HIGH_PACK_SIZE and HIGH_UNP_SIZE present

constexpr size_t kBaseHeaderSize = 7;
constexpr size_t kMainHeaderSize = 13;
constexpr size_t kFileHeaderSize = 32;  // up to and including ATTR

constexpr uint8_t kMethodStored = 0x30;

uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

ExtractResult Failure(ExtractStatus status, std::string detail) {
    ExtractResult r;
    r.status = status;
    r.detail = std::move(detail);
    return r;
}

// The header CRC is the low half of a CRC-32 over the header from its type byte. RAR 2.0x kept
// archive and file comments inside the main and file headers and left them out of the CRC.
bool HeaderCrcHolds(const unsigned char* h, size_t head_size) {
    const uint16_t stored = U16(h);
    const uint8_t type = h[2];
    const uint16_t flags = U16(h + 3);
    if ((Crc32(h + 2, head_size - 2) & 0xFFFF) == stored) return true;
    size_t covered = 0;
    if (type == kMainHead && (flags & kMainComment) && head_size > kMainHeaderSize) {
        covered = kMainHeaderSize;
    } else if (type == kFileHead && (flags & kFileComment) && head_size >= kFileHeaderSize) {
        covered = kFileHeaderSize + ((flags & kFileLarge) ? 8 : 0) + U16(h + 26);
    }
    return covered > 2 && covered < head_size &&
           (Crc32(h + 2, covered - 2) & 0xFFFF) == stored;
}

}  // namespace

class RarArchive::Source {
public:
    virtual ~Source() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly `count` bytes at `offset`, or returns false.
    virtual bool ReadAt(uint64_t offset, void* destination, size_t count) = 0;
    // A libunarr stream over the same bytes, for unpacking; null on failure.
    virtual ar_stream* OpenStream() = 0;
    std::string error;  // why the source could not be opened; empty when it is usable
};

namespace {

class FileSource : public RarArchive::Source {
public:
    explicit FileSource(const std::string& path) : path_(path) {
        file_ = std::fopen(path.c_str(), "rb");
        if (!file_) {
            error = Format("cannot open archive %s: %s", path.c_str(), std::strerror(errno));
            return;
        }
        long end = -1;
        if (std::fseek(file_, 0, SEEK_END) == 0) end = std::ftell(file_);
        if (end < 0) {
            error = Format("cannot read archive %s", path.c_str());
            return;
        }
        size_ = static_cast<uint64_t>(end);
    }
    ~FileSource() override {
        if (file_) std::fclose(file_);
    }
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* destination, size_t count) override {
        if (!file_ || offset > size_ || count > size_ - offset) return false;
        if (count == 0) return true;
        if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
        return std::fread(destination, 1, count, file_) == count;
    }
    ar_stream* OpenStream() override { return ar_open_file(path_.c_str()); }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
};

class MemorySource : public RarArchive::Source {
public:
    MemorySource(const void* bytes, size_t size)
        : bytes_(static_cast<const unsigned char*>(bytes)), size_(bytes ? size : 0) {}
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* destination, size_t count) override {
        if (offset > size_ || count > size_ - offset) return false;
        if (count) std::memcpy(destination, bytes_ + offset, count);
        return true;
    }
    ar_stream* OpenStream() override { return size_ ? ar_open_memory(bytes_, size_) : nullptr; }

private:
    const unsigned char* bytes_;
    size_t size_;
};

}  // namespace

std::string FoldEntryName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) {
        if (c == '/') c = '\\';
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return folded;
}

RarArchive::RarArchive(std::unique_ptr<Source> source) : source_(std::move(source)) {}
RarArchive::~RarArchive() = default;

std::unique_ptr<RarArchive> RarArchive::OpenFile(const std::string& path) {
    std::unique_ptr<RarArchive> archive(new RarArchive(std::make_unique<FileSource>(path)));
    if (!archive->source_->error.empty()) {
        archive->listing_.detail = archive->source_->error;
    } else {
        archive->Walk();
    }
    return archive;
}

std::unique_ptr<RarArchive> RarArchive::OpenBytes(const void* bytes, size_t size) {
    std::unique_ptr<RarArchive> archive(
        new RarArchive(std::make_unique<MemorySource>(bytes, size)));
    archive->Walk();
    return archive;
}

void RarArchive::Walk() {
    ArchiveListing& out = listing_;
    const uint64_t size = source_->Size();
    unsigned char marker[sizeof kRarMarker];
    if (!source_->ReadAt(0, marker, sizeof marker) ||
        std::memcmp(marker, kRarMarker, sizeof marker) != 0) {
        out.status = ExtractStatus::kArchiveUnreadable;
        out.detail = "not a RAR archive (no RAR marker at the start)";
        return;
    }
    out.status = ExtractStatus::kOk;
    auto problem = [&out](std::string text) { out.problems.push_back(std::move(text)); };

    bool seen_main = false;
    std::vector<unsigned char> header;  // at most 65535 bytes: HEAD_SIZE is 16 bits
    uint64_t pos = sizeof kRarMarker;
    while (pos < size) {
        const unsigned long long at = pos;
        unsigned char base[kBaseHeaderSize];
        if (size - pos < kBaseHeaderSize || !source_->ReadAt(pos, base, sizeof base)) {
            problem(Format("the archive ends inside the block header at offset %llu", at));
            break;
        }
        const uint8_t type = base[2];
        const uint16_t flags = U16(base + 3);
        const uint16_t head_size = U16(base + 5);
        if (head_size < kBaseHeaderSize) {
            problem(Format("the block at offset %llu has an impossible header size %u", at,
                           head_size));
            break;
        }
        header.resize(head_size);
        if (head_size > size - pos || !source_->ReadAt(pos, header.data(), head_size)) {
            problem(Format("the archive ends inside the block header at offset %llu", at));
            break;
        }

        // Size of the data that follows the header: a file's packed data, or ADD_SIZE.
        uint64_t add_size = 0;
        if (type == kFileHead || type == kNewSubHead) {
            if (head_size < kFileHeaderSize) {
                problem(Format("the file header at offset %llu is too short (%u bytes)", at,
                               head_size));
                break;
            }
            add_size = U32(&header[7]);
            if ((flags & kFileLarge) && head_size >= kFileHeaderSize + 8) {
                add_size |= static_cast<uint64_t>(U32(&header[32])) << 32;
            }
        } else if (flags & kLongBlock) {
            if (head_size < kBaseHeaderSize + 4) {
                problem(Format("the block header at offset %llu is too short (%u bytes)", at,
                               head_size));
                break;
            }
            add_size = U32(&header[7]);
        }
        const bool crc_ok = HeaderCrcHolds(header.data(), head_size);

        if (type == kMainHead) {
            seen_main = true;
            if (!crc_ok) problem(Format("the main header at offset %llu is damaged", at));
            if (flags & kMainHeadersEncrypted) {
                out.status = ExtractStatus::kEncrypted;
                out.detail = "the archive's headers are encrypted (it needs a password)";
                return;
            }
        } else if (type == kFileHead) {
            if (out.entries.size() >= kMaxArchiveEntries) {
                problem(Format("more than %zu entries: the rest is ignored", kMaxArchiveEntries));
                break;
            }
            AddFileEntry(header.data(), head_size, pos, crc_ok);
        } else if (type == kEndHead) {
            if (!crc_ok) problem(Format("the end block at offset %llu is damaged", at));
            break;
        } else if (!crc_ok) {
            problem(Format("the block of type 0x%02x at offset %llu is damaged", type, at));
        }

        const uint64_t remaining = size - pos - head_size;
        if (add_size > remaining) {
            if (type == kFileHead) {
                out.entries.back().truncated = true;
                problem(Format("the data of entry '%s' runs past the end of the archive "
                               "(%llu of %llu bytes present)",
                               out.entries.back().name.c_str(),
                               static_cast<unsigned long long>(remaining),
                               static_cast<unsigned long long>(add_size)));
            } else {
                problem(Format("the data of the block at offset %llu runs past the end of the "
                               "archive", at));
            }
            break;
        }
        pos += head_size + add_size;
    }
    if (!seen_main) problem("the archive has no main header");
}

void RarArchive::AddFileEntry(const unsigned char* h, size_t head_size, uint64_t offset,
                              bool crc_ok) {
    ArchiveEntryInfo e;
    e.header_offset = offset;
    e.data_offset = offset + head_size;
    e.flags = U16(h + 3);
    e.packed_size = U32(h + 7);
    e.unpacked_size = U32(h + 11);
    e.host_os = h[15];
    e.crc = U32(h + 16);
    e.dos_time = U32(h + 20);
    e.unpacker_version = h[24];
    e.method = h[25];
    const size_t name_size = U16(h + 26);
    e.attributes = U32(h + 28);
    e.header_ok = crc_ok;
    size_t name_at = kFileHeaderSize;
    if (e.flags & kFileLarge) {
        if (head_size < kFileHeaderSize + 8) {
            e.header_ok = false;
        } else {
            e.packed_size |= static_cast<uint64_t>(U32(h + 32)) << 32;
            e.unpacked_size |= static_cast<uint64_t>(U32(h + 36)) << 32;
            name_at += 8;
        }
    }
    const size_t available = head_size > name_at ? head_size - name_at : 0;
    if (name_size > available) e.header_ok = false;
    const char* name = reinterpret_cast<const char*>(h + name_at);
    const size_t length = name_size < available ? name_size : available;
    // A Unicode name (flag 0x200) is stored after the plain one and a NUL; we use the plain one.
    e.name.assign(name, strnlen(name, length));

    const size_t index = listing_.entries.size();
    listing_.entries.push_back(e);
    header_crcs_.push_back(Crc32(h, head_size));
    header_sizes_.push_back(static_cast<uint16_t>(head_size));
    // The first entry of a name wins; directories hold no data and are never opened.
    if (!e.directory()) by_name_.emplace(FoldEntryName(e.name), index);
}

long RarArchive::Find(const std::string& name) const {
    const auto it = by_name_.find(FoldEntryName(name));
    return it == by_name_.end() ? -1 : static_cast<long>(it->second);
}

bool RarArchive::HeaderStillMatches(size_t index) {
    if (index >= header_sizes_.size()) return false;
    std::vector<unsigned char> header(header_sizes_[index]);
    return source_->ReadAt(listing_.entries[index].header_offset, header.data(), header.size()) &&
           Crc32(header.data(), header.size()) == header_crcs_[index];
}

ExtractResult RarArchive::Extract(size_t index, uint64_t max_size) {
    if (listing_.status != ExtractStatus::kOk) return Failure(listing_.status, listing_.detail);
    if (index >= listing_.entries.size()) return Failure(ExtractStatus::kEntryMissing, "no such entry");
    const ArchiveEntryInfo& e = listing_.entries[index];
    const char* name = e.name.c_str();
    if (e.directory()) {
        return Failure(ExtractStatus::kEntryMissing, Format("'%s' is a directory", name));
    }
    if (!e.header_ok) {
        return Failure(ExtractStatus::kCorrupt,
                       Format("the header of '%s' is damaged (header CRC mismatch)", name));
    }
    if (e.encrypted()) {
        return Failure(ExtractStatus::kEncrypted,
                       Format("'%s' is encrypted (needs a password)", name));
    }
    if (e.split()) {
        return Failure(ExtractStatus::kTruncated,
                       Format("'%s' continues in another volume of a multi-volume archive", name));
    }
    if (e.truncated) {
        return Failure(ExtractStatus::kTruncated,
                       Format("'%s' is cut off: the archive ends inside its data", name));
    }
    if (e.unpacked_size > max_size) {
        return Failure(ExtractStatus::kTooLarge,
                       Format("'%s' is %llu bytes unpacked, beyond the limit of %llu", name,
                              static_cast<unsigned long long>(e.unpacked_size),
                              static_cast<unsigned long long>(max_size)));
    }
    if (e.method == kMethodStored) return ExtractStored(e);
    if (e.method < 0x31 || e.method > 0x35) {
        return Failure(ExtractStatus::kUnsupportedPacking,
                       Format("'%s' uses the unknown packing method 0x%02x", name, e.method));
    }
    if (e.solid()) {
        return Failure(ExtractStatus::kSolid,
                       Format("'%s' is packed solid: it needs the entries before it", name));
    }
    const unsigned v = e.unpacker_version;
    if (v != 20 && v != 26 && v != 29 && v != 36) {
        return Failure(ExtractStatus::kUnsupportedPacking,
                       Format("'%s' is packed with RAR %u.%u (unpacker version %u), which is not "
                              "supported",
                              name, v / 10, v % 10, v));
    }
    return ExtractPacked(e);
}

ExtractResult RarArchive::ExtractStored(const ArchiveEntryInfo& e) {
    const char* name = e.name.c_str();
    if (e.packed_size != e.unpacked_size) {
        return Failure(ExtractStatus::kCorrupt,
                       Format("'%s' is stored but its packed size %llu differs from its size %llu",
                              name, static_cast<unsigned long long>(e.packed_size),
                              static_cast<unsigned long long>(e.unpacked_size)));
    }
    ExtractResult r;
    const size_t n = static_cast<size_t>(e.unpacked_size);
    if (n) {
        r.data = static_cast<unsigned char*>(std::malloc(n));
        if (!r.data) return Failure(ExtractStatus::kTooLarge, Format("out of memory for '%s'", name));
        if (!source_->ReadAt(e.data_offset, r.data, n)) {
            std::free(r.data);
            return Failure(ExtractStatus::kTruncated, Format("cannot read the data of '%s'", name));
        }
    }
    const uint32_t crc = Crc32(r.data, n);
    if (crc != e.crc) {
        std::free(r.data);
        return Failure(ExtractStatus::kCrcMismatch,
                       Format("CRC mismatch in '%s': the header says %08" PRIx32
                              ", the data gives %08" PRIx32,
                              name, e.crc, crc));
    }
    r.status = ExtractStatus::kOk;
    r.size = static_cast<uint32_t>(n);
    return r;
}

ExtractResult RarArchive::ExtractPacked(const ArchiveEntryInfo& e) {
    const char* name = e.name.c_str();
    ar_stream* stream = source_->OpenStream();
    if (!stream) return Failure(ExtractStatus::kArchiveUnreadable, "cannot reopen the archive");
    ar_archive* archive = ar_open_rar_archive(stream);
    if (!archive) {
        ar_close(stream);
        return Failure(ExtractStatus::kCorrupt, "the unpacker cannot open the archive");
    }
    const size_t n = static_cast<size_t>(e.unpacked_size);
    ExtractResult r;
    bool body_ok = false, last_ok = false;
    if (ar_parse_entry_at(archive, static_cast<off64_t>(e.header_offset)) &&
        ar_entry_get_size(archive) == n) {
        r.data = n ? static_cast<unsigned char*>(std::malloc(n)) : nullptr;
        if (n && r.data) {
            // The unpacker checks the CRC after the last byte. Unpacking that byte on its own
            // tells damaged packed data (an earlier failure) from a CRC mismatch.
            body_ok = n == 1 || ar_entry_uncompress(archive, r.data, n - 1);
            last_ok = body_ok && ar_entry_uncompress(archive, r.data + n - 1, 1);
        } else {
            body_ok = last_ok = n == 0;
        }
    }
    ar_close_archive(archive);
    ar_close(stream);
    const uint32_t crc = body_ok ? Crc32(r.data, n) : 0;
    if (!body_ok) {
        std::free(r.data);
        return Failure(ExtractStatus::kCorrupt,
                       Format("the packed data of '%s' is damaged (unpacking failed)", name));
    }
    if (crc != e.crc) {
        std::free(r.data);
        return Failure(ExtractStatus::kCrcMismatch,
                       Format("CRC mismatch in '%s': the header says %08" PRIx32
                              ", the unpacked data gives %08" PRIx32,
                              name, e.crc, crc));
    }
    if (!last_ok) {
        std::free(r.data);
        return Failure(ExtractStatus::kCorrupt,
                       Format("the packed data of '%s' is damaged (unpacking failed)", name));
    }
    r.status = ExtractStatus::kOk;
    r.size = static_cast<uint32_t>(n);
    return r;
}

}  // namespace orv
