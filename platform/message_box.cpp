#include "platform/message_box.h"

#include <cstdio>

namespace orv::platform {
namespace {
MessageBoxHook g_hook = nullptr;
}

void ShowMessageBox(const char* text, const char* caption) {
    std::fprintf(stderr, "orvello: %s: %s\n", caption ? caption : "", text ? text : "");
    if (g_hook) g_hook(text, caption);
}

void SetMessageBoxHook(MessageBoxHook hook) { g_hook = hook; }

}  // namespace orv::platform
