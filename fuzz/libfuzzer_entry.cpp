// The libFuzzer entry of one target, named by QUILLON_FUZZ_TARGET.

#include <cstdlib>

#include "fuzz_targets.h"

namespace {

auto* const target = [] {
    for (const quillon::fuzz::FuzzTarget& known : quillon::fuzz::fuzzTargets())
        if (known.name == QUILLON_FUZZ_TARGET) return known.run;
    std::abort();
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { return target(data, size); }
