#pragma once
// The reader of each input format the program converts.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "engine/convert_options.h"
#include "engine/fax_pages.h"
#include "formats/format_detection.h"

namespace quillon {

// A new reader for the file at path of format, whose bytes (or their start)
// are given; nullptr for a format the program does not read (no public
// description of its layout, or no fax format at all). A raw Group 3 file
// whose bytes hold a TIFF file (a ".g3f" whose first bytes detection finds a
// TIFF header in) gets the TIFF reader: it is taken as raw Group 3
// (/formats=g3) and read as what it holds.
std::unique_ptr<FaxPages> readerFor(FaxFormat format, const ConvertOptions& options, const std::string& path,
                                    std::span<const std::uint8_t> bytes);

}  // namespace quillon
