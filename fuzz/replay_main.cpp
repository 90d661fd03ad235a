// Runs kept inputs through a fuzz target's body and oracle, without libFuzzer:
//   quillon_fuzz_replay TARGET FILE-OR-FOLDER...
// A failed oracle aborts after naming the input; 0 when every input passed.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "fuzz_targets.h"

namespace {

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path& path) {
    std::vector<std::filesystem::path> inputs;
    if (std::filesystem::is_directory(path)) {
        for (const auto& entry : std::filesystem::directory_iterator(path))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        std::sort(inputs.begin(), inputs.end());
    } else {
        inputs.push_back(path);
    }
    return inputs;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: quillon_fuzz_replay TARGET FILE-OR-FOLDER...\n");
        return 2;
    }
    const auto targets = quillon::fuzz::fuzzTargets();
    const auto target = std::find_if(targets.begin(), targets.end(),
                                     [&](const quillon::fuzz::FuzzTarget& t) { return t.name == argv[1]; });
    if (target == targets.end()) {
        std::fprintf(stderr, "no fuzz target %s\n", argv[1]);
        return 2;
    }
    std::size_t replayed = 0;
    for (int i = 2; i < argc; ++i) {
        for (const std::filesystem::path& input : inputsIn(argv[i])) {
            std::ifstream in(input, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            if (!in.good() && !in.eof()) {
                std::fprintf(stderr, "cannot read %s\n", input.c_str());
                return 1;
            }
            std::fprintf(stderr, "%s\n", input.c_str());
            target->run(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("%zu inputs replayed through %s\n", replayed, argv[1]);
    return replayed > 0 ? 0 : 1;
}
