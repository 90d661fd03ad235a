#pragma once
// Reading and writing settings files in the Windows INI format.

#include <string>

#include "platform/export.h"

namespace quillon::platform {

// Settings files in the Windows private-profile format:
//   [Section]
//   Key=Value
// Sections and keys compare without regard to case and the first match wins;
// blanks around keys and values are dropped, as is one pair of quotes around a
// value; lines starting with ';' are comments. A missing file, section or key
// gives the default.

// The value, cut to at most maxLength characters.
QUILLON_EXPORT std::string getProfileString(const std::string& section, const std::string& key, const std::string& fallback,
                             const std::string& path, std::size_t maxLength = std::string::npos);

// The value read as a number: optional blanks and sign, then decimal digits
// (or hexadecimal after "0x"); reading stops at the first other character and a
// value without digits is 0. A missing or empty value gives the default.
QUILLON_EXPORT int getProfileInt(const std::string& section, const std::string& key, int fallback, const std::string& path);

// Sets Key=Value in the section, making the file, the section or the key when
// missing and keeping every other line as it is. The file is replaced in one
// step (a complete new file renamed over the old one), so a crash never leaves
// it half-written. Returns false when the file cannot be written.
QUILLON_EXPORT bool writeProfileString(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& path);

}  // namespace quillon::platform
