#include "objects/particle_system.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "camera/random.h"
#include "objects/arg_scan.h"
#include "objects/parsers.h"
#include "scene/object_reader.h"

namespace orv {
namespace {

// A fresh draw r as a float.
float R() { return static_cast<float>(RandomUnit()); }

// v normalised, or `fallback` when v has no usable length (zero or not finite).
Vec3 NormalizeOr(const Vec3& v, const Vec3& fallback) {
    const float length = Length(v);
    if (!(length > 0.0f) || !std::isfinite(length)) return fallback;
    return v / length;
}

constexpr float kFlashSphereRadius = 16100.0f;
constexpr float kFlashStep = 100.8f;  // length of one step of the lightning chain
constexpr Vec3 kYAxis{0.0f, 1.0f, 0.0f};

// The first two rows of the modelview's upper-left 3x3 are the camera's right and up directions
// in world space.
ParticleSystem::ViewBasis ViewBasisFromModelview() {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    ParticleSystem::ViewBasis view;
    view.right = Vec3(m[0], m[4], m[8]);
    view.up = Vec3(m[1], m[5], m[9]);
    view.axis = Cross(view.right, view.up);
    return view;
}

// A modelview rotation by the right-hand rule. A zero axis has no defined rotation: none.
void RotateModelview(float degrees, const Vec3& axis) {
    if (axis.x == 0.0f && axis.y == 0.0f && axis.z == 0.0f) return;
    glRotatef(degrees, axis.x, axis.y, axis.z);
}

// One sprite around the current origin, spanned by the half-axes x and y.
void DrawSprite(const Vec3& x, const Vec3& y) {
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-x.x - y.x, -x.y - y.y, -x.z - y.z);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x.x - y.x, x.y - y.y, x.z - y.z);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-x.x + y.x, -x.y + y.y, -x.z + y.z);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x.x + y.x, x.y + y.y, x.z + y.z);
    glEnd();
}

// A jet particle fades out over its lifetime. One that has not started yet (lifetime 0, as
// "dens" leaves it until the first update) is already faded out rather than 0 / 0.
float LineAlpha(float age, float lifetime) {
    if (!(lifetime > 0.0f)) return 0.0f;
    return 1.0f - age / lifetime;
}

}  // namespace

ParticleSystem::ParticleSystem() : SceneObject(ObjectKind::kParticleSystem) {
    spin = 360.0f * R();
}

void ParticleSystem::Draw(const Camera&) {
    // Without particles there is nothing to draw (the flash mode would divide by the count and
    // address the middle particle).
    if (particleCount <= 0) return;
    if (mode != ParticleMode::kLine && mode != ParticleMode::kCirc &&
        mode != ParticleMode::kFlash) {
        return;
    }
    const ViewBasis view = ViewBasisFromModelview();
    glPushMatrix();
    switch (mode) {
        case ParticleMode::kLine: DrawJet(view); break;
        case ParticleMode::kCirc: DrawBurst(view); break;
        case ParticleMode::kFlash: DrawFlash(); break;
        default: break;
    }
    glPopMatrix();
}

// Additive sprites facing the camera, seen through everything (no depth test). Lighting and the
// alpha test are left off for whatever is drawn next.
void ParticleSystem::BeginCameraSprites() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_ALPHA_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, textureId);
    TranslateToPosition();
}

// Line mode: each sprite grows as its particle travels along -z, fades over its lifetime and
// turns about the view axis, neighbours in opposite senses.
void ParticleSystem::DrawJet(const ViewBasis& view) {
    BeginCameraSprites();
    for (int i = 0; i < particleCount; ++i) {
        const Vec3& p = positions[i];
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        RotateModelview(20.0f * p.z * static_cast<float>(particleCount - 2 * i), view.axis);
        const float s = 800.0f - 0.2f * p.z;
        glColor4f(1.0f, 1.0f, 1.0f, LineAlpha(ages[i], lifetimes[i]));
        DrawSprite(s * view.right, s * view.up);
        glPopMatrix();
    }
    glEnable(GL_DEPTH_TEST);
}

// Circ mode: a large glow lying on the burst sphere at the burst point, and the particles, all
// fading in and out over the burst period.
void ParticleSystem::DrawBurst(const ViewBasis& view) {
    // Before the first update the period is still 0: the burst has not begun.
    const float phase = interval != 0.0f ? timer / interval : 0.0f;
    const float pulse = 1.0f - std::fabs(2.0f * phase - 1.0f);
    // The glow's axes are tangent to the burst sphere. A burst point on the sphere's vertical
    // axis (or at its centre, with a burst radius of 0) has no such pair from this construction;
    // fixed directions stand in for that frame.
    const Vec3 r = position - centrePoint;
    const Vec3 a = NormalizeOr(Cross(r, kYAxis), Vec3(1.0f, 0.0f, 0.0f));
    const Vec3 b = NormalizeOr(Cross(a, r), kYAxis);

    BeginCameraSprites();
    glColor4f(1.0f, 1.0f, 1.0f, pulse);
    DrawSprite(2000.0f * a, 2000.0f * b);
    for (int i = 0; i < particleCount; ++i) {
        const Vec3& p = positions[i];
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        RotateModelview(20.0f * phase * static_cast<float>(particleCount - 2 * i), view.axis);
        glColor4f(1.0f, 1.0f, 1.0f, pulse);
        DrawSprite(500.0f * view.right, 500.0f * view.up);
        glPopMatrix();
    }
    glEnable(GL_DEPTH_TEST);
}

// Flash mode: a flickering glow at the middle of the chain and the chain's sprites, all lying
// across `right` (the direction from the centre point) and seen only from outside the flash
// sphere. The sprite whose index equals the tick count is the brightest.
void ParticleSystem::DrawFlash() {
    const float n = static_cast<float>(particleCount);
    const float k = spin / 0.1f;
    glBindTexture(GL_TEXTURE_2D, textureId);
    glDisable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f,
              (0.2f + 0.4f * R()) - 0.2f * static_cast<float>(std::abs(tickCount)) / n);
    size = 2000.0f + 1000.0f * R();
    TranslateToPosition();
    glDepthMask(GL_FALSE);

    const Vec3 a = Cross(right, kYAxis);
    const Vec3 b = Cross(a, right);
    const Vec3 h = Cross(a, b);  // after a new flash, from the flash back toward the centre
    glNormal3f(h.x, h.y, h.z);

    const Vec3& middle = positions[particleCount / 2];
    glPushMatrix();
    glTranslatef(middle.x, middle.y, middle.z);
    RotateModelview(360.0f * R(), h);
    DrawSprite(size * a, size * b);
    glPopMatrix();

    size = 250.0f;
    for (int i = 0; i < particleCount; ++i) {
        const Vec3& p = positions[i];
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        RotateModelview(20.0f * k * static_cast<float>(particleCount - 2 * i), h);
        const float distance = static_cast<float>(std::abs(tickCount - i));
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f - distance / n + 0.4f * R());
        DrawSprite(size * a, size * b);
        glPopMatrix();
    }

    glEnable(GL_ALPHA_TEST);
    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    glCullFace(GL_BACK);
    glDisable(GL_CULL_FACE);
}

void ParticleSystem::CreateParticles(int count) {
    const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    particleCount = static_cast<int>(n);
    positions.assign(n, Vec3());
    velocities.assign(n, Vec3());
    accelerations.assign(n, Vec3());
    ages.assign(n, 0.0f);
    lifetimes.assign(n, 0.0f);
    // A "time" line only counts when it comes after "dens".
    interval = 0.0f;
    timer = 0.0f;
    for (size_t i = 0; i < n; ++i) {
        velocities[i] = Vec3(0.0f, 0.0f, -1000.0f);
        for (int discarded = 0; discarded < 3; ++discarded) RandomDraw();
        accelerations[i] = Vec3();
        lifetimes[i] = 0.0f;
        positions[i] = 250.0f * RandomUnitVector();
        ages[i] = 25.0f * R();
    }
}

void ParticleSystem::Update(double seconds) {
    if (mode == ParticleMode::kNone) return;
    timer = static_cast<float>(timer + seconds);
    if (mode != ParticleMode::kFlash) MoveParticles(static_cast<float>(seconds));
    if (mode == ParticleMode::kLine) RestartExpiredParticles(seconds);
    if (mode == ParticleMode::kCirc && timer > interval) StartBurst();
    if (mode == ParticleMode::kFlash && timer > interval) Tick(seconds);
}

void ParticleSystem::MoveParticles(float dt) {
    for (size_t i = 0; i < positions.size(); ++i) {
        positions[i] += dt * velocities[i];
        velocities[i] += dt * accelerations[i];
    }
}

// Line mode: a particle older than its lifetime starts again at the origin, shooting along -z
// and bending toward +x (and a little +y) in proportion to its speed.
void ParticleSystem::RestartExpiredParticles(double seconds) {
    for (size_t i = 0; i < ages.size(); ++i) {
        ages[i] = static_cast<float>(ages[i] + seconds);
        if (!(ages[i] > lifetimes[i])) continue;
        positions[i] = Vec3();
        velocities[i] = Vec3(0.0f, 0.0f, -(2400.0f + 17100.0f * R()));
        const float u1 = R();
        const float u2 = R();
        accelerations[i] = (0.57f * Length(velocities[i])) * Vec3(1.0f + u2, u1, 0.0f);
        ages[i] = 0.0f;
        lifetimes[i] = 1.0f + 2.0f * R();
    }
}

// Circ mode: a burst at a random point of the sphere of radius `size` around the centre point.
// Each particle starts a little off the burst point (the point turned by up to 4 degrees about a
// random axis) and shoots outward, slower the farther off it starts; one burst in five is a
// straight streak along the burst direction. All of them fall back toward the centre.
void ParticleSystem::StartBurst() {
    timer = 0.0f;
    interval = 2.0f + R();
    const Vec3 u = RandomUnitVector();
    position = centrePoint + size * u;
    const bool streak = R() < 0.2f;
    for (size_t i = 0; i < positions.size(); ++i) {
        const Vec3 w = RandomUnitVector();
        Vec3 q = size * u;
        const float a = 4.0f * R();
        RotateAboutAxis(q, w, a);
        positions[i] = size * u - q;
        const float k = 1.0f - a / 4.0f;
        const float s = 800.0f + 300.0f * R();
        // With a burst radius of 0 the outward direction is degenerate: go along the burst
        // direction rather than divide by zero.
        Vec3 velocity = k * s * NormalizeOr(1.1f * size * u - q, u);
        if (streak) velocity = k * (400.0f + 1700.0f * R()) * u;
        const Vec3 w2 = RandomUnitVector();
        RotateAboutAxis(velocity, w2, 30.0f * R());
        velocities[i] = velocity;
        accelerations[i] = -(250.0f + 50.0f * R()) * u;
    }
}

// Flash mode: one tick moves the bright spot one particle along the chain; after 2N + 1 ticks a
// new flash starts.
void ParticleSystem::Tick(double seconds) {
    spin = static_cast<float>(spin + 0.3 * seconds);
    timer = 0.0f;
    interval = 0.01f + 0.04f * R();
    ++tickCount;
    if (tickCount > 2 * particleCount) StartFlash();
}

// A new lightning chain at a random point of the flash sphere: a random walk of equal steps,
// each perpendicular to the direction from the centre (kept in `right`).
void ParticleSystem::StartFlash() {
    spin = 0.0f;
    tickCount = -particleCount;
    const Vec3 w = RandomUnitVector();
    position = centrePoint + kFlashSphereRadius * w;
    right = Normalize(w);  // w is a unit vector, never zero
    Vec3 walk;
    for (size_t i = 0; i < positions.size(); ++i) {
        Vec3 step = kFlashStep * Cross(right, Vec3(0.0f, 1.0f, 0.0f));
        RotateAboutAxis(step, right, 30.0f + 180.0f * R());
        walk += step;
        positions[i] = walk;
    }
}

void ParticleSystem::Describe(FieldWriter& out) const {
    out.Vec("position", position);
    out.Vec("right", right);
    out.Int("textureId", textureId);
    out.Bool("textured", textured);
    out.Bool("tgaTexture", tgaTexture);
    out.Float("size", size);
    out.Float("spin", spin);
    out.Int("particleCount", particleCount);
    out.Int("mode", static_cast<int>(mode));
    out.Float("interval", interval);
    out.Float("timer", timer);
    out.Int("tickCount", tickCount);
    out.Vec("centrePoint", centrePoint);
    out.Vec("secondPoint", secondPoint);
    if (particleCount > 0) {
        out.Vec("firstPosition", positions[0]);
        out.Vec("firstVelocity", velocities[0]);
        out.Vec("firstAcceleration", accelerations[0]);
        out.Float("firstAge", ages[0]);
        out.Float("firstLifetime", lifetimes[0]);
    }
}

namespace {

// "dens N": the count is read wide so that a huge number is capped rather than wrapped.
void ReadDensity(ParticleSystem& system, const char* line) {
    long long count = 0;
    if (std::sscanf(line, "dens %lld", &count) != 1) {
        WarnUnscanned("dens %d");
        return;
    }
    if (count < 0) {
        WarnAtCurrentLine("\"dens\" count %lld is negative; no particles", count);
        count = 0;
    } else if (count > kMaxParticles) {
        WarnAtCurrentLine("\"dens\" count %lld is more than %d; cut to %d", count,
                          kMaxParticles, kMaxParticles);
        count = kMaxParticles;
    }
    system.CreateParticles(static_cast<int>(count));
}

// Tests one block line against every particle-system keyword in turn; several may match.
void ReadParticleSystemLine(ParticleSystem& system, const char* line) {
    if (StartsWith(line, "texture")) {
        char path[kLineBufferSize];
        if (ScanWord(line, "texture %127s", path)) {
            system.SetTexture(path);
            system.textured = true;
        }
    }
    if (StartsWith(line, "size")) ScanFloat(line, "size %f", system.size);
    if (StartsWith(line, "line")) system.mode = ParticleMode::kLine;
    if (StartsWith(line, "circ")) system.mode = ParticleMode::kCirc;
    if (StartsWith(line, "flash")) system.mode = ParticleMode::kFlash;
    if (StartsWith(line, "time")) ScanFloat(line, "time %f", system.interval);
    if (StartsWith(line, "dens")) ReadDensity(system, line);
    if (StartsWith(line, "point1")) ScanVector(line, "point1 V(%f %f %f)", system.centrePoint);
    if (StartsWith(line, "point2")) ScanVector(line, "point2 V(%f %f %f)", system.secondPoint);
    if (StartsWith(line, "rot")) ScanVector(line, "rot V(%f %f %f)", system.right);
}

}  // namespace

void ParseParticleSystem(ObjectList& target) {
    auto system = ReadObject<ParticleSystem>(
        IgnoreBeginLine, [](ParticleSystem& ps, char* line) { ReadParticleSystemLine(ps, line); });
    if (system) AppendObject(target, system.release());
}

}  // namespace orv
