// Small value types the scene and camera compute with: vectors, quaternions, 4x4 matrices,
// interpolation curves and rotations. All stored values are single precision; the few places
// that need more (Length, Slerp) work in double internally.
#pragma once

namespace orv {

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    Vec3() = default;
    constexpr Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    Vec3& operator+=(const Vec3& w) {
        x += w.x;
        y += w.y;
        z += w.z;
        return *this;
    }
};

inline Vec3 operator-(const Vec3& v) { return {-v.x, -v.y, -v.z}; }
inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(const Vec3& v, float s) { return {v.x * s, v.y * s, v.z * s}; }
inline Vec3 operator*(float s, const Vec3& v) { return {v.x * s, v.y * s, v.z * s}; }
inline Vec3 operator/(const Vec3& v, float s) { return {v.x / s, v.y / s, v.z / s}; }

// sqrt(x^2 + y^2 + z^2) computed in double, returned as float.
float Length(const Vec3& v);
// v / Length(v). No guard: a zero vector gives non-finite components.
Vec3 Normalize(const Vec3& v);
Vec3 Cross(const Vec3& a, const Vec3& b);
float Dot(const Vec3& a, const Vec3& b);
// Single-precision cosine and sine of an angle in radians (double functions, rounded to float).
float CosF(float a);
float SinF(float a);
void SetAll(Vec3& v, float s);

// Turns v in place about the axis through the origin by `degrees`, clockwise when seen from
// the axis tip looking toward the origin (v as a row vector times the glRotatef matrix).
// Every caller in the scene relies on this sense. A zero axis leaves v unchanged.
void RotateAboutAxis(Vec3& v, const Vec3& axis, float degrees);

// Three draws (x, y, z), each 20r - 10, normalised.
Vec3 RandomUnitVector();

struct Quat {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;
    Quat() = default;
    constexpr Quat(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
};

// 16 floats; element (i, j) is m[4*i + j]. Handed to OpenGL, (i, j) is column i, row j.
struct Mat4 {
    float m[16] = {};
    float& at(int i, int j) { return m[4 * i + j]; }
    float at(int i, int j) const { return m[4 * i + j]; }
};

// Rows 0, 1, 2 are u, v, w; (3,3) = 1; everything else 0.
Mat4 FrameMatrix(const Vec3& u, const Vec3& v, const Vec3& w);
// Note: QuatToMatrix(MatrixToQuat(M)) is the transpose of a rotation M; the camera relies on it.
Quat MatrixToQuat(const Mat4& m);
Mat4 QuatToMatrix(const Quat& q);
// Divides by the quaternion's length in place. No zero guard.
void NormalizeQuat(Quat& q);
// Spherical interpolation in double precision; a plain (unnormalised) linear blend when the
// quaternions are close (1 - dot <= 0.1). t may lie outside 0..1.
Quat Slerp(const Quat& a, const Quat& b, float t);
// de Casteljau construction with Slerp; not normalised.
Quat QuatBezier(const Quat& q0, const Quat& c1, const Quat& c2, const Quat& q3, float t);

float Hermite(float p0, float p1, float t0, float t1, float s);
Vec3 Hermite(const Vec3& p0, const Vec3& p1, const Vec3& t0, const Vec3& t1, float s);

// Accelerates over the first fraction a of 0..1, decelerates over the last fraction b,
// constant speed between.
float Ease(float t, float a, float b);

}  // namespace orv
