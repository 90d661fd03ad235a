#pragma once
// The SHA-256 of a page's pixels in one canonical form that anyone can
// recompute: rows top to bottom, 1 = black, each row padded to whole bytes
// with zero bits, most significant bit first; the raster of a binary PBM
// (P4) file of the page.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/sha256.h"

namespace quillon {

class PageFingerprint {
public:
    explicit PageFingerprint(std::uint32_t width);
    ~PageFingerprint();
    PageFingerprint(const PageFingerprint&) = delete;
    PageFingerprint& operator=(const PageFingerprint&) = delete;

    // The next row from its runs, first white (see LineSink), clipped at the width.
    void line(const std::uint32_t* runs, std::uint32_t count);
    void whiteRow();
    // The next row already in the canonical form: (width + 7) / 8 bytes.
    void packedRow(const std::uint8_t* row);
    // Lowercase hex of the rows so far; the fingerprint is finished then.
    std::string hex();

private:
    std::unique_ptr<Sha256> digest_;
    std::uint32_t width_;
    std::vector<std::uint8_t> row_;
};

// Lowercase hex SHA-256 of a file's bytes, read from its path (an output
// checked again by /verify=); empty when it cannot be read.
std::string fileSha256(const std::string& path);

}  // namespace quillon
