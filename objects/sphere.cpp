#include "objects/sphere.h"

#include <GL/gl.h>

#include <cmath>

#include "camera/random.h"
#include "objects/arg_scan.h"
#include "objects/draw_support.h"
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

void Sphere::Draw(const Camera& camera) {
    glPushMatrix();

    // The sky sphere surrounds the eye and has its own projection, so that it lies behind
    // everything whatever its radius.
    if (env) {
        position = camera.eye;
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        PushEnvProjection(fov);
    }
    if (unlit) glDisable(GL_LIGHTING);
    // Update places a satellite relative to its parent; the parent's position is added here.
    if (satellite && parent) position += parent->position;
    TranslateToPosition();

    if (!atmosphere) {
        glRotatef(orientAngle, orientAxis.x, orientAxis.y, orientAxis.z);
        if (!ring) glRotatef(spin + detiling, rotationAxis.x, rotationAxis.y, rotationAxis.z);
        // The texture scrolls with the spin (a ring does not turn, only its texture moves).
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glTranslatef(2.0f * spin / 360.0f * tiling + detiling / 360.0f, 0.0f, 0.0f);
        glMatrixMode(GL_MODELVIEW);
    }
    if (textured) glBindTexture(GL_TEXTURE_2D, textureId);

    if (alpha < 1.0f) {
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
        if (!unlit) glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        if (!env) glEnable(GL_CULL_FACE);
    } else {
        glDisable(GL_BLEND);
        glEnable(GL_COLOR_MATERIAL);
        if (!env) glEnable(GL_CULL_FACE);
        glColor3f(1.0f, 1.0f, 1.0f);
    }
    if (env) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);  // seen from inside
    }
    SetSpecularMaterial();
    if (tgaTexture) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
    }
    if (atmosphere) FaceCamera(camera);
    if (flash) ApplyFlash();
    if (wire) {
        glDisable(GL_LIGHTING);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }

    glScalef(radius, radius, radius);
    if (satellite) {
        glDisable(GL_TEXTURE_2D);
        glColor4f(color.x, color.y, color.z, 1.0f);
    }
    if (mask) {
        // Changes no colour but still writes depth (unless "depth"), hiding what comes after.
        glEnable(GL_BLEND);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glColor4f(0.0f, 0.0f, 0.0f, 0.0f);
    }
    if (noDepthWrite) glDepthMask(GL_FALSE);
    glMatrixMode(GL_TEXTURE);
    glScalef(tiling, ring ? 1.0f : tiling, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    if (ring) glDisable(GL_CULL_FACE);  // a flat ring is seen from both sides

    if (wire) {
        DrawWire();
    } else {
        glCallList(displayList);
    }

    // Back to the rest state.
    if (wire) glEnable(GL_LIGHTING);
    if (noDepthWrite) glDepthMask(GL_TRUE);
    if (mask) {
        glEnable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_BLEND);
    if (satellite) glEnable(GL_TEXTURE_2D);
    if (env) {
        glEnable(GL_LIGHTING);
        PopEnvProjection();
        glEnable(GL_DEPTH_TEST);
        glCullFace(GL_BACK);
    }
    ResetTextureMatrix();
    glEnable(GL_LIGHTING);
    if (atmosphere || flash) glDepthMask(GL_TRUE);
    if (flash) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_CULL_FACE);
    glPopMatrix();
}

void Sphere::SetSpecularMaterial() const {
    if (specular) {
        glDisable(GL_COLOR_MATERIAL);
        const GLfloat highlight[] = {1.0f, 1.0f, 0.8f, 1.0f};
        glMaterialfv(GL_FRONT, GL_SPECULAR, highlight);
        glMaterialf(GL_FRONT, GL_SHININESS, 15.6f);
    } else {
        const GLfloat none[] = {0.0f, 0.0f, 0.0f, 0.0f};
        glMaterialfv(GL_FRONT, GL_SPECULAR, none);
        glMaterialf(GL_FRONT, GL_SHININESS, 12.6f);
    }
}

// An atmosphere or scatter shell is built around its local x axis; it is turned so that this
// axis lies along the line of sight, with its other axes taken from the camera's up, and it
// is blended over the body without hiding what lies behind it.
void Sphere::FaceCamera(const Camera& camera) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    // With the camera at the shell's centre there is no line of sight: use the look direction.
    // When the line of sight runs along the camera's up, any side direction will do.
    const Vec3 d = NormalizeOr(position - camera.position, NormalizeOr(camera.look, {1, 0, 0}));
    const Vec3 side = std::fabs(d.x) < 0.9f ? Vec3(1, 0, 0) : Vec3(0, 1, 0);
    const Vec3 b = NormalizeOr(Cross(d, camera.up), Normalize(Cross(d, side)));
    const Vec3 e = Normalize(Cross(d, b));
    const Mat4 frame = FrameMatrix(d, b, e);
    glMultMatrixf(frame.m);
    glDepthMask(GL_FALSE);
}

// A flashing layer fades in over its on phase and out over its off phase (a random flash
// shows a flickering level while on and nothing while off), at the texture offset and turn
// drawn when it last switched on.
void Sphere::ApplyFlash() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, tgaTexture ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE);
    float level = 0.0f;
    if (randomFlash) {
        level = flashOn ? 0.3f + 0.7f * Draw01() : 0.0f;
    } else {
        const float progress = flashPhase / flashPeriod;
        level = flashOn ? progress : 1.0f - progress;
    }
    glColor4f(1.0f, 1.0f, 1.0f, level);
    glMatrixMode(GL_TEXTURE);
    glTranslatef(flashOffsetS, flashOffsetT, 0.0f);
    if (randomFlash) glRotatef(flashTurn, 0.0f, 0.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);
}

// A wire body is drawn over everything in its own colour, untextured, with the texture
// coordinates of its geometry stretched 40 times.
void Sphere::DrawWire() const {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glColor4f(color.x, color.y, color.z, 1.0f);
    glBindTexture(GL_TEXTURE_2D, 0);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(40.0f, 40.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    glCallList(displayList);
    glEnable(GL_DEPTH_TEST);
    ResetTextureMatrix();
}

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
    auto sphere = ReadObject<Sphere>(
        [](Sphere& s, const char* begin_line) {
            NameFromBeginLine(begin_line, s.name, sizeof s.name);
            s.displayList = GeometryListId(GeometryList::kSphere);
            s.tgaTexture = CurrentObjectFileState().lastTextureTga;
        },
        [&target](Sphere& s, char* line) { ReadSphereLine(s, target, line); });
    if (!sphere) return;
    if (sphere->satellite && !sphere->parent) {
        WarnAtCurrentLine("satellite sphere \"%s\" has no parent; it is placed on its own",
                          sphere->name);
    }
    AppendObject(target, sphere.release());
}

}  // namespace orv
