// Object description files from an untrusted archive: read them, then animate what was read
// for a few steps, since Update runs on whatever values the file left in the objects.
#include <cstddef>
#include <cstdint>

#include "camera/random.h"
#include "resources/diagnostics.h"
#include "scene/object_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::SeedRandom(1);
    orv::ClearDiagnostics();
    orv::ObjectList list;
    orv::SharedObjectFile().OpenBytes("fuzz.txt", data, size);
    orv::ReadOpenObjectFile(list);
    for (int step = 0; step < 3; ++step) {
        for (orv::SceneObject* object : list) object->Update(step == 0 ? 0.0 : 0.4);
    }
    list.clear();
    orv::ReleaseSceneObjects();
    return 0;
}
