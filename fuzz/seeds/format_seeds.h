#pragma once
// The seeds of the readers of other formats, made from one band of a page.

#include <filesystem>

#include "support/pixel_hash.h"

namespace quillon::fuzz_seeds {

void formatSeeds(const test::Bitmap& band, const std::filesystem::path& out);

}  // namespace quillon::fuzz_seeds
