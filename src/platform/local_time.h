#pragma once
#include <string>

namespace quillon::platform {

// The current local time formatted with strftime.
std::string formatLocalTime(const char* format);

}  // namespace quillon::platform
