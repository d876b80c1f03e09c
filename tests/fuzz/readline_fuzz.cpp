// Any bytes as a memory file: read it line by line to the end, then run Read, ReadChecked, Seek
// and ReadLine in an order the leading bytes choose, checking the cursor rules on the way.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "resources/memfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t script_size = data[0] % 32 < size - 1 ? data[0] % 32 : size - 1;
    const uint8_t* script = data + 1;
    orv::MemFile f;
    f.OpenBytes("fuzz.txt", data + 1 + script_size, size - 1 - script_size);

    char line[orv::kLineBufferSize + 16];
    std::memset(line, 'Z', sizeof line);
    size_t calls = 0;
    while (f.ReadLine(line)) {
        if (std::strlen(line) >= orv::kLineBufferSize || line[orv::kLineBufferSize] != 'Z') std::abort();
        if (++calls > f.size() + 1) std::abort();  // each true line consumes a line feed
    }
    if (!f.AtEnd() || (f.size() == 0 && line[0] != '\0')) std::abort();

    unsigned char buffer[64];
    for (size_t i = 0; i < script_size; ++i) {
        const uint8_t op = script[i];
        const uint32_t before = f.cursor();
        switch (op & 3) {
            case 0: {
                const uint64_t want = before + static_cast<uint64_t>(op >> 2);
                f.Read(buffer, op >> 2);
                if (f.cursor() != (want > UINT32_MAX ? UINT32_MAX : want)) std::abort();
                break;
            }
            case 1: {
                std::memset(buffer, 0xA5, sizeof buffer);
                const bool was_at_end = f.AtEnd();
                f.ReadChecked(buffer, op >> 2);
                if (was_at_end && (f.cursor() != before || buffer[0] != 0xA5)) std::abort();
                break;
            }
            case 2:
                f.Seek(static_cast<int8_t>(op) >> 2, (op >> 4) & 3);
                break;
            default:
                if (f.ReadLine(line) && f.AtEnd()) std::abort();
                if (std::strlen(line) >= orv::kLineBufferSize) std::abort();
                break;
        }
    }
    return 0;
}
