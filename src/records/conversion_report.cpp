#include "records/conversion_report.h"

#include <cmath>
#include <fstream>

#include <nlohmann/json.hpp>

#include "platform/atomic_file.h"
#include "run/outcome/file_problem.h"
#include "platform/files.h"
#include "platform/paths.h"

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

bool ConversionReport::take(std::string text, std::string source, bool skipped) {
    const auto earlier = source.empty() ? lastLine_.end() : lastLine_.find(source);
    if (earlier != lastLine_.end()) {
        if (skipped) return false;
        lines_[earlier->second].replaced = true;
        fileHoldsReplacedLines_ = true;
    }
    if (!source.empty()) lastLine_[source] = lines_.size();
    lines_.push_back({std::move(source), std::move(text)});
    return true;
}

bool ConversionReport::rewrite() {
    std::string text;
    for (const Line& line : lines_)
        if (!line.replaced) text += line.text + '\n';
    if (!platform::AtomicFile(path_).writeWhole(text)) return false;
    fileHoldsReplacedLines_ = false;
    return true;
}

bool ConversionReport::open(const std::string& path) {
    path_ = path;
    lines_.clear();
    lastLine_.clear();
    fileHoldsReplacedLines_ = false;
    bool torn = false;
    if (platform::pathKind(path) != platform::PathKind::Missing) {
        std::ifstream in(platform::fileSystemPath(path), std::ios::binary);
        if (!in) return false;
        std::string text;
        while (std::getline(in, text)) {
            // A line without its line end is one a killed run began: never whole.
            if (in.eof()) {
                torn = true;
                break;
            }
            const nlohmann::json line = nlohmann::json::parse(text, nullptr, false);
            const bool isReport = line.is_object() && line.contains("source") && line["source"].is_string();
            take(text, isReport ? line["source"].get<std::string>() : std::string(),
                 isReport && line.value("status", "") == "skipped");
        }
        if (in.bad()) return false;
    }
    if ((torn || fileHoldsReplacedLines_) && !rewrite()) return false;
    return file_.open(path);
}

bool ConversionReport::append(const FileOutcome& outcome) {
    std::string line = reportLine(outcome);
    if (!take(line, outcome.source, outcome.result == FileResult::SkippedExisting)) return true;
    return file_.append(line + '\n');
}

bool ConversionReport::close() {
    const bool closed = file_.close();
    return (!fileHoldsReplacedLines_ || rewrite()) && closed;
}

}  // namespace quillon
