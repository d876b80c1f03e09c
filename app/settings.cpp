#include "app/settings.h"

namespace orv {

Settings& CurrentSettings() {
    static Settings settings;
    return settings;
}

}  // namespace orv
