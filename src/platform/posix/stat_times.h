#pragma once
// The times a stat or fstat call gave, as FileTimes: shared by the times of
// a path (file_times.cpp) and of an open source (source_file.cpp).

#include <sys/stat.h>

#include "platform/file_times.h"

namespace quillon::platform {

FileTimes statTimes(const struct stat& info);

}  // namespace quillon::platform
