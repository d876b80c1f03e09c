// Solid geometry as OpenGL display lists: mesh files compiled once at load time, the built-in
// sphere and environment meshes, and the sphere's effect shells and ring. Scene objects draw
// any of them with one glCallList. Lists are never deleted: an object that took a list keeps
// drawing it for the life of the process.
//
// Everything here needs a current OpenGL context and runs on the loading thread.
#pragma once

#include <GL/gl.h>

#include "resources/memfile.h"

namespace orv {

// One display list id; 0 until a mesh file has been loaded into it.
struct GeometryHolder {
    GLuint list = 0;
};

// The process-wide holders.
GeometryHolder& EnvGeometry();           // "meshes\env.dat"; the sphere keyword "env"
GeometryHolder& SphereGeometry();        // "meshes\sphere.dat"; every sphere's default geometry
GeometryHolder& NoisedSphereGeometry();  // "meshes\sphere.dat" with noise; sphere keyword "noised"
GeometryHolder& CurrentGeometry();       // the last "geometry" line of an object description file

// The sphere's effect lists (0 until BuildSphereEffectLists has run).
// Sphere triangles, each corner coloured (1, 1, 1, 3x^2 - 0.6), x the corner's stored x.
GLuint AtmosphereList();
// Sphere triangles, each corner coloured (1, 1, 1, 1.6x + 1.6).
GLuint ScatterList();
// A flat textured ring in the z = 0 plane, radii 0.6 to 1.0; s runs once around, t outward.
GLuint RingList();

// Reads the mesh entry and compiles it into a new display list (one GL_TRIANGLES block of
// normal, texture coordinate and vertex per corner; nothing else), stored in `holder`.
// With `noise`, positions are jittered as ReadMeshFile describes. A missing entry or a refused
// mesh gives a warning and a list that draws nothing. If OpenGL has no list id left, the holder
// is left unchanged.
void LoadGeometry(GeometryHolder& holder, const char* entry_name, bool noise);
// The same for a file that is already filled (MemFile::OpenBytes); the file is closed after.
void LoadGeometry(GeometryHolder& holder, MemFile& file, bool noise);

// Builds AtmosphereList and ScatterList from the mesh entry (no noise), then RingList.
// If OpenGL has no list ids left for the shells, nothing is built.
void BuildSphereEffectLists(const char* entry_name);
// The same for a file that is already filled; the file is closed after.
void BuildSphereEffectLists(MemFile& file);

// Fills EnvGeometry, SphereGeometry and NoisedSphereGeometry in that order, then the sphere's
// effect lists. Called once while the scene loads.
void LoadBuiltinGeometry();

}  // namespace orv
