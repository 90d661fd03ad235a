#pragma once
// Making a folder with the parents it lacks.

#include <string>

#include "platform/export.h"

namespace quillon::platform {

// Makes a folder with any missing parents; true when it exists afterwards.
QUILLON_EXPORT bool makeFolderPath(const std::string& folder);

}  // namespace quillon::platform
