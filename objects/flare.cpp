#include "objects/flare.h"

#include <cstring>

#include "app/settings.h"
#include "camera/random.h"
#include "objects/arg_scan.h"
#include "objects/parsers.h"
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

}  // namespace

Flare::Flare() : SceneObject(ObjectKind::kFlare) {
    position = Vec3(0.0f, 0.0f, 0.0f);
}

void Flare::Draw(const Camera&) {}

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
    auto* flare = new Flare();
    const bool found =
        ReadObjectBlock([](const char*) {},  // a flare takes no name from its begin line
                        [flare, &target](char* line) { ReadFlareLine(*flare, target, line); });
    if (!found) {
        delete flare;
        return;
    }
    flare->fadeLevel = 0.0f;  // every flare fades in after its first visible frame
    AppendObject(target, flare);
}

}  // namespace orv
