#include "fuzz_targets.h"

namespace quillon::fuzz {

std::span<const FuzzTarget> fuzzTargets() {
    static constexpr FuzzTarget kTargets[] = {
        {"file_conversion", fileConversion}, {"decoder", decoderAgainstLibtiff}, {"codec", decoderRobustness},
        {"encoder", encodeAndDecode},        {"ini", iniFile},                   {"command_line", commandLine},
    };
    return kTargets;
}

}  // namespace quillon::fuzz
