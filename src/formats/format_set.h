#pragma once
// Which input formats a run converts ("/formats="): WinFax files unless the
// user widens the set, so that a run never takes up files it did not take
// before (the TIFF outputs beside their sources among them).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/format_detection.h"
#include "platform/export.h"

namespace quillon {

class QUILLON_EXPORT InputFormats {
public:
    // WinFax only.
    InputFormats();

    // "all", or names joined by commas from winfax, tiff, dcx, g3, digifax,
    // cals and bmp (in any case); nothing for an empty or unknown name.
    // "all" also takes the fax formats that are not read (AWD, ...), so
    // that a run names each of them as not supported.
    static std::optional<InputFormats> parse(std::string_view list);
    // The names a parse gives back the same set from, as "/formats=" takes them.
    std::string names() const;

    bool takes(FaxFormat format) const;
    bool operator==(const InputFormats&) const = default;

private:
    std::uint32_t bits_ = 0;
};

// The names "/formats=" knows, joined by ", " (for messages).
QUILLON_EXPORT extern const char* const kInputFormatNames;

}  // namespace quillon
