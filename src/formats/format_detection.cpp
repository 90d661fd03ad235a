#include "formats/format_detection.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/files.h"

namespace quillon {

namespace {

// The bytes that tell a ".g3f" file's format: a Digifax header's signature
// ends at byte 17.
constexpr std::size_t kSniffedBytes = 18;

struct FormatEntry {
    std::string_view extension;
    FaxFormat format;
    bool sniffed = false;  // the file's first bytes decide (sniffG3f)
};

using F = FaxFormat;
// First match wins; an entry matches when the extension starts with it.
constexpr FormatEntry kEntries[] = {
    {"tif", F::Tiff}, {"tiff", F::Tiff},
    {"fmf", F::Fmf},
    {"fxd", F::WinFax}, {"fxm", F::WinFax}, {"fxr", F::WinFax}, {"fxs", F::WinFax},
    {"awd", F::Awd}, {"apf", F::Apf}, {"bfx", F::Bfx}, {"dcx", F::Dcx}, {"bmp", F::Bmp},
    {"cal", F::Cals}, {"cg4", F::Cals}, {"gp4", F::Cals}, {"img", F::Cals}, {"mil", F::Cals}, {"oda", F::Cals},
    {"ras", F::Cals}, {"cals", F::Cals},
    {"ig4", F::Ig4}, {"qfx", F::Qfx}, {"g3n", F::RawG3}, {"g3f", F::Unknown, true},
    {"ds", F::Ds}, {"ed", F::Ed}, {"orv", F::Orv},
    {"sys", F::NeverFax}, {"dll", F::NeverFax}, {"bat", F::NeverFax}, {"lnk", F::NeverFax}, {"txt", F::NeverFax},
    {"zip", F::NeverFax}, {"rar", F::NeverFax}, {"db", F::NeverFax},
};

// The text after the last '.' of the whole path; without any '.', the last
// two characters of the path.
std::string_view extensionOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot != std::string_view::npos) return path.substr(dot + 1);
    return path.size() <= 2 ? path : path.substr(path.size() - 2);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

// The first entry the name's extension matches, or none.
const FormatEntry* entryFor(std::string_view name) {
    const std::string_view extension = extensionOf(name);
    for (const FormatEntry& entry : kEntries)
        if (startsWithNoCase(extension, entry.extension)) return &entry;
    return nullptr;
}

}  // namespace

FaxFormat detectFormat(const std::string& name, std::span<const std::uint8_t> head) {
    const FormatEntry* entry = entryFor(name);
    if (!entry) return FaxFormat::Unknown;
    return entry->sniffed ? sniffG3f(head) : entry->format;
}

FaxFormat inputFormat(const std::string& name, std::span<const std::uint8_t> head) {
    const FaxFormat format = detectFormat(name, head);
    if (format != FaxFormat::Unknown) return format;
    return startsWithNoCase(extensionOf(name), "g3f") ? FaxFormat::RawG3 : format;
}

FaxFormat inputFormatAt(const std::string& name, const std::string& path) {
    if (!firstBytesDecide(name)) return inputFormat(name);
    std::uint8_t head[kSniffedBytes] = {};
    const std::size_t got = platform::readFileStart(path, head, sizeof head);
    return inputFormat(name, std::span<const std::uint8_t>(head, got));
}

bool firstBytesDecide(const std::string& name) {
    const FormatEntry* entry = entryFor(name);
    return entry && entry->sniffed;
}

const char* formatName(FaxFormat format) {
    switch (format) {
        case F::NeverFax: return "no fax";
        case F::Unknown: break;
        case F::Apf: return "APF";
        case F::Awd: return "AWD";
        case F::Bfx: return "BFX";
        case F::Bmp: return "BMP";
        case F::Cals: return "CALS";
        case F::Dcx: return "DCX";
        case F::Ds: return "DS";
        case F::Ed: return "ED";
        case F::Fmf: return "FMF";
        case F::WinFax: return "WinFax";
        case F::Digifax: return "Digifax";
        case F::Ig4: return "IG4";
        case F::Qfx: return "QFX";
        case F::Tiff: return "TIFF";
        case F::RawG3: return "raw Group 3";
        case F::Orv: return "ORV";
    }
    return "unknown";
}

bool startsWithTiffHeader(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 &&
           (std::memcmp(bytes.data(), "II*\0", 4) == 0 || std::memcmp(bytes.data(), "MM\0*", 4) == 0);
}

FaxFormat sniffG3f(std::span<const std::uint8_t> bytes) {
    // A shorter file leaves the rest zero.
    std::uint8_t head[kSniffedBytes] = {};
    if (!bytes.empty()) std::memcpy(head, bytes.data(), std::min(bytes.size(), sizeof head));
    if (head[2] == 0x2A && head[3] == 0) return FaxFormat::RawG3;  // a little-endian TIFF header
    if (std::memcmp(head + 1, "PC Research, Inc", 16) == 0) return FaxFormat::Digifax;
    return FaxFormat::Unknown;
}

}  // namespace quillon
