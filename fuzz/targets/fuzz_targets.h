#pragma once
// The fuzz targets' bodies. Each takes any bytes, runs them through one input
// of the program and checks the result against its oracle; a failed check
// prints what went wrong and aborts, under libFuzzer and in the replay driver
// alike. The first bytes of some inputs choose options, as each target says.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quillon::fuzz {

// Byte 0: bit 0 recount lines, bit 1 one file per page, bit 2 PDF output;
// the rest is the file.
int fileConversion(const std::uint8_t* data, std::size_t size);
// Byte 0: bits 0-6 modulo 3 the coding (0 T.4 1-D, 1 T.4 2-D, 2 T.6), bit 7
// fill order 2;
// bytes 1-2: width - 1 (little-endian, 11 bits); the rest is coded data.
int decoderAgainstLibtiff(const std::uint8_t* data, std::size_t size);
// Bytes 0-1: width - 1, byte 2: strip rows and run forms; the rest is a
// bitmap coded as T.6 and decoded again (see the file).
int encodeAndDecode(const std::uint8_t* data, std::size_t size);
// The page decoders on any scheme, geometry and start search (see the file).
int decoderRobustness(const std::uint8_t* data, std::size_t size);
// The readers of other formats, as fileConversion: byte 0 the options, the
// rest the file (g3: byte 1 bit 0 a .g3f file, for a Digifax header). The
// TIFF target checks the pages written against libtiff's reading.
int tiffReader(const std::uint8_t* data, std::size_t size);
int dcxReader(const std::uint8_t* data, std::size_t size);
int g3Reader(const std::uint8_t* data, std::size_t size);
int calsReader(const std::uint8_t* data, std::size_t size);
int bmpReader(const std::uint8_t* data, std::size_t size);
// Bytes 0-1: width - 1 (little-endian, modulo 512); byte 2 bit 0 set: the
// rest is the rows of the bitmap (1 = white); clear: byte 3 is rows - 1 and
// the page is white but for one black pixel at each place the rest names
// (two bytes of x, one of the row), as line noise scatters them.
int speckleFilter(const std::uint8_t* data, std::size_t size);
// Byte 0: bits 0-2 the file's extension, bits 3-7 the size of the
// thumbnail; the rest is the file, as for fileConversion (whose inputs it
// takes as they are).
int thumbnail(const std::uint8_t* data, std::size_t size);
// Byte 0 chooses the entry written back; the rest is the INI file.
int iniFile(const std::uint8_t* data, std::size_t size);
// Byte 0 even: the rest is one command-line text; odd: pattern, NUL, name.
int commandLine(const std::uint8_t* data, std::size_t size);

struct FuzzTarget {
    std::string_view name;  // also the folder of its seeds, regressions and dictionary
    int (*run)(const std::uint8_t* data, std::size_t size);
};

std::span<const FuzzTarget> fuzzTargets();

}  // namespace quillon::fuzz
