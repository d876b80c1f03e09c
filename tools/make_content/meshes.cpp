#include "tools/make_content/meshes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>

namespace orv::content {
namespace {

constexpr float kPi = 3.14159265f;

P3 Sub(P3 a, P3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
P3 Cross(P3 a, P3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Dot(P3 a, P3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
P3 Normalized(P3 a) {
    const float len = std::sqrt(Dot(a, a));
    return len > 0 ? a * (1.0f / len) : P3{0, 0, 1};
}

void Append(std::vector<unsigned char>& out, const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    out.insert(out.end(), bytes, bytes + size);
}
void AppendU32(std::vector<unsigned char>& out, uint32_t v) {
    const unsigned char le[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                 static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    Append(out, le, 4);
}
void AppendF32(std::vector<unsigned char>& out, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    AppendU32(out, bits);
}

// Builds meshes from parts; each added vertex carries its own texture coordinate and normal.
class Builder {
public:
    uint32_t Vertex(P3 p, float u, float v, P3 n) {
        mesh_.positions.push_back(p);
        mesh_.texcoords.push_back(u);
        mesh_.texcoords.push_back(v);
        normals_.push_back(n);
        return static_cast<uint32_t>(mesh_.positions.size() - 1);
    }

    // A triangle, turned if needed so that its winding agrees with its normals.
    void Triangle(uint32_t a, uint32_t b, uint32_t c) {
        const P3 pa = mesh_.positions[a], pb = mesh_.positions[b], pc = mesh_.positions[c];
        const P3 geometric = Cross(Sub(pb, pa), Sub(pc, pa));
        if (Dot(geometric, geometric) < 1e-14f) return;  // degenerate (at a pole)
        const P3 n = normals_[a] + normals_[b] + normals_[c];
        if (Dot(geometric, n) < 0) std::swap(b, c);
        mesh_.faces.push_back({{a, b, c}, {a, b, c}, {normals_[a], normals_[b], normals_[c]}});
    }

    void Quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
        Triangle(a, b, c);
        Triangle(a, c, d);
    }

    // An axis-aligned box with flat faces, centre c and half sizes h.
    void Box(P3 c, P3 h) {
        const P3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        const float half[3] = {h.x, h.y, h.z};
        for (int axis = 0; axis < 3; ++axis) {
            const int ua = (axis + 1) % 3, va = (axis + 2) % 3;
            for (float side : {-1.0f, 1.0f}) {
                const P3 n = axes[axis] * side;
                uint32_t corner[4];
                const float su[4] = {-1, 1, 1, -1}, sv[4] = {-1, -1, 1, 1};
                for (int k = 0; k < 4; ++k) {
                    const P3 p = c + n * half[axis] + axes[ua] * (su[k] * half[ua]) +
                                 axes[va] * (sv[k] * half[va]);
                    corner[k] = Vertex(p, (su[k] + 1) * half[ua] * 2, (sv[k] + 1) * half[va] * 2, n);
                }
                Quad(corner[0], corner[1], corner[2], corner[3]);
            }
        }
    }

    // A cylinder along z from z0 to z1, with flat caps.
    void Cylinder(float z0, float z1, float radius, int sides) {
        std::vector<uint32_t> bottom, top;
        for (int i = 0; i <= sides; ++i) {
            const float a = 2 * kPi * i / sides;
            const P3 n{std::cos(a), std::sin(a), 0};
            const float u = 2.0f * i / sides;
            bottom.push_back(Vertex(P3{n.x * radius, n.y * radius, z0}, u, 0, n));
            top.push_back(Vertex(P3{n.x * radius, n.y * radius, z1}, u, (z1 - z0) * 2, n));
        }
        for (int i = 0; i < sides; ++i) Quad(bottom[i], bottom[i + 1], top[i + 1], top[i]);
        for (float z : {z0, z1}) {
            const P3 n{0, 0, z == z0 ? -1.0f : 1.0f};
            const uint32_t centre = Vertex(P3{0, 0, z}, 0.5f, 0.5f, n);
            std::vector<uint32_t> rim;
            for (int i = 0; i <= sides; ++i) {
                const float a = 2 * kPi * i / sides;
                rim.push_back(Vertex(P3{std::cos(a) * radius, std::sin(a) * radius, z},
                                     0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a), n));
            }
            for (int i = 0; i < sides; ++i) Triangle(centre, rim[i], rim[i + 1]);
        }
    }

    // A torus around the z axis.
    void Torus(float major, float minor, int around, int tube) {
        std::vector<uint32_t> grid;
        for (int i = 0; i <= around; ++i) {
            const float a = 2 * kPi * i / around;
            for (int j = 0; j <= tube; ++j) {
                const float b = 2 * kPi * j / tube;
                const P3 n{std::cos(a) * std::cos(b), std::sin(a) * std::cos(b), std::sin(b)};
                const P3 p{std::cos(a) * (major + minor * std::cos(b)),
                           std::sin(a) * (major + minor * std::cos(b)), minor * std::sin(b)};
                grid.push_back(Vertex(p, 8.0f * i / around, static_cast<float>(j) / tube, n));
            }
        }
        const int row = tube + 1;
        for (int i = 0; i < around; ++i)
            for (int j = 0; j < tube; ++j)
                Quad(grid[i * row + j], grid[(i + 1) * row + j], grid[(i + 1) * row + j + 1],
                     grid[i * row + j + 1]);
    }

    Mesh Take() { return std::move(mesh_); }

private:
    Mesh mesh_;
    std::vector<P3> normals_;
};

// Icosahedron subdivided `levels` times, projected onto the unit sphere.
void Icosphere(int levels, std::vector<P3>& points, std::vector<uint32_t>& triangles) {
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    points = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
              {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    for (P3& p : points) p = Normalized(p);
    triangles = {0, 11, 5, 0, 5, 1, 0, 1, 7, 0, 7, 10, 0, 10, 11, 1, 5, 9, 5, 11, 4,
                 11, 10, 2, 10, 7, 6, 7, 1, 8, 3, 9, 4, 3, 4, 2, 3, 2, 6, 3, 6, 8,
                 3, 8, 9, 4, 9, 5, 2, 4, 11, 6, 2, 10, 8, 6, 7, 9, 8, 1};
    for (int level = 0; level < levels; ++level) {
        std::map<std::pair<uint32_t, uint32_t>, uint32_t> midpoints;
        auto midpoint = [&](uint32_t a, uint32_t b) {
            const auto key = std::make_pair(std::min(a, b), std::max(a, b));
            auto it = midpoints.find(key);
            if (it != midpoints.end()) return it->second;
            points.push_back(Normalized(points[a] + points[b]));
            const uint32_t index = static_cast<uint32_t>(points.size() - 1);
            midpoints.emplace(key, index);
            return index;
        };
        std::vector<uint32_t> finer;
        for (size_t i = 0; i < triangles.size(); i += 3) {
            const uint32_t a = triangles[i], b = triangles[i + 1], c = triangles[i + 2];
            const uint32_t ab = midpoint(a, b), bc = midpoint(b, c), ca = midpoint(c, a);
            finer.insert(finer.end(), {a, ab, ca, b, bc, ab, c, ca, bc, ab, bc, ca});
        }
        triangles = std::move(finer);
    }
}

}  // namespace

std::vector<unsigned char> Mesh::Serialize() const {
    std::vector<unsigned char> out;
    AppendU32(out, static_cast<uint32_t>(positions.size()));
    AppendU32(out, static_cast<uint32_t>(faces.size()));
    AppendU32(out, static_cast<uint32_t>(texcoords.size() / 2));
    for (const P3& p : positions) {
        AppendF32(out, p.x);
        AppendF32(out, p.y);
        AppendF32(out, p.z);
    }
    for (const Face& f : faces)
        for (uint32_t v : f.vertex) AppendU32(out, v);
    for (const Face& f : faces)
        for (uint32_t t : f.texcoord) AppendU32(out, t);
    for (float uv : texcoords) AppendF32(out, uv);
    for (const Face& f : faces) {
        for (const P3& n : f.normal) {
            AppendF32(out, n.x);
            AppendF32(out, n.y);
            AppendF32(out, n.z);
        }
    }
    return out;
}

Mesh MakeUvSphere(int segments, int rings, bool seen_from_inside) {
    Builder b;
    std::vector<uint32_t> grid;
    for (int i = 0; i <= segments; ++i) {
        const float lon = 2 * kPi * i / segments;
        const float u = static_cast<float>(i) / segments;
        for (int j = 0; j <= rings; ++j) {
            const float lat = -kPi / 2 + kPi * j / rings;
            const P3 p = SpherePoint(lon, lat);
            grid.push_back(b.Vertex(p, seen_from_inside ? 1.0f - u : u,
                                    static_cast<float>(j) / rings, p));
        }
    }
    const int row = rings + 1;
    for (int i = 0; i < segments; ++i)
        for (int j = 0; j < rings; ++j)
            b.Quad(grid[i * row + j], grid[(i + 1) * row + j], grid[(i + 1) * row + j + 1],
                   grid[i * row + j + 1]);
    return b.Take();
}

Mesh MakeAsteroid(int subdivisions) {
    std::vector<P3> points;
    std::vector<uint32_t> triangles;
    Icosphere(subdivisions, points, triangles);

    // Lumps and dents on a stretched body.
    std::vector<P3> shaped(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const P3 p = points[i];
        float r = 1.0f + 0.24f * Fbm3(p * 1.4f, 201, 4) + 0.05f * Fbm3(p * 5.0f, 202, 3);
        for (int k = 0; k < 7; ++k) {
            const P3 c = Normalized(P3{Noise3(P3{k * 3.1f, 0.5f, 0.5f}, 203),
                                       Noise3(P3{k * 3.1f, 1.5f, 0.5f}, 204),
                                       Noise3(P3{k * 3.1f, 2.5f, 0.5f}, 205)});
            const P3 d = Sub(p, c);
            const float dist2 = Dot(d, d) / 0.12f;
            r -= 0.1f * std::exp(-dist2 * dist2);
        }
        shaped[i] = P3{p.x * r * 1.35f, p.y * r, p.z * r * 0.8f};
    }

    // Smooth normals: area-weighted sums of the faces around each point.
    std::vector<P3> normals(points.size(), P3{0, 0, 0});
    for (size_t i = 0; i < triangles.size(); i += 3) {
        const P3 a = shaped[triangles[i]], b = shaped[triangles[i + 1]], c = shaped[triangles[i + 2]];
        const P3 n = Cross(Sub(b, a), Sub(c, a));
        for (int k = 0; k < 3; ++k) normals[triangles[i + k]] = normals[triangles[i + k]] + n;
    }

    Mesh mesh;
    mesh.positions = shaped;
    for (size_t i = 0; i < triangles.size(); i += 3) {
        Mesh::Face face;
        float u[3], v[3];
        for (int k = 0; k < 3; ++k) {
            const P3 p = points[triangles[i + k]];
            u[k] = std::atan2(p.y, p.x) / (2 * kPi) + 0.5f;
            v[k] = std::asin(std::fmax(-1.0f, std::fmin(1.0f, p.z))) / kPi + 0.5f;
        }
        // Faces that straddle the map's seam take the far side's u past 1.
        const float lo = std::fmin(u[0], std::fmin(u[1], u[2]));
        const float hi = std::fmax(u[0], std::fmax(u[1], u[2]));
        for (int k = 0; k < 3; ++k) {
            if (hi - lo > 0.5f && u[k] < 0.5f) u[k] += 1.0f;
            face.vertex[k] = triangles[i + k];
            face.texcoord[k] = static_cast<uint32_t>(mesh.texcoords.size() / 2);
            mesh.texcoords.push_back(u[k]);
            mesh.texcoords.push_back(v[k]);
            face.normal[k] = Normalized(normals[triangles[i + k]]);
        }
        mesh.faces.push_back(face);
    }
    return mesh;
}

Mesh MakeStation() {
    Builder b;
    b.Torus(1.0f, 0.11f, 48, 12);
    b.Cylinder(-0.45f, 0.45f, 0.22f, 24);
    b.Cylinder(-0.85f, -0.45f, 0.1f, 16);
    for (int k = 0; k < 4; ++k) {
        const float a = kPi / 2 * k;
        const float c = std::cos(a), s = std::sin(a);
        const float mid = 0.56f, half = 0.35f, thick = 0.035f;
        b.Box(P3{c * mid, s * mid, 0}, P3{std::fabs(c) * half + std::fabs(s) * thick,
                                          std::fabs(s) * half + std::fabs(c) * thick, thick});
    }
    b.Box(P3{0, 0, 0.9f}, P3{0.03f, 0.03f, 0.45f});
    b.Box(P3{0.52f, 0, 1.05f}, P3{0.42f, 0.008f, 0.14f});
    b.Box(P3{-0.52f, 0, 1.05f}, P3{0.42f, 0.008f, 0.14f});
    return b.Take();
}

}  // namespace orv::content
