#pragma once
// Checks the outputs a report recorded of one file: each must still exist,
// hash to its recorded checksum, and hold pages that decode again (TIFF
// through libtiff, PDF from their Group 4 image data) to the recorded
// fingerprints.

#include <cstdint>
#include <string>
#include <vector>

#include "records/report_reading.h"

namespace quillon {

enum class OutputState : std::uint8_t {
    Verified,    // its bytes and every page as recorded
    Missing,     // no such file
    Changed,     // its bytes differ from the record (its pages may not)
    Unreadable,  // it cannot be read, or not as its kind
};

struct OutputCheck {
    std::string path;
    OutputState state = OutputState::Verified;
    std::string sha256;  // of its bytes now, when read
    std::vector<std::uint32_t> differingPages;  // by index in the source; a recorded page it no longer holds too
    std::uint32_t pagesFound = 0;
    std::uint32_t pagesRecorded = 0;
    std::string detail;  // why it cannot be read
};

enum class FileVerdict : std::uint8_t { Verified, Changed, Missing, Unverifiable };

enum class SourceState : std::uint8_t { NotChecked, Verified, Missing, Changed };

struct VerifyOutcome {
    std::string source;
    FileVerdict verdict = FileVerdict::Verified;
    std::vector<OutputCheck> outputs;
    SourceState sourceState = SourceState::NotChecked;
    std::size_t reportLine = 0;
    std::string problem;  // Unverifiable: what the report line lacks
};

// Checks the file's outputs, and with checkSource its source's bytes too.
VerifyOutcome checkRecordedFile(const RecordedFile& file, bool checkSource);

}  // namespace quillon
