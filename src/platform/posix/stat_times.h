#pragma once
// The times an fstat call gave, as FileTimes, for an open source
// (source_file.cpp); file_times.cpp keeps the system's time conversions.

#include <sys/stat.h>

#include "platform/file_times.h"

namespace quillon::platform {

FileTimes statTimes(const struct stat& info);

}  // namespace quillon::platform
