#pragma once
// The PDF road of a conversion: the copier's Group 4 pages, written MSB
// first with one strip per page in the job's private temporary folder, go
// into a PDF unchanged.

#include <string>

#include "app/batch_job.h"

namespace quillon {

// Writes the pages of the intermediate file as the PDF pdfPath, titled with
// source's name and dated with its modification time. False when the pages
// cannot be coded or the PDF cannot be written.
bool writePdfOutput(const BatchJob& job, const std::string& source, const std::string& intermediate,
                    const std::string& pdfPath);

}  // namespace quillon
