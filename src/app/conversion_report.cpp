#include "app/conversion_report.h"

#include <cmath>

#include <nlohmann/json.hpp>

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
                                   {"status", statusName(outcome.status())}};
    if (outcome.problem != FileProblem::None) {
        line["reason"] = problemName(outcome.problem);
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

bool ConversionReport::open(const std::string& path) {
    out_.open(path, std::ios::binary | std::ios::app);
    return out_.is_open();
}

bool ConversionReport::append(const FileOutcome& outcome) {
    out_ << reportLine(outcome) << '\n' << std::flush;
    return bool(out_);
}

}  // namespace quillon
