// Size and modification time of a file, to notice that a file read earlier has changed.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

struct FileStamp {
    uint64_t size = 0;
    int64_t mtime_ns = 0;  // modification time, nanoseconds since the epoch
    uint64_t inode = 0;    // identity of the file, so a replaced file is noticed too
};

// False when `path` is not a regular file that can be examined.
bool StampFile(const std::string& path, FileStamp* stamp);

}  // namespace orv
