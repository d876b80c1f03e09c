// A test fixture that serves archive entries from memory to the texture loaders and records
// the warnings and message boxes they give.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "resources/diagnostics.h"
#include "resources/image_source.h"

namespace orv::test {

struct ShownMessage {
    std::string text, caption;
    bool operator==(const ShownMessage& o) const { return text == o.text && caption == o.caption; }
};

inline std::vector<ShownMessage>& ShownMessages() {
    static std::vector<ShownMessage> shown;
    return shown;
}

class ImageEntries : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearDiagnostics();
        ShownMessages().clear();
        platform::SetMessageBoxHook([](const char* text, const char* caption) {
            ShownMessages().push_back({text, caption});
        });
        SetImageEntrySource([this](MemFile& file, const char* name) {
            const auto it = entries_.find(name);
            if (it == entries_.end()) return false;
            file.OpenBytes(name, it->second.data(), it->second.size());
            return true;
        });
    }
    void TearDown() override {
        SetImageEntrySource({});
        platform::SetMessageBoxHook(nullptr);
    }

    void Add(const std::string& name, const std::string& bytes) { entries_[name] = bytes; }

    // The warnings given so far for `entry`, joined with newlines.
    static std::string WarningsFor(const std::string& entry) {
        std::string out;
        for (const Diagnostic& d : Diagnostics())
            if (d.entry == entry) out += d.message + "\n";
        return out;
    }

    std::map<std::string, std::string> entries_;
};

}  // namespace orv::test
