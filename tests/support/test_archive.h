// Builds a small data archive from in-memory files for a test and makes it the archive that
// MemFile::Open reads; the previous archive path comes back when the object goes away.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "resources/archive.h"
#include "resources/rar_writer.h"

namespace orv::test {

using TestFiles = std::vector<std::pair<std::string, std::string>>;

// Writes `files` (entry name, content) as a stored RAR archive at `path`.
inline void WriteTestArchive(const std::string& path, const TestFiles& files) {
    std::vector<StoredFile> stored;
    for (const auto& [name, text] : files)
        stored.push_back({name, std::vector<unsigned char>(text.begin(), text.end())});
    std::vector<unsigned char> bytes;
    std::string error;
    EXPECT_TRUE(WriteStoredRar(std::move(stored), &bytes, &error)) << error;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

class ScopedTestArchive {
public:
    // `files`: entry name ('\' or '/' separated) and content.
    explicit ScopedTestArchive(const TestFiles& files)
        : previous_(ArchivePath()) {
        const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
        path_ = testing::TempDir() + (t ? std::string(t->test_suite_name()) + "_" + t->name()
                                        : std::string("archive")) +
                ".sdd";
        WriteTestArchive(path_, files);
        SetArchivePath(path_);
    }
    ~ScopedTestArchive() {
        SetArchivePath(previous_);
        std::remove(path_.c_str());
    }
    ScopedTestArchive(const ScopedTestArchive&) = delete;
    ScopedTestArchive& operator=(const ScopedTestArchive&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string previous_;
    std::string path_;
};

}  // namespace orv::test
