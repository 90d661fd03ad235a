#include "records/conversion_log.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/temp_dir.h"

namespace quillon {
namespace {

const std::string kSeparator = std::string(50, '-') + "\n";

TEST(ConversionLog, EntriesKeepTheResultsBytesBetweenDateAndSeparator) {
    test::TempDir dir;
    const std::string log = (dir / "log" / "kfqlog.txt").string();
    ASSERT_EQ(writeLog(log, "first line\r\nsecond line\r\n"), LogResult::Written) << "the log folder is made";
    ASSERT_EQ(writeLog(log, ""), LogResult::Written);

    const std::string text = test::readFile(log);
    const std::regex entry(
        "(\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2})\n"
        "first line\r\nsecond line\r\n" + kSeparator +
        "(\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2})\n" + kSeparator);
    EXPECT_TRUE(std::regex_match(text, entry)) << text;
}

TEST(ConversionLog, MissingParentFolderWritesNothing) {
    test::TempDir dir;
    const std::string log = (dir / "a" / "b" / "run.txt").string();
    EXPECT_EQ(writeLog(log, "text\r\n"), LogResult::FolderMissing);
    EXPECT_FALSE(std::filesystem::exists(dir / "a"));
    EXPECT_EQ(writeLog("", "text"), LogResult::NoLog);
}

TEST(ConversionLog, LogPathThatIsAFolderCannotBeOpened) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "log.txt");
    EXPECT_EQ(writeLog((dir / "log.txt").string(), "text"), LogResult::CannotOpen);
}

}  // namespace
}  // namespace quillon
