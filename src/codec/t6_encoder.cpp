#include "codec/t6_encoder.h"

#include <algorithm>
#include <utility>

#include "codec/encode_tables.h"

namespace quillon {

namespace {

// Vertical mode codes by a1 - b1 + 3.
constexpr OutCode kVertical[7] = {kModeOutCodes[t4::kVL3], kModeOutCodes[t4::kVL2], kModeOutCodes[t4::kVL1],
                                  kModeOutCodes[t4::kV0],  kModeOutCodes[t4::kVR1], kModeOutCodes[t4::kVR2],
                                  kModeOutCodes[t4::kVR3]};

// Bits go into a 64-bit word and leave it in 32-bit steps; the caller has
// made room for the row beforehand, so no code checks the buffer.
struct BitOut {
    std::uint8_t* out;
    std::uint64_t pending;
    int bits;

    [[gnu::always_inline]] void put(OutCode code) {
        pending |= std::uint64_t(code.bits) << bits;
        bits += code.length;
        if (bits >= 32) {
            for (int i = 0; i < 4; ++i) *out++ = std::uint8_t(pending >> (8 * i));
            pending >>= 32;
            bits -= 32;
        }
    }
    [[gnu::always_inline]] void putRun(const RunCodes& codes, std::uint32_t run) {
        constexpr std::uint32_t kLongest = RunCodes::kLongestMakeUp;
        for (; run >= kLongest + 64; run -= kLongest) put(codes.makeUp[kLongest / 64 - 1]);
        if (run >= 64) {
            put(codes.makeUp[run / 64 - 1]);
            run %= 64;
        }
        put(codes.terminating[run]);
    }
};

}  // namespace

T6Encoder::T6Encoder(std::uint32_t width)
    : width_(width), lines_(2 * (std::size_t(width) + 3)), current_(lines_.data()),
      reference_(lines_.data() + width + 3) {
    startStrip();
}

void T6Encoder::startStrip() {
    used_ = 0;
    pending_ = 0;
    pendingBits_ = 0;
    std::fill_n(reference_, 3, width_);
    referenceCount_ = 0;
}

std::uint32_t T6Encoder::takeChanges(const std::uint32_t* runs, std::uint32_t count) {
    std::uint64_t x = 0;
    std::uint32_t n = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        x += runs[i];
        if (x >= width_) break;
        // A zero run changes the colour twice at one place: no change at all.
        if (n > 0 && current_[n - 1] == x) --n;
        else current_[n++] = std::uint32_t(x);
    }
    std::fill_n(current_ + n, 3, width_);
    return n;
}

void T6Encoder::encodeRow(const std::uint32_t* runs, std::uint32_t count) { encodeChanges(takeChanges(runs, count)); }

void T6Encoder::encodeWhiteRow() { encodeChanges(takeChanges(nullptr, 0)); }

void T6Encoder::encodeChanges(std::uint32_t changeCount) {
    // Each change costs at most a horizontal code with two run codes (about
    // 30 bits), each reference change at most half a pass code, and the
    // 2560-pixel make-up codes 13 bits each.
    const std::size_t room = 4 * (std::size_t(changeCount) + referenceCount_) + 2 * (width_ / 2560) + 64;
    if (out_.size() < used_ + room) out_.resize(std::max(used_ + room, 2 * out_.size()));
    BitOut bits{out_.data() + used_, pending_, pendingBits_};

    const std::uint32_t* a = current_;
    const std::uint32_t* b = reference_;
    const std::int64_t width = width_;
    std::int64_t a0 = -1;  // the imaginary white pixel before the row
    std::uint32_t colour = 0;
    std::uint32_t i = 0;  // a[i] = a1, the first change after a0
    std::uint32_t k = 0;  // b[k] is the first reference change after a0
    while (a0 < width) {
        while (b[k] <= a0) ++k;
        // b1 changes to the colour opposite a0's: even changes turn black.
        const std::uint32_t j = k + ((k ^ colour) & 1);
        const std::int64_t b1 = b[j], b2 = b[j + 1], a1 = a[i];
        if (b2 < a1) {
            bits.put(kModeOutCodes[t4::kPass]);
            a0 = b2;
        } else if (a1 - b1 >= -3 && a1 - b1 <= 3) {
            bits.put(kVertical[a1 - b1 + 3]);
            a0 = a1;
            colour ^= 1;
            ++i;
        } else {
            const std::int64_t a2 = a[i + 1];
            bits.put(kModeOutCodes[t4::kHorizontal]);
            bits.putRun(colour ? kBlackOutCodes : kWhiteOutCodes, std::uint32_t(a1 - std::max<std::int64_t>(a0, 0)));
            bits.putRun(colour ? kWhiteOutCodes : kBlackOutCodes, std::uint32_t(a2 - a1));
            a0 = a2;
            i += 2;
        }
    }
    used_ = std::size_t(bits.out - out_.data());
    pending_ = bits.pending;
    pendingBits_ = bits.bits;
    std::swap(current_, reference_);
    referenceCount_ = changeCount;
}

std::span<const std::uint8_t> T6Encoder::finishStrip() {
    if (out_.size() < used_ + 16) out_.resize(used_ + 16);
    BitOut bits{out_.data() + used_, pending_, pendingBits_};
    bits.put(kEolOutCode);
    bits.put(kEolOutCode);
    for (; bits.bits > 0; bits.bits -= 8, bits.pending >>= 8) *bits.out++ = std::uint8_t(bits.pending);
    used_ = std::size_t(bits.out - out_.data());
    pending_ = 0;
    pendingBits_ = 0;
    return {out_.data(), used_};
}

}  // namespace quillon
