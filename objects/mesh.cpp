#include "objects/mesh.h"

#include <cstdio>
#include <cstring>

#include "objects/arg_scan.h"
#include "objects/parsers.h"
#include "scene/object_reader.h"
#include "scene/resource_links.h"

namespace orv {

Mesh::Mesh() : SceneObject(ObjectKind::kMesh) {}

void Mesh::Draw(const Camera&) {}

void Mesh::Update(double) {}

void Mesh::Describe(FieldWriter& out) const {
    out.Vec("position", position);
    out.Vec("look", look);
    out.Vec("right", right);
    out.Vec("color", color);
    out.Int("textureId", textureId);
    out.Bool("textured", textured);
    out.Bool("tgaTexture", tgaTexture);
    out.Bool("shown", shown);
    out.Int("displayList", displayList);
    out.Float("orientAngle", orientAngle);
    out.Float("scale", scale);
    out.Bool("metal", metal);
    out.Bool("light", light);
    out.Bool("illum", illum);
    out.Bool("blend", blend);
    out.Vec("orientAxis", orientAxis);
}

namespace {

constexpr int kMaterialLines = 4;

// "orient V(x y z) angle": the axis is taken when its three components read, the angle when it
// reads too.
void ReadOrient(Mesh& mesh, const char* line) {
    float read[4] = {mesh.orientAxis.x, mesh.orientAxis.y, mesh.orientAxis.z, mesh.orientAngle};
    const int n = std::sscanf(line, "orient V(%f %f %f) %f", &read[0], &read[1], &read[2],
                              &read[3]);
    if (n >= 3 && AllFinite(read, 3)) mesh.orientAxis = Vec3(read[0], read[1], read[2]);
    if (n == 4 && AllFinite(&read[3], 1)) mesh.orientAngle = read[3];
    if (n != 4 || !AllFinite(read, 4)) WarnUnscanned("orient V(%f %f %f) %f");
}

// The four lines after "material" are taken by position, whatever they hold; each is
// recognised only with its leading tab. Returns with `line` holding the last line read, which
// the caller tests against the keywords after "material". An "end" line among them closes the
// block instead of being swallowed as a sub-line, so a short material section does not eat the
// rest of the file; the data running out closes it too.
void ReadMaterial(Mesh& mesh, char* line) {
    for (int index = 0; index < kMaterialLines; ++index) {
        if (!ReadBlockLine(line)) {
            std::strcpy(line, "end");  // no more data: close the block with what was read
            return;
        }
        if (StartsWith(line, "end")) {
            WarnAtCurrentLine("\"material\" has %d of its %d lines before \"end\"", index,
                              kMaterialLines);
            return;
        }
        switch (index) {
            case 0: mesh.metal = StartsWith(line, "\tmetal"); break;
            case 1: break;  // "\tchrome": accepted, no effect
            case 2:
                if (StartsWith(line, "\tmap1")) {
                    char path[kLineBufferSize];
                    if (ScanWord(line, "\tmap1 %127s", path)) {
                        mesh.SetTexture(path);
                        mesh.textured = true;
                    }
                }
                break;
            default: break;  // "\tmap2 name": the name has no effect
        }
    }
}

// Tests one block line against every mesh keyword in turn; several may match.
void ReadMeshLine(Mesh& mesh, char* line) {
    if (StartsWith(line, "orient")) ReadOrient(mesh, line);
    if (StartsWith(line, "position")) ScanVector(line, "position V(%f %f %f)", mesh.position);
    if (StartsWith(line, "look")) ScanVector(line, "look V(%f %f %f)", mesh.look);
    if (StartsWith(line, "right")) ScanVector(line, "right V(%f %f %f)", mesh.right);
    if (StartsWith(line, "material")) ReadMaterial(mesh, line);
    if (StartsWith(line, "scale")) ScanFloat(line, "scale %f", mesh.scale);
    // "speed", "invup" and "tiling" are accepted and have no effect.
    if (StartsWith(line, "light")) mesh.light = true;
    if (StartsWith(line, "illum")) mesh.illum = true;
    if (StartsWith(line, "blend")) mesh.blend = true;
    if (StartsWith(line, "color")) ScanVector(line, "color V(%f %f %f)", mesh.color);
}

}  // namespace

void ParseMesh(ObjectList& target) {
    auto* mesh = new Mesh();
    // Each mesh takes the model of the last "geometry" line read before its block.
    mesh->displayList = GeometryListId(GeometryList::kCurrent);
    const bool found = ReadObjectBlock(
        [&](const char* line) { NameFromBeginLine(line, mesh->name, sizeof mesh->name); },
        [&](char* line) { ReadMeshLine(*mesh, line); });
    if (!found) {
        delete mesh;
        return;
    }
    AppendObject(target, mesh);
}

}  // namespace orv
