#include "engine/format_detection.h"

#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string_view>

namespace quillon {

namespace {

struct FormatEntry {
    std::string_view extension;
    FaxFormat format;
};

constexpr FaxFormat kSniffG3f = 1000;  // marks the entry whose result comes from the file's bytes

// First match wins; an entry matches when the extension starts with it.
constexpr FormatEntry kEntries[] = {
    {"tif", 16}, {"tiff", 16},
    {"fmf", 10},
    {"fxd", kFormatWinFax}, {"fxm", kFormatWinFax}, {"fxr", kFormatWinFax}, {"fxs", kFormatWinFax},
    {"awd", 3}, {"apf", 1}, {"bfx", 4}, {"dcx", 7}, {"bmp", 5},
    {"cal", 6}, {"cg4", 6}, {"gp4", 6}, {"img", 6}, {"mil", 6}, {"oda", 6}, {"ras", 6}, {"cals", 6},
    {"ig4", 13}, {"qfx", 14}, {"g3n", 17}, {"g3f", kSniffG3f},
    {"ds", 8}, {"ed", 9}, {"orv", 18},
    {"sys", -2}, {"dll", -2}, {"bat", -2}, {"lnk", -2}, {"txt", -2}, {"zip", -2}, {"rar", -2}, {"db", -2},
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

}  // namespace

FaxFormat detectFormat(const std::string& path) {
    const std::string_view extension = extensionOf(path);
    for (const FormatEntry& entry : kEntries) {
        if (!startsWithNoCase(extension, entry.extension)) continue;
        return entry.format == kSniffG3f ? sniffG3f(path) : entry.format;
    }
    return 0;
}

FaxFormat sniffG3f(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return 0;
    unsigned char head[18] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    (void)got;  // a shorter file leaves the rest zero
    if (head[2] == 0x2A && head[3] == 0) return 17;  // a little-endian TIFF header
    if (std::memcmp(head + 1, "PC Research, Inc", 16) == 0) return 12;
    return 0;
}

}  // namespace quillon
