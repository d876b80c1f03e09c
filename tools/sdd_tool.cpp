// orvello-sdd: inspect and build data archives.
//
//   orvello-sdd list ARCHIVE         every entry: sizes, method, packing version, CRC, name
//   orvello-sdd cat ARCHIVE NAME     the entry's bytes to stdout (names matched as the saver does)
//   orvello-sdd check ARCHIVE        extract every entry and check its CRC; exit 1 if any is bad
//   orvello-sdd pack DIR ARCHIVE     store the regular files under DIR, sorted, reproducibly
//
// Usage errors exit with 2; an entry or archive that cannot be read exits with 1.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "resources/archive.h"
#include "resources/rar_writer.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: orvello-sdd list ARCHIVE\n"
    "       orvello-sdd cat ARCHIVE NAME\n"
    "       orvello-sdd check ARCHIVE\n"
    "       orvello-sdd pack DIR ARCHIVE\n";

int Usage(const char* problem) {
    if (problem) std::fprintf(stderr, "orvello-sdd: %s\n", problem);
    std::fputs(kUsage, stderr);
    return 2;
}

// Names come from untrusted archives: show control and non-ASCII bytes as \xNN.
std::string Printable(const std::string& name) {
    std::string out;
    for (unsigned char c : name) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}

// Reports why an archive cannot be read at all; true when it can.
bool ArchiveReadable(const std::string& path, const orv::ArchiveListing& listing) {
    if (listing.status == orv::ExtractStatus::kOk) return true;
    std::fprintf(stderr, "orvello-sdd: %s: %s\n", path.c_str(), listing.detail.c_str());
    return false;
}

int List(const std::string& path) {
    const orv::ArchiveListing listing = orv::ListArchive(path);
    if (!ArchiveReadable(path, listing)) return 1;
    std::printf("%10s %10s %-6s %3s %-8s  %s\n", "unpacked", "packed", "method", "ver", "crc",
                "name");
    for (const orv::ArchiveEntryInfo& e : listing.entries) {
        std::string notes;
        if (e.directory()) notes += " (directory)";
        if (e.encrypted()) notes += " (encrypted)";
        if (e.solid()) notes += " (solid)";
        if (e.split()) notes += " (split)";
        if (!e.header_ok) notes += " (damaged header)";
        if (e.truncated) notes += " (truncated)";
        char method[8];
        std::snprintf(method, sizeof method, "0x%02x", e.method);
        std::printf("%10llu %10llu %-6s %3u %08x  %s%s\n",
                    static_cast<unsigned long long>(e.unpacked_size),
                    static_cast<unsigned long long>(e.packed_size), method, e.unpacker_version,
                    e.crc, Printable(e.name).c_str(), notes.c_str());
    }
    for (const std::string& p : listing.problems) {
        std::fprintf(stderr, "orvello-sdd: %s: %s\n", path.c_str(), Printable(p).c_str());
    }
    return std::ferror(stdout) ? 1 : 0;
}

int Cat(const std::string& path, const std::string& name) {
    orv::ExtractResult r = orv::ExtractEntry(path, name);
    if (r.status != orv::ExtractStatus::kOk) {
        std::fprintf(stderr, "orvello-sdd: %s: %s: %s\n", Printable(name).c_str(),
                     orv::DescribeStatus(r.status), Printable(r.detail).c_str());
        return 1;
    }
    const bool ok = r.size == 0 || std::fwrite(r.data, 1, r.size, stdout) == r.size;
    std::free(r.data);
    return ok && std::fflush(stdout) == 0 ? 0 : 1;
}

int Check(const std::string& path) {
    const orv::ArchiveListing listing = orv::ListArchive(path);
    if (!ArchiveReadable(path, listing)) return 1;
    size_t files = 0, bad = 0;
    for (const std::string& p : listing.problems) {
        std::printf("BAD archive: %s\n", Printable(p).c_str());
    }
    for (size_t i = 0; i < listing.entries.size(); ++i) {
        if (listing.entries[i].directory()) continue;
        ++files;
        orv::ExtractResult r = orv::ExtractEntryAt(path, i);
        std::free(r.data);
        if (r.status != orv::ExtractStatus::kOk) {
            std::printf("BAD %s: %s: %s\n", Printable(listing.entries[i].name).c_str(),
                        orv::DescribeStatus(r.status), Printable(r.detail).c_str());
            ++bad;
        }
    }
    std::printf("%zu entries checked, %zu bad, %zu archive problems\n", files, bad,
                listing.problems.size());
    return bad || !listing.problems.empty() ? 1 : 0;
}

bool ReadWholeFile(const fs::path& file, std::vector<unsigned char>* out) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int Pack(const std::string& dir, const std::string& archive) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        std::fprintf(stderr, "orvello-sdd: %s: not a directory\n", dir.c_str());
        return 1;
    }
    const fs::path output = fs::absolute(archive, ec);
    std::vector<orv::StoredFile> files;
    fs::recursive_directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        // Regular files only: symbolic links, devices and the like are not content.
        std::error_code ignored;
        if (!it->is_regular_file(ignored) || it->is_symlink(ignored)) continue;
        if (fs::equivalent(it->path(), output, ignored)) continue;  // the archive being written
        const std::string name = it->path().lexically_relative(dir).generic_string();
        if (name.find('\\') != std::string::npos) {
            std::fprintf(stderr, "orvello-sdd: %s: a name with '\\' cannot be stored\n",
                         name.c_str());
            return 1;
        }
        orv::StoredFile f;
        f.name = name;
        if (!ReadWholeFile(it->path(), &f.data)) {
            std::fprintf(stderr, "orvello-sdd: cannot read %s\n", it->path().c_str());
            return 1;
        }
        files.push_back(std::move(f));
    }
    if (ec) {
        std::fprintf(stderr, "orvello-sdd: cannot read %s: %s\n", dir.c_str(),
                     ec.message().c_str());
        return 1;
    }
    std::vector<unsigned char> bytes;
    std::string error;
    if (!orv::WriteStoredRar(std::move(files), &bytes, &error)) {
        std::fprintf(stderr, "orvello-sdd: %s\n", error.c_str());
        return 1;
    }
    // Written beside the target and renamed, so a failure never leaves half an archive.
    const std::string temporary = archive + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "orvello-sdd: cannot write %s\n", temporary.c_str());
            fs::remove(temporary, ec);
            return 1;
        }
    }
    fs::rename(temporary, archive, ec);
    if (ec) {
        std::fprintf(stderr, "orvello-sdd: cannot write %s: %s\n", archive.c_str(),
                     ec.message().c_str());
        fs::remove(temporary, ec);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage(nullptr);
    const std::string command = argv[1];
    if (command == "list" && argc == 3) return List(argv[2]);
    if (command == "cat" && argc == 4) return Cat(argv[2], argv[3]);
    if (command == "check" && argc == 3) return Check(argv[2]);
    if (command == "pack" && argc == 4) return Pack(argv[2], argv[3]);
    if (command == "list" || command == "cat" || command == "check" || command == "pack") {
        return Usage(("wrong number of arguments for " + command).c_str());
    }
    return Usage(("unknown command '" + command + "'").c_str());
}
