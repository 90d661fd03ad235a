#pragma once
// Converting one WinFax file into a TIFF file (or one TIFF file per page).

#include <string>

#include "app/batch_job.h"
#include "app/file_outcome.h"

namespace quillon {

// Converts source into destination with the job's options and tells what
// became of it: the result, the files written, every page and, when the file
// was not converted, why (resultsLines renders its results text). No output
// may be one of the job's runSources (or the source itself). No exception
// leaves it: one that escapes the conversion is the Exception result.
FileOutcome convertFile(BatchJob& job, const std::string& source, const std::string& destination);

// Makes a folder with any missing parents; true when it exists afterwards.
bool makeFolderPath(const std::string& folder);

// Gives `to` the access and modification times of `from`: 0, -1 when the first
// file cannot be read, -2 when the second cannot be changed.
int copyFileTimes(const std::string& from, const std::string& to);

}  // namespace quillon
