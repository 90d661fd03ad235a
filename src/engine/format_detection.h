#pragma once
// The format of an input file, told by its name (and, for "g3f", its first bytes).

#include <string>

namespace quillon {

// Signed code of an input format: 11 WinFax, 16 TIFF, other fax formats 1..18,
// 0 an unknown extension, -2 a file type that is never a fax.
using FaxFormat = int;

constexpr FaxFormat kFormatWinFax = 11;
constexpr FaxFormat kFormatTiff = 16;

FaxFormat detectFormat(const std::string& path);
FaxFormat sniffG3f(const std::string& path);

}  // namespace quillon
