#pragma once
// The run lengths of one line, first run white (possibly 0). The decoder of a
// line appends to it; as reference line its cursor counts the runs consumed.

#include <algorithm>
#include <cstdint>

namespace quillon {

struct RunList {
    std::uint32_t* runs = nullptr;  // storage, not owned; nullptr records nothing
    std::uint32_t capacity = 0;
    std::uint32_t count = 0;
    std::uint32_t cursor = 0;

    // A zero-length run after the first is no change of colour: the run
    // before it goes on with the next one. Kept apart, such runs could fill
    // the list and push the line's later runs out of it.
    bool joinNext = false;
    std::uint32_t joined = 0;  // zero-length runs joined since the list was set up

    void clear() {
        count = cursor = 0;
        joinNext = false;
    }
    void append(std::uint32_t run) {
        if (joinNext) {
            runs[count - 1] += std::min<std::uint32_t>(run, 0xFFFFFFFFu - runs[count - 1]);
            joinNext = false;
        } else if (run == 0 && count > 0) {
            joinNext = true;
            ++joined;
        } else if (count < capacity) {
            runs[count++] = run;
        }
    }
    // Runs longer than 32 bits can count are kept at the largest length.
    void append(std::int64_t run) { append(std::uint32_t(run < 0xFFFFFFFF ? run : 0xFFFFFFFF)); }
    // The reference line of a page's first T.6 line: one white run of width.
    void setAllWhite(std::uint32_t width) {
        clear();
        append(width);
    }
};

}  // namespace quillon
