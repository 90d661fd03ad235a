// Files written whole or not at all, and folders made with their parents.

#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/folder_path.h"
#include "support/temp_dir.h"

namespace quillon {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(AtomicFile, OnlyACommitReplacesTheOutput) {
    TempDir dir;
    const std::string output = (dir / "a.tif").string();
    writeFile(output, "earlier good output");
    {
        platform::AtomicFile pending(output);
        ASSERT_FALSE(pending.path().empty());
        writeFile(pending.path(), "half");
    }
    EXPECT_EQ(readFile(output), "earlier good output");
    {
        platform::AtomicFile pending(output);
        writeFile(pending.path(), "complete");
        EXPECT_TRUE(pending.commit());
    }
    EXPECT_EQ(readFile(output), "complete");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1u);
}

TEST(MakeFolderPath, MakesMissingLevels) {
    TempDir dir;
    EXPECT_TRUE(platform::makeFolderPath((dir / "a/b/c").string()));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/b/c"));
    writeFile(dir / "file", "x");
    EXPECT_FALSE(platform::makeFolderPath((dir / "file/sub").string()));
}

}  // namespace
}  // namespace quillon
