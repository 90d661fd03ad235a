#include "tiffcopy/row_sink.h"

#include <cstring>
#include <vector>

#include "tiffcopy/tile_grid.h"

namespace quillon {
namespace {

class StripRowSink final : public RowSink {
public:
    explicit StripRowSink(TIFF* out) : out_(out) {}
    bool writeRow(std::uint32_t row, std::uint16_t plane, std::uint8_t* rowData) override {
        return TIFFWriteScanline(out_, rowData, row, plane) != -1;
    }

private:
    TIFF* out_;
};

// Gathers one band of rows and writes its tiles when the band is full or the
// image ends; the part of a tile beyond the image stays zero.
class TileRowSink final : public RowSink {
public:
    TileRowSink(TIFF* out, const PixelLayout& layout, const TileGrid& grid)
        : out_(out), layout_(layout), grid_(grid), band_(grid.bandBytes()) {}

    bool writeRow(std::uint32_t row, std::uint16_t plane, std::uint8_t* rowData) override {
        const std::uint32_t rowInBand = row % grid_.tileLength;
        if (rowInBand == 0) std::memset(band_.data(), 0, band_.size());
        scatterRowToBand(grid_, layout_, rowInBand, rowData, band_.data());
        const bool bandFull = rowInBand + 1 == grid_.tileLength || row + 1 == layout_.length;
        return !bandFull || writeBand(row - rowInBand, plane);
    }

private:
    bool writeBand(std::uint32_t bandStart, std::uint16_t plane) {
        for (std::uint32_t column = 0; column < grid_.tilesAcross; ++column) {
            const ttile_t tile = TIFFComputeTile(out_, column * grid_.tileWidth, bandStart, 0, plane);
            if (TIFFWriteEncodedTile(out_, tile, band_.data() + column * grid_.tileBytes,
                                     static_cast<tmsize_t>(grid_.tileBytes)) == -1)
                return false;
        }
        return true;
    }

    TIFF* out_;
    PixelLayout layout_;
    TileGrid grid_;
    std::vector<std::uint8_t> band_;
};

}  // namespace

std::unique_ptr<RowSink> makeRowSink(TIFF* out, const PixelLayout& layout) {
    if (!TIFFIsTiled(out)) return std::make_unique<StripRowSink>(out);
    TileGrid grid;
    if (!readTileGrid(out, layout, grid)) return nullptr;
    return std::make_unique<TileRowSink>(out, layout, grid);
}

}  // namespace quillon
