#pragma once
// The T.4 codes as the Group 4 encoder writes them, derived at compile time
// from the tables in codec/t4_codes.h: each code's bits in the order they go
// out with fill order 2 (first bit in the least significant bit), so that a
// code is put into the output with one shift and one or.

#include <array>
#include <cstdint>
#include <span>

#include "codec/t4_codes.h"

namespace quillon {

struct OutCode {
    std::uint16_t bits = 0;   // first bit of the code in bit 0
    std::uint8_t length = 0;  // 0: no code
};

// The codes of one colour: terminating codes of runs 0 to 63 and make-up
// codes of 64 to 2560 in steps of 64 (index run / 64 - 1); the extended
// make-up codes from 1792 on are shared by both colours.
struct RunCodes {
    static constexpr std::uint32_t kLongestMakeUp = 2560;
    std::array<OutCode, 64> terminating{};
    std::array<OutCode, kLongestMakeUp / 64> makeUp{};
};

namespace detail {

constexpr OutCode outCode(const char* bits) {
    OutCode code;
    for (; bits[code.length] != '\0'; ++code.length)
        if (bits[code.length] == '1') code.bits = std::uint16_t(code.bits | 1u << code.length);
    return code;
}

constexpr RunCodes runCodes(std::span<const t4::Code> terminating, std::span<const t4::Code> makeUp) {
    RunCodes codes;
    for (const t4::Code& c : terminating) codes.terminating[c.value] = outCode(c.bits);
    for (const t4::Code& c : makeUp) codes.makeUp[c.value / 64 - 1] = outCode(c.bits);
    for (const t4::Code& c : t4::kExtendedMakeUp) codes.makeUp[c.value / 64 - 1] = outCode(c.bits);
    return codes;
}

constexpr bool complete(const RunCodes& codes) {
    for (const OutCode& c : codes.terminating)
        if (c.length == 0 || c.length > 13) return false;
    for (const OutCode& c : codes.makeUp)
        if (c.length == 0 || c.length > 13) return false;
    return true;
}

constexpr std::array<OutCode, 9> modeCodes() {
    std::array<OutCode, 9> codes{};
    for (const t4::Code& c : t4::kModes) codes[c.value] = outCode(c.bits);
    return codes;
}

}  // namespace detail

inline constexpr RunCodes kWhiteOutCodes = detail::runCodes(t4::kWhiteTerminating, t4::kWhiteMakeUp);
inline constexpr RunCodes kBlackOutCodes = detail::runCodes(t4::kBlackTerminating, t4::kBlackMakeUp);
// Indexed by t4::Mode.
inline constexpr std::array<OutCode, 9> kModeOutCodes = detail::modeCodes();
// Eleven 0 bits and a 1; two of them make the EOFB that ends a T.6 strip.
inline constexpr OutCode kEolOutCode = detail::outCode("000000000001");

// Every run from 0 to 2560 has its codes, none longer than the output takes
// in one step; a transcription slip in the tables shows up here.
static_assert(detail::complete(kWhiteOutCodes));
static_assert(detail::complete(kBlackOutCodes));
static_assert(kWhiteOutCodes.makeUp[1728 / 64 - 1].length == 9 && kBlackOutCodes.terminating[0].length == 10);
static_assert(kModeOutCodes[t4::kV0].length == 1 && kModeOutCodes[t4::kV0].bits == 1);
static_assert(kModeOutCodes[t4::kPass].length == 4 && kModeOutCodes[t4::kPass].bits == 0b1000);

}  // namespace quillon
