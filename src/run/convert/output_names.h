#pragma once
// The names of the files one fax is written to: its output, or one file per
// page in split mode, and the recognised text's file beside each PDF.

#include <string>
#include <vector>

#include "run/request/batch_job.h"

namespace quillon {

// The name of page file `pageNumber` (counted from 1) for an output path in
// split mode, ending in extension: "a.tif" page 2 is "a002.tif".
std::string pageFileName(const std::string& outputPath, unsigned pageNumber, const char* extension);
// A text file beside a PDF: its extension replaced by ".txt", ".hocr" or
// ".alto.xml" (a name that starts with its only dot has none).
std::string textOutputName(const std::string& output, TextFile file);
// The files a fax of `pages` pages is written to, in page order.
std::vector<std::string> outputNames(const BatchJob& job, int pages, const std::string& destination);
// Every file those outputs make: the outputs, then their text files (with "/ocrtext"), in that order.
std::vector<std::string> filesWritten(const BatchJob& job, const std::vector<std::string>& outputs);

}  // namespace quillon
