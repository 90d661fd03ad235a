#pragma once
// The progress line of a folder run on a terminal: files done of all,
// pages, the file being converted, the time so far and an estimate of the
// time left, redrawn in place on standard error. It is drawn only when asked
// for (a terminal, not quiet), and cleared before anything else is printed.
// Workers call it from their threads: every call takes its turn.

#include <chrono>
#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>

namespace quillon {

class TerminalProgress {
public:
    TerminalProgress(std::ostream& err, bool drawn, std::size_t files, int columns);

    // Redrawn at most every tenth of a second: a terminal would slow a run of
    // small files down.
    void fileStarted(const std::string& source);
    void fileDone(std::size_t pages);
    // A page's text was recognised (seconds of work each, so counted as they go).
    void pageRecognized();
    // Prints lines (each ending in a newline) where the progress line stood,
    // and draws it again below them.
    void print(const std::string& lines);
    // Removes the line, so that other output starts on an empty line.
    void clear();

private:
    std::string line() const;
    void redraw();
    void redrawNowAndThen();
    void erase();

    std::ostream& err_;
    bool drawn_;
    std::size_t files_;
    std::size_t columns_;
    std::size_t done_ = 0;
    std::size_t pages_ = 0;
    std::size_t recognizedPages_ = 0;
    std::string current_;
    std::size_t shown_ = 0;  // characters of the line on the terminal
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point drawnAt_{};
    std::mutex turn_;
};

}  // namespace quillon
