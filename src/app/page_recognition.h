#pragma once
// Text recognition of the Group 4 pages a PDF is made from, on the worker
// thread that converts the file, with that thread's own recognizer.

#include <string>
#include <vector>

#include "app/batch_job.h"
#include "ocr/recognized_page.h"

namespace quillon {

// One entry per page of g4Tiff (written as for a PDF); a page that cannot be
// read or recognised has recognized false. Tells recognition.pageRecognized
// of every page.
std::vector<RecognizedPage> recognizePages(const std::string& g4Tiff, const TextRecognition& recognition);

// The pages' text for indexers: UTF-8, one form feed between pages.
std::string pagesText(const std::vector<RecognizedPage>& pages);

}  // namespace quillon
