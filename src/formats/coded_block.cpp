#include "formats/coded_block.h"

#include <algorithm>
#include <limits>

#include "codec/fax_decoder.h"

namespace quillon {

namespace {

// Flag bytes T.6 data may carry before a new start; blocks here start with
// their data (raw start), so none are searched.
constexpr std::uint8_t kT6FlagCount = 3;

}  // namespace

BlockLines decodeCodedBlock(const CodedBlock& block, LineSink* lines) {
    BlockLines found;
    if (block.data.empty() || block.width == 0 || block.width > std::uint32_t(kMaxPageWidth) || block.maxRows == 0)
        return found;
    const auto length = static_cast<std::int32_t>(
        std::min<std::size_t>(block.data.size(), std::size_t(std::numeric_limits<std::int32_t>::max())));
    const auto maxRows = static_cast<std::int32_t>(
        std::min<std::uint32_t>(block.maxRows, std::uint32_t(std::numeric_limits<std::int32_t>::max())));
    FaxDecoder decoder;
    FaxImage image;
    if (block.coding == ImageCoding::T6) {
        decoder.initDecoderT6(block.data.data(), length, block.fillOrder, 0, 0, kT6FlagCount);
        decoder.setRawStart(true);
    } else {
        decoder.initDecoder(block.data.data(), length, block.fillOrder, block.coding, 0);
    }
    decoder.setGeometry(static_cast<std::int32_t>(block.width), maxRows);
    // Lines go to the sink; a raster of a hostile size would only cost memory.
    decoder.setCountOnly(true);
    decoder.setLineSink(lines);
    if (block.coding != ImageCoding::T6) decoder.decodePage(image);
    else if (decoder.findT6Start(T6Search::FromFirstByte) == LoadStatus::Loaded) decoder.decodePageT6(image);

    found.kept = std::min<std::uint32_t>(decoder.decodedLines(), block.maxRows);
    found.met = decoder.decodedLines() + decoder.droppedLines();
    found.bad = decoder.droppedLines() + decoder.overlongLines();
    found.goodRows = decoder.goodRows();
    found.endMarked = decoder.sawEndOfBlock();
    return found;
}

}  // namespace quillon
