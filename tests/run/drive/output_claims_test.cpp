#include "run/drive/output_claims.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// Thousands of files, each name taken twice (the second time spelt
// otherwise): the later file is refused and told the earlier one, also
// once the outputs have been merged into the sorted store many times; a
// name whose file wrote nothing stays free.
TEST(OutputClaims, LaterFilesMeetTheOutputsOfEarlierOnesAndTheirSources) {
    OutputClaims claims([](std::size_t ticket) { return "in/" + std::to_string(ticket) + ".fxd"; }, 5000);
    constexpr std::size_t kNames = 2500;
    for (std::size_t file = 0; file < 2 * kNames; ++file) {
        const std::size_t ticket = claims.enter();
        ASSERT_EQ(ticket, file);
        const std::size_t name = file % kNames;
        const std::string path = (file < kNames ? "out/" : "out/./") + std::to_string(name) + ".tif";
        const bool wroteNothing = name % 10 == 3;  // its conversion failed
        const std::optional<EarlierOutput> earlier = claims.claim(ticket, {"out/" + std::to_string(name) + ".txt", path});
        if (file < kNames || wroteNothing) {
            EXPECT_FALSE(earlier) << path;
        } else {
            ASSERT_TRUE(earlier) << path;
            EXPECT_EQ(earlier->path, path);
            EXPECT_EQ(earlier->source, "in/" + std::to_string(name) + ".fxd");
        }
        const bool writes = !earlier && file < kNames && !wroteNothing;
        claims.leave(ticket, writes ? std::vector<std::string>{path} : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace quillon
