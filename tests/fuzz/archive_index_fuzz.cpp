// Any bytes as an archive file: index the headers, look every entry up by name and extract it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "resources/crc32.h"
#include "resources/rar_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto archive = orv::RarArchive::OpenBytes(data, size);
    const auto& entries = archive->entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const orv::ArchiveEntryInfo& e = entries[i];
        const long found = archive->Find(e.name);
        if (!e.directory() && (found < 0 || static_cast<size_t>(found) > i)) std::abort();
        // A small limit keeps each run fast; the size checks are the same at any limit.
        orv::ExtractResult r = archive->Extract(i, 1 << 20);
        if (r.status == orv::ExtractStatus::kOk) {
            if (r.size != e.unpacked_size || orv::Crc32(r.data, r.size) != e.crc) std::abort();
        } else if (r.data || r.size) {
            std::abort();
        }
        std::free(r.data);
        if (!archive->HeaderStillMatches(i)) std::abort();
    }
    return 0;
}
