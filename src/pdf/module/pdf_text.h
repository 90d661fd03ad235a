#pragma once
// Texts for the document information and its XMP copy: file names are
// bytes, PDF text strings and XML are Unicode.

#include <cstdint>
#include <string>

namespace quillon {

// text with every byte that is not part of a valid UTF-8 sequence replaced
// by U+FFFD.
std::string validUtf8(const std::string& text);

// UTF-8 text as XML character data: markup characters escaped, and the
// control characters that XML 1.0 does not allow replaced by U+FFFD.
std::string xmlText(const std::string& utf8);

// A time in seconds since 1970 (UTC) as a PDF date, "D:20260131235959Z",
// and as an XMP date, "2026-01-31T23:59:59Z".
std::string pdfDate(std::int64_t seconds);
std::string xmpDate(std::int64_t seconds);

}  // namespace quillon
