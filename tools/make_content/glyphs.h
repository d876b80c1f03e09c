// Pictures with writing on them: the clock's digit atlas and the two loading-screen images.
#pragma once

#include "tools/make_content/image.h"

namespace orv::content {

// A 4 x 4 grid of cells, left to right and top to bottom: digits 0-9, a colon, the
// before-noon marker (A) and the after-noon marker (P), in seven-segment style, light on
// black (the overlay adds the glyphs to the picture).
Image PaintDigitAtlas(int size);

// The loading screen: the emblem shown above ("sign.jpg") and the label below ("load.jpg").
Image PaintEmblem(int size);
Image PaintLoadingLabel(int size);

}  // namespace orv::content
