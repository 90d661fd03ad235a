// The quillon executable as a user meets it: usage, help, version, errors,
// the log entry and a clean temporary folder afterwards.

#include <gtest/gtest.h>

#include <regex>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace quillon {
namespace {

using test::readFile;
using test::runQuillon;
using test::TempDir;

const char* kUsage =
    "Usage: quillon [/q /l] [/b=0 /v=0] /f=source-file /sf=dest-tif-file\n"
    "or\n"
    "Usage: quillon [/q /l] [/b=0 /v=0] /d=source-folder /sd=dest-folder [/filter=]\n";

TEST(Cli, IncompleteCommandLineWithoutDisplayWritesUsageAndExits2) {
    TempDir home, tmp;
    const auto r = runQuillon({"/d=/tmp/in"}, home.str(), {{"TMPDIR", tmp.str()}});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, kUsage);
    EXPECT_FALSE(r.err.empty()) << "says why no window opens";
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path())) << "nothing left in $TMPDIR";

    const auto none = runQuillon({}, home.str(), {{"TMPDIR", tmp.str()}});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.out.empty());
}

TEST(Cli, EmptySaveFolderIsAnError) {
    TempDir home;
    const auto r = runQuillon({"/sd="}, home.str());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("ERROR Save Folder"), std::string::npos);
}

TEST(Cli, HelpAndVersion) {
    TempDir home;
    for (const char* word : {"--help", "-h"}) {
        const auto r = runQuillon({word}, home.str());
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, kUsage);
    }
    const auto v = runQuillon({"--version"}, home.str());
    EXPECT_EQ(v.exitCode, 0);
    EXPECT_EQ(v.out, "Batch Quillon V3.00, build 0903\n");
}

TEST(Cli, CommandLineRunWritesADatedLogEntryAndCleansUp) {
    TempDir home, tmp, in;
    const auto r = runQuillon({"/q", "/d=" + in.str(), "/sd=" + (in / "out").string()}, home.str(),
                              {{"TMPDIR", tmp.str()}});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Please Wait...\n") << "/q keeps the results off the screen";
    const std::string log = readFile(home / "log" / "kfqlog.txt");
    const std::regex entry("\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}\n"
                           "Batch Quillon command line mode : convert folder\r\n"
                           "Source Folder: .*\r\nSave Folder: .*\r\n\r\n---------\r\n"
                           "Total converted FAX files: 0\r\n-{50}\n");
    EXPECT_TRUE(std::regex_match(log, entry)) << log;
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
    EXPECT_FALSE(std::filesystem::exists(home / "kfqtmp.tmp"));
    EXPECT_FALSE(std::filesystem::exists(home / "kfqseg.tmp"));
}

TEST(Cli, LogFolderThatCannotBeMadeIsReportedAndTheRunGoesOn) {
    TempDir home, in;
    const std::string log = (in / "missing" / "deeper" / "run.txt").string();
    const auto r = runQuillon({"/d=" + in.str(), "/sd=" + (in / "out").string(), "/log=" + log}, home.str());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Total converted FAX files: 0\n"), std::string::npos);
    EXPECT_NE(r.err.find("nothing was logged"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(in / "missing"));
    EXPECT_FALSE(std::filesystem::exists(home / "log")) << "the default log is not used instead";
}

}  // namespace
}  // namespace quillon
