#include "resources/progress.h"

namespace orv {
namespace {
LoadProgressCallback& Callback() {
    static LoadProgressCallback callback;
    return callback;
}
}  // namespace

void SetLoadProgressCallback(LoadProgressCallback callback) { Callback() = std::move(callback); }

void ReportLoadProgress() {
    if (Callback()) Callback()();
}

}  // namespace orv
