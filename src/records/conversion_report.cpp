#include "records/conversion_report.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

#include "records/report_compaction.h"
#include "run/outcome/file_problem.h"
#include "platform/paths.h"
#include "platform/stable_storage.h"

namespace quillon {

std::string reportLine(const FileOutcome& outcome) {
    nlohmann::ordered_json pages = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < outcome.pages.size(); ++i) {
        const PageSummary& page = outcome.pages[i];
        pages.push_back({{"index", i + 1},
                         {"width", page.width},
                         {"rows", page.rows},
                         {"coding", codingName(page.coding)},
                         {"state", pageStateName(page.state)},
                         {"badLines", page.badLines},
                         {"damagedRows", page.damagedRows()}});
        if (!page.sha256.empty()) pages.back()["sha256"] = page.sha256;
        if (page.state == PageState::Cut) {
            pages.back()["bytesAnnounced"] = page.bytesAnnounced;
            pages.back()["bytesPresent"] = page.bytesPresent;
        }
        if (i < outcome.texts.size() && outcome.texts[i].recognized) {
            const PageTextSummary& text = outcome.texts[i];
            pages.back()["words"] = text.words;
            // Two decimals: enough to compare runs, and stable to read.
            pages.back()["confidence"] = std::round(text.meanConfidence * 100) / 100;
            pages.back()["rotation"] = text.rotation;
            if (text.orientationConfidence >= 0)
                pages.back()["orientationConfidence"] = std::round(double(text.orientationConfidence) * 100) / 100;
        }
    }
    nlohmann::ordered_json line = {{"source", outcome.source},
                                   {"outputs", outcome.outputs},
                                   {"result", resultCode(outcome.result)},
                                   {"status", statusName(outcome.result)}};
    if (hasProblem(outcome)) {
        line["reason"] = problemName(outcome);
        line["reasonText"] = describeProblem(outcome);
    }
    if (!outcome.warnings.empty()) line["warnings"] = outcome.warnings;
    if (!outcome.sourceSha256.empty()) {
        line["sourceSha256"] = outcome.sourceSha256;
        line["outputSha256"] = outcome.outputSha256;
    }
    line["pages"] = std::move(pages);
    // File names are bytes; JSON text is UTF-8.
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

ReportOpen ConversionReport::open(const std::string& path, platform::FileLocking locking, bool syncToDisk,
                                  bool knowSources) {
    syncToDisk_ = syncToDisk;
    switch (file_.open(path, locking)) {
        case platform::SharedOpen::LocksRefused: return ReportOpen::LocksRefused;
        case platform::SharedOpen::CannotOpen: return ReportOpen::CannotOpen;
        case platform::SharedOpen::Opened: break;
    }
    if (!file_.lock()) return ReportOpen::CannotOpen;
    const bool compacted =
        compactReport(file_, syncToDisk_, knowSources ? &sourcesWithOutputs_ : nullptr) != Compaction::Failed;
    file_.unlock();
    return compacted ? ReportOpen::Opened : ReportOpen::CannotOpen;
}

bool ConversionReport::holdsOutputsOf(const std::string& source, const std::string& firstOutput) const {
    return std::binary_search(sourcesWithOutputs_.begin(), sourcesWithOutputs_.end(), outputsKey(source, firstOutput));
}

bool ConversionReport::append(const FileOutcome& outcome) {
    const std::string line = reportLine(outcome) + '\n';
    if (!file_.lock()) return false;
    const std::int64_t before = cutTornLine(file_) ? file_.size() : -1;
    const bool written = before >= 0 && file_.append(line);
    // A full disk: none of this line stays for the next one to join.
    if (!written && before >= 0) file_.truncate(before);
    file_.unlock();
    return written;
}

bool ConversionReport::close() {
    // No file is done any more: the memory goes to the compaction.
    sourcesWithOutputs_ = {};
    if (!file_.lock()) {
        file_.close();
        return false;
    }
    const Compaction compaction = compactReport(file_, syncToDisk_);
    bool closed = compaction != Compaction::Failed;
    // A rewritten report was synced before its rename.
    if (closed && compaction == Compaction::Unchanged && syncToDisk_)
        closed = file_.sync() && platform::syncFolder(platform::folderPart(file_.path()));
    file_.unlock();
    return file_.close() && closed;
}

}  // namespace quillon
