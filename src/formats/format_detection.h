#pragma once
// The format of an input file, told by its name (and, for "g3f", its first bytes).

#include <cstdint>
#include <span>
#include <string>

namespace quillon {

// The fax formats a name can stand for, with the numbers they have always
// had (kept for anyone who logged them).
enum class FaxFormat : int {
    NeverFax = -2,  // a file type that is never a fax (.txt, .zip, .dll, ...)
    Unknown = 0,
    Apf = 1,
    Awd = 3,
    Bfx = 4,
    Bmp = 5,
    Cals = 6,
    Dcx = 7,
    Ds = 8,
    Ed = 9,
    Fmf = 10,
    WinFax = 11,
    Digifax = 12,  // "g3f" behind a "PC Research, Inc" header
    Ig4 = 13,
    Qfx = 14,
    Tiff = 16,
    RawG3 = 17,  // "g3n", and "g3f" that starts like a little-endian TIFF
    Orv = 18,
};

// The format a name stands for. For a ".g3f" name the first bytes of the
// file decide (head: as many as it holds, or all of it); without them it is
// Unknown.
FaxFormat detectFormat(const std::string& name, std::span<const std::uint8_t> head = {});
// The format a file is read as: detectFormat's, except that a ".g3f" file
// without a Digifax header, which detection leaves unknown, holds raw Group
// 3 data.
FaxFormat inputFormat(const std::string& name, std::span<const std::uint8_t> head = {});
// inputFormat of a file listed by name (relative to its folder, say) whose
// first bytes are read at path only when they decide: for a folder walk,
// which decides what it lists without reading the files it leaves out.
FaxFormat inputFormatAt(const std::string& name, const std::string& path);
// The format of a file of this name is told by its first bytes (".g3f").
bool firstBytesDecide(const std::string& name);
// The format's name for people ("TIFF", "raw Group 3", "AWD", ...).
const char* formatName(FaxFormat format);
FaxFormat sniffG3f(std::span<const std::uint8_t> head);
// The bytes start with a TIFF header, either byte order ("II*\0", "MM\0*").
bool startsWithTiffHeader(std::span<const std::uint8_t> bytes);

}  // namespace quillon
