#include "objects/billboard.h"

#include <GL/gl.h>

#include "camera/random.h"
#include "objects/arg_scan.h"
#include "objects/draw_support.h"
#include "objects/parsers.h"
#include "scene/object_reader.h"

namespace orv {
namespace {

// Every line is tested against every keyword in this order; several may match one line.
void ReadBillboardLine(Billboard& b, const ObjectList& target, const char* line) {
    float v = 0.0f;
    Vec3 vec;
    if (StartsWith(line, "size") && ScanKeyword(line, "size", 1, "size %f", &v) == 1) b.size = v;
    if (StartsWith(line, "rotation")) {
        float angle = 0.0f, speed = 0.0f;
        const int n = ScanKeyword(line, "rotation", 2, "rotation %f %f", &angle, &speed);
        if (n >= 1) b.spinAngle = angle;
        if (n >= 2) b.spinSpeed = 60.0f * speed;
    }
    if (StartsWith(line, "tiling") && ScanKeyword(line, "tiling", 1, "tiling %f", &v) == 1)
        b.tiling = v;
    if (StartsWith(line, "parent")) {
        char word[kLineBufferSize];
        const int n = ScanKeyword(line, "parent", 4, "parent %127s V(%f %f %f)", word, &vec.x,
                                  &vec.y, &vec.z);
        if (n >= 1) b.attachedTo = FindParent(target, word);
        if (n >= 4) b.anchor = vec;
    }
    if (StartsWith(line, "FOV") && ScanKeyword(line, "FOV", 1, "FOV %f", &v) == 1) b.fov = v;
    if (StartsWith(line, "alpha") && ScanKeyword(line, "alpha", 1, "alpha %f", &v) == 1)
        b.alpha = v;
    if (StartsWith(line, "orient off")) b.orientOff = true;
    if (StartsWith(line, "blend")) b.blend = true;
    if (StartsWith(line, "depth")) b.noDepthTest = true;
    if (StartsWith(line, "sys")) b.system = true;
    if (StartsWith(line, "env")) {
        b.env = true;
        if (ScanKeyword(line, "env", 3, "env V(%f %f %f)", &vec.x, &vec.y, &vec.z) == 3)
            b.anchor = vec;
    }
    if (StartsWith(line, "oreol")) {
        b.halo = true;
        const int n =
            ScanKeyword(line, "oreol", 4, "oreol V(%f %f %f) %f", &vec.x, &vec.y, &vec.z, &v);
        if (n >= 3) b.anchor = vec;
        if (n >= 4) b.haloRadius = v;
    }
    if (StartsWith(line, "flash")) {
        // Written "flash TIME DARK LIT)": there is no opening parenthesis, so three plain
        // numbers scan as well.
        b.flash = true;
        float time = 0.0f, dark = 0.0f, lit = 0.0f;
        const int n = ScanKeyword(line, "flash", 3, "flash %f %f %f)", &time, &dark, &lit);
        if (n >= 1) b.flashTime = time;
        if (n >= 2) b.flashDark = dark;
        if (n >= 3) b.flashLit = lit;
    }
    if (StartsWith(line, "texture")) {
        char path[kLineBufferSize];
        if (ScanWord(line, "texture %127s", path)) {
            b.SetTexture(path);
            b.textured = true;
        }
    }
    if (StartsWith(line, "up") &&
        ScanKeyword(line, "up", 3, "up V(%f %f %f)", &vec.x, &vec.y, &vec.z) == 3)
        StoreNormalized(b.quadUp, vec, "up");
    if (StartsWith(line, "right") &&
        ScanKeyword(line, "right", 3, "right V(%f %f %f)", &vec.x, &vec.y, &vec.z) == 3)
        StoreNormalized(b.quadRight, vec, "right");
    if (StartsWith(line, "position") &&
        ScanKeyword(line, "position", 3, "position V(%f %f %f)", &vec.x, &vec.y, &vec.z) == 3)
        b.position = vec;
    if (StartsWith(line, "color") &&
        ScanKeyword(line, "color", 3, "color V(%f %f %f)", &vec.x, &vec.y, &vec.z) == 3)
        b.tint = vec;
    if (StartsWith(line, "xy") && ScanKeyword(line, "xy", 1, "xy %f", &v) == 1) b.aspect = v;
}

}  // namespace

Billboard::Billboard() : SceneObject(ObjectKind::kBillboard) {
    position = Vec3(0.0f, 0.0f, 0.0f);
    spinAngle = 0.0f;
    spinSpeed = static_cast<float>(60.0 * (1.0 - 2.0 * RandomUnit()));
}

void Billboard::Draw(const Camera& camera) {
    if (attachedTo && !attachedTo->shown) return;
    glPushMatrix();

    if (env) {
        position = camera.eye + anchor;
        PushEnvProjection(fov);
    }
    if (attachedTo) {
        position = attachedTo->position + anchor.y * NormalizeOr(camera.up, Vec3(0, 1, 0));
    }
    float half = size;
    if (!orientOff) TakeAxesFromView();
    if (halo) PlaceOnHalo(camera, &half);
    if (noDepthTest) glDisable(GL_DEPTH_TEST);
    if (system && attachedTo) PointAwayFromOrigin();

    TranslateToPosition();
    const Vec3 a = aspect * quadRight;
    const Vec3 normal = Cross(quadRight, quadUp);
    glRotatef(spinAngle, normal.x, normal.y, normal.z);
    const Vec3 lower_left = (-a - quadUp) * half;
    const Vec3 lower_right = (a - quadUp) * half;
    const Vec3 upper_left = (-a + quadUp) * half;
    const Vec3 upper_right = (a + quadUp) * half;

    if (textured) glBindTexture(GL_TEXTURE_2D, textureId);
    // Added to the picture, unlit, and never hiding what is drawn after it.
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);
    if (halo) glDisable(GL_DEPTH_TEST);
    if (blend) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glAlphaFunc(GL_ALWAYS, 0.0f);
    }
    // A billboard riding on an object flickers in its tint.
    if (attachedTo) {
        glColor4f(tint.x, tint.y, tint.z, alpha + 0.3f * static_cast<float>(RandomUnit()));
    } else {
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
    }
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(tiling, tiling, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    if (!FlashDark()) {
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(lower_left.x, lower_left.y, lower_left.z);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(lower_right.x, lower_right.y, lower_right.z);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(upper_left.x, upper_left.y, upper_left.z);
        glTexCoord2f(1.0f, 1.0f);
        glVertex3f(upper_right.x, upper_right.y, upper_right.z);
        glEnd();
    }

    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    if (halo || noDepthTest) glEnable(GL_DEPTH_TEST);
    if (blend) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glAlphaFunc(GL_ALWAYS, 0.0f);
    }
    if (env) PopEnvProjection();
    glPopMatrix();
    ResetTextureMatrix();
}

// The camera's right and up directions in world space are the first two rows of the view's
// rotation (the modelview holds the camera view only at this point).
void Billboard::TakeAxesFromView() {
    GLfloat view[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    quadRight = Vec3(view[0], view[4], view[8]);
    quadUp = Vec3(view[1], view[5], view[9]);
}

// A halo lies on the near side of a sphere of radius haloRadius about the anchor, facing the
// camera: it sits closer to the surface and grows toward `size` as the camera approaches.
// With the camera at the anchor itself there is no near side; the halo then keeps its last
// placement and axes for that frame.
void Billboard::PlaceOnHalo(const Camera& camera, float* half) {
    const Vec3 d = camera.position - anchor;
    const float distance = Length(d);
    if (!(distance > 0.0f)) return;
    const float k = haloRadius / distance;
    position = anchor + (d / distance) * (k * haloRadius);
    // Seen straight along the camera's up there is no side direction: keep the last one.
    quadRight = NormalizeOr(Cross(d, camera.up), quadRight);
    quadUp = NormalizeOr(Cross(quadRight, d), quadUp);
    *half = (1.0f - k * k) * haloRadius + k * size;
}

// "sys": the quad's up points from the world origin through the object it rides on. A parent
// at the origin (or, for the side axis, on the y axis) gives no direction; the axes in force
// are kept for that frame.
void Billboard::PointAwayFromOrigin() {
    const Vec3 out = attachedTo->position;
    if (!orientOff) {
        quadUp = NormalizeOr(out, quadUp);
        quadRight = NormalizeOr(Cross(Vec3(0, 1, 0), quadUp), quadRight);
    } else {
        quadUp = Vec3(0, 1, 0);
        quadRight = NormalizeOr(Cross(quadUp, out), quadRight);
    }
}

void Billboard::Update(double seconds) {
    spinAngle = static_cast<float>(spinAngle + spinSpeed * seconds);
    if (spinAngle > 360.0f) spinAngle -= 360.0f;
    if (spinAngle < 0.0f) spinAngle += 360.0f;

    flashTime = static_cast<float>(flashTime + seconds);
    const float cycle = flashDark + flashLit;
    if (cycle < flashTime) flashTime -= cycle;
}

void Billboard::Describe(FieldWriter& out) const {
    out.Vec("position", position);
    out.Float("spinAngle", spinAngle);
    out.Int("textureId", textureId);
    out.Bool("textured", textured);
    out.Bool("tgaTexture", tgaTexture);
    out.Float("size", size);
    out.Float("alpha", alpha);
    out.Float("tiling", tiling);
    out.Float("spinSpeed", spinSpeed);
    out.Float("fov", fov);
    out.Float("aspect", aspect);
    out.Float("haloRadius", haloRadius);
    out.Vec("quadUp", quadUp);
    out.Vec("quadRight", quadRight);
    out.Vec("anchor", anchor);
    out.Vec("tint", tint);
    out.Bool("env", env);
    out.Bool("orientOff", orientOff);
    out.Bool("flash", flash);
    out.Bool("blend", blend);
    out.Bool("noDepthTest", noDepthTest);
    out.Bool("halo", halo);
    out.Bool("system", system);
    out.Float("flashTime", flashTime);
    out.Float("flashLit", flashLit);
    out.Float("flashDark", flashDark);
    out.Reference("attachedTo", attachedTo);
}

void ParseBillboard(ObjectList& target) {
    auto billboard = ReadObject<Billboard>(
        IgnoreBeginLine,  // a billboard takes no name from its begin line
        [&target](Billboard& b, char* line) { ReadBillboardLine(b, target, line); });
    if (!billboard) return;
    if (billboard->system && !billboard->attachedTo) {
        WarnAtCurrentLine("\"sys\" billboard has no parent; it keeps its own axes");
    }
    AppendObject(target, billboard.release());
}

}  // namespace orv
