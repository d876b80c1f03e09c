// The process-wide settings record. Values start at the defaults a fresh installation offers
// (the configuration dialog's "Restore Defaults"); the settings store of the saver overwrites
// them from the user's saved settings. Width and Height start at 1024 x 768 until a display
// mode or a headless size replaces them.
#pragma once

#include <cstdint>

namespace orv {

struct Settings {
    bool showClock = true;
    bool timeFormat12 = false;  // 1: 12-hour clock, 0: 24-hour clock
    bool enableMusic = true;
    bool useDesktop = true;
    bool defGamma = true;
    uint32_t width = 1024;
    uint32_t height = 768;
    uint32_t depth = 32;
    uint32_t volume = 100;
    uint32_t gamma = 50;
    uint32_t speed = 50;
    bool showFps = false;
    bool vsync = false;
    bool mouseExit = false;
    char path[256] = {};
};

Settings& CurrentSettings();

}  // namespace orv
