#pragma once
// What the fuzz targets share: failing an oracle, their scratch folder and
// libtiff's view of a TIFF file.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon::fuzz {

// Prints what the oracle expected and aborts, so that libFuzzer keeps the
// input and the replay driver fails.
[[noreturn]] void oracleFailed(const std::string& what);
inline void expect(bool holds, const std::string& what) {
    if (!holds) oracleFailed(what);
}

// The program's private temporary folder (with its trailing '/'), where the
// targets put their inputs and outputs; made once, removed at exit.
const std::string& scratchFolder();

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size);
std::string readBytes(const std::string& path);

// The number of images libtiff reads from a file one after the other, or -1
// when it cannot open it.
int tiffImageCount(const std::string& path);

}  // namespace quillon::fuzz
