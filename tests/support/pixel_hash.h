#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

// FNV-1a 64 over bytes, the hash that the corpus lists for its pages.
std::uint64_t fnv1a64(const std::uint8_t* data, std::size_t size, std::uint64_t seed = 0xcbf29ce484222325ull);

// A bilevel page as libtiff decodes it: one bit per pixel, 1 = black, rows
// padded to whole bytes with zero bits.
struct Bitmap {
    unsigned width = 0;
    unsigned rows = 0;
    std::vector<std::uint8_t> bits;
    std::size_t bytesPerRow() const { return (width + 7) / 8; }
    std::uint64_t hash() const { return fnv1a64(bits.data(), bits.size()); }
};

// Reads every page of a bilevel TIFF file with libtiff (PhotometricInterpretation
// taken into account, so 1 is always black). Fails the current test on errors.
std::vector<Bitmap> readTiffPages(const std::string& path);

}  // namespace quillon::test
