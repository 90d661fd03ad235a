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

// A walk's outputs, folder by folder: a folder's outputs still count once
// the walk comes back up from a sub-folder, and the same name in another
// folder is another file.
TEST(OutputClaims, TreeOrderKeepsTheOutputsOfTheFoldersStillOpen) {
    OutputClaims claims([](std::size_t ticket) { return "in/" + std::to_string(ticket) + ".fxd"; }, 0,
                        OutputFolders::TreeOrder);
    const struct {
        const char* name;
        std::optional<std::size_t> earlier;  // the ticket that wrote it
    } walk[] = {{"out/a/1.tif", {}},   {"out/a/s/1.tif", {}}, {"out/a/s/t/1.tif", {}}, {"out/a/./1.tif", 0},
                {"out/a/s2/1.tif", {}}, {"out/a//1.tif", 0},   {"out/b/1.tif", {}},     {"out/b/1.tif", 6},
                {"out/1.tif", {}},      {"out/b2/1.tif", {}},  {"out/./1.tif", 8}};
    for (const auto& file : walk) {
        const std::size_t ticket = claims.enter();
        const std::optional<EarlierOutput> earlier = claims.claim(ticket, {file.name});
        ASSERT_EQ(earlier.has_value(), file.earlier.has_value()) << file.name;
        if (earlier) {
            EXPECT_EQ(earlier->source, "in/" + std::to_string(*file.earlier) + ".fxd") << file.name;
        }
        claims.leave(ticket, earlier ? std::vector<std::string>{} : std::vector<std::string>{file.name});
    }
}

}  // namespace
}  // namespace quillon
