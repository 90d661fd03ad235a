#pragma once
// Lookup tables that decode the T.4 codes, derived at compile time from the
// code tables in codec/t4_codes.h. A code is found by its first 8 bits; codes
// longer than 8 bits continue in a 32-entry table indexed by the next 5 bits
// (the longest code has 13). A first byte of eight zero bits starts an EOL, an
// invalid code or fill, which the decoder resolves by counting the zeros.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "codec/t4_codes.h"

namespace quillon {

enum class CodeKind : std::uint8_t {
    Invalid,   // no code starts with these bits
    Code,      // value is a run length or a mode number
    SubTable,  // value is the index of the second-level table
    ZeroRun,   // eight zero bits: EOL, fill or an invalid code
};

struct CodeEntry {
    std::uint16_t value = 0;
    std::uint8_t length = 8;  // bits the code takes, counted from its first bit
    CodeKind kind = CodeKind::Invalid;
};

inline constexpr int kFirstLevelBits = 8;
inline constexpr int kSecondLevelBits = 5;
inline constexpr int kFirstLevelSize = 1 << kFirstLevelBits;
inline constexpr int kSecondLevelSize = 1 << kSecondLevelBits;
// A zero run of this many bits followed by a one bit is an EOL; 8 to 10 zeros
// followed by a one bit are an invalid code.
inline constexpr int kEolZeroBits = 11;

namespace detail {

using CodeSet = std::span<const t4::Code>;

constexpr int codeLength(const char* bits) {
    int n = 0;
    while (bits[n] != '\0') ++n;
    return n;
}

constexpr std::uint32_t codeValue(const char* bits) {
    std::uint32_t v = 0;
    for (int i = 0; bits[i] != '\0'; ++i) v = v * 2 + std::uint32_t(bits[i] - '0');
    return v;
}

// How many second-level tables the codes need: one per distinct first byte of
// the codes longer than 8 bits.
template <std::size_t N>
constexpr int countSubTables(const std::array<CodeSet, N>& sets) {
    std::array<bool, kFirstLevelSize> used{};
    int count = 0;
    for (const CodeSet set : sets) {
        for (const t4::Code& code : set) {
            const int length = codeLength(code.bits);
            if (length <= kFirstLevelBits) continue;
            const auto prefix = codeValue(code.bits) >> (length - kFirstLevelBits);
            if (!used[prefix]) {
                used[prefix] = true;
                ++count;
            }
        }
    }
    return count;
}

// Fills the entries a code covers; two codes on one entry is a fault in the
// code tables and stops the compilation (a throw in a constant expression).
template <std::size_t Size>
constexpr void place(std::array<CodeEntry, Size>& table, std::size_t first, std::size_t count, CodeEntry entry) {
    for (std::size_t i = first; i < first + count; ++i) {
        if (table[i].kind != CodeKind::Invalid) throw "two T.4 codes share a prefix";
        table[i] = entry;
    }
}

template <int SubTables, std::size_t N>
constexpr auto buildTable(const std::array<CodeSet, N>& sets) {
    std::array<CodeEntry, kFirstLevelSize + SubTables * kSecondLevelSize> table{};
    table[0] = {0, kFirstLevelBits, CodeKind::ZeroRun};
    std::size_t nextSubTable = kFirstLevelSize;
    for (const CodeSet set : sets) {
        for (const t4::Code& code : set) {
            const int length = codeLength(code.bits);
            if (length > kFirstLevelBits + kSecondLevelBits) throw "T.4 code longer than the tables hold";
            const std::uint32_t bits = codeValue(code.bits);
            const CodeEntry entry{code.value, std::uint8_t(length), CodeKind::Code};
            if (length <= kFirstLevelBits) {
                const int free = kFirstLevelBits - length;
                place(table, std::size_t(bits) << free, std::size_t(1) << free, entry);
                continue;
            }
            const int rest = length - kFirstLevelBits;
            const std::uint32_t prefix = bits >> rest;
            if (table[prefix].kind != CodeKind::SubTable) {
                place(table, prefix, 1, {std::uint16_t(nextSubTable), kFirstLevelBits, CodeKind::SubTable});
                nextSubTable += kSecondLevelSize;
            }
            const int free = kSecondLevelBits - rest;
            const std::size_t at = table[prefix].value + ((std::size_t(bits) & ((1u << rest) - 1)) << free);
            place(table, at, std::size_t(1) << free, entry);
        }
    }
    return table;
}

template <std::size_t Size>
constexpr int countInvalid(const std::array<CodeEntry, Size>& table) {
    int n = 0;
    for (const CodeEntry& e : table) n += e.kind == CodeKind::Invalid ? 1 : 0;
    return n;
}

inline constexpr std::array<CodeSet, 3> kWhiteSets{CodeSet(t4::kWhiteTerminating), CodeSet(t4::kWhiteMakeUp),
                                                   CodeSet(t4::kExtendedMakeUp)};
inline constexpr std::array<CodeSet, 3> kBlackSets{CodeSet(t4::kBlackTerminating), CodeSet(t4::kBlackMakeUp),
                                                   CodeSet(t4::kExtendedMakeUp)};
inline constexpr std::array<CodeSet, 1> kModeSets{CodeSet(t4::kModes)};

}  // namespace detail

inline constexpr auto kWhiteTable = detail::buildTable<detail::countSubTables(detail::kWhiteSets)>(detail::kWhiteSets);
inline constexpr auto kBlackTable = detail::buildTable<detail::countSubTables(detail::kBlackSets)>(detail::kBlackSets);
inline constexpr auto kModeTable = detail::buildTable<detail::countSubTables(detail::kModeSets)>(detail::kModeSets);

// The run codes leave no gap: every bit pattern that does not start with eight
// zero bits begins with exactly one code. (A transcription slip in the tables
// shows up here as a gap or, above, as a shared prefix.)
static_assert(detail::countInvalid(kWhiteTable) == 0);
static_assert(detail::countInvalid(kBlackTable) == 0);

}  // namespace quillon
