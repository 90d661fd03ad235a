#pragma once
#include <string>

#include "platform/export.h"

namespace quillon::platform {

// True when a window can be shown: an X11 or Wayland display is named, or Qt
// is told to use a platform that needs none (such as offscreen).
bool displayAvailable();

// The value of an environment variable; empty when it is not set.
std::string environmentValue(const char* name);
// Full path of the running executable, or an empty text.
QUILLON_EXPORT std::string programPath();

}  // namespace quillon::platform
