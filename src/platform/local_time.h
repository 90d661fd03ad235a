#pragma once
// The local time as text, for the log and the TIFF DateTime field.

#include <string>

namespace quillon::platform {

// The current local time formatted with strftime.
std::string formatLocalTime(const char* format);

}  // namespace quillon::platform
