#include "gui/source_selection.h"

#include <set>

#include <gtest/gtest.h>

#include "gui/help.h"
#include "gui/options_page.h"

namespace quillon {
namespace {

using Names = std::vector<std::string>;

TEST(FilesModeSelection, OneFullPathGivesItsFolderAndName) {
    const SourceSelection selection = filesModeSelection("/home/fax/a.fxd");
    EXPECT_EQ(selection.folder, "/home/fax");
    EXPECT_EQ(selection.names, Names{"a.fxd"});
}

TEST(FilesModeSelection, FolderFollowedByNames) {
    const SourceSelection selection = filesModeSelection("/home/fax a.fxd b.fxd");
    EXPECT_EQ(selection.folder, "/home/fax");
    EXPECT_EQ(selection.names, (Names{"a.fxd", "b.fxd"}));
}

TEST(FilesModeSelection, TwoBlanksInARowEndTheList) {
    EXPECT_EQ(filesModeSelection("/fax a.fxd  b.fxd").names, Names{"a.fxd"});
    EXPECT_EQ(filesModeSelection("/fax a.fxd ").names, Names{"a.fxd"});
}

TEST(FilesModeSelection, FolderWithABlankIsCutAtTheBlank) {
    const SourceSelection selection = filesModeSelection("/my fax/a.fxd");
    EXPECT_EQ(selection.folder, "/my");
    EXPECT_EQ(selection.names, Names{"fax/a.fxd"});
}

TEST(FilesModeSelection, LeadingBlankOrNoFolderIsOnePath) {
    EXPECT_EQ(filesModeSelection(" a/b.fxd").folder, " a");
    const SourceSelection bare = filesModeSelection("a.fxd");
    EXPECT_EQ(bare.folder, "");
    EXPECT_EQ(bare.names, Names{"a.fxd"});
    EXPECT_EQ(filesModeSelection("").folder, "");
}

TEST(SourceFolder, FolderModeTakesTheTextAsItIs) {
    EXPECT_EQ(sourceFolderOf("/fax a.fxd", false), "/fax a.fxd");
    EXPECT_EQ(sourceFolderOf("/fax a.fxd", true), "/fax");
}

TEST(SourceTextForFiles, OneFileIsItsPathSeveralShareTheirFolder) {
    EXPECT_EQ(sourceTextForFiles({"/fax/in/a.fxd"}), "/fax/in/a.fxd");
    EXPECT_EQ(sourceTextForFiles({"/fax/in/a.fxd", "/fax/in/b.fxm", "/fax/in/c"}), "/fax/in a.fxd b.fxm c");
    // The text the picker forms is read back into the same files.
    const SourceSelection back = filesModeSelection(sourceTextForFiles({"/f/a.fxd", "/f/b.fxd"}));
    EXPECT_EQ(back.folder, "/f");
    EXPECT_EQ(back.names, (Names{"a.fxd", "b.fxd"}));
}

TEST(SourceForPaths, FirstExistingPathDecidesTheMode) {
    const auto kindOf = [](const std::string& path) {
        if (path.ends_with(".fxd") || path.ends_with(".FXS")) return PathKind::file;
        return path.starts_with("/gone") ? PathKind::missing : PathKind::folder;
    };
    const auto folder = sourceForPaths({"/gone/x.tif", "/fax/in", "/fax/a.fxd"}, kindOf);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->text, "/fax/in");
    EXPECT_FALSE(folder->filesMode);

    // Files of other folders and folders after a file are not taken; the
    // text reads back into the files of the first file's folder.
    const auto files = sourceForPaths({"/fax/a.fxd", "/fax/in", "/other/c.fxd", "/fax/B.FXS"}, kindOf);
    ASSERT_TRUE(files);
    EXPECT_TRUE(files->filesMode);
    EXPECT_EQ(files->text, "/fax a.fxd B.FXS");
    EXPECT_EQ(filesModeSelection(files->text).names, (Names{"a.fxd", "B.FXS"}));
    const auto one = sourceForPaths({"/fax/a.fxd"}, kindOf);
    EXPECT_EQ(one->text, "/fax/a.fxd");
    EXPECT_TRUE(one->filesMode);
}

TEST(SourceForPaths, PathsWithABlankOrMissingGiveNothing) {
    const auto kindOf = [](const std::string& path) {
        return path.starts_with("/gone") ? PathKind::missing : PathKind::file;
    };
    EXPECT_FALSE(sourceForPaths({}, kindOf));
    EXPECT_FALSE(sourceForPaths({"/gone/a.fxd"}, kindOf));
    EXPECT_FALSE(sourceForPaths({"/my fax/a.fxd", "/fax/my a.fxd"}, kindOf));
    EXPECT_EQ(sourceForPaths({"/fax/my a.fxd", "/fax/b.fxd"}, kindOf)->text, "/fax/b.fxd");
}

TEST(HelpDocument, ChmBesideTheProgramComesFirst) {
    auto exists = [](const std::set<std::string>& present) {
        return [present](const std::string& path) { return present.count(path) > 0; };
    };
    const std::string manual = std::string("/opt/q/bin/") + kInstalledManual;
    EXPECT_EQ(helpDocument("/opt/q/bin/quillon", exists({"/opt/q/bin/quillon.chm", manual})),
              "/opt/q/bin/quillon.chm");
    EXPECT_EQ(helpDocument("/tools/quillon.exe", exists({"/tools/quillon.chm"})), "/tools/quillon.chm");
    EXPECT_EQ(helpDocument("/opt/q/bin/quillon", exists({manual})), manual);
    EXPECT_EQ(helpDocument("/opt/q/bin/quillon", exists({})), std::nullopt);
    EXPECT_EQ(helpDocument("", exists({".chm"})), std::nullopt);
}

TEST(HelpDocument, DotInAFolderNameIsNoExtension) {
    std::string asked;
    helpDocument("/opt/q.1/quillon", [&](const std::string& path) {
        if (asked.empty()) asked = path;
        return false;
    });
    EXPECT_EQ(asked, "/opt/q.1/quillon.chm");
}

TEST(ParseMinutes, SignedDecimalNumbersOnly) {
    EXPECT_EQ(parseMinutes("60"), 60);
    EXPECT_EQ(parseMinutes(" -5 "), -5);
    EXPECT_EQ(parseMinutes("+7"), 7);
    EXPECT_EQ(parseMinutes("0"), 0);
    EXPECT_EQ(parseMinutes(""), std::nullopt);
    EXPECT_EQ(parseMinutes("  "), std::nullopt);
    EXPECT_EQ(parseMinutes("5x"), std::nullopt);
    EXPECT_EQ(parseMinutes("ten"), std::nullopt);
    EXPECT_EQ(parseMinutes("99999999999"), std::nullopt);
}

}  // namespace
}  // namespace quillon
