// Bytes as T.4 1-D, T.4 2-D or T.6 data of a small width, decoded by the
// program's decoder and by libtiff. Where libtiff decodes every row without an
// error or a warning, the program must give the same rows, and libtiff must
// not decode cleanly a row more than the program counts.

#include <tiffio.h>

#include <cstring>
#include <vector>

#include "codec/fax_decoder.h"
#include "fuzz_targets.h"
#include "oracle.h"

namespace quillon::fuzz {

namespace {

enum class Coding { T4OneDimensional = 0, T4TwoDimensional = 1, T6 = 2 };

// Enough rows for any line that fits the inputs the campaigns use, few enough
// to keep libtiff's raster small.
constexpr std::int32_t kMostRows = 4096;

struct Coded {
    const std::uint8_t* data;
    std::int32_t length;
    Coding coding;
    std::uint8_t fillOrder;
    std::int32_t width;
    std::size_t bytesPerRow() const { return std::size_t(width + 7) / 8; }
};

// Decodes with the program's decoder, black as 1 bits (as libtiff gives a
// min-is-white page); counting only when countOnly.
FaxImage decodeHere(const Coded& coded, std::int32_t maxRows, bool countOnly, std::uint32_t& dropped,
                    std::uint32_t& joined) {
    FaxDecoder decoder;
    FaxImage image;
    if (coded.coding == Coding::T6) {
        decoder.initDecoderT6(coded.data, coded.length, coded.fillOrder, 0, 1, 0);
        decoder.setRawStart(true);
    } else {
        const ImageCoding scheme =
            coded.coding == Coding::T4OneDimensional ? ImageCoding::T4OneDimensional : ImageCoding::T4TwoDimensional;
        decoder.initDecoder(coded.data, coded.length, coded.fillOrder, scheme, 1);
    }
    decoder.setGeometry(coded.width, maxRows);
    decoder.setCountOnly(countOnly);
    if (coded.coding == Coding::T6) {
        if (decoder.findT6Start(T6Search::FromFirstByte) == LoadStatus::Loaded) decoder.decodePageT6(image);
    } else {
        decoder.decodePage(image);
    }
    dropped = decoder.droppedLines();
    joined = decoder.joinedRuns();
    return image;
}

// libtiff's decoding of the data as one strip of `rows` rows; empty unless
// every row decoded without an error or a warning.
std::vector<std::uint8_t> decodeWithLibtiff(const Coded& coded, std::uint32_t rows) {
    FaxStrips strips;
    strips.strips = {{coded.data, std::size_t(coded.length)}};
    strips.width = std::uint32_t(coded.width);
    strips.rows = strips.rowsPerStrip = rows;
    strips.fillOrder = coded.fillOrder;
    strips.compression = coded.coding == Coding::T6 ? COMPRESSION_CCITTFAX4 : COMPRESSION_CCITTFAX3;
    strips.group3Options = coded.coding == Coding::T4TwoDimensional ? GROUP3OPT_2DENCODING : 0;
    return fuzz::decodeWithLibtiff(strips);
}

// libtiff reads the bits missing at the end of the data as 0 bits, without a
// warning, so a row it finishes there may rest on bits the data do not hold
// (three bits 010 end in a white run of 11). Its rows count only when they
// decode the same with one bits after the data.
std::vector<std::uint8_t> decodeWithinData(const Coded& coded, std::uint32_t rows) {
    std::vector<std::uint8_t> pixels = decodeWithLibtiff(coded, rows);
    if (pixels.empty()) return pixels;
    std::vector<std::uint8_t> longer(coded.data, coded.data + coded.length);
    longer.insert(longer.end(), 4, 0xFF);
    Coded padded = coded;
    padded.data = longer.data();
    padded.length = std::int32_t(longer.size());
    if (decodeWithLibtiff(padded, rows) != pixels) pixels.clear();
    return pixels;
}

int bitAt(const Coded& coded, std::size_t position) {
    const std::uint8_t byte = coded.data[position / 8];
    return (coded.fillOrder == 1 ? byte >> (7 - position % 8) : byte >> (position % 8)) & 1;
}

// The first EOL (at least 11 zero bits, then a 1 bit) of the data, in
// decoding order: where it ends (0 when there is none) and whether its 1 bit
// is the first of the data.
struct FirstEol {
    std::size_t end = 0;
    bool startsData = false;
};
FirstEol firstEol(const Coded& coded) {
    const std::size_t bits = std::size_t(coded.length) * 8;
    std::size_t zeros = 0;
    bool seenOne = false;
    for (std::size_t position = 0; position < bits; ++position) {
        if (bitAt(coded, position) == 0) {
            ++zeros;
            continue;
        }
        if (zeros >= 11) return {position + 1, !seenOne};
        seenOne = true;
        zeros = 0;
    }
    return {};
}

// Where libtiff and the program read the same T.4 data differently by design,
// the data cannot be compared:
// - libtiff looks for an EOL before every row and skips whatever stands in
//   front of it without a warning: the first "line" of data that do not
//   begin with an EOL, and bits that follow a line which reached the width
//   (the program drops such a line and counts it);
// - libtiff decodes the line after the first EOL whatever its tag bit, a
//   two-dimensional one against a white line, while the program starts a
//   two-dimensional page at the first EOL whose tag bit is 1.
// And in two-dimensional data, libtiff keeps a zero-length run inside a line
// as two changing elements of the next line's reference, where by T.4 there
// is none (no change of colour); the program joins such runs.
bool readDifferently(const Coded& coded, std::uint32_t dropped, std::uint32_t joined) {
    if (coded.coding != Coding::T4OneDimensional && joined > 0) return true;
    if (coded.coding == Coding::T6) return false;
    if (dropped > 0) return true;
    const FirstEol eol = firstEol(coded);
    if (coded.coding == Coding::T4OneDimensional) return !eol.startsData;
    return eol.end == 0 || eol.end >= std::size_t(coded.length) * 8 || bitAt(coded, eol.end) == 0;
}

}  // namespace

int decoderAgainstLibtiff(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 3;
    if (size <= kHeader || size > (1u << 20)) return 0;
    const Coded coded{data + kHeader, std::int32_t(size - kHeader), Coding(data[0] % 128 % 3),
                      std::uint8_t(data[0] & 0x80 ? 2 : 1), 1 + ((data[1] | data[2] << 8) & 0x7FF)};

    std::uint32_t dropped = 0, joined = 0;
    const std::uint32_t counted = decodeHere(coded, kMostRows, true, dropped, joined).rows;
    if (readDifferently(coded, dropped, joined)) return 0;
    if (counted < std::uint32_t(kMostRows))
        expect(decodeWithinData(coded, counted + 1).empty(),
               "libtiff decodes " + std::to_string(counted + 1) + " rows, the decoder counts " + std::to_string(counted));
    if (counted == 0) return 0;
    const std::vector<std::uint8_t> expected = decodeWithinData(coded, counted);
    if (expected.empty()) return 0;
    const FaxImage image = decodeHere(coded, std::int32_t(counted), false, dropped, joined);
    expect(image.rows == counted, "the decoder keeps " + std::to_string(image.rows) + " rows and counts " +
                                      std::to_string(counted));
    expect(image.bytesPerRow == coded.bytesPerRow(), "rows of another size");
    for (std::uint32_t row = 0; row < counted; ++row)
        expect(std::memcmp(image.row(row), expected.data() + row * coded.bytesPerRow(), coded.bytesPerRow()) == 0,
               "row " + std::to_string(row) + " differs from libtiff's");
    return 0;
}

}  // namespace quillon::fuzz
