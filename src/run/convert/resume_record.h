#pragma once
// "/resume": a rerun converts only what is not yet done. Every output of a
// run with /resume carries the run's record in its own metadata (each TIFF
// page's ImageDescription, a PDF's document information entry QuillonRun):
// the SHA-256 of the source's bytes and the settings that shape the outputs.
// A file is done when every output it would write exists and carries the
// record this run would write. Outputs only appear complete (by rename), so
// a run that was killed leaves nothing that could pass for done.

#include <string>
#include <vector>

#include "run/request/batch_job.h"
#include "run/request/output_format.h"

namespace quillon {

// "quillon-run:1 source-sha256=... format=pdf pages=one-file ocr=eng+deu
// text-file=no turn=detect lines=recorded lpi=auto": one line, ASCII.
std::string resumeRecord(const BatchJob& job, const std::string& sourceSha256);

// True when every output (images in the job's format, and texts beside
// PDF files) exists and each image carries the record.
bool outputsCarryRecord(OutputFormat format, const std::vector<std::string>& images,
                        const std::vector<std::string>& texts, const std::string& record);

}  // namespace quillon
