// Loading progress. Loaders call ReportLoadProgress() after each loaded texture and each scene
// object; the saver points it at its loading screen, tools leave it unset or count calls.
#pragma once

#include <functional>

namespace orv {

using LoadProgressCallback = std::function<void()>;

// Sets the callback (an empty one turns reporting off).
void SetLoadProgressCallback(LoadProgressCallback callback);
void ReportLoadProgress();

}  // namespace orv
