// Placeholder until the RAR reader lands: every extraction fails as "archive unreadable".
#include "resources/archive.h"

namespace orv {
namespace {
std::string& PathStore() {
    static std::string path = "data.sdd";
    return path;
}
}  // namespace

void SetArchivePath(const std::string& path) { PathStore() = path; }
const std::string& ArchivePath() { return PathStore(); }

ExtractResult ExtractEntry(const std::string& archive_path, const std::string&) {
    ExtractResult r;
    r.status = ExtractStatus::kArchiveUnreadable;
    r.detail = "cannot read archive " + archive_path;
    return r;
}

const char* DescribeStatus(ExtractStatus) { return "unreadable"; }

}  // namespace orv
