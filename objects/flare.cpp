#include "objects/flare.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstring>

#include "app/settings.h"
#include "camera/random.h"
#include "objects/arg_scan.h"
#include "objects/draw_support.h"
#include "objects/parsers.h"
#include "overlay/overlay.h"
#include "scene/object_reader.h"
#include "scene/resource_links.h"

namespace orv {
namespace {

// Sizes in object files are pixels of an 800-pixel-wide display.
float ScaleToWidth(float pixels) {
    return pixels * static_cast<float>(CurrentSettings().width) / 800.0f;
}

// Rates in object files are per frame at 60 frames per second.
constexpr float kFramesPerSecond = 60.0f;

// Reads the next of the lines that follow "lenseffect". False when the block ends first: at a
// line starting with "end" (left in `line`, so the block closes there instead of swallowing
// the next object), or at the end of the data (then `line` is made an "end" line, the reader
// having warned already).
bool ReadLensLine(char* line) {
    if (!ReadBlockLine(line)) {
        std::strcpy(line, "end");
        return false;
    }
    if (StartsWith(line, "end")) {
        WarnAtCurrentLine("block ends inside \"lenseffect\"; the missing lens lines are not set");
        return false;
    }
    return true;
}

// The four lines after "lenseffect" are taken by position, not by keyword: the lens size, then
// the textures of slots 1, 2 and 3. The leading tab is optional. On return `line` holds the
// last line read, which the caller tests against the keywords after "lenseffect".
void ReadLensLines(Flare& f, char* line) {
    if (!ReadLensLine(line)) return;
    float size = 0.0f;
    if (ScanKeyword(line, "lenseffect size", 1, "\tsize %f", &size) == 1)
        f.lensSize = ScaleToWidth(size);
    for (int slot = 0; slot < Flare::kLensSlots; ++slot) {
        if (!ReadLensLine(line)) return;
        char path[kLineBufferSize];
        if (ScanKeyword(line, "lenseffect texture", 1, "\ttexture %127s", path) == 1)
            f.SetTextureAt(path, slot);
    }
}

// Every line is tested against every keyword in this order; several may match one line.
void ReadFlareLine(Flare& f, const ObjectList& target, char* line) {
    float v = 0.0f;
    Vec3 vec;
    if (StartsWith(line, "size") && ScanKeyword(line, "size", 1, "size %f", &v) == 1)
        f.spriteSize = ScaleToWidth(v);
    if (StartsWith(line, "flash") && ScanKeyword(line, "flash", 1, "flash %f)", &v) == 1)
        f.flashAmount = v;
    if (StartsWith(line, "lumin") && ScanKeyword(line, "lumin", 1, "lumin %f)", &v) == 1)
        f.lumin = v;
    if (StartsWith(line, "focus")) {
        f.focusOn = true;
        if (ScanKeyword(line, "focus", 1, "focus %f)", &v) == 1) f.focusThreshold = v;
    }
    if (StartsWith(line, "parent")) {
        char word[kLineBufferSize];
        const int n = ScanKeyword(line, "parent", 4, "parent %127s V(%f %f %f)", word, &vec.x,
                                  &vec.y, &vec.z);
        if (n >= 1) f.parentObject = FindParent(target, word);
        if (n >= 4) f.anchor = vec;
    }
    if (StartsWith(line, "FOV") && ScanKeyword(line, "FOV", 1, "FOV %f", &v) == 1) f.envFov = v;
    if (StartsWith(line, "alpha")) {
        // The first number is a start level that has no effect: every flare starts dark.
        float level = 0.0f, in = 0.0f, out = 0.0f;
        const int n = ScanKeyword(line, "alpha", 3, "alpha %f fade: %f %f", &level, &in, &out);
        if (n >= 2) f.fadeInRate = in * kFramesPerSecond;
        if (n >= 3) f.fadeOutRate = out * kFramesPerSecond;
    }
    if (StartsWith(line, "env")) {
        f.envOn = true;
        if (ScanKeyword(line, "env", 3, "env V(%f %f %f)", &vec.x, &vec.y, &vec.z) == 3)
            f.anchor = vec;
    }
    if (StartsWith(line, "texture")) {
        char path[kLineBufferSize];
        if (ScanWord(line, "texture %127s", path)) {
            f.SetTexture(path);
            f.textured = true;
        }
    }
    if (StartsWith(line, "position") &&
        ScanKeyword(line, "position", 3, "position V(%f %f %f)", &vec.x, &vec.y, &vec.z) == 3)
        f.position = vec;
    if (StartsWith(line, "lenseffect")) {
        f.lensEffectOn = true;
        ReadLensLines(f, line);
    }
    if (StartsWith(line, "rotation")) {
        float angle = 0.0f, speed = 0.0f;
        const int n = ScanKeyword(line, "rotation", 2, "rotation %f %f", &angle, &speed);
        if (n >= 1) f.rotationAngle = angle;
        if (n >= 2) f.rotationSpeed = speed * kFramesPerSecond;
    }
    if (StartsWith(line, "xy") && ScanKeyword(line, "xy", 1, "xy %f", &v) == 1) f.aspect = v;
    if (StartsWith(line, "orient")) {
        f.oriented = true;
        if (ScanKeyword(line, "orient", 3, "orient V(%f %f %f)", &vec.x, &vec.y, &vec.z) == 3)
            f.orientVector = vec;
    }
}

// One lens element: its place along the line from the flare through the screen centre (in
// multiples of that distance), its size as a factor of the lens size, and its texture slot
// (1 to 3).
struct LensElement {
    float t;
    float size;
    int slot;
};

constexpr LensElement kLensElements[] = {
    {-0.08f, 1.0f, 2}, {0.21f, 0.1f, 2}, {0.32f, 0.5f, 2}, {0.7f, 0.1f, 2},  {0.85f, 0.8f, 2},
    {0.89f, 0.12f, 2}, {1.21f, 0.5f, 2}, {1.39f, 0.2f, 2}, {1.44f, 0.4f, 2}, {1.8f, 1.3f, 2},
    {-0.3f, 0.5f, 2},  {0.6f, 0.2f, 2},  {0.4f, 0.4f, 2},  {0.75f, 0.3f, 2}, {0.8f, 0.1f, 2},
    {0.49f, 0.42f, 2}, {1.11f, 0.1f, 2}, {1.9f, 0.05f, 2}, {0.44f, 0.6f, 2}, {0.83f, 0.9f, 2},
    {-0.13f, 0.5f, 1}, {0.16f, 0.2f, 1}, {0.55f, 0.4f, 1},
};

// Half the size of the lens glows, in pixels (before their own scale).
constexpr float kGlowHalfSize = 200.0f;

const Vec3 kScreenZ{0.0f, 0.0f, 1.0f};

// Cosine of the angle between two directions; 0 when either has none.
float CosineBetween(const Vec3& a, const Vec3& b) {
    const Vec3 none{0.0f, 0.0f, 0.0f};
    return Dot(NormalizeOr(a, none), NormalizeOr(b, none));
}

// A quad centred on the current origin, texture (0, 0) at its lower-left corner.
void DrawCentredQuad(float half_width, float half_height) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-half_width, -half_height);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-half_width, half_height);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(half_width, half_height);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(half_width, -half_height);
    glEnd();
}

// A glow: one strip through the corners c[0..3] (or their negatives), texture (0, 0), (1, 0),
// (0, 1), (1, 1).
void DrawGlow(const Vec3 c[4], float sign) {
    static const float kTexCoords[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(kTexCoords[i][0], kTexCoords[i][1]);
        glVertex2f(sign * c[i].x, sign * c[i].y);
    }
    glEnd();
}

}  // namespace

Flare::Flare() : SceneObject(ObjectKind::kFlare) {
    position = Vec3(0.0f, 0.0f, 0.0f);
}

void Flare::Draw(const Camera& camera) {
    if (parentObject && !parentObject->shown) return;

    glPushMatrix();
    if (textured) glBindTexture(GL_TEXTURE_2D, textureId);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    if (envOn) {
        position = camera.eye + anchor;
        LoadEnvFrustum(envFov);
    }
    if (parentObject) {
        const SceneObject& p = *parentObject;
        position =
            p.position + anchor.x * p.right + anchor.y * Cross(p.right, p.look) + anchor.z * p.look;
    }
    glMatrixMode(GL_MODELVIEW);

    Vec3 window;
    visible = TestVisibility(camera, &window);
    // A point that does not project has no place on the screen: nothing to draw there.
    if (fadeLevel > 0.0f && std::isfinite(window.x) && std::isfinite(window.y)) {
        DrawSprite(camera, window);
        if (lensEffectOn) DrawLensEffect(window);
        glEnable(GL_LIGHTING);
    }

    ResetTextureMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// Projects the flare's point to the window and compares the depth buffer there with the
// point's own depth: the point is visible unless something drawn earlier in the frame covers
// it. Reading the depth back (rather than testing geometry) makes every kind of object hide a
// flare; the fade in Update keeps the result from popping. `window` receives the window
// coordinates (NaN when the point does not project).
bool Flare::TestVisibility(const Camera& camera, Vec3* window) const {
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble win_x = 0.0, win_y = 0.0, win_z = 0.0;
    if (gluProject(position.x, position.y, position.z, modelview, projection, viewport, &win_x,
                   &win_y, &win_z) != GL_TRUE) {
        *window = Vec3(NAN, NAN, NAN);
        return false;
    }
    *window = Vec3(static_cast<float>(win_x), static_cast<float>(win_y), 0.0f);

    // An env flare is infinitely far: only the cleared depth counts as sky.
    double reference = envOn ? 1.0 : win_z;
    const Vec3 direction = envOn ? anchor : position - camera.position;
    if (CosineBetween(direction, camera.look) < 0.0f) reference = 1000.0;  // behind the camera

    // Pixels outside the window have no depth to read: such a flare is hidden.
    const double x = std::trunc(win_x), y = std::trunc(win_y);
    if (!(x >= viewport[0] && x < viewport[0] + viewport[2] && y >= viewport[1] &&
          y < viewport[1] + viewport[3]))
        return false;
    GLfloat depth = 0.0f;
    glReadPixels(static_cast<GLint>(x), static_cast<GLint>(y), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT,
                 &depth);
    return depth >= reference;
}

// The glare sprite, added to the picture in window pixels at the flare's point.
void Flare::DrawSprite(const Camera& camera, const Vec3& window) const {
    BeginPixel2D();
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f, FocusFactor(camera) * fadeLevel * lumin);
    glTranslatef(window.x, window.y, 0.0f);
    glRotatef(rotationAngle, 0.0f, 0.0f, 1.0f);
    if (oriented) {
        const float turn = CosineBetween(window, orientVector - ScreenCentre());
        glRotatef(90.0f * turn, 0.0f, 0.0f, 1.0f);
    }
    DrawCentredQuad(spriteSize * aspect, spriteSize);
    EndPixel2D();
}

// How much a focused flare shows: nothing until the camera looks within the threshold's
// angle of its direction, then rising linearly to full when looking straight at it (not
// capped above). A flare with no direction (zero anchor) shows fully. With a threshold of 1
// only looking exactly along the direction shows it.
float Flare::FocusFactor(const Camera& camera) const {
    if (!focusOn) return 1.0f;
    const Vec3 none{0.0f, 0.0f, 0.0f};
    const Vec3 direction = NormalizeOr(anchor, none);
    if (Length(direction) == 0.0f) return 1.0f;
    const float cosine = Dot(direction, camera.look);
    const float span = 1.0f - focusThreshold;
    if (span == 0.0f) return cosine >= focusThreshold ? 1.0f : 0.0f;
    const float factor = (cosine - focusThreshold) / span;
    return factor < 0.0f ? 0.0f : factor;
}

Vec3 Flare::ScreenCentre() {
    const Settings& s = CurrentSettings();
    return Vec3(static_cast<float>(s.width / 2), static_cast<float>(s.height / 2), 0.0f);
}

// Reflections in the camera's lenses: two large glows and 23 small elements strung along the
// line from the flare through the screen centre, drawn at fixed strength whatever the fade.
// With the flare at the centre itself that line has no direction; a fixed one is used.
void Flare::DrawLensEffect(const Vec3& window) const {
    const Vec3 f{window.x, window.y, 0.0f};
    const Vec3 m = ScreenCentre();
    const Vec3 t = m - f;
    const float k = CosineBetween(f, m);
    Vec3 d = NormalizeOr(f - m, Vec3(1.0f, 0.0f, 0.0f));

    BeginPixel2D();
    const Vec3 u = NormalizeOr(t, -Vec3(1.0f, 0.0f, 0.0f)) * kGlowHalfSize;
    const Vec3 v = Cross(u, kScreenZ);
    const Vec3 corners[4] = {-v - u, v - u, -v + u, v + u};

    glBindTexture(GL_TEXTURE_2D, lensTextures[2]);
    const Vec3 glow_a = f + 0.5f * t;
    glLoadIdentity();
    glTranslatef(glow_a.x, glow_a.y, 0.0f);
    glScalef(1.2f, 1.2f, 1.0f);
    glColor4f(0.6f, 0.3f, 0.3f, 0.1f);
    DrawGlow(corners, 1.0f);
    const Vec3 glow_b = f + 1.7f * t;
    glLoadIdentity();
    glTranslatef(glow_b.x, glow_b.y, 0.0f);
    glScalef(2.2f, 2.2f, 1.0f);
    glColor4f(0.8f, 0.8f, 0.9f, 0.15f);
    DrawGlow(corners, -1.0f);

    int i = 0;
    for (const LensElement& element : kLensElements) {
        // Each element turns the offset direction further, clockwise on the screen.
        RotateAboutAxis(d, kScreenZ, 90.0f * k * element.t);
        const Vec3 w = 2.0f * (2.0f - element.t) * d;
        const Vec3 p = f + element.t * t + w;
        glLoadIdentity();
        glTranslatef(p.x, p.y, 0.0f);
        glScalef(1.5f, 1.5f, 1.0f);
        if (oriented) glRotatef(90.0f * k, 0.0f, 0.0f, 1.0f);
        glDisable(GL_LIGHTING);
        glBindTexture(GL_TEXTURE_2D, lensTextures[element.slot - 1]);
        glColor4f(0.3f + i / 30.0f, 0.2f, 1.0f - i / 10.0f, 0.79f);
        const float half = lensSize * element.size;
        DrawCentredQuad(half, half);
        ++i;
    }
    EndPixel2D();
}

void Flare::SetTextureAt(const char* path, int index) {
    if (EndsInTga(path)) tgaTexture = true;
    if (index < 0 || index >= kLensSlots) return;
    lensTexturePaths[index] = path;
    uint32_t id = 0;
    if (FindTextureId(path, &id)) lensTextures[index] = id;
}

void Flare::Update(double seconds) {
    // Fade toward what the last depth test saw, so the flare never pops on or off.
    if (visible) {
        if (fadeLevel < 1.0f) fadeLevel = static_cast<float>(fadeLevel + fadeInRate * seconds);
        if (fadeLevel > 1.0f) fadeLevel = 1.0f;
    } else {
        if (fadeLevel > 0.0f) fadeLevel = static_cast<float>(fadeLevel - fadeOutRate * seconds);
        if (fadeLevel < 0.0f) fadeLevel = 0.0f;
    }

    rotationAngle = static_cast<float>(rotationAngle + rotationSpeed * seconds);
    if (rotationAngle > 360.0f) rotationAngle -= 360.0f;
    if (rotationAngle < 0.0f) rotationAngle += 360.0f;

    // Twinkle: each cycle dims the flare for r1 * flashAmount seconds, then brightens it for
    // r2 * flashAmount seconds (the timer runs at 6 units per second). Neither is clamped here.
    twinkleTimer = static_cast<float>(twinkleTimer + 6.0 * seconds);
    if (twinkleTimer < dimEnd) {
        fadeLevel = static_cast<float>(fadeLevel - 0.7 * seconds);
    } else if (fadeLevel > 0.0f) {
        fadeLevel = static_cast<float>(fadeLevel + 0.7 * seconds);
    }
    if (twinkleTimer > cycleEnd) {
        const float r1 = static_cast<float>(RandomUnit());
        const float r2 = static_cast<float>(RandomUnit());
        dimEnd = 6.0f * r1 * flashAmount;
        cycleEnd = 6.0f * (r1 * flashAmount + r2 * flashAmount);
        twinkleTimer = 0.0f;
    }
}

void Flare::Describe(FieldWriter& out) const {
    out.Vec("position", position);
    out.Int("textureId", textureId);
    out.Bool("textured", textured);
    out.Bool("tgaTexture", tgaTexture);
    out.Float("fadeLevel", fadeLevel);
    out.Float("spriteSize", spriteSize);
    out.Float("lensSize", lensSize);
    out.Float("fadeInRate", fadeInRate);
    out.Float("fadeOutRate", fadeOutRate);
    out.Float("envFov", envFov);
    out.Float("rotationAngle", rotationAngle);
    out.Float("rotationSpeed", rotationSpeed);
    out.Float("aspect", aspect);
    out.Float("twinkleTimer", twinkleTimer);
    out.Float("dimEnd", dimEnd);
    out.Float("cycleEnd", cycleEnd);
    out.Float("flashAmount", flashAmount);
    out.Float("focusThreshold", focusThreshold);
    out.Float("lumin", lumin);
    out.Reference("parent", parentObject);
    out.Bool("visible", visible);
    out.Bool("lensEffectOn", lensEffectOn);
    out.Bool("envOn", envOn);
    out.Bool("focusOn", focusOn);
    out.Bool("oriented", oriented);
    out.Vec("anchor", anchor);
    out.Vec("orientVector", orientVector);
    static const char* const kTextureKeys[kLensSlots] = {"lensTexture1", "lensTexture2",
                                                         "lensTexture3"};
    static const char* const kPathKeys[kLensSlots] = {"lensTexturePath1", "lensTexturePath2",
                                                      "lensTexturePath3"};
    for (int slot = 0; slot < kLensSlots; ++slot) {
        out.Int(kTextureKeys[slot], lensTextures[slot]);
        const std::string& path = lensTexturePaths[slot];
        out.String(kPathKeys[slot], path.empty() ? nullptr : path.c_str());
    }
}

void ParseFlare(ObjectList& target) {
    auto flare = ReadObject<Flare>(
        IgnoreBeginLine,  // a flare takes no name from its begin line
        [&target](Flare& f, char* line) { ReadFlareLine(f, target, line); });
    if (!flare) return;
    flare->fadeLevel = 0.0f;  // every flare fades in after its first visible frame
    AppendObject(target, flare.release());
}

}  // namespace orv
