#pragma once
// b1 and b2, the reference changing elements of two-dimensional coding, on a
// reference line held as run lengths (first run white).
//
// b1 is the sum of the runs before `next`. After an odd number of runs the
// line turns black, after an even number white, so a walk that steps two
// runs at a time keeps b1 of the colour it had and needs no colour test.
// The reference must reach the width (the page decoders only keep such
// lines); its storage must have room for two runs behind its last, and for
// three when it is empty. Two zero runs there leave b1 at the line's end when
// a step passes it.

#include <cstdint>

#include "codec/run_list.h"

namespace quillon {

class ReferenceLine {
public:
    // Binds to the runs of a line and places b1 at the end of the first run.
    // An empty line stands for one white run of the width, written into its
    // storage.
    ReferenceLine(RunList& line, std::int64_t width) : width_(width) {
        std::uint32_t* runs = line.runs;
        std::uint32_t count = line.count;
        if (count == 0) {
            runs[0] = std::uint32_t(width);
            count = 1;
        }
        runs[count] = 0;
        runs[count + 1] = 0;
        runs_ = runs;
        last_ = runs + count;
        next_ = runs + 1;
        b1_ = runs[0];
    }

    std::int64_t b1() const { return b1_; }

    // After a changing element coded at a1 (which turns the coding line's
    // colour): b1 becomes the first changing element right of a1 of the
    // colour the line had before a1.
    void passChange(std::int64_t a1) {
        stepOne();
        skipPairs(a1);
    }
    // After a horizontal code left the colour as it was, with a0 now at a0.
    void skipPairs(std::int64_t a0) {
        while (b1_ <= a0 && b1_ < width_) {
            b1_ += std::int64_t(next_[0]) + next_[1];
            next_ += 2;
        }
    }
    // After a vertical code put a1 (at least 0) up to three pixels left or
    // right of b1: b1 becomes the first changing element right of a1 of the
    // colour the line had before a1.
    [[gnu::always_inline]] void verticalChange(std::int64_t a1, int colourAfter) {
        // b1 is the first element of its colour right of a0, and a1 is at
        // least a0. The element before b1 has the colour b1 needs now; it is
        // the answer when it lies right of a1 (a VL code longer than the run
        // before b1, which is rare). Otherwise the element after b1 has the
        // colour too, and pairs on from there find b1. Deciding by that
        // rather than by the side of the code spares a branch that the data
        // would make mispredict.
        if (next_ <= last_ && next_ > runs_) [[likely]] {
            const std::int64_t before = b1_ - next_[-1];
            if (before > a1) [[unlikely]] {
                b1_ = before;
                --next_;
                return;
            }
            b1_ += next_[0];
            ++next_;
            skipPairs(a1);
            return;
        }
        if (a1 >= b1_) {
            passChange(a1);
            return;
        }
        // Behind the line's end the walk lost its colour: back to the last
        // changing element at or left of a1, then on.
        while (b1_ > a1) {
            if (next_ == runs_) {
                b1_ = 0;
                break;
            }
            b1_ -= *--next_;
        }
        // The step back may end on either colour: one run at a time, then
        // one more when b1 turns to the colour after a1.
        while (b1_ < width_ && b1_ <= a1 && next_ < last_) b1_ += *next_++;
        if (int((next_ - runs_) & 1) == colourAfter && next_ < last_) b1_ += *next_++;
        if (b1_ <= a1 && b1_ < width_) b1_ = width_;
    }
    // b2, the changing element after b1, and b1 moved onto it; the width
    // when the line has no further run.
    std::int64_t takeB2() {
        if (next_ >= last_) {
            b1_ = width_;
            return width_;
        }
        b1_ += *next_++;
        return b1_;
    }

private:
    // One run on, no further than the two zero runs behind the line.
    void stepOne() {
        if (next_ < last_ + 2) b1_ += *next_++;
    }

    std::int64_t width_;
    const std::uint32_t* runs_;
    const std::uint32_t* last_;  // behind the last run
    const std::uint32_t* next_;
    std::int64_t b1_;
};

}  // namespace quillon
