#include "objects/flame.h"

#include "objects/arg_scan.h"
#include "objects/parsers.h"
#include "scene/object_reader.h"

namespace orv {

Flame::Flame() : SceneObject(ObjectKind::kFlame) {}

void Flame::Draw(const Camera&) {}

void Flame::Update(double) {}

void Flame::Describe(FieldWriter& out) const {
    out.Reference("parent", parent);
    out.Int("textureId", textureId);
    out.Bool("textured", textured);
    out.Bool("tgaTexture", tgaTexture);
    out.Vec("centre", centre);
    out.Vec("innerColour", innerColour);
    out.Vec("outerColour", outerColour);
    out.Float("bandWidth", bandWidth);
    out.Float("radius", radius);
    out.Float("slope", slope);
    out.Float("ellipticity", ellipticity);
}

namespace {

// Tests one block line against every flame keyword in turn; several may match.
void ReadFlameLine(Flame& flame, const char* line, const ObjectList& target) {
    if (StartsWith(line, "texture")) {
        char path[kLineBufferSize];
        if (ScanWord(line, "texture %127s", path)) {
            flame.SetTexture(path);
            flame.textured = true;
        }
    }
    if (StartsWith(line, "size")) {
        float size = 0.0f;
        // "size" is read as an offset from a ring of radius 2000.
        if (ScanFloat(line, "size %f", size)) flame.radius = size + 2000.0f;
    }
    if (StartsWith(line, "angle")) ScanFloat(line, "angle %f", flame.slope);
    if (StartsWith(line, "ell")) ScanFloat(line, "ell %f", flame.ellipticity);
    if (StartsWith(line, "offset")) ScanFloat(line, "offset %f", flame.bandWidth);
    if (StartsWith(line, "orient")) ScanVector(line, "orient V(%f %f %f)", flame.centre);
    if (StartsWith(line, "colorfrom")) {
        ScanVector(line, "colorfrom V(%f %f %f)", flame.innerColour);
    }
    if (StartsWith(line, "colorto")) ScanVector(line, "colorto V(%f %f %f)", flame.outerColour);
    if (StartsWith(line, "parent")) {
        SceneObject* found = nullptr;
        if (ScanParent(line, target, found)) flame.parent = found;
    }
}

}  // namespace

void ParseFlame(ObjectList& target) {
    auto* flame = new Flame();
    const bool found = ReadObjectBlock(
        [](const char*) {}, [&](char* line) { ReadFlameLine(*flame, line, target); });
    if (!found) {
        delete flame;
        return;
    }
    AppendObject(target, flame);
}

}  // namespace orv
