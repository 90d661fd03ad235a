#include "tiffcopy/row_source.h"

#include <cstring>
#include <vector>

#include "tiffcopy/tile_grid.h"

namespace quillon {
namespace {

class StripRowSource final : public RowSource {
public:
    explicit StripRowSource(TIFF* in) : in_(in) {}
    void readRow(std::uint32_t row, std::uint16_t plane, std::uint8_t* rowData) override {
        TIFFReadScanline(in_, rowData, row, plane);
    }

private:
    TIFF* in_;
};

// Keeps the band of tiles that holds the last row asked for, so that every
// tile is decoded once when rows come in order.
class TileRowSource final : public RowSource {
public:
    TileRowSource(TIFF* in, const PixelLayout& layout, const TileGrid& grid)
        : in_(in), layout_(layout), grid_(grid), band_(grid.bandBytes()) {}

    void readRow(std::uint32_t row, std::uint16_t plane, std::uint8_t* rowData) override {
        const std::uint32_t rowInBand = row % grid_.tileLength;
        const std::uint32_t bandStart = row - rowInBand;
        if (!bandLoaded_ || bandStart != bandStart_ || plane != bandPlane_) loadBand(bandStart, plane);
        gatherRowFromBand(grid_, layout_, rowInBand, band_.data(), rowData);
    }

private:
    void loadBand(std::uint32_t bandStart, std::uint16_t plane) {
        std::memset(band_.data(), 0, band_.size());
        for (std::uint32_t column = 0; column < grid_.tilesAcross; ++column) {
            const ttile_t tile = TIFFComputeTile(in_, column * grid_.tileWidth, bandStart, 0, plane);
            TIFFReadEncodedTile(in_, tile, band_.data() + column * grid_.tileBytes,
                                static_cast<tmsize_t>(grid_.tileBytes));
        }
        bandLoaded_ = true;
        bandStart_ = bandStart;
        bandPlane_ = plane;
    }

    TIFF* in_;
    PixelLayout layout_;
    TileGrid grid_;
    std::vector<std::uint8_t> band_;
    bool bandLoaded_ = false;
    std::uint32_t bandStart_ = 0;
    std::uint16_t bandPlane_ = 0;
};

}  // namespace

std::unique_ptr<RowSource> makeRowSource(TIFF* in, const PixelLayout& layout) {
    if (!TIFFIsTiled(in)) return std::make_unique<StripRowSource>(in);
    TileGrid grid;
    if (!readTileGrid(in, layout, grid)) return nullptr;
    return std::make_unique<TileRowSource>(in, layout, grid);
}

}  // namespace quillon
