#include "run/plan/shard.h"

#include <charconv>

#include "run/plan/stable_hash.h"

namespace quillon {

namespace {

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
