#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace quillon::platform {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// A settings file as a Windows editor leaves it: CR LF line ends, blanks
// around keys and values, comments, a quoted value, mixed case.
const char* kWindowsIni =
    "; written by hand\r\n"
    "[MAIN]\r\n"
    "  FaxDir = C:\\Faxes\\In  \r\n"
    "SaveDir=\"D:\\Out Dir\"\r\n"
    "\r\n"
    "[Options]\r\n"
    "DirFile=1\r\n"
    "subdir = -1\r\n"
    "KeepExt=0x10\r\n"
    "Cyclely=12abc\r\n"
    "CycleMinutes=\r\n"
    "ConvertFlag=xyz\r\n"
    "DirFile=0\r\n"
    "[options]\r\n"
    "Hiberarchy=1\r\n";

TEST(IniFile, ReadsAWindowsStyleFile) {
    TempDir dir;
    const std::string ini = (dir / "quillon.ini").string();
    writeFile(ini, kWindowsIni);

    EXPECT_EQ(getProfileString("Main", "FaxDir", "", ini), "C:\\Faxes\\In");
    EXPECT_EQ(getProfileString("main", "SAVEDIR", "", ini), "D:\\Out Dir");
    EXPECT_EQ(getProfileString("Main", "Missing", "fallback", ini), "fallback");
    EXPECT_EQ(getProfileString("Main", "FaxDir", "", ini, 4), "C:\\F");
    EXPECT_EQ(getProfileString("Nowhere", "FaxDir", "x", ini), "x");

    EXPECT_EQ(getProfileInt("Options", "DirFile", 7, ini), 1) << "the first of two keys wins";
    EXPECT_EQ(getProfileInt("Options", "Subdir", 7, ini), -1);
    EXPECT_EQ(getProfileInt("Options", "KeepExt", 7, ini), 16);
    EXPECT_EQ(getProfileInt("Options", "Cyclely", 7, ini), 12) << "digits up to the first other character";
    EXPECT_EQ(getProfileInt("Options", "CycleMinutes", 60, ini), 60) << "an empty value gives the default";
    EXPECT_EQ(getProfileInt("Options", "ConvertFlag", 7, ini), 0) << "a value without digits is 0";
    EXPECT_EQ(getProfileInt("Options", "Hiberarchy", 7, ini), 7) << "only the first section of a name is read";
    EXPECT_EQ(getProfileInt("Options", "Recaculate", 5, (dir / "missing.ini").string()), 5);
}

TEST(IniFile, WritingKeepsEveryOtherLine) {
    TempDir dir;
    const std::string ini = (dir / "quillon.ini").string();
    writeFile(ini, kWindowsIni);

    ASSERT_TRUE(writeProfileString("Options", "subdir", "1", ini));
    ASSERT_TRUE(writeProfileString("Options", "Recaculate", "1", ini));
    ASSERT_TRUE(writeProfileString("Main", "SaveDir", "/home/u/out", ini));

    const std::string expected =
        "; written by hand\r\n"
        "[MAIN]\r\n"
        "  FaxDir = C:\\Faxes\\In  \r\n"
        "SaveDir=/home/u/out\r\n"
        "\r\n"
        "[Options]\r\n"
        "DirFile=1\r\n"
        "subdir=1\r\n"
        "KeepExt=0x10\r\n"
        "Cyclely=12abc\r\n"
        "CycleMinutes=\r\n"
        "ConvertFlag=xyz\r\n"
        "DirFile=0\r\n"
        "Recaculate=1\r\n"
        "[options]\r\n"
        "Hiberarchy=1\r\n";
    EXPECT_EQ(readFile(ini), expected);
    EXPECT_EQ(getProfileInt("Options", "Recaculate", 0, ini), 1);
}

TEST(IniFile, WritingMakesFileAndSectionsAndReplacesAtomically) {
    TempDir dir;
    const std::string ini = (dir / "new.ini").string();
    ASSERT_TRUE(writeProfileString("Main", "FaxDir", "/in", ini));
    ASSERT_TRUE(writeProfileString("Options", "DirFile", "0", ini));
    ASSERT_TRUE(writeProfileString("Main", "SaveDir", "/out", ini));
    EXPECT_EQ(readFile(ini), "[Main]\nFaxDir=/in\nSaveDir=/out\n\n[Options]\nDirFile=0\n");

    // The file is replaced, not rewritten in place: a reader holding the old
    // file sees it whole, and no temporary file stays behind.
    struct stat before {}, after {};
    ASSERT_EQ(stat(ini.c_str(), &before), 0);
    ASSERT_TRUE(writeProfileString("Main", "FaxDir", "/other", ini));
    ASSERT_EQ(stat(ini.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1u);
}

TEST(IniFile, FileThatCannotBeReplacedReportsFailureAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string ini = (dir / "quillon.ini").string();
    std::filesystem::create_directory(ini);  // a folder where the file should be
    EXPECT_FALSE(writeProfileString("Main", "FaxDir", "/in", ini));
    EXPECT_TRUE(std::filesystem::is_directory(ini));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1u);
    EXPECT_FALSE(writeProfileString("Main", "FaxDir", "/in", (dir / "missing" / "quillon.ini").string()));
}

TEST(IniFile, UnwritableFolderReportsFailureAndKeepsTheFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
    TempDir dir;
    const std::string ini = (dir / "quillon.ini").string();
    writeFile(ini, "[Main]\nFaxDir=/in\n");
    chmod(dir.str().c_str(), 0500);
    EXPECT_FALSE(writeProfileString("Main", "FaxDir", "/changed", ini));
    chmod(dir.str().c_str(), 0700);
    EXPECT_EQ(getProfileString("Main", "FaxDir", "", ini), "/in");
}

}  // namespace
}  // namespace quillon::platform
