#pragma once
// Converting one WinFax file into a TIFF file (or one TIFF file per page).

#include <string>

#include "app/batch_job.h"
#include "app/file_outcome.h"
#include "platform/export.h"

namespace quillon {

// convertFile results.
constexpr int kConverted = 0;
constexpr int kSkippedExisting = 1;
constexpr int kSourceIsTiff = 2;
constexpr int kNotWinFax = -1;
constexpr int kCannotMakeFolder = -2;
constexpr int kNotFax = -5;
constexpr int kEngineFailed = -6;
constexpr int kCopyFailed = -7;
constexpr int kPagesLeftOut = -8;
constexpr int kException = -9;
constexpr int kOutputTakenInRun = -10;  // an earlier file of the same run wrote that output
constexpr int kOutputIsSource = -11;    // an output would replace a source of the run

// Converts source into destination and appends a results line to job.results;
// outcome, when given, gets the result, the files written, every page and,
// when the file was not converted, why. No output may be one of the job's
// runSources (or the source itself).
// No exception leaves it: one that escapes the conversion is the kException
// line and result.
int convertFile(BatchJob& job, const std::string& source, const std::string& destination,
                FileOutcome* outcome = nullptr);

// Makes a folder with any missing parents; true when it exists afterwards.
QUILLON_EXPORT bool makeFolderPath(const std::string& folder);

// Gives `to` the access and modification times of `from`: 0, -1 when the first
// file cannot be read, -2 when the second cannot be changed.
int copyFileTimes(const std::string& from, const std::string& to);

}  // namespace quillon
