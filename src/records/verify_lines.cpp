#include "records/verify_lines.h"

#include <nlohmann/json.hpp>

namespace quillon {

namespace {

const char* outputStateName(OutputState state) {
    switch (state) {
        case OutputState::Verified: return "verified";
        case OutputState::Missing: return "missing";
        case OutputState::Changed: return "changed";
        case OutputState::Unreadable: return "unreadable";
    }
    return "";
}

const char* sourceStateName(SourceState state) {
    switch (state) {
        case SourceState::NotChecked: return "";
        case SourceState::Verified: return "verified";
        case SourceState::Missing: return "missing";
        case SourceState::Changed: return "changed";
    }
    return "";
}

// "page 2 differs", "pages 1, 3 differ".
std::string differingPages(const std::vector<std::uint32_t>& pages) {
    std::string text = pages.size() == 1 ? "page " : "pages ";
    for (std::size_t i = 0; i < pages.size(); ++i) text += (i ? ", " : "") + std::to_string(pages[i]);
    return text + (pages.size() == 1 ? " differs" : " differ");
}

// What is wrong with one output, or empty when nothing is.
std::string outputFault(const OutputCheck& check) {
    switch (check.state) {
        case OutputState::Verified: return {};
        case OutputState::Missing: return check.path + " is missing";
        case OutputState::Unreadable: return check.path + ": " + check.detail;
        case OutputState::Changed: break;
    }
    std::string text = check.path + ": ";
    if (check.pagesFound != check.pagesRecorded)
        text += "holds " + std::to_string(check.pagesFound) + " of " + std::to_string(check.pagesRecorded) +
                " pages, ";
    if (!check.differingPages.empty()) return text + differingPages(check.differingPages);
    return check.pagesRecorded ? text + "its bytes differ, its pages do not" : text + "its bytes differ";
}

}  // namespace

const char* verdictName(FileVerdict verdict) {
    switch (verdict) {
        case FileVerdict::Verified: return "verified";
        case FileVerdict::Changed: return "changed";
        case FileVerdict::Missing: return "missing";
        case FileVerdict::Unverifiable: return "unverifiable";
    }
    return "";
}

std::string verificationLine(const VerifyOutcome& outcome) {
    const std::string source = outcome.source.empty() ? "(no source)" : outcome.source;
    switch (outcome.verdict) {
        case FileVerdict::Unverifiable:
            return "Unverifiable : " + source + " - line " + std::to_string(outcome.reportLine) + " of the report " +
                   outcome.problem;
        case FileVerdict::Verified: {
            std::uint32_t pages = 0;
            for (const OutputCheck& check : outcome.outputs) pages += check.pagesRecorded;
            const std::size_t outputs = outcome.outputs.size();
            return "Verified : " + source + " - " + std::to_string(outputs) + (outputs == 1 ? " output, " : " outputs, ") +
                   std::to_string(pages) + (pages == 1 ? " page" : " pages");
        }
        case FileVerdict::Changed:
        case FileVerdict::Missing:
            break;
    }
    std::string faults;
    for (const OutputCheck& check : outcome.outputs)
        if (const std::string fault = outputFault(check); !fault.empty()) faults += (faults.empty() ? "" : "; ") + fault;
    if (outcome.sourceState == SourceState::Missing || outcome.sourceState == SourceState::Changed)
        faults += std::string(faults.empty() ? "" : "; ") + "the source " +
                  (outcome.sourceState == SourceState::Missing ? "is missing" : "differs from its checksum");
    return std::string(outcome.verdict == FileVerdict::Changed ? "Changed : " : "Missing : ") + source + " - " + faults;
}

std::string verificationReportLine(const VerifyOutcome& outcome) {
    nlohmann::ordered_json line = {{"source", outcome.source}, {"verdict", verdictName(outcome.verdict)}};
    if (outcome.verdict == FileVerdict::Unverifiable) {
        line["line"] = outcome.reportLine;
        line["problem"] = outcome.problem;
    }
    nlohmann::ordered_json outputs = nlohmann::ordered_json::array();
    for (const OutputCheck& check : outcome.outputs) {
        nlohmann::ordered_json output = {{"path", check.path}, {"state", outputStateName(check.state)}};
        if (!check.sha256.empty()) output["sha256"] = check.sha256;
        if (!check.differingPages.empty()) output["differingPages"] = check.differingPages;
        if (check.state == OutputState::Changed && check.pagesFound != check.pagesRecorded) {
            output["pagesFound"] = check.pagesFound;
            output["pagesRecorded"] = check.pagesRecorded;
        }
        if (!check.detail.empty()) output["detail"] = check.detail;
        outputs.push_back(std::move(output));
    }
    line["outputs"] = std::move(outputs);
    if (outcome.sourceState != SourceState::NotChecked) line["sourceState"] = sourceStateName(outcome.sourceState);
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace quillon
