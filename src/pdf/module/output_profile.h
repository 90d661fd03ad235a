#pragma once
// The ICC profile of the PDF/A output intent, built into the program (so no
// file has to be found at run time): by default the gray profile of Debian's
// icc-profiles-free. Fax pages are black and white images in DeviceGray, which
// a gray profile describes fully at a tenth of an sRGB profile's size.

#include <string_view>

namespace quillon {

std::string_view outputProfile();
// The profile's name, for the output intent's condition.
std::string_view outputProfileName();
// The number of colour components of the profile's colour space (its /N).
int outputProfileComponents();

}  // namespace quillon
