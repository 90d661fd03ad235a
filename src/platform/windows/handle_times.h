#pragma once
// The times of an open file handle, as FileTimes, for an open source
// (source_file.cpp); file_times.cpp keeps the system's time conversions.

#include <windows.h>

#include <optional>

#include "platform/file_times.h"

namespace quillon::platform {

// Nothing when GetFileTime fails.
std::optional<FileTimes> handleTimes(HANDLE file);

}  // namespace quillon::platform
