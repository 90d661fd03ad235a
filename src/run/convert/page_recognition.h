#pragma once
// Text recognition of the Group 4 pages a PDF is made from, on the worker
// thread that converts the file and on the run's idle workers, each with its
// thread's own recognizer.

#include <string>
#include <vector>

#include "run/request/batch_job.h"
#include "ocr/recognized_page.h"
#include "pdf/coded_pages.h"
#include "run/drive/page_sharing.h"

namespace quillon {

// One entry per page, in page order whoever recognised it; a page that
// cannot be read or recognised has recognized false. Tells
// recognition.pageRecognized of every page, on the thread that did it. Why
// the recogniser could not be used (its module not loaded) goes to problems.
std::vector<RecognizedPage> recognizePages(CodedPages& pages, const TextRecognition& recognition,
                                           PageSharing& sharing, std::vector<std::string>& problems);

// The pages' text for indexers: UTF-8, one form feed between pages.
std::string pagesText(const std::vector<RecognizedPage>& pages);

}  // namespace quillon
