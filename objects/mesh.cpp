#include "objects/mesh.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "objects/arg_scan.h"
#include "objects/parsers.h"
#include "scene/object_reader.h"
#include "scene/resource_links.h"

namespace orv {

Mesh::Mesh() : SceneObject(ObjectKind::kMesh) {}

void Mesh::Draw(const Camera&) {
    if (!shown) return;
    glPushMatrix();
    TranslateToPosition();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);

    // The model's x axis goes along look, its y axis along right and its z axis along
    // look x right. Look and right are used as read, neither normalised nor made orthogonal.
    const Vec3 up = Cross(look, right);
    const GLfloat frame[16] = {look.x,  look.y,  look.z,  0.0f,  //
                               right.x, right.y, right.z, 0.0f,  //
                               up.x,    up.y,    up.z,    0.0f,  //
                               0.0f,    0.0f,    0.0f,    1.0f};
    glMultMatrixf(frame);
    // A zero axis ("orient V(0 0 0)") has no defined rotation: none.
    if (orientAxis.x != 0.0f || orientAxis.y != 0.0f || orientAxis.z != 0.0f) {
        glRotatef(orientAngle, orientAxis.x, orientAxis.y, orientAxis.z);
    }
    glScalef(scale, scale, scale);

    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    if (textured) glBindTexture(GL_TEXTURE_2D, textureId);
    // A mesh never writes depth: objects drawn after it are not hidden by it.
    glDepthMask(GL_FALSE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, light ? GL_ADD : GL_MODULATE);
    if (illum) glDisable(GL_LIGHTING);
    if (metal) {
        static const GLfloat kMetalSpecular[] = {0.4f, 0.4f, 0.4f, 1.0f};
        glDisable(GL_COLOR_MATERIAL);
        glMaterialfv(GL_FRONT, GL_SPECULAR, kMetalSpecular);
        glMaterialf(GL_FRONT, GL_SHININESS, 19.6f);
        glEnable(GL_LIGHT0);
    }
    if (blend) {
        glEnable(GL_ALPHA_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_CULL_FACE);
        glColor4f(1.0f, 1.0f, 1.0f, color.x);
    }

    // A mesh read before any "geometry" line has list 0, which is no list: nothing to draw
    // (and calling it would be a GL error).
    if (displayList != 0) glCallList(displayList);

    glDepthMask(GL_TRUE);
    if (metal) glDisable(GL_LIGHT0);
    // Back to the shared state. The texture environment stays as set above: after a mesh with
    // "light" the following objects see the add mode until they set it themselves.
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_CULL_FACE);
    glPopMatrix();
}

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
    auto mesh = ReadObject<Mesh>(
        [](Mesh& m, const char* line) {
            NameFromBeginLine(line, m.name, sizeof m.name);
            // Each mesh takes the model of the last "geometry" line read before its block.
            m.displayList = GeometryListId(GeometryList::kCurrent);
        },
        [](Mesh& m, char* line) { ReadMeshLine(m, line); });
    if (mesh) AppendObject(target, mesh.release());
}

}  // namespace orv
