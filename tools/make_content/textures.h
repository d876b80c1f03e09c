// The demo scene's pictures. Sphere maps are equirectangular (longitude across, north at the
// top) to match the UV spheres of meshes.h; sprites are square with alpha falling to zero at
// the border, for additive drawing.
#pragma once

#include "tools/make_content/image.h"

namespace orv::content {

// Bodies (sphere maps).
Image PaintGasGiant(int width, int height);
Image PaintCrateredMoon(int width, int height);
Image PaintIceMoon(int width, int height);
Image PaintVolcanicMoon(int width, int height);
Image PaintAsteroidRock(int width, int height);
Image PaintStormFlashes(int width, int height);
Image PaintAtmosphere(int width, int height, float brightness);

// Sky (sphere maps seen from inside).
Image PaintStarField(int width, int height);
Image PaintNebula(int width, int height);

// Planet ring: columns run around the ring, the bottom row is the inner edge.
Image PaintRing(int width, int height);

// Tiled surface of the station.
Image PaintHullPanels(int size);

// Sprites.
Image PaintSun(int size);
Image PaintFlareStar(int size);
Image PaintLensRing(int size);
Image PaintLensHexagon(int size);
Image PaintLensGlow(int size);
Image PaintSoftDot(int size, Rgba colour, float peak);
Image PaintPlasma(int size);
Image PaintSparkle(int size);
Image PaintHalo(int size);
Image PaintGalaxy(int size);
Image PaintWisp(int size);

}  // namespace orv::content
