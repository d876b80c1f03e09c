#include "camera/math3d.h"

#include <cmath>

#include "camera/random.h"

namespace orv {

float Length(const Vec3& v) {
    const double x = v.x, y = v.y, z = v.z;
    return static_cast<float>(std::sqrt(x * x + y * y + z * z));
}

Vec3 Normalize(const Vec3& v) { return v / Length(v); }

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

float CosF(float a) { return static_cast<float>(std::cos(static_cast<double>(a))); }
float SinF(float a) { return static_cast<float>(std::sin(static_cast<double>(a))); }

void SetAll(Vec3& v, float s) { v.x = v.y = v.z = s; }

void RotateAboutAxis(Vec3& v, const Vec3& axis, float degrees) {
    const double len = std::sqrt(static_cast<double>(axis.x) * axis.x +
                                 static_cast<double>(axis.y) * axis.y +
                                 static_cast<double>(axis.z) * axis.z);
    if (!(len > 0.0)) return;  // no defined rotation about a zero axis
    const double nx = axis.x / len, ny = axis.y / len, nz = axis.z / len;
    const double rad = degrees * (M_PI / 180.0);
    const double co = std::cos(rad), si = std::sin(rad), ic = 1.0 - co;
    // R as glRotatef builds it, row by row.
    const double r[3][3] = {
        {nx * nx * ic + co, nx * ny * ic - nz * si, nx * nz * ic + ny * si},
        {ny * nx * ic + nz * si, ny * ny * ic + co, ny * nz * ic - nx * si},
        {nx * nz * ic - ny * si, ny * nz * ic + nx * si, nz * nz * ic + co},
    };
    // Row vector times R: the turn is clockwise seen from the axis tip.
    const double in[3] = {v.x, v.y, v.z};
    double out[3];
    for (int j = 0; j < 3; ++j) out[j] = in[0] * r[0][j] + in[1] * r[1][j] + in[2] * r[2][j];
    v = Vec3(static_cast<float>(out[0]), static_cast<float>(out[1]), static_cast<float>(out[2]));
}

Vec3 RandomUnitVector() {
    const float x = static_cast<float>(20.0 * RandomUnit() - 10.0);
    const float y = static_cast<float>(20.0 * RandomUnit() - 10.0);
    const float z = static_cast<float>(20.0 * RandomUnit() - 10.0);
    return Normalize(Vec3(x, y, z));
}

Mat4 FrameMatrix(const Vec3& u, const Vec3& v, const Vec3& w) {
    Mat4 m;
    const Vec3* rows[3] = {&u, &v, &w};
    for (int i = 0; i < 3; ++i) {
        m.at(i, 0) = rows[i]->x;
        m.at(i, 1) = rows[i]->y;
        m.at(i, 2) = rows[i]->z;
    }
    m.at(3, 3) = 1.0f;
    return m;
}

Quat MatrixToQuat(const Mat4& m) {
    float q[4];  // x, y, z, w
    const float trace = m.at(0, 0) + m.at(1, 1) + m.at(2, 2);
    if (trace > 0.0f) {
        float s = static_cast<float>(std::sqrt(trace + 1.0));
        q[3] = s / 2.0f;
        s = 0.5f / s;
        q[0] = (m.at(1, 2) - m.at(2, 1)) * s;
        q[1] = (m.at(2, 0) - m.at(0, 2)) * s;
        q[2] = (m.at(0, 1) - m.at(1, 0)) * s;
        return {q[0], q[1], q[2], q[3]};
    }
    static const int next[3] = {1, 2, 0};
    int i = 0;
    if (m.at(1, 1) > m.at(0, 0)) i = 1;
    if (m.at(2, 2) > m.at(i, i)) i = 2;
    const int j = next[i], k = next[j];
    float s = static_cast<float>(std::sqrt(m.at(i, i) - (m.at(j, j) + m.at(k, k)) + 1.0));
    q[i] = s * 0.5f;
    if (s != 0.0f) s = 0.5f / s;
    q[3] = (m.at(j, k) - m.at(k, j)) * s;
    q[j] = (m.at(i, j) + m.at(j, i)) * s;
    q[k] = (m.at(i, k) + m.at(k, i)) * s;
    return {q[0], q[1], q[2], q[3]};
}

Mat4 QuatToMatrix(const Quat& q) {
    const float x2 = q.x + q.x, y2 = q.y + q.y, z2 = q.z + q.z;
    const float xx = q.x * x2, xy = q.x * y2, xz = q.x * z2;
    const float yy = q.y * y2, yz = q.y * z2, zz = q.z * z2;
    const float wx = q.w * x2, wy = q.w * y2, wz = q.w * z2;
    Mat4 m;
    m.at(0, 0) = 1.0f - (yy + zz);
    m.at(0, 1) = xy - wz;
    m.at(0, 2) = xz + wy;
    m.at(1, 0) = xy + wz;
    m.at(1, 1) = 1.0f - (xx + zz);
    m.at(1, 2) = yz - wx;
    m.at(2, 0) = xz - wy;
    m.at(2, 1) = yz + wx;
    m.at(2, 2) = 1.0f - (xx + yy);
    m.at(3, 3) = 1.0f;
    return m;
}

void NormalizeQuat(Quat& q) {
    const float len = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    q.x /= len;
    q.y /= len;
    q.z /= len;
    q.w /= len;
}

Quat Slerp(const Quat& a, const Quat& b, float t) {
    double cosom = static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y +
                   static_cast<double>(a.z) * b.z + static_cast<double>(a.w) * b.w;
    Quat to = b;
    if (cosom < 0.0) {
        cosom = -cosom;
        to = Quat(-b.x, -b.y, -b.z, -b.w);
    }
    double s0, s1;
    if (1.0 - cosom > 0.1) {
        const double omega = std::acos(cosom);
        const double sinom = std::sin(omega);
        s0 = std::sin((1.0 - t) * omega) / sinom;
        s1 = std::sin(t * omega) / sinom;
    } else {
        // Close quaternions are blended linearly, without renormalising.
        s0 = 1.0 - t;
        s1 = t;
    }
    return {static_cast<float>(s0 * a.x + s1 * to.x), static_cast<float>(s0 * a.y + s1 * to.y),
            static_cast<float>(s0 * a.z + s1 * to.z), static_cast<float>(s0 * a.w + s1 * to.w)};
}

Quat QuatBezier(const Quat& q0, const Quat& c1, const Quat& c2, const Quat& q3, float t) {
    const Quat p1 = Slerp(q0, c1, t);
    const Quat p2 = Slerp(c1, c2, t);
    const Quat p3 = Slerp(c2, q3, t);
    const Quat r1 = Slerp(p1, p2, t);
    const Quat r2 = Slerp(p2, p3, t);
    return Slerp(r1, r2, t);
}

float Hermite(float p0, float p1, float t0, float t1, float s) {
    const float s2 = s * s, s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * p0 + (-2 * s3 + 3 * s2) * p1 + (s3 - 2 * s2 + s) * t0 +
           (s3 - s2) * t1;
}

Vec3 Hermite(const Vec3& p0, const Vec3& p1, const Vec3& t0, const Vec3& t1, float s) {
    return {Hermite(p0.x, p1.x, t0.x, t1.x, s), Hermite(p0.y, p1.y, t0.y, t1.y, s),
            Hermite(p0.z, p1.z, t0.z, t1.z, s)};
}

float Ease(float t, float a, float b) {
    const float d = a + b;
    if (d == 0.0f) return t;
    if (d > 1.0f) {
        a /= d;
        b /= d;
    }
    const float g = 1.0f / (2.0f - a - b);
    // A zero fraction has no curved part: the straight middle carries on to that end.
    if (t < a && a > 0.0f) return (g / a) * t * t;
    if (t < 1.0f - b || b <= 0.0f) return g * (2.0f * t - a);
    const float u = 1.0f - t;
    return 1.0f - (g / b) * u * u;
}

}  // namespace orv
