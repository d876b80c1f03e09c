// Writes RAR 2.x archives of stored entries (method 0x30, unpacker version 20): the format the
// saver reads, produced without a RAR packer. The output depends only on the names and bytes
// given: entries are sorted by name, and the time stamp, host OS and attributes are fixed.
#pragma once

#include <string>
#include <vector>

namespace orv {

struct StoredFile {
    std::string name;                 // '/' or '\' separated; stored with '\'
    std::vector<unsigned char> data;
};

// The whole archive in `out`. False with a reason in `error` for a name that cannot be stored
// (empty, longer than an entry name may be, two names the reader cannot tell apart) or data
// beyond kMaxEntrySize.
bool WriteStoredRar(std::vector<StoredFile> files, std::vector<unsigned char>* out,
                    std::string* error);

// Fixed fields of every file header we write.
constexpr unsigned kStoredHostOs = 0;           // MS-DOS
constexpr unsigned kStoredAttributes = 0x20;    // DOS "archive" attribute
constexpr unsigned kStoredDosTime = 0x00210000; // 1980-01-01 00:00:00
constexpr size_t kMaxStoredNameLength = 99;     // what MemFile::Open accepts

}  // namespace orv
