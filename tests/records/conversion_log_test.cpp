#include "records/conversion_log.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/temp_dir.h"

namespace quillon {
namespace {

const std::string kSeparator = std::string(50, '-') + "\n";

// A folder run's entry comes as its header, its files' lines from a spool
// (more than one piece of them here) and its total.
TEST(ConversionLog, EntriesKeepTheResultsBytesBetweenDateAndSeparator) {
    test::TempDir dir;
    const std::string log = (dir / "log" / "kfqlog.txt").string();
    platform::TextSpool lines;
    std::string spooled;
    for (int i = 0; spooled.size() < 200000; ++i) spooled += "in/" + std::to_string(i) + ".fxd --> out : Success !\r\n";
    lines.append(spooled);
    ASSERT_EQ(writeLog(log, "first line\r\nsecond line\r\n"), LogResult::Written) << "the log folder is made";
    ASSERT_EQ(writeLog(log, ""), LogResult::Written);
    ASSERT_EQ(writeLog(log, "header\r\n", &lines, "total\r\n"), LogResult::Written);

    const std::string text = test::readFile(log);
    const std::string date = "(\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2})\n";
    const std::size_t third = text.find("header\r\n");
    ASSERT_NE(third, std::string::npos);
    const std::regex dates(date + "first line\r\nsecond line\r\n" + kSeparator + date + kSeparator + date);
    EXPECT_TRUE(std::regex_match(text.substr(0, third), dates)) << text.substr(0, third);
    EXPECT_TRUE(text.substr(third) == "header\r\n" + spooled + "total\r\n" + kSeparator);
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
