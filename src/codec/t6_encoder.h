#pragma once
// Codes bilevel rows given as run lengths into T.6 (Group 4) data, bits least
// significant first (TIFF fill order 2), one strip at a time: each strip
// starts against an all-white line and ends with an EOFB, so that it decodes
// on its own as TIFF requires.

#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

class T6Encoder {
public:
    // width: pixels per row, 1 to 65535.
    explicit T6Encoder(std::uint32_t width);

    std::uint32_t width() const { return width_; }
    // Begins a strip; what an earlier strip left unfinished is dropped.
    void startStrip();
    // Codes the next row: runs first white (possibly 0), as a decoder records
    // them; what lies past the width is cut off.
    void encodeRow(const std::uint32_t* runs, std::uint32_t count);
    void encodeWhiteRow();
    // Ends the strip with an EOFB filled to a whole byte and returns its
    // bytes, valid until the next startStrip.
    std::span<const std::uint8_t> finishStrip();

private:
    // The colour changes of a row into current_, then width_ three times as
    // the ends the coding loop may look at; returns the number of changes.
    std::uint32_t takeChanges(const std::uint32_t* runs, std::uint32_t count);
    void encodeChanges(std::uint32_t changeCount);

    std::uint32_t width_;
    std::vector<std::uint32_t> lines_;  // two change lists of width + 3 entries
    std::uint32_t* current_;
    std::uint32_t* reference_;
    std::uint32_t referenceCount_ = 0;
    std::vector<std::uint8_t> out_;
    std::size_t used_ = 0;       // whole bytes written to out_
    std::uint64_t pending_ = 0;  // bits not yet in out_, first bit lowest
    int pendingBits_ = 0;        // fewer than 32 between codes
};

}  // namespace quillon
