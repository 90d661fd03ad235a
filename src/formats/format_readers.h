#pragma once
// The reader of each input format the program converts.

#include <memory>

#include "engine/convert_options.h"
#include "engine/fax_pages.h"
#include "engine/format_detection.h"

namespace quillon {

// A new reader for files of format; nullptr for a format the program does
// not read (no public description of its layout, or no fax format at all).
std::unique_ptr<FaxPages> readerFor(FaxFormat format, const ConvertOptions& options);

}  // namespace quillon
