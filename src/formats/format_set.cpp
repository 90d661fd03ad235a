#include "formats/format_set.h"

#include <strings.h>

namespace quillon {

namespace {

struct NamedFormat {
    std::string_view name;
    FaxFormat format;
};

// RawG3 stands for raw Group 3 data, the ".g3n" files and the ".g3f" files
// without a Digifax header.
constexpr NamedFormat kNamed[] = {{"winfax", FaxFormat::WinFax}, {"tiff", FaxFormat::Tiff},
                                  {"dcx", FaxFormat::Dcx},       {"g3", FaxFormat::RawG3},
                                  {"digifax", FaxFormat::Digifax}, {"cals", FaxFormat::Cals},
                                  {"bmp", FaxFormat::Bmp}};

// The fax formats detection names whose layout has no public description.
constexpr FaxFormat kUnread[] = {FaxFormat::Apf, FaxFormat::Awd, FaxFormat::Bfx, FaxFormat::Ds, FaxFormat::Ed,
                                 FaxFormat::Fmf, FaxFormat::Ig4, FaxFormat::Qfx, FaxFormat::Orv};

constexpr std::uint32_t bit(FaxFormat format) { return 1u << static_cast<int>(format); }

constexpr std::uint32_t allBits() {
    std::uint32_t bits = 0;
    for (const NamedFormat& named : kNamed) bits |= bit(named.format);
    for (FaxFormat format : kUnread) bits |= bit(format);
    return bits;
}

}  // namespace

const char* const kInputFormatNames = "all, winfax, tiff, dcx, g3, digifax, cals, bmp";

InputFormats::InputFormats() : bits_(bit(FaxFormat::WinFax)) {}

std::optional<InputFormats> InputFormats::parse(std::string_view list) {
    InputFormats formats;
    formats.bits_ = 0;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        std::uint32_t bits = 0;
        if (name.size() == 3 && strncasecmp(name.data(), "all", 3) == 0) bits = allBits();
        for (const NamedFormat& named : kNamed)
            if (name.size() == named.name.size() && strncasecmp(name.data(), named.name.data(), name.size()) == 0)
                bits = bit(named.format);
        if (bits == 0) return std::nullopt;
        formats.bits_ |= bits;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return formats;
}

std::string InputFormats::names() const {
    if (bits_ == allBits()) return "all";
    std::string names;
    for (const NamedFormat& named : kNamed) {
        if (!(bits_ & bit(named.format))) continue;
        if (!names.empty()) names += ',';
        names += named.name;
    }
    return names;
}

bool InputFormats::takes(FaxFormat format) const {
    const int number = static_cast<int>(format);
    return number > 0 && number < 32 && (bits_ & bit(format)) != 0;
}

}  // namespace quillon
