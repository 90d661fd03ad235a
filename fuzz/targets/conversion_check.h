#pragma once
// One file converted through the whole pipeline and checked: its result is one
// a file can have, and every output it reports opens (libtiff, qpdf) with
// the pages it reports. Byte 0 chooses the options (bit 0 recount lines,
// bit 1 one file per page, bit 2 PDF output); the rest is the file.

#include <cstddef>
#include <cstdint>
#include <string>

#include "run/convert/file_conversion.h"
#include "formats/format_set.h"

namespace quillon::fuzz {

// size must be at least 1. The source is written under sourceName in the
// scratch folder.
FileOutcome convertChecked(const std::uint8_t* data, std::size_t size, const std::string& sourceName,
                           const InputFormats& formats);
// Checks that the scratch folder holds nothing but the source and the
// outputs, and removes them all.
void removeOutputs(const FileOutcome& outcome);

}  // namespace quillon::fuzz
