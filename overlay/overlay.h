// Everything drawn flat over (or instead of) the 3D scene: the two 2D modes, the digit glyphs,
// the clock, the frame-rate number and the loading screen.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

// An 800 x 600 virtual screen over the whole window, origin at the lower left, whatever the
// window size. Turns depth test and lighting off; End turns them back on.
void BeginOverlay2D();
void EndOverlay2D();
// The same in window pixels (Width x Height of the settings).
void BeginPixel2D();
void EndPixel2D();

// Builds the 13 glyph display lists (digits, colon, before-noon and after-noon markers) from
// the texture "textures\c.jpg". Without that texture the glyphs are untextured quads.
void BuildDigitGlyphs();
// Draws `text` (characters '0'..'9', ':', ';', '<') at overlay position (x, y); translates the
// current modelview (callers load the identity first). Other characters are skipped.
void DrawDigits(int32_t x, int32_t y, const char* text);

// The clock's text: "HH:MM:SS", plus ';' (before noon) or '<' (after noon) in 12-hour mode.
std::string ClockText(int hour, int minute, int second, bool twelve_hour);
// Draws the clock for the given local time at the bottom right. Enters and leaves the overlay
// mode itself.
void DrawClock(int hour, int minute, int second, bool twelve_hour);
// Draws a frame count at the top left; called inside the overlay mode.
void DrawFrameRate(int32_t count);

// Loads "load.jpg" and "sign.jpg" for the loading screen.
void LoadLoadingImages();
// Draws the loading screen (between a clear and a swap).
void DrawLoadingScreen();

}  // namespace orv
