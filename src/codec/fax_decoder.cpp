#include "codec/fax_decoder.h"

#include <algorithm>
#include <limits>
#include <new>

#include "codec/code_reader.h"
#include "codec/width_class.h"

namespace quillon {

void FaxDecoder::initDecoder(const std::uint8_t* data, std::int32_t length, std::uint8_t fillOrder,
                             ImageCoding coding, std::uint8_t invert) {
    reader_.setFillOrder(fillOrder);
    reader_.reset(data, length);
    width_ = 0;
    maxRows_ = 0;
    coding_ = coding;
    invert_ = invert;
    mark_ = 0;
    resume_ = 0;
    rawStart_ = false;
    decodedLines_ = 0;
    droppedLines_ = 0;
    overlongLines_ = 0;
    overlongRows_ = 0;
    endOfBlock_ = false;
    options_ = 0;
    flagCount_ = 0;
}

void FaxDecoder::initDecoderT6(const std::uint8_t* data, std::int32_t length, std::uint8_t fillOrder,
                               std::uint8_t options, std::uint8_t invert, std::uint8_t flagCount) {
    initDecoder(data, length, fillOrder, ImageCoding::T6, invert);
    options_ = options;
    flagCount_ = flagCount;
}

void FaxDecoder::setGeometry(std::int32_t width, std::int32_t maxRows) {
    width_ = width;
    maxRows_ = maxRows;
}

PageStatus FaxDecoder::decodePage(FaxImage& image) {
    switch (coding_) {
        case ImageCoding::ModifiedHuffman: return decodePageMH(image, false);
        case ImageCoding::ModifiedHuffmanWord: return decodePageMH(image, true);
        case ImageCoding::T4OneDimensional: return decodePage1D(image);
        case ImageCoding::T4TwoDimensional: return decodePage2D(image);
        default: return PageStatus::Refused;
    }
}

bool FaxDecoder::beginPage(FaxImage& image, ImageCoding coding) {
    decodedLines_ = 0;
    droppedLines_ = 0;
    overlongLines_ = 0;
    overlongRows_ = 0;
    endOfBlock_ = false;
    if (width_ <= 0 || width_ > kMaxPageWidth || maxRows_ < 0) return false;
    bytesPerRow_ = (std::uint32_t(width_) + 7) / 8;
    const WidthClass widthClass = classifyWidth(width_);
    image.width = std::uint32_t(width_);
    image.rows = 0;
    image.bytesPerRow = bytesPerRow_;
    image.sourceLength = std::uint32_t(reader_.length());
    image.xResolution = widthClass.xResolution;
    image.yResolution = 100;
    image.resolutionUnit = 2;
    image.fillOrder = reader_.fillOrder() == 1 ? 1 : 2;
    image.coding = coding;
    image.paperCode = widthClass.paperCode;
    image.invert = invert_;

    // Every line takes at least one bit of data, so a raster taller than the
    // data can fill is never needed: a hostile row count cannot claim memory
    // out of proportion to the data.
    const std::int64_t fillableRows = std::int64_t(reader_.length()) * 8 + 1;
    heldRows_ = countOnly_ ? 0 : std::uint32_t(std::min<std::int64_t>(maxRows_, fillableRows));
    const std::size_t runCapacity = std::size_t(width_) + 2;  // first white run may be 0, last may overshoot
    if (std::size_t(heldRows_) > std::numeric_limits<std::size_t>::max() / bytesPerRow_) return false;
    const std::size_t rasterBytes = std::size_t(heldRows_) * bytesPerRow_;
    // The raster of the previous page is reused when it fits well; lines are
    // drawn into zeroed rows.
    if (image.bitmap.capacity() < rasterBytes || image.bitmap.capacity() / 2 > rasterBytes)
        std::vector<std::uint8_t>().swap(image.bitmap);
    try {
        runStorage_.resize(2 * (runCapacity + 2));
        image.bitmap.assign(rasterBytes, 0);
    } catch (const std::bad_alloc&) {
        std::vector<std::uint8_t>().swap(image.bitmap);
        heldRows_ = 0;
        return false;
    }
    current_ = {runStorage_.data(), std::uint32_t(runCapacity), 0};
    reference_ = {runStorage_.data() + runCapacity + 2, std::uint32_t(runCapacity), 0};
    return true;
}

RunPainter FaxDecoder::painterFor(FaxImage& image, std::uint32_t row) const {
    if (row >= heldRows_) return {};
    return {image.bitmap.data() + std::size_t(row) * bytesPerRow_, std::uint32_t(width_), bytesPerRow_, invert_ ? 1 : 0};
}

void FaxDecoder::keepLine(std::uint32_t row, const RunList& runs) const {
    if (sink_ && row < std::uint32_t(maxRows_)) sink_->line(runs.runs, runs.count);
}

void FaxDecoder::finishPage(FaxImage& image, std::uint32_t goodLines) {
    decodedLines_ = goodLines;
    image.rows = std::min<std::uint32_t>(goodLines, std::uint32_t(maxRows_));
    if (countOnly_) return;
    image.rows = std::min(image.rows, heldRows_);
    image.bitmap.resize(std::size_t(image.rows) * bytesPerRow_);
}

LineResult<int> FaxDecoder::decodeRun(int colour) { return readRun(reader_, colour); }

}  // namespace quillon
