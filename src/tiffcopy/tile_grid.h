#pragma once
// The tiles of one image row band: a band is one row of tiles, kept in
// memory tile after tile as libtiff reads and writes them.

#include <cstddef>
#include <cstdint>

#include <tiffio.h>

#include "tiffcopy/pixel_layout.h"

namespace quillon {

struct TileGrid {
    std::uint32_t tileWidth = 0;
    std::uint32_t tileLength = 0;
    std::uint32_t tilesAcross = 0;
    std::size_t tileRowBytes = 0;
    std::size_t tileBytes = 0;

    std::size_t bandBytes() const { return tilesAcross * tileBytes; }
};

// The tile grid of a tiled image with this layout. False (with a message)
// when a tile row does not start on a byte or a band would exceed the copy
// limits.
bool readTileGrid(TIFF* tif, const PixelLayout& layout, TileGrid& grid);

// Copies one image row into row rowInBand of every tile of the band, and back.
void scatterRowToBand(const TileGrid& grid, const PixelLayout& layout, std::uint32_t rowInBand,
                      const std::uint8_t* row, std::uint8_t* band);
void gatherRowFromBand(const TileGrid& grid, const PixelLayout& layout, std::uint32_t rowInBand,
                       const std::uint8_t* band, std::uint8_t* row);

}  // namespace quillon
