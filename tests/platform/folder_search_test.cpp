#include "platform/folder_search.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/wildcard.h"
#include "support/temp_dir.h"

namespace quillon::platform {
namespace {

TEST(Wildcard, MatchesLikeTheWindowsFileSearch) {
    EXPECT_TRUE(wildcardMatch("*.*", "README"));
    EXPECT_TRUE(wildcardMatch("*.*", "a.fxd"));
    EXPECT_TRUE(wildcardMatch("*.fxd", "A.FXD"));
    EXPECT_TRUE(wildcardMatch("*.fxd", "archive.2009.fxd"));
    EXPECT_FALSE(wildcardMatch("*.fxd", "a.fxm"));
    EXPECT_FALSE(wildcardMatch("*.fxd", "archive"));
    EXPECT_TRUE(wildcardMatch("fax??.fx?", "Fax01.fxs"));
    EXPECT_FALSE(wildcardMatch("fax??.fx?", "Fax1.fxs"));
    EXPECT_TRUE(wildcardMatch("*", ""));
    EXPECT_FALSE(wildcardMatch("?", ""));
    EXPECT_TRUE(wildcardMatch("a*b*c", "aXXbYYbZZc"));
    EXPECT_FALSE(wildcardMatch("a*b*c", "aXXbYYbZZ"));
    // Many stars against a long name must not take exponential time.
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*a*a*b", std::string(5000, 'a')));
}

TEST(FolderSearch, ListsMatchingEntriesSortedAndNeverFollowsFolderLinks) {
    test::TempDir dir;
    test::writeFile(dir / "b.FXD", "x");
    test::writeFile(dir / "a.fxd", "x");
    test::writeFile(dir / "c.txt", "x");
    std::filesystem::create_directory(dir / "sub.fxd");
    std::filesystem::create_directory(dir / "archive");
    std::filesystem::create_directory_symlink(dir.path(), dir / "loop.fxd");

    const auto all = searchFolder(dir.str(), "*.fxd").value();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].name, "a.fxd");
    EXPECT_EQ(all[1].name, "b.FXD");
    EXPECT_EQ(all[2].name, "loop.fxd");
    EXPECT_FALSE(all[2].isFolder) << "a link to a folder is not walked into";
    EXPECT_EQ(all[3].name, "sub.fxd");
    EXPECT_TRUE(all[3].isFolder);

    EXPECT_FALSE(searchFolder((dir / "missing").string(), "*.*").has_value());
    EXPECT_FALSE(searchFolder((dir / "a.fxd").string(), "*.*").has_value()) << "a file is not a folder";
}

TEST(FolderSearch, UnreadableFolderGivesNothing) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    test::TempDir dir;
    std::filesystem::create_directory(dir / "locked");
    test::writeFile(dir / "locked" / "a.fxd", "x");
    std::filesystem::permissions(dir / "locked", std::filesystem::perms::none);
    EXPECT_FALSE(searchFolder((dir / "locked").string(), "*.*").has_value());
}

}  // namespace
}  // namespace quillon::platform
