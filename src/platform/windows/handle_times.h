#pragma once
// The times of an open file handle, as FileTimes: shared by the times of a
// path (file_times.cpp) and of an open source (source_file.cpp).

#include <windows.h>

#include <optional>

#include "platform/file_times.h"

namespace quillon::platform {

// Nothing when GetFileTime fails.
std::optional<FileTimes> handleTimes(HANDLE file);

}  // namespace quillon::platform
