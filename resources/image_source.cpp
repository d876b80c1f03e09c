#include "resources/image_source.h"

#include <utility>

namespace orv {
namespace {
ImageEntrySource& Source() {
    static ImageEntrySource source;
    return source;
}
}  // namespace

void SetImageEntrySource(ImageEntrySource source) {
    Source() = std::move(source);
}

bool OpenImageEntry(MemFile& file, const char* entry_name) {
    if (Source()) return Source()(file, entry_name);
    return file.Open(entry_name);
}

}  // namespace orv
