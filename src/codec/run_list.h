#pragma once
// The run lengths of one line, first run white (possibly 0). The decoder of a
// line appends to it. Storage holds two entries more than capacity: a line
// used as reference gets two zero runs behind its last (codec/reference_line.h).

#include <algorithm>
#include <cstdint>

namespace quillon {

struct RunList {
    std::uint32_t* runs = nullptr;  // storage, not owned; nullptr records nothing
    std::uint32_t capacity = 0;
    std::uint32_t count = 0;

    // A zero-length run after the first is no change of colour: the run
    // before it goes on with the next one. Kept apart, such runs could fill
    // the list and push the line's later runs out of it.
    bool joinNext = false;
    std::uint32_t joined = 0;  // zero-length runs joined since the list was set up

    void clear() {
        count = 0;
        joinNext = false;
    }
    // The reference line of a page's first T.6 line: one white run of width.
    void setAllWhite(std::uint32_t width) {
        clear();
        if (capacity > 0) runs[count++] = width;
    }
};

// Appends runs to a RunList in a line decoder's inner loop: only a write
// pointer and its limit change in the common case, so both stay in
// registers. A pending join closes the limit, which sends the next run the
// slow way. finish() hands the state back to the list.
class RunAppender {
public:
    explicit RunAppender(RunList& list)
        : list_(list),
          out_(list.runs + list.count),
          room_(list.runs + list.capacity),
          end_(list.joinNext ? out_ : room_),
          joinNext_(list.joinNext) {}

    [[gnu::always_inline]] void append(std::int64_t run) { append(std::uint32_t(run < 0xFFFFFFFF ? run : 0xFFFFFFFF)); }
    [[gnu::always_inline]] void append(std::uint32_t run) {
        if (run != 0 && out_ < end_) [[likely]] {
            *out_++ = run;
            return;
        }
        if (joinNext_) {
            out_[-1] += std::min<std::uint32_t>(run, 0xFFFFFFFFu - out_[-1]);
            joinNext_ = false;
            end_ = room_;
        } else if (run == 0 && out_ != list_.runs) {
            joinNext_ = true;
            ++list_.joined;
            end_ = out_;
        } else if (out_ < room_) {
            *out_++ = run;
        }
    }
    std::uint32_t count() const { return std::uint32_t(out_ - list_.runs); }
    void clear() {
        out_ = list_.runs;
        end_ = room_;
        joinNext_ = false;
    }
    void finish() {
        list_.count = count();
        list_.joinNext = joinNext_;
    }

private:
    RunList& list_;
    std::uint32_t* out_;
    std::uint32_t* room_;
    std::uint32_t* end_;
    bool joinNext_;
};

}  // namespace quillon
