#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "run/plan/folder_walk.h"
#include "run/plan/run_plan.h"
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

// A folder run's plan hands out the walk's files from its spool: in walk
// order, named as a listed run names them, each named again by its place
// (past several steps of the spool's index), and every one a source.
TEST(PlanFolderRun, HandsOutTheWalkInOrderAndNamesEveryFileAgain) {
    test::TempDir dir;
    for (int i = 0; i < 700; ++i) test::writeFile(dir / ("in/s" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".fxd"), "x");
    test::writeFile(dir / "in/two\nlines.fxm", "x");
    BatchJob job;
    job.source = (dir / "in").string();
    job.destination = (dir / "out").string();
    job.includeSubFolders = true;
    job.outputFormat = OutputFormat::Pdf;
    const std::vector<std::string> walked = walkFolder(job.source, "*.*", true).files;
    ASSERT_EQ(walked.size(), 701u);

    RunPlan plan = planFolderRun(job);
    ASSERT_FALSE(plan.listLost);
    ASSERT_EQ(plan.tasks->count(), walked.size());
    for (std::size_t item = 0; item < walked.size(); ++item) {
        const FileTask task = plan.tasks->next();
        ASSERT_EQ(task.source, job.source + "/" + walked[item]);
        EXPECT_EQ(task.output, folderOutputPath(job.source, walked[item], job.destination, false, false, ".pdf"));
        EXPECT_TRUE(plan.sources.contains(task.source));
    }
    for (const std::size_t item : {0ul, 255ul, 256ul, 511ul, 699ul, 700ul})
        EXPECT_EQ(plan.tasks->sourceOf(item), job.source + "/" + walked[item]);
    EXPECT_EQ(plan.tasks->next().source, "") << "nothing beyond the walk";

    // Another spelling of a source, or a link to it, is a source; a file beside them is not.
    std::filesystem::create_symlink(dir / "in/s1/f1.fxd", dir / "link.fxd");
    test::writeFile(dir / "other.fxd", "x");
    EXPECT_TRUE(plan.sources.contains(job.source + "/./s0//f0.fxd"));
    EXPECT_TRUE(plan.sources.contains((dir / "link.fxd").string()));
    EXPECT_FALSE(plan.sources.contains((dir / "other.fxd").string()));
    EXPECT_FALSE(plan.sources.contains(job.source + "/s0/f1.fxd"));
}

}  // namespace
}  // namespace quillon
