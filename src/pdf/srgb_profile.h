#pragma once
// The sRGB ICC profile of Debian's icc-profiles-free, built into the program
// for the PDF/A output intent (so no file has to be found at run time).

#include <string_view>

namespace quillon {

std::string_view srgbProfile();

}  // namespace quillon
