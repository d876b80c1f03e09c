// One archive entry held whole in memory, with a read cursor. Text files are read line by line
// with ReadLine, binary files with fixed-size reads.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv {

// Every text reader passes a buffer of this size to ReadLine: a line holds at most 127 chars.
constexpr size_t kLineBufferSize = 128;

class MemFile {
public:
    MemFile() = default;
    virtual ~MemFile();
    MemFile(const MemFile&) = delete;
    MemFile& operator=(const MemFile&) = delete;

    // Reads the entry from the current archive (see SetArchivePath). Called on an empty file.
    // On failure the file stays empty and the result is false.
    bool Open(const char* entry_name);
    // Takes a copy of `size` bytes as the file's content, as if `entry_name` had been opened.
    // Used where content does not come from the archive (tests, tools).
    void OpenBytes(const char* entry_name, const void* bytes, size_t size);
    void Close();

    // True only once a read has run past the last byte.
    bool AtEnd() const { return cursor_ > size_; }
    // Copies the bytes that lie inside the data; the cursor advances by count in every case.
    void Read(void* destination, uint32_t count);
    // Does nothing once AtEnd, otherwise Read.
    void ReadChecked(void* destination, uint32_t count);
    // origin 0: from the start; 1: from the cursor; 2: back from the end; others: nothing.
    void Seek(int32_t offset, int origin);
    // Reads one line into `line` (kLineBufferSize bytes): leading spaces skipped, CRs dropped,
    // the line feed consumed. A longer line keeps its first 127 characters; the rest of it is
    // consumed. True exactly when the line was ended by a line feed.
    bool ReadLine(char* line);

    const char* name() const { return name_; }
    const unsigned char* data() const { return data_; }
    uint32_t size() const { return size_; }
    uint32_t cursor() const { return cursor_; }
    // 1-based number of the line the last ReadLine returned (for warnings); 0 before any.
    int line_number() const { return line_number_; }

private:
    void SetName(const char* entry_name);
    int ReadByte();  // the next byte, or 0 once past the end (the cursor still advances)

    char name_[100] = {};
    unsigned char* data_ = nullptr;  // malloc'ed; owned
    uint32_t size_ = 0;
    uint32_t cursor_ = 0;
    int line_number_ = 0;
};

}  // namespace orv
