// How the texture loaders open archive entries. Normally through MemFile::Open (the data
// archive); tests and tools may install a source of their own so that images and lists can be
// served from memory.
#pragma once

#include <functional>

#include "resources/memfile.h"

namespace orv {

// Opens `entry_name` into the empty `file`; false when the entry cannot be opened.
using ImageEntrySource = std::function<bool(MemFile& file, const char* entry_name)>;

// Installs a source; an empty one restores MemFile::Open.
void SetImageEntrySource(ImageEntrySource source);

// Opens an entry for the texture loaders through the installed source.
bool OpenImageEntry(MemFile& file, const char* entry_name);

}  // namespace orv
