#include "resources/rar_writer.h"

#include <algorithm>
#include <unordered_map>

#include "resources/archive.h"
#include "resources/crc32.h"
#include "resources/rar_reader.h"

namespace orv {
namespace {

void Put16(std::vector<unsigned char>& b, unsigned v) {
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}
void Put32(std::vector<unsigned char>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// Appends `header` (its first two bytes a placeholder) with its CRC16 filled in.
void AppendHeader(std::vector<unsigned char>& out, std::vector<unsigned char> header) {
    const uint32_t crc = Crc32(header.data() + 2, header.size() - 2);
    header[0] = static_cast<unsigned char>(crc);
    header[1] = static_cast<unsigned char>(crc >> 8);
    out.insert(out.end(), header.begin(), header.end());
}

}  // namespace

bool WriteStoredRar(std::vector<StoredFile> files, std::vector<unsigned char>* out,
                    std::string* error) {
    for (StoredFile& f : files) {
        std::replace(f.name.begin(), f.name.end(), '/', '\\');
        if (f.name.empty() || f.name.size() > kMaxStoredNameLength ||
            f.name.find('\0') != std::string::npos) {
            *error = "cannot store the name '" + f.name + "': names are 1 to " +
                     std::to_string(kMaxStoredNameLength) + " characters";
            return false;
        }
        if (f.data.size() > kMaxEntrySize) {
            *error = "'" + f.name + "' is larger than an entry may be (" +
                     std::to_string(kMaxEntrySize) + " bytes)";
            return false;
        }
    }
    std::sort(files.begin(), files.end(),
              [](const StoredFile& a, const StoredFile& b) { return a.name < b.name; });
    // The reader matches names without regard to case, so such twins could never both be read.
    std::unordered_map<std::string, const std::string*> seen;
    for (const StoredFile& f : files) {
        const auto [it, fresh] = seen.emplace(FoldEntryName(f.name), &f.name);
        if (!fresh) {
            *error = "'" + *it->second + "' and '" + f.name + "' differ only in letter case";
            return false;
        }
    }

    out->assign(kRarMarker, kRarMarker + sizeof kRarMarker);
    std::vector<unsigned char> main = {0, 0, 0x73};
    Put16(main, 0);        // flags
    Put16(main, 13);       // header size
    Put16(main, 0);        // reserved
    Put32(main, 0);        // reserved
    AppendHeader(*out, main);

    for (const StoredFile& f : files) {
        const uint32_t size = static_cast<uint32_t>(f.data.size());
        std::vector<unsigned char> h = {0, 0, 0x74};
        Put16(h, 0x8000);                                       // flags: long block
        Put16(h, static_cast<unsigned>(32 + f.name.size()));    // header size
        Put32(h, size);                                         // packed size
        Put32(h, size);                                         // unpacked size
        h.push_back(static_cast<unsigned char>(kStoredHostOs));
        Put32(h, Crc32(f.data.data(), f.data.size()));
        Put32(h, kStoredDosTime);
        h.push_back(20);    // unpacker version 2.0
        h.push_back(0x30);  // stored
        Put16(h, static_cast<unsigned>(f.name.size()));
        Put32(h, kStoredAttributes);
        h.insert(h.end(), f.name.begin(), f.name.end());
        AppendHeader(*out, std::move(h));
        out->insert(out->end(), f.data.begin(), f.data.end());
    }
    return true;
}

}  // namespace orv
