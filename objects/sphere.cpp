#include "objects/sphere.h"

#include <cmath>

#include "camera/random.h"
#include "objects/arg_scan.h"
#include "objects/parsers.h"
#include "scene/object_reader.h"
#include "scene/resource_links.h"

namespace orv {
namespace {

// Anchored spheres are read 2000 units along x from where they stand.
constexpr float kAnchorShiftX = 2000.0f;
// Where a "plt" sphere stands: 1.5 orbit radii (of 412000) out, raised by a fifth of that.
const Vec3 kFixedOrbitPosition{618000.0f, 123600.0f, 0.0f};

float Draw01() {
    return static_cast<float>(RandomUnit());
}

// Every line is tested against every keyword in this order; several may match one line.
void ReadSphereLine(Sphere& s, const ObjectList& target, const char* line) {
    ObjectFileState& file = CurrentObjectFileState();
    float v = 0.0f;
    if (StartsWith(line, "radius") && ScanKeyword(line, "radius", 1, "radius %f", &v) == 1)
        s.radius = v;
    if (StartsWith(line, "FOV") && ScanKeyword(line, "FOV", 1, "FOV %f", &v) == 1) s.fov = v;
    if (StartsWith(line, "alpha") && ScanKeyword(line, "alpha", 1, "alpha %f", &v) == 1)
        s.alpha = v;
    if (StartsWith(line, "tiling") && ScanKeyword(line, "tiling", 1, "tiling %f", &v) == 1)
        s.tiling = v;
    if (StartsWith(line, "detiling") && ScanKeyword(line, "detiling", 1, "detiling %f", &v) == 1)
        s.detiling = v;
    if (StartsWith(line, "period") && ScanKeyword(line, "period", 1, "period %f", &v) == 1)
        s.period = v;
    if (StartsWith(line, "env")) {
        s.env = true;
        s.spinSpeed = 0.0f;
        s.displayList = GeometryListId(GeometryList::kEnv);
    }
    if (StartsWith(line, "geo")) s.displayList = GeometryListId(GeometryList::kSphere);
    if (StartsWith(line, "light")) s.unlit = true;
    if (StartsWith(line, "specular")) s.specular = true;
    if (StartsWith(line, "depth")) s.noDepthWrite = true;
    if (StartsWith(line, "wire")) s.wire = true;
    if (StartsWith(line, "sys")) s.satellite = true;
    if (StartsWith(line, "noised")) s.displayList = GeometryListId(GeometryList::kNoisedSphere);
    if (StartsWith(line, "uranmoon")) s.tiltedSatellite = true;
    if (StartsWith(line, "plt")) s.fixedOrbit = true;
    if (StartsWith(line, "mask")) s.mask = true;
    if (StartsWith(line, "list")) s.displayList = GeometryListId(GeometryList::kCurrent);
    if (StartsWith(line, "ring")) {
        s.displayList = GeometryListId(GeometryList::kRing);
        s.ring = true;
    }
    if (StartsWith(line, "moon")) {
        // Each further moon of the file orbits at three quarters of the speed of the one before.
        s.moon = true;
        s.moonSpeed = 2.0f * file.moonFactor;
        file.moonFactor *= 0.75f;
    }
    if (StartsWith(line, "orbit")) s.anchored = false;
    if (StartsWith(line, "rnd")) s.randomFlash = true;
    if (StartsWith(line, "atmo")) {
        s.atmosphere = true;
        s.tgaTexture = false;
        s.displayList = GeometryListId(GeometryList::kAtmosphere);
    }
    if (StartsWith(line, "scatter")) {
        s.atmosphere = true;
        s.tgaTexture = false;
        s.displayList = GeometryListId(GeometryList::kScatter);
    }
    if (StartsWith(line, "flash")) {
        // Successive flashing spheres of a file start a quarter second apart in their cycle.
        const float f = file.flashCounter;
        s.flash = true;
        if (f > 0.4f) {
            s.flashPhase = f - 0.5f;
            s.flashPeriod = 0.5f;
            s.flashOn = false;
        } else {
            s.flashOn = true;
            s.flashPhase = f;
            s.flashPeriod = 0.5f;
        }
        file.flashCounter = f + 0.25f;
    }
    if (StartsWith(line, "texture")) {
        char path[kLineBufferSize];
        if (ScanWord(line, "texture %127s", path)) {
            s.SetTexture(path);
            s.textured = true;
            file.lastTextureTga = s.tgaTexture;
        }
    }
    if (StartsWith(line, "rotation")) {
        Vec3 axis;
        float spin = 0.0f, speed = 0.0f;
        const int n = ScanKeyword(line, "rotation", 5, "rotation V(%f %f %f) %f %f", &axis.x,
                                  &axis.y, &axis.z, &spin, &speed);
        if (n >= 3) s.rotationAxis = axis;
        if (n >= 4) s.spin = spin;
        if (n >= 5) s.spinSpeed = speed;
    }
    if (StartsWith(line, "orient")) {
        Vec3 axis;
        float angle = 0.0f;
        const int n = ScanKeyword(line, "orient", 4, "orient V(%f %f %f) %f", &axis.x, &axis.y,
                                  &axis.z, &angle);
        if (n >= 3) s.orientAxis = axis;
        if (n >= 4) s.orientAngle = angle;
    }
    if (StartsWith(line, "position")) {
        // The shift depends on "orbit" having been read before this line. It is applied only to
        // a whole vector: shifting a kept x again would move the sphere twice.
        Vec3 p;
        if (ScanKeyword(line, "position", 3, "position V(%f %f %f)", &p.x, &p.y, &p.z) == 3) {
            if (s.anchored) p.x -= kAnchorShiftX;
            s.position = p;
            s.basePosition = p;
        }
    }
    if (StartsWith(line, "color")) {
        Vec3 c;
        if (ScanKeyword(line, "color", 3, "color V(%f %f %f)", &c.x, &c.y, &c.z) == 3) s.color = c;
    }
    if (StartsWith(line, "parent")) {
        char word[kLineBufferSize];
        if (ScanWord(line, "parent %127s", word)) s.parent = FindParent(target, word);
    }
}

}  // namespace

Sphere::Sphere() : SceneObject(ObjectKind::kSphere) {
    position = Vec3(0.0f, 0.0f, 0.0f);
    moonAngle = 350.0f * Draw01();
    flashOffsetS = Draw01();
    flashOffsetT = Draw01();
}

void Sphere::Draw(const Camera&) {}

void Sphere::Update(double seconds) {
    spin = static_cast<float>(spin + spinSpeed * seconds);
    if (spin > 360.0f) spin -= 360.0f;

    if (moon) {
        moonAngle = static_cast<float>(moonAngle + 2.0 * moonSpeed * seconds);
        if (moonAngle > 360.0f) moonAngle -= 360.0f;
        Vec3 p = basePosition;
        RotateAboutAxis(p, rotationAxis, -moonAngle);
        position = p;
        spin = moonAngle;
    }

    // Runs after the moon orbit: a moon moves only when it is unanchored ("orbit") or unlit.
    if (!unlit && anchored) position = fixedOrbit ? kFixedOrbitPosition : basePosition;

    if (satellite) PlaceSatellite();
    AdvanceFlash(seconds);
}

// A satellite turns about its own axis by the spin; a tilted one ("uranmoon") stands
// basePosition.x out from its parent's axis (the line from the origin to the parent),
// perpendicular to it and to +y, and turns about that axis. Draw adds the parent's position.
void Sphere::PlaceSatellite() {
    if (!tiltedSatellite) {
        Vec3 p = basePosition;
        RotateAboutAxis(p, rotationAxis, spin);
        position = p;
        return;
    }
    if (!parent) return;  // warned when read; the sphere keeps its own placement
    const Vec3 axis = parent->position;
    const Vec3 side = Cross(Vec3(0.0f, 1.0f, 0.0f), axis);
    const float length = Length(side);
    if (!(length > 0.0f) || !std::isfinite(length)) return;  // parent on the y axis
    Vec3 p = side / length * basePosition.x;
    RotateAboutAxis(p, axis, spin);
    position = p;
}

// The flash alternates between on and off phases; at every switch-on the texture layer takes
// a new random offset and turn. Random flashes draw their phase lengths too.
void Sphere::AdvanceFlash(double seconds) {
    flashPhase = static_cast<float>(flashPhase + seconds);
    if (!(flashPhase > flashPeriod)) return;
    flashOn = !flashOn;
    flashPhase -= flashPeriod;
    flashPeriod = 0.5f;
    if (randomFlash) {
        flashPhase = 0.0f;
        flashPeriod = flashOn ? 0.4f + 0.4f * Draw01() : 0.1f + 0.1f * Draw01();
    }
    if (flashOn) {
        flashOffsetS = Draw01();
        flashOffsetT = Draw01();
        flashTurn = 180.0f * Draw01();
    }
}

void Sphere::Describe(FieldWriter& out) const {
    out.Vec("position", position);
    out.Vec("basePosition", basePosition);
    out.Vec("color", color);
    out.Int("textureId", textureId);
    out.Bool("textured", textured);
    out.Bool("tgaTexture", tgaTexture);
    out.Reference("parent", parent);
    out.Bool("moon", moon);
    out.Float("moonAngle", moonAngle);
    out.Float("moonSpeed", moonSpeed);
    out.Vec("rotationAxis", rotationAxis);
    out.Int("displayList", displayList);
    out.Float("spin", spin);
    out.Float("spinSpeed", spinSpeed);
    out.Float("radius", radius);
    out.Float("alpha", alpha);
    out.Float("fov", fov);
    out.Float("tiling", tiling);
    out.Float("detiling", detiling);
    out.Float("flashPhase", flashPhase);
    out.Float("flashPeriod", flashPeriod);
    out.Float("flashOffsetS", flashOffsetS);
    out.Float("flashOffsetT", flashOffsetT);
    out.Float("flashTurn", flashTurn);
    out.Vec("orientAxis", orientAxis);
    out.Float("orientAngle", orientAngle);
    out.Float("period", period);
    out.Bool("env", env);
    out.Bool("unlit", unlit);
    out.Bool("atmosphere", atmosphere);
    out.Bool("wire", wire);
    out.Bool("anchored", anchored);
    out.Bool("noDepthWrite", noDepthWrite);
    out.Bool("mask", mask);
    out.Bool("flash", flash);
    out.Bool("flashOn", flashOn);
    out.Bool("randomFlash", randomFlash);
    out.Bool("satellite", satellite);
    out.Bool("tiltedSatellite", tiltedSatellite);
    out.Bool("fixedOrbit", fixedOrbit);
    out.Bool("specular", specular);
    out.Bool("ring", ring);
}

void ParseSphere(ObjectList& target) {
    auto* sphere = new Sphere();
    const bool found = ReadObjectBlock(
        [sphere](const char* begin_line) {
            NameFromBeginLine(begin_line, sphere->name, sizeof sphere->name);
            sphere->displayList = GeometryListId(GeometryList::kSphere);
            sphere->tgaTexture = CurrentObjectFileState().lastTextureTga;
        },
        [sphere, &target](char* line) { ReadSphereLine(*sphere, target, line); });
    if (!found) {
        delete sphere;
        return;
    }
    if (sphere->satellite && !sphere->parent) {
        WarnAtCurrentLine("satellite sphere \"%s\" has no parent; it is placed on its own",
                          sphere->name);
    }
    AppendObject(target, sphere);
}

}  // namespace orv
