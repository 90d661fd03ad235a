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

// The mode codes by their first seven bits, the longest mode code: one byte
// (mode << 3 | length), or 0 where no mode code starts (an EOL, the
// extension code or an invalid code), which the full table resolves.
inline constexpr int kModeBits = 7;
inline constexpr auto kModeLookup = [] {
    std::array<std::uint8_t, 1 << kModeBits> lookup{};
    for (std::size_t i = 0; i < lookup.size(); ++i) {
        const CodeEntry entry = kModeTable[i << (kFirstLevelBits - kModeBits)];
        if (entry.kind == CodeKind::Code && entry.length <= kModeBits)
            lookup[i] = std::uint8_t(entry.value << 3 | entry.length);
    }
    return lookup;
}();
// Every mode code fits: only the prefixes 0000000 and 0000001 are left to the full table.
static_assert(kModeLookup[0] == 0 && kModeLookup[1] == 0);
static_assert(kModeLookup[0x40] == (t4::kV0 << 3 | 1) && kModeLookup[0x7F] == (t4::kV0 << 3 | 1));
static_assert(kModeLookup[0x02] == (t4::kVL3 << 3 | 7) && kModeLookup[0x03] == (t4::kVR3 << 3 | 7));
static_assert([] {
    for (std::size_t i = 2; i < kModeLookup.size(); ++i)
        if (kModeLookup[i] == 0) return false;
    return true;
}());

// The run codes by their first twelve bits, white then black: one 16-bit
// entry (run length << 4 | code length), or 0 where the code is longer or no
// run code starts (eight zero bits), which the two-level tables resolve. One
// lookup finds nearly every run code, where the two-level tables need a
// second for the many black codes longer than eight bits.
inline constexpr int kRunBits = 12;
inline constexpr int kRunLookupSize = 1 << kRunBits;

namespace detail {

template <std::size_t Size>
constexpr CodeEntry lookUp(const std::array<CodeEntry, Size>& table, std::uint32_t first13) {
    const CodeEntry entry = table[first13 >> kSecondLevelBits];
    if (entry.kind != CodeKind::SubTable) return entry;
    return table[entry.value + (first13 & (kSecondLevelSize - 1))];
}

template <std::size_t Size>
constexpr void fillRunLookup(std::array<std::uint16_t, 2 * kRunLookupSize>& lookup, std::size_t offset,
                             const std::array<CodeEntry, Size>& table) {
    for (std::uint32_t i = 0; i < kRunLookupSize; ++i) {
        // The code must end within the twelve bits: both values of a
        // thirteenth bit find it.
        const CodeEntry entry = lookUp(table, i << 1);
        const CodeEntry other = lookUp(table, i << 1 | 1);
        if (entry.kind == CodeKind::Code && entry.length <= kRunBits && other.kind == CodeKind::Code &&
            other.value == entry.value && other.length == entry.length)
            lookup[offset + i] = std::uint16_t(entry.value << 4 | entry.length);
    }
}

}  // namespace detail

inline constexpr auto kRunLookup = [] {
    std::array<std::uint16_t, 2 * kRunLookupSize> lookup{};
    detail::fillRunLookup(lookup, 0, kWhiteTable);
    detail::fillRunLookup(lookup, kRunLookupSize, kBlackTable);
    return lookup;
}();
// White 0 is 00110101, black 0 0000110111, 2560 (both) 000000011111; black
// 512 and 576 (0000001101100 and 0000001101101) differ in the thirteenth bit.
static_assert(kRunLookup[0b00110101'0000] == (0 << 4 | 8) && kRunLookup[0b00110101'1111] == (0 << 4 | 8));
static_assert(kRunLookup[kRunLookupSize + 0b0000110111'00] == (0 << 4 | 10));
static_assert(kRunLookup[0b000000011111] == (2560 << 4 | 12));
static_assert(kRunLookup[kRunLookupSize + 0b000000011111] == (2560 << 4 | 12));
static_assert(kRunLookup[kRunLookupSize + 0b000000110110] == 0);
// Every white code fits in twelve bits: only the prefixes of eight zero bits are left over.
static_assert([] {
    for (int i = 0; i < kRunLookupSize; ++i)
        if ((kRunLookup[i] == 0) != (i < 16)) return false;
    return true;
}());

// The run codes leave no gap: every bit pattern that does not start with eight
// zero bits begins with exactly one code. (A transcription slip in the tables
// shows up here as a gap or, above, as a shared prefix.)
static_assert(detail::countInvalid(kWhiteTable) == 0);
static_assert(detail::countInvalid(kBlackTable) == 0);

}  // namespace quillon
