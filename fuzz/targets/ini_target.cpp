// Bytes as an INI file: every key is read, then one entry is written back.
// The file must be replaced whole or not at all: the entry written reads back
// with its value, every other entry keeps its value, every other line stays
// as it was, and no temporary file is left beside it.

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>
#include <utility>
#include <vector>

#include "fuzz_targets.h"
#include "oracle.h"
#include "platform/ini_file.h"

namespace quillon::fuzz {

namespace {

struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }
};
using Entries = std::map<std::pair<std::string, std::string>, std::string>;

std::string trimmed(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    std::size_t begin = 0;
    while (begin < text.size() && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    return text.substr(begin);
}

// The file's lines without their line ends.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Every section and key the file names, with the value the reader gives.
Entries readEveryKey(const std::vector<std::string>& lines, const std::string& path) {
    Entries entries;
    std::string section;
    bool inSection = false;
    for (const std::string& line : lines) {
        const std::string text = trimmed(line);
        if (!text.empty() && text.front() == '[') {
            const std::size_t close = text.find(']');
            section = trimmed(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = true;
        } else if (inSection && !text.empty() && text.front() != ';' && text.find('=') != std::string::npos) {
            const std::string key = trimmed(text.substr(0, text.find('=')));
            entries[{section, key}] = platform::getProfileString(section, key, "\x01missing", path);
            platform::getProfileInt(section, key, 0, path);
        }
    }
    return entries;
}

// A name or value made from the input that the file format can hold: one
// line, no blanks around it, no quotes around a value, no '=' in a key and no
// ']' in a section.
std::string usable(std::string text, const char* refused) {
    for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\0' || std::strchr(refused, c)) c = '_';
    text = trimmed(text);
    if (!text.empty() && (text.front() == '"' || text.front() == '\'' || text.front() == ';' || text.front() == '['))
        text.front() = '_';
    return text.empty() ? "x" : text;
}

// Whether the old lines, but for at most one (the written key's), stand in
// the new ones in their order: some old line j splits them into a part that
// the new lines hold from their start and one they hold up to their end.
bool keepsAllButOne(const std::vector<std::string>& oldLines, const std::vector<std::string>& newLines) {
    const std::size_t n = oldLines.size();
    std::vector<std::size_t> prefixEnd(n + 1, newLines.size() + 1);  // new lines used by old[0, j)
    prefixEnd[0] = 0;
    for (std::size_t j = 0, at = 0; j < n; ++j) {
        while (at < newLines.size() && newLines[at] != oldLines[j]) ++at;
        if (at == newLines.size()) break;
        prefixEnd[j + 1] = ++at;
    }
    std::vector<std::ptrdiff_t> suffixStart(n + 1, -1);  // where old[j, n) can start at the latest
    suffixStart[n] = std::ptrdiff_t(newLines.size());
    for (std::size_t j = n, at = newLines.size(); j > 0; --j) {
        while (at > 0 && newLines[at - 1] != oldLines[j - 1]) --at;
        if (at == 0) break;
        suffixStart[j - 1] = std::ptrdiff_t(--at);
    }
    if (prefixEnd[n] <= newLines.size()) return true;
    for (std::size_t j = 0; j < n; ++j)
        if (prefixEnd[j] <= newLines.size() && suffixStart[j + 1] >= std::ptrdiff_t(prefixEnd[j])) return true;
    return false;
}

}  // namespace

int iniFile(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string path = scratchFolder() + "fuzz.ini";
    writeBytes(path, data + 1, size - 1);
    const std::string before = readBytes(path);
    const std::vector<std::string> oldLines = linesOf(before);
    const Entries entries = readEveryKey(oldLines, path);

    // Byte 0 picks an entry of the file to change, or a new one named after
    // the end of the file; the value always comes from the end of the file.
    const std::string tail = before.substr(before.size() - std::min<std::size_t>(before.size(), 12));
    auto part = [&](std::size_t from, std::size_t length) { return from < tail.size() ? tail.substr(from, length) : ""; };
    std::string section = usable("s" + part(0, 4), "]"), key = usable("k" + part(4, 4), "=");
    const std::string value = usable(part(8, 4), "");
    if (!entries.empty() && data[0] % 2 == 0) {
        auto it = entries.begin();
        std::advance(it, std::ptrdiff_t(data[0] / 2 % entries.size()));
        if (usable(it->first.first, "]") == it->first.first && usable(it->first.second, "=") == it->first.second)
            std::tie(section, key) = it->first;
    }

    if (!platform::writeProfileString(section, key, value, path)) {
        expect(readBytes(path) == before, "a failed write changed the file");
        return 0;
    }
    const std::string written = platform::getProfileString(section, key, "\x01missing", path);
    expect(written == value, "[" + section + "] " + key + " reads back as \"" + written + "\", not \"" + value + "\"");
    const NoCase noCase;
    for (const auto& [name, old] : entries) {
        const bool same = !noCase(name.first, section) && !noCase(section, name.first) && !noCase(name.second, key) &&
                          !noCase(key, name.second);
        if (same) continue;
        expect(platform::getProfileString(name.first, name.second, "\x01missing", path) == old,
               "[" + name.first + "] " + name.second + " lost its value");
    }
    expect(keepsAllButOne(oldLines, linesOf(readBytes(path))), "lines of the file were lost");
    for (const auto& entry : std::filesystem::directory_iterator(scratchFolder()))
        expect(entry.path().string() == path, "left beside the file: " + entry.path().string());
    std::filesystem::remove(path);
    return 0;
}

}  // namespace quillon::fuzz
