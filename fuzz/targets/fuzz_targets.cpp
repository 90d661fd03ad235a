#include "fuzz_targets.h"

namespace quillon::fuzz {

std::span<const FuzzTarget> fuzzTargets() {
    static constexpr FuzzTarget kTargets[] = {
        {"file_conversion", fileConversion}, {"decoder", decoderAgainstLibtiff}, {"codec", decoderRobustness},
        {"encoder", encodeAndDecode},        {"ini", iniFile},                   {"command_line", commandLine},
        {"tiff_reader", tiffReader},         {"dcx_reader", dcxReader},          {"g3_reader", g3Reader},
        {"cals_reader", calsReader},         {"bmp_reader", bmpReader},          {"speckle", speckleFilter},
        {"thumbnail", thumbnail},
    };
    return kTargets;
}

}  // namespace quillon::fuzz
