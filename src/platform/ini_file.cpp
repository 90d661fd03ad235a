#include "platform/ini_file.h"

#include <strings.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"

namespace quillon::platform {

namespace {

struct IniText {
    std::vector<std::string> lines;  // without line ends
    bool crlf = false;
};

std::string trim(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

bool sameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

IniText load(const std::string& path) {
    IniText ini;
    std::ifstream in(fileSystemPath(path), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            ini.crlf = true;
        }
        ini.lines.push_back(line);
    }
    return ini;
}

// The section name of a "[name]" line.
std::optional<std::string> sectionName(const std::string& line) {
    const std::string text = trim(line);
    if (text.empty() || text.front() != '[') return std::nullopt;
    const std::size_t close = text.find(']');
    return trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// The key of a "key=value" line, if it is one.
std::optional<std::string> keyName(const std::string& line) {
    const std::string text = trim(line);
    if (text.empty() || text.front() == ';') return std::nullopt;
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return trim(text.substr(0, eq));
}

// Index range [first, end) of the lines of the first section with that name.
std::optional<std::pair<std::size_t, std::size_t>> findSection(const IniText& ini, const std::string& section) {
    for (std::size_t i = 0; i < ini.lines.size(); ++i) {
        const auto name = sectionName(ini.lines[i]);
        if (!name || !sameName(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < ini.lines.size() && !sectionName(ini.lines[end])) ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const IniText& ini, std::pair<std::size_t, std::size_t> range,
                                   const std::string& key) {
    for (std::size_t i = range.first; i < range.second; ++i) {
        const auto name = keyName(ini.lines[i]);
        if (name && sameName(*name, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> lookUp(const std::string& section, const std::string& key, const std::string& path) {
    const IniText ini = load(path);
    const auto range = findSection(ini, section);
    if (!range) return std::nullopt;
    const auto index = findKey(ini, *range, key);
    if (!index) return std::nullopt;
    const std::string& line = ini.lines[*index];
    std::string value = trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

bool save(const IniText& ini, const std::string& path) {
    const std::string temp = siblingTempName(path);
    if (temp.empty()) return false;
    std::FILE* file = openFile(temp, "wb");
    if (!file) return false;
    const char* end = ini.crlf ? "\r\n" : "\n";
    bool ok = true;
    // Whole lines, NUL bytes included: every line not written to stays as it was.
    for (const std::string& line : ini.lines)
        ok = ok && std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fputs(end, file) >= 0;
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && renameFile(temp, path)) return true;
    removeFile(temp);
    return false;
}

}  // namespace

std::string getProfileString(const std::string& section, const std::string& key, const std::string& fallback,
                             const std::string& path, std::size_t maxLength) {
    const std::string value = lookUp(section, key, path).value_or(fallback);
    return value.substr(0, maxLength);
}

int getProfileInt(const std::string& section, const std::string& key, int fallback, const std::string& path) {
    const auto value = lookUp(section, key, path);
    if (!value || value->empty()) return fallback;
    const char* p = value->c_str();
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    int base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    unsigned long long number = 0;
    for (; *p; ++p) {
        const int digit = std::isdigit(static_cast<unsigned char>(*p)) ? *p - '0'
                          : base == 16 && std::isxdigit(static_cast<unsigned char>(*p))
                              ? std::tolower(static_cast<unsigned char>(*p)) - 'a' + 10
                              : -1;
        if (digit < 0) break;
        number = (number * static_cast<unsigned>(base) + static_cast<unsigned>(digit)) & 0xFFFFFFFFull;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0u - number : number);
    return static_cast<int>(bits);
}

bool writeProfileString(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& path) {
    IniText ini = load(path);
    const std::string entry = key + "=" + value;
    if (const auto range = findSection(ini, section)) {
        if (const auto index = findKey(ini, *range, key)) {
            ini.lines[*index] = entry;
        } else {
            std::size_t at = range->second;
            while (at > range->first && trim(ini.lines[at - 1]).empty()) --at;  // keep blank separators after it
            ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
        }
    } else {
        if (!ini.lines.empty() && !trim(ini.lines.back()).empty()) ini.lines.emplace_back();
        ini.lines.push_back("[" + section + "]");
        ini.lines.push_back(entry);
    }
    return save(ini, path);
}

}  // namespace quillon::platform
