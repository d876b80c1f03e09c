#include "resources/memfile.h"

#include <cstdlib>
#include <cstring>

#include "resources/archive.h"
#include "resources/diagnostics.h"

namespace orv {

MemFile::~MemFile() { Close(); }

void MemFile::SetName(const char* entry_name) {
    std::strncpy(name_, entry_name ? entry_name : "", sizeof name_ - 1);
    name_[sizeof name_ - 1] = '\0';
}

bool MemFile::Open(const char* entry_name) {
    Close();
    SetName(entry_name);
    if (!entry_name || std::strlen(entry_name) >= sizeof name_) return false;
    ExtractResult r = ExtractEntry(ArchivePath(), entry_name);
    if (r.status != ExtractStatus::kOk) {
        std::free(r.data);
        // A missing entry is ordinary (optional content); damage is worth a warning.
        if (r.status != ExtractStatus::kEntryMissing &&
            r.status != ExtractStatus::kArchiveUnreadable) {
            Warn(entry_name, 0, "cannot read entry: %s", r.detail.c_str());
        }
        return false;
    }
    data_ = r.data;
    size_ = r.size;
    return true;
}

void MemFile::OpenBytes(const char* entry_name, const void* bytes, size_t size) {
    Close();
    SetName(entry_name);
    if (size == 0 || size > kMaxEntrySize) return;
    data_ = static_cast<unsigned char*>(std::malloc(size));
    if (!data_) return;
    std::memcpy(data_, bytes, size);
    size_ = static_cast<uint32_t>(size);
}

void MemFile::Close() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    cursor_ = 0;
    line_number_ = 0;
}

void MemFile::Read(void* destination, uint32_t count) {
    if (count == 0) return;
    if (cursor_ < size_) {
        const uint32_t available = size_ - cursor_;
        std::memcpy(destination, data_ + cursor_, count < available ? count : available);
    }
    // Saturate rather than wrap, so a huge count cannot bring the cursor back into the data.
    cursor_ = count > UINT32_MAX - cursor_ ? UINT32_MAX : cursor_ + count;
}

void MemFile::ReadChecked(void* destination, uint32_t count) {
    if (!AtEnd()) Read(destination, count);
}

void MemFile::Seek(int32_t offset, int origin) {
    switch (origin) {
        case 0:
            cursor_ = static_cast<uint32_t>(offset);
            break;
        case 1:
            cursor_ += static_cast<uint32_t>(offset);
            break;
        case 2:
            cursor_ = size_ - static_cast<uint32_t>(offset);
            break;
        default:
            break;
    }
}

int MemFile::ReadByte() {
    unsigned char c = 0;
    Read(&c, 1);
    return AtEnd() ? 0 : c;
}

bool MemFile::ReadLine(char* line) {
    if (cursor_ < size_) ++line_number_;
    size_t length = 0;
    int c = ReadByte();
    while (c == ' ' && !AtEnd()) c = ReadByte();
    while (c != '\n' && !AtEnd()) {
        if (c != '\r' && length < kLineBufferSize - 1) line[length++] = static_cast<char>(c);
        c = ReadByte();
    }
    line[length] = '\0';
    return !AtEnd();
}

}  // namespace orv
