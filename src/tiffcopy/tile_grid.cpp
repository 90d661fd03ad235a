#include "tiffcopy/tile_grid.h"

#include <algorithm>
#include <cstring>

#include "tiffcopy/copy_limits.h"

namespace quillon {

bool readTileGrid(TIFF* tif, const PixelLayout& layout, TileGrid& grid) {
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &grid.tileWidth);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &grid.tileLength);
    const std::uint64_t tileRowBytes = TIFFTileRowSize64(tif);
    const std::uint64_t tileBytes = TIFFTileSize64(tif);
    const std::uint64_t tilesAcross =
        grid.tileWidth == 0 ? 0 : (std::uint64_t{layout.width} + grid.tileWidth - 1) / grid.tileWidth;
    if (tileBytes > maxCopyBufferBytes || (tileBytes != 0 && tilesAcross > maxCopyBufferBytes / tileBytes)) {
        TIFFError(TIFFFileName(tif), "Tiles of %u x %u pixels are too large to copy", grid.tileWidth,
                  grid.tileLength);
        return false;
    }
    const std::uint64_t rowBits = std::uint64_t{grid.tileWidth} * layout.bitsPerPlanePixel;
    // Tile rows are padded to whole bytes; joining them makes image rows only
    // when no padding falls between two tiles.
    if (tileBytes == 0 || grid.tileLength == 0 || rowBits % 8 != 0 || rowBits / 8 != tileRowBytes ||
        tileBytes != tileRowBytes * grid.tileLength) {
        reportCannotCopy(tif);
        return false;
    }
    grid.tilesAcross = static_cast<std::uint32_t>(tilesAcross);
    grid.tileRowBytes = static_cast<std::size_t>(tileRowBytes);
    grid.tileBytes = static_cast<std::size_t>(tileBytes);
    return true;
}

void scatterRowToBand(const TileGrid& grid, const PixelLayout& layout, std::uint32_t rowInBand,
                      const std::uint8_t* row, std::uint8_t* band) {
    std::uint8_t* tileRow = band + rowInBand * grid.tileRowBytes;
    for (std::size_t offset = 0; offset < layout.rowBytes; offset += grid.tileRowBytes) {
        std::memcpy(tileRow, row + offset, std::min(grid.tileRowBytes, layout.rowBytes - offset));
        tileRow += grid.tileBytes;
    }
}

void gatherRowFromBand(const TileGrid& grid, const PixelLayout& layout, std::uint32_t rowInBand,
                       const std::uint8_t* band, std::uint8_t* row) {
    const std::uint8_t* tileRow = band + rowInBand * grid.tileRowBytes;
    for (std::size_t offset = 0; offset < layout.rowBytes; offset += grid.tileRowBytes) {
        std::memcpy(row + offset, tileRow, std::min(grid.tileRowBytes, layout.rowBytes - offset));
        tileRow += grid.tileBytes;
    }
}

}  // namespace quillon
