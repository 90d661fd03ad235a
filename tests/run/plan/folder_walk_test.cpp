#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "run/plan/folder_walk.h"
#include "support/temp_dir.h"

namespace quillon {
namespace {

TEST(WalkFolder, ListsWinFaxFilesWithTheirSubFolderPartAndNamesUnreadableFolders) {
    test::TempDir dir;
    for (const char* name : {"a.fxd", "b.FXM", "c.txt", "d.tif", "sub/x.fxs", "sub/deeper/y.fxr", "archive/z.fxd"})
        test::writeFile(dir / name, "x");

    EXPECT_EQ(walkFolder(dir.str(), "*.*", false).files, (std::vector<std::string>{"a.fxd", "b.FXM"}));
    EXPECT_EQ(walkFolder(dir.str(), "*.*", true).files,
              (std::vector<std::string>{"a.fxd", "archive/z.fxd", "b.FXM", "sub/deeper/y.fxr", "sub/x.fxs"}));
    // The filter applies to folders too: "archive" does not match *.fxd.
    EXPECT_EQ(walkFolder(dir.str(), "*.fxd", true).files, (std::vector<std::string>{"a.fxd"}));
    // A source given with a trailing '/' still gives paths without a leading '/'.
    EXPECT_EQ(walkFolder(dir.str() + "/", "*.*", false).files, (std::vector<std::string>{"a.fxd", "b.FXM"}));

    // A ".g3f" file's first bytes tell its format: a named pipe of that name
    // gives none and never holds the walk up waiting for a writer (alarm:
    // a walk that waits fails the test instead of hanging it).
    test::writeFile(dir / "raw.g3f", std::string(64, '\0'));
    ASSERT_EQ(mkfifo((dir / "pipe.g3f").c_str(), 0600), 0);
    alarm(30);
    EXPECT_EQ(walkFolder(dir.str(), "*.g3f", false, {}, *InputFormats::parse("g3")).files,
              (std::vector<std::string>{"pipe.g3f", "raw.g3f"}));
    alarm(0);

    const FolderWalk missing = walkFolder("/nonexistent/quillon/folder", "*.*", true);
    EXPECT_TRUE(missing.files.empty());
    EXPECT_EQ(missing.unreadable, (std::vector<std::string>{"/nonexistent/quillon/folder"}));
}

TEST(FolderOutputPath, NamesFollowExtensionAndHierarchyOptions) {
    EXPECT_EQ(folderOutputPath("/in", "sub/b.fxd", "/out", false, true), "/out/sub/b.tif");
    EXPECT_EQ(folderOutputPath("/in", "sub/b.fxd", "/out", false, false), "/out/b.tif");
    EXPECT_EQ(folderOutputPath("/in", "sub/b.fxd", "/out", true, true), "/out/sub/b.fxd.tif");
    EXPECT_EQ(folderOutputPath("/in", "sub/b.fxd", "/out", true, false, ".pdf"), "/out/b.fxd.pdf");
    EXPECT_EQ(folderOutputPath("/in", "sub/b.fxd", "/out", false, true, ".pdf"), "/out/sub/b.pdf");
    EXPECT_EQ(folderOutputPath("/in/", "a.2009.fxd", "/out/", false, false), "/out/a.2009.tif");
    // Only the source folder at the start is replaced, never its text further on.
    EXPECT_EQ(folderOutputPath("in", "invoices/in.fxd", "out", false, true), "out/invoices/in.tif");
}

}  // namespace
}  // namespace quillon
