#include "run/outcome/log_notes.h"

#include "run/outcome/file_problem.h"

namespace quillon {

namespace {

// 45678 as "45,678": byte counts are read at a glance.
std::string grouped(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

}  // namespace

std::vector<std::string> describeDamage(const FileOutcome& outcome) {
    std::vector<std::string> lines;
    const std::string total = std::to_string(outcome.pages.size());
    std::size_t firstLeftOut = 0;
    for (std::size_t i = 0; i < outcome.pages.size(); ++i) {
        const PageSummary& page = outcome.pages[i];
        const std::string which = "page " + std::to_string(i + 1) + " of " + total + ": ";
        const std::string rows = std::to_string(page.damagedRows()) + " of " + std::to_string(page.rows) + " rows";
        switch (page.state) {
            case PageState::Ok: break;
            case PageState::Empty: lines.push_back(which + "no data; written as a white page"); break;
            case PageState::Cut:
                lines.push_back(which + "the file ends inside this page (" + grouped(page.bytesPresent) + " of " +
                                grouped(page.bytesAnnounced) + " data bytes); whatever followed is missing" +
                                (page.damagedRows() > 0 ? " (" + rows + " did not decode)" : ""));
                break;
            case PageState::Damaged:
                if (page.goodRows == 0)
                    lines.push_back(which + "no line could be decoded whole; what did not decode is white");
                else if (page.damagedRows() == 0)
                    lines.push_back(which + "damaged data after the last of its " + std::to_string(page.rows) +
                                    " rows; every row decoded");
                else
                    lines.push_back(which + rows + " could not be decoded");
                break;
            case PageState::LeftOut:
                if (firstLeftOut == 0) firstLeftOut = i + 1;
                break;
        }
    }
    if (firstLeftOut != 0)
        lines.push_back("pages " + std::to_string(firstLeftOut) + " to " + total + " of " + total +
                        ": left out; only the first " + std::to_string(firstLeftOut - 1) + " pages are converted");
    return lines;
}

std::vector<std::string> describeRecognitionFailures(const FileOutcome& outcome) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < outcome.texts.size(); ++i)
        if (!outcome.texts[i].recognized)
            lines.push_back("page " + std::to_string(i + 1) + " of " + std::to_string(outcome.pages.size()) +
                            ": no text recognised (the page is too large or recognition failed); it has no text layer");
    return lines;
}

std::string logNotes(const FileOutcome& outcome) {
    std::string notes;
    for (const std::string& line : describeDamage(outcome)) notes += "    Damaged : " + line + "\r\n";
    for (const std::string& line : describeRecognitionFailures(outcome)) notes += "    Warning : " + line + "\r\n";
    for (const std::string& line : outcome.warnings) notes += "    Warning : " + line + "\r\n";
    if (hasProblem(outcome)) notes += "    Reason : " + describeProblem(outcome) + "\r\n";
    return notes;
}

}  // namespace quillon
