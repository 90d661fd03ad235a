#pragma once
// Splitting one folder run over N processes ("/shard=K/N"): each file belongs
// to one shard, chosen by a stable hash of its path relative to the source
// folder, so that N runs on N machines convert every file exactly once
// whatever order or machine they run on.

#include <cstdint>
#include <string_view>

namespace quillon {

struct Shard {
    std::uint32_t index = 1;  // K, 1 to count
    std::uint32_t count = 1;  // N; 1: every file
};

// "K/N" with 1 <= K <= N, decimal digits only; false for anything else.
bool parseShard(std::string_view value, Shard& shard);

// True when the file of this relative path belongs to the shard.
bool inShard(std::string_view relativePath, const Shard& shard);

}  // namespace quillon
