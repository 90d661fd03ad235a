// Bytes as a bitmap coded by the program's T.6 encoder, strip by strip, then
// decoded again by the program's decoder and by libtiff: both must give the
// bitmap back, bit for bit.
//   bytes 0-1: width - 1 (little-endian, 11 bits)
//   byte 2: bits 0-6 rows per strip (0: one strip), bit 7 hand the encoder
//           its runs in the unusual forms it must accept: zero-length runs
//           inside a row and a last run reaching past the width
//   the rest: rows of (width + 7) / 8 bytes, 1 = black; pad bits ignored

#include <tiffio.h>

#include <cstring>
#include <vector>

#include "codec/fax_decoder.h"
#include "codec/t6_encoder.h"
#include "fuzz_targets.h"
#include "oracle.h"

namespace quillon::fuzz {

namespace {

constexpr std::size_t kHeader = 3;

bool pixelAt(const std::uint8_t* row, std::uint32_t x) { return (row[x / 8] >> (7 - x % 8)) & 1; }

// The runs of a row, first white (possibly 0), as a decoder records them;
// with oddForms, each black run is preceded by an empty black and white run
// pair and the last run reaches 5 pixels past the width.
std::vector<std::uint32_t> runsOf(const std::uint8_t* row, std::uint32_t width, bool oddForms) {
    std::vector<std::uint32_t> runs;
    bool colour = false;
    std::uint32_t length = 0;
    for (std::uint32_t x = 0; x < width; ++x) {
        if (pixelAt(row, x) == colour) {
            ++length;
            continue;
        }
        runs.push_back(length);
        if (oddForms && !colour) runs.insert(runs.end(), {0, 0});
        colour = !colour;
        length = 1;
    }
    runs.push_back(length + (oddForms ? 5 : 0));
    return runs;
}

// The program's decoding of one strip of `rows` rows (1 = black).
FaxImage decodeStrip(std::span<const std::uint8_t> strip, std::uint32_t width, std::uint32_t rows) {
    FaxDecoder decoder;
    FaxImage image;
    decoder.initDecoderT6(strip.data(), std::int32_t(strip.size()), 2, 0, 1, 0);
    decoder.setRawStart(true);
    decoder.setGeometry(std::int32_t(width), std::int32_t(rows));
    expect(decoder.findT6Start(T6Search::FromFirstByte) == LoadStatus::Loaded &&
               decoder.decodePageT6(image) == PageStatus::Decoded,
           "the decoder refuses a coded strip");
    expect(decoder.droppedLines() == 0 && decoder.overlongLines() == 0 && decoder.sawEndOfBlock(),
           "a coded strip holds bad lines or no EOFB");
    expect(image.rows == rows, "a strip of " + std::to_string(rows) + " rows decodes to " + std::to_string(image.rows));
    return image;
}

}  // namespace

int encodeAndDecode(const std::uint8_t* data, std::size_t size) {
    if (size <= kHeader) return 0;
    const std::uint32_t width = 1 + ((data[0] | data[1] << 8) & 0x7FF);
    const std::uint32_t bytesPerRow = (width + 7) / 8;
    const std::uint32_t rows = std::uint32_t((size - kHeader) / bytesPerRow);
    if (rows == 0) return 0;
    const std::uint32_t rowsPerStrip = (data[2] & 0x7F) ? std::min<std::uint32_t>(data[2] & 0x7F, rows) : rows;
    const bool oddForms = data[2] & 0x80;

    std::vector<std::uint8_t> bitmap(data + kHeader, data + kHeader + std::size_t(rows) * bytesPerRow);
    const unsigned padBits = bytesPerRow * 8 - width;
    for (std::uint32_t row = 0; row < rows; ++row) bitmap[(row + 1) * bytesPerRow - 1] &= std::uint8_t(0xFF << padBits);

    T6Encoder encoder(width);
    std::vector<std::vector<std::uint8_t>> strips;
    for (std::uint32_t row = 0; row < rows; ++row) {
        if (row % rowsPerStrip == 0) encoder.startStrip();
        const std::uint8_t* bits = bitmap.data() + std::size_t(row) * bytesPerRow;
        const std::vector<std::uint32_t> runs = runsOf(bits, width, oddForms);
        if (runs.size() == 1 && !oddForms)
            encoder.encodeWhiteRow();
        else
            encoder.encodeRow(runs.data(), std::uint32_t(runs.size()));
        if ((row + 1) % rowsPerStrip == 0 || row + 1 == rows) {
            const auto strip = encoder.finishStrip();
            strips.emplace_back(strip.begin(), strip.end());
        }
    }

    FaxStrips coded;
    coded.width = width;
    coded.rows = rows;
    coded.rowsPerStrip = rowsPerStrip;
    coded.fillOrder = 2;
    for (std::size_t i = 0; i < strips.size(); ++i) {
        coded.strips.emplace_back(strips[i]);
        const std::uint32_t stripRows = std::min(rowsPerStrip, rows - std::uint32_t(i) * rowsPerStrip);
        const FaxImage image = decodeStrip(strips[i], width, stripRows);
        expect(image.bytesPerRow == bytesPerRow &&
                   std::memcmp(image.bitmap.data(), bitmap.data() + i * rowsPerStrip * bytesPerRow,
                               std::size_t(stripRows) * bytesPerRow) == 0,
               "strip " + std::to_string(i) + " decodes to other pixels than were coded");
    }
    expect(decodeWithLibtiff(coded) == bitmap, "libtiff decodes the coded strips to other pixels");
    return 0;
}

}  // namespace quillon::fuzz
