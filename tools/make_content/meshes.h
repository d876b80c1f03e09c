// The demo scene's meshes, in the saver's binary mesh format: counts, positions, per-face
// vertex and texture indices, texture coordinates, then three normals per face. Every triangle
// is wound counter-clockwise seen from the side its normals point to.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/make_content/noise.h"

namespace orv::content {

struct Mesh {
    struct Face {
        uint32_t vertex[3];
        uint32_t texcoord[3];
        P3 normal[3];
    };
    std::vector<P3> positions;
    std::vector<float> texcoords;  // u, v pairs
    std::vector<Face> faces;

    std::vector<unsigned char> Serialize() const;
};

// Unit UV sphere with its poles on the z axis; u runs once around (east), v from the south
// pole (0) to the north pole (1). With `seen_from_inside` the u axis is mirrored so that a map
// reads the right way round from the centre (the sky sphere).
Mesh MakeUvSphere(int segments, int rings, bool seen_from_inside);

// A lumpy, cratered rock about one unit across, with smooth normals.
Mesh MakeAsteroid(int subdivisions);

// A ring station about two units across, its axis along z: a torus on four spokes around a
// hub, a docking tube below and a mast with two solar wings above.
Mesh MakeStation();

}  // namespace orv::content
