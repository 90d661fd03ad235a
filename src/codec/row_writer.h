#pragma once
// Writes runs of pixels into one bitmap row, leftmost pixel in the most
// significant bit. Pixels at or past the width are never touched, so the pad
// bits of the last byte stay 0.

#include <cstdint>

namespace quillon {

struct RowWriter {
    std::uint8_t* row = nullptr;
    std::uint32_t width = 0;     // pixels the row can hold
    std::uint32_t position = 0;  // next pixel; may pass the width, nothing is written there

    void start(std::uint8_t* rowBytes, std::uint32_t rowWidth) {
        row = rowBytes;
        width = rowWidth;
        position = 0;
    }
};

// Writes a run of length pixels at the writer's position: set to 1 when clear
// is false, only skipped otherwise. Returns 0, or -1 when part of the run fell
// past the width (the part that fits is still written).
int putRun(RowWriter& writer, std::uint32_t length, bool clear);

}  // namespace quillon
