#include "run/plan/shard.h"

#include <charconv>

#include "platform/paths.h"

namespace quillon {

namespace {

// FNV-1a, 64 bits, the same on every machine, compiler and run (std::hash
// is not), with splitmix64's finaliser: FNV's low bits alone spread names
// that differ in one digit unevenly over a few shards. Separators count as
// '/', so that a Windows run ("sub\a.fxd") parts a folder as a Linux run does.
std::uint64_t stableHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(platform::isPathSeparator(c) ? '/' : c);
        hash *= 1099511628211ull;
    }
    hash = (hash ^ (hash >> 30)) * 0xbf58476d1ce4e5b9ull;
    hash = (hash ^ (hash >> 27)) * 0x94d049bb133111ebull;
    return hash ^ (hash >> 31);
}

bool parseWhole(std::string_view text, std::uint32_t& number) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;  // from_chars takes no '+', but '-'
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool parseShard(std::string_view value, Shard& shard) {
    const std::size_t slash = value.find('/');
    if (slash == std::string_view::npos) return false;
    Shard parsed;
    if (!parseWhole(value.substr(0, slash), parsed.index) || !parseWhole(value.substr(slash + 1), parsed.count))
        return false;
    if (parsed.index < 1 || parsed.index > parsed.count) return false;
    shard = parsed;
    return true;
}

bool inShard(std::string_view relativePath, const Shard& shard) {
    return shard.count <= 1 || stableHash(relativePath) % shard.count == shard.index - 1;
}

}  // namespace quillon
