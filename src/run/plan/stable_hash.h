#pragma once
// 64-bit hashes that are the same on every machine, compiler and run
// (std::hash is not): a shard must pick the same files on every machine,
// and a run keeps its sources and outputs as hashes rather than names.

#include <cstdint>
#include <string_view>

namespace quillon {

// FNV-1a over the text with splitmix64's finaliser; separators count as
// '/', so that a Windows name ("sub\a.fxd") hashes as its Linux spelling.
std::uint64_t stableHash(std::string_view text);

// splitmix64's finaliser: every bit of value moves every bit of the hash.
std::uint64_t mixedBits(std::uint64_t value);

}  // namespace quillon
