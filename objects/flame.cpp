#include "objects/flame.h"

#include <GL/gl.h>

#include "objects/arg_scan.h"
#include "objects/parsers.h"
#include "scene/object_reader.h"

namespace orv {

Flame::Flame() : SceneObject(ObjectKind::kFlame) {}

namespace {

constexpr int kRingSegments = 200;  // 201 points, the last one closing the ring
constexpr float kTwoPi = 6.28318530717958647692f;

// Where a band ends, relative to the ring point it starts from.
enum class Band { kUp, kDown, kIn, kOut };

}  // namespace

// The point at index i of a ring `radial` units wider than the flame's own ring and `lift`
// units above it. The tilt uses the full x coordinate, centre included, so a ring centred off
// the y axis is raised as a whole as well as tilted.
Vec3 Flame::RingPoint(int i, float radial, float lift) const {
    const float theta = (static_cast<float>(i) / kRingSegments) * kTwoPi;
    const float r = radius + radial;
    const float x = r * ellipticity * CosF(theta) + centre.x;
    const float z = r * SinF(theta) + centre.z;
    return Vec3(x, centre.y + lift + slope * x, z);
}

void Flame::Draw(const Camera&) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);

    // The four bands go into one strip, one after another. Each starts opaque in the inner
    // colour on the ring and fades to the outer colour, fully transparent, at its far edge; they
    // blend with whatever blend function the objects before left (normally additive).
    const Band bands[] = {Band::kUp, Band::kDown, Band::kIn, Band::kOut};
    glBegin(GL_TRIANGLE_STRIP);
    for (Band band : bands) {
        const float radial = band == Band::kIn ? -bandWidth : band == Band::kOut ? bandWidth : 0.0f;
        const float lift = band == Band::kUp ? bandWidth : band == Band::kDown ? -bandWidth : 0.0f;
        for (int i = 0; i <= kRingSegments; ++i) {
            const Vec3 ring = RingPoint(i, 0.0f, 0.0f);
            const Vec3 edge = RingPoint(i, radial, lift);
            glColor4f(innerColour.x, innerColour.y, innerColour.z, 1.0f);
            glVertex3f(ring.x, ring.y, ring.z);
            glColor4f(outerColour.x, outerColour.y, outerColour.z, 0.0f);
            glVertex3f(edge.x, edge.y, edge.z);
        }
    }
    glEnd();

    // The ring line itself is opaque: drawn with blending off, over the bands.
    glDisable(GL_BLEND);
    glBegin(GL_LINE_STRIP);
    glColor4f(innerColour.x, innerColour.y, innerColour.z, 1.0f);
    for (int i = 0; i <= kRingSegments; ++i) {
        const Vec3 p = RingPoint(i, 0.0f, 0.0f);
        glVertex3f(p.x, p.y, p.z);
    }
    glEnd();

    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glDepthMask(GL_TRUE);
}

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
    auto flame = ReadObject<Flame>(
        IgnoreBeginLine, [&target](Flame& f, char* line) { ReadFlameLine(f, line, target); });
    if (flame) AppendObject(target, flame.release());
}

}  // namespace orv
