// User-visible error messages. Always written to stderr; shown as a dialog as well when a
// windowed backend has registered one and a display exists.
#pragma once

namespace orv::platform {

void ShowMessageBox(const char* text, const char* caption);

// A windowed backend installs its dialog here; null removes it.
using MessageBoxHook = void (*)(const char* text, const char* caption);
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace orv::platform
