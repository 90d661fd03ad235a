#include "run/plan/stable_hash.h"

#include "platform/paths.h"

namespace quillon {

std::uint64_t mixedBits(std::uint64_t value) {
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ull;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebull;
    return value ^ (value >> 31);
}

// FNV's low bits alone spread names that differ in one digit unevenly over
// a few shards: the finaliser mixes them.
std::uint64_t stableHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(platform::isPathSeparator(c) ? '/' : c);
        hash *= 1099511628211ull;
    }
    return mixedBits(hash);
}

}  // namespace quillon
