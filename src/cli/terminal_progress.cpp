#include "cli/terminal_progress.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

namespace {

std::string minutesAndSeconds(double seconds) {
    const long whole = static_cast<long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& err, bool drawn, std::size_t files, int columns)
    : err_(err), drawn_(drawn), files_(files), columns_(std::size_t(std::max(columns, 20))) {}

void TerminalProgress::fileStarted(const std::string& source) {
    std::lock_guard lock(turn_);
    current_ = source;
    redrawNowAndThen();
}

void TerminalProgress::fileDone(std::size_t pages) {
    std::lock_guard lock(turn_);
    ++done_;
    pages_ += pages;
    redrawNowAndThen();
}

void TerminalProgress::pageRecognized() {
    std::lock_guard lock(turn_);
    ++recognizedPages_;
    redrawNowAndThen();
}

void TerminalProgress::redrawNowAndThen() {
    const auto now = std::chrono::steady_clock::now();
    if (shown_ > 0 && now - drawnAt_ < std::chrono::milliseconds(100)) return;
    drawnAt_ = now;
    redraw();
}

std::string TerminalProgress::line() const {
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::string text = std::to_string(done_) + "/" + std::to_string(files_) + " files, " + std::to_string(pages_) +
                       " pages, ";
    if (recognizedPages_ > 0) text += std::to_string(recognizedPages_) + " OCR pages, ";
    text += minutesAndSeconds(elapsed);
    if (done_ > 0 && done_ < files_)
        text += ", about " + minutesAndSeconds(elapsed / double(done_) * double(files_ - done_)) + " left";
    if (!current_.empty()) text += ": " + current_;
    // One column short of the width, so that the terminal never wraps it.
    if (text.size() >= columns_) text = text.substr(0, columns_ - 4) + "...";
    return text;
}

void TerminalProgress::redraw() {
    if (!drawn_) return;
    const std::string text = line();
    err_ << '\r' << text << std::string(shown_ > text.size() ? shown_ - text.size() : 0, ' ') << '\r' << text
         << std::flush;
    shown_ = text.size();
}

void TerminalProgress::print(const std::string& lines) {
    if (lines.empty()) return;
    std::lock_guard lock(turn_);
    erase();
    err_ << lines << std::flush;
    redraw();
}

void TerminalProgress::clear() {
    std::lock_guard lock(turn_);
    erase();
}

void TerminalProgress::erase() {
    if (!drawn_ || shown_ == 0) return;
    err_ << '\r' << std::string(shown_, ' ') << '\r' << std::flush;
    shown_ = 0;
}

}  // namespace quillon
