// Small pieces the Draw operations of the scene objects share: a normalisation that cannot
// produce NaN, the private frustum of objects hung at a fixed offset from the eye ("env"), and
// the texture-matrix reset every kind ends with.
#pragma once

#include "camera/math3d.h"

namespace orv {

// v scaled to unit length, or `fallback` when v has no direction (zero, or a length that is
// not a positive finite number). Scene data can put an object exactly where a direction is
// taken from (the camera, the screen centre, the origin); one frame drawn with a fixed
// direction is harmless, NaN in a matrix or vertex is not.
Vec3 NormalizeOr(const Vec3& v, const Vec3& fallback);

// Replaces the current matrix (the caller has selected and pushed the projection) by the
// frustum of "env" objects: 4:3 with half-height `fov` at the near distance 1, far 1000.
void LoadEnvFrustum(float fov);

// On the projection stack: push, then LoadEnvFrustum; the modelview matrix is current after.
void PushEnvProjection(float fov);
// Pops the projection pushed by PushEnvProjection; the modelview matrix is current after.
void PopEnvProjection();

// Texture matrix := identity; the modelview matrix is current after.
void ResetTextureMatrix();

}  // namespace orv
