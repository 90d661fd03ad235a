// The quillon executable as a user meets it: usage, help, version, errors,
// the log entry and a clean temporary folder afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>

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

// Values that would make a run do other work than asked stop it before any
// file is read, with exit code 2 and a line that says what to do.
TEST(Cli, RefusedValuesAndMissingLanguagesStopTheRunBeforeAnyFile) {
    TempDir home, work, noLanguages;
    struct Row {
        std::vector<std::string> words;
        std::string error;
        std::map<std::string, std::string> env = {};
    };
    const Row rows[] = {
        {{"/shard=0/2"}, "/shard= takes K/N with 1 <= K <= N"},
        {{"/shard=3/2"}, "not '3/2'"},
        {{"/shard=1/0"}, "/shard="},
        {{"/shard=1/x"}, "/shard="},
        {{"/shard=+1/2"}, "/shard="},
        {{"/shard=1/2/3"}, "/shard="},
        {{"/j=0"}, "/j= takes a number of files from 1 to 64, not '0'"},
        {{"/j=two"}, "/j="},
        {{"/verify="}, "/verify= takes the report whose outputs are checked"},
        {{"/formats=tiff,pcx"}, "/formats= takes all, or names joined by commas from winfax, tiff, dcx, g3, "
                                "digifax, cals and bmp, not 'tiff,pcx'"},
        {{"/formats="}, "/formats="},
        {{"/formats=tiff,"}, "/formats="},
        {{"/ocr", "/lang=eng+../x"}, "/lang= takes language names"},
        {{"/lang=eng+"}, "/lang="},
        {{"/ocr", "/lang=eng+zz_Test"}, "'zz_Test' are not installed"},
        {{"/ocrtext", "/lang=zz_Test"}, "install the package tesseract-ocr-zz-test"},
        {{"/ocr"}, "install the package tesseract-ocr-eng", {{"TESSDATA_PREFIX", noLanguages.str()}}},
    };
    for (const Row& row : rows) {
        std::vector<std::string> words{"/d=" + work.str(), "/sd=" + (work / "out").string()};
        words.insert(words.end(), row.words.begin(), row.words.end());
        const auto r = runQuillon(words, home.str(), row.env);
        EXPECT_EQ(r.exitCode, 2) << row.words.back();
        EXPECT_NE(r.err.find(row.error), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_FALSE(std::filesystem::exists(work / "out")) << row.words.back();
    }
}

TEST(Cli, HelpAndVersion) {
    TempDir home;
    for (const char* word : {"--help", "-h"}) {
        const auto r = runQuillon({word}, home.str());
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out.substr(0, std::string(kUsage).size()), kUsage) << "the usage lines come first";
        for (const char* part : {"Exit status:", "\n  2  ", "$QUILLON_HOME", "quillon.ini", "log/kfqlog.txt"})
            EXPECT_NE(r.out.find(part), std::string::npos) << part;
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
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

    // No folder for the work files (a $TMPDIR that is a file): the run could
    // not do its work, which is worth another try, and nothing is logged.
    const auto noTemp = runQuillon({"/q", "/d=" + in.str(), "/sd=" + (in / "out").string()}, home.str(),
                                   {{"TMPDIR", (home / "log" / "kfqlog.txt").string()}});
    EXPECT_EQ(noTemp.exitCode, 3);
    EXPECT_NE(noTemp.err.find("No private temporary folder can be made under $TMPDIR or /tmp."), std::string::npos)
        << noTemp.err;
    EXPECT_TRUE(noTemp.out.empty());
    EXPECT_EQ(readFile(home / "log" / "kfqlog.txt"), log);
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

// The option names (such as "/sd", "--help") in the first column of option
// entries: "/raw, /b=0..2, /v=0..4" names /raw, /b and /v.
std::set<std::string> optionNames(const std::vector<std::string>& firstColumns) {
    static const std::regex name("(^|[\\s`>\"(,])(--?[a-z]+|/[a-z]+)");
    std::set<std::string> names;
    for (const std::string& column : firstColumns)
        for (std::sregex_iterator it(column.begin(), column.end(), name), end; it != end; ++it)
            names.insert((*it)[2]);
    return names;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

// --help: the indented lines that start with an option, up to two blanks.
std::set<std::string> helpOptions(const std::string& help) {
    std::vector<std::string> columns;
    for (const std::string& line : lines(help))
        if (line.starts_with("  /") || line.starts_with("  -")) columns.push_back(line.substr(2, line.find("  ", 2)));
    return optionNames(columns);
}

// The man page: the tag line after each .TP of section OPTIONS, without
// roff's escapes.
std::set<std::string> manPageOptions(const std::string& page) {
    std::vector<std::string> columns;
    bool inOptions = false, tagNext = false;
    for (std::string line : lines(page)) {
        if (line.starts_with(".SH")) inOptions = line == ".SH OPTIONS";
        if (!inOptions) continue;
        if (tagNext) {
            std::erase(line, '\\');
            columns.push_back(line.substr(line.find(' ') + 1));
        }
        tagNext = line == ".TP";
    }
    return optionNames(columns);
}

// A Markdown table: the first cell of the rows after `header`, up to the
// first line that is not a table row.
std::set<std::string> markdownTableOptions(const std::string& text, const std::string& header) {
    std::vector<std::string> columns;
    const auto all = lines(text);
    auto row = std::find(all.begin(), all.end(), header);
    for (row = row == all.end() ? row : row + 2; row != all.end() && row->starts_with("| "); ++row)
        columns.push_back(row->substr(2, row->find(" |", 2) - 2));
    return optionNames(columns);
}

// The manual's option table: the first cell of each row of the table in the
// command-line chapter.
std::set<std::string> manualOptions(const std::string& html) {
    const std::size_t chapter = html.find("id=\"command-line\"");
    const std::size_t start = html.find("<table>", chapter);
    const std::string table = html.substr(start, html.find("</table>", start) - start);
    std::vector<std::string> columns;
    for (const std::string& line : lines(table))
        if (line.starts_with("<tr><td>")) columns.push_back(line.substr(8, line.find("</td>") - 8));
    return optionNames(columns);
}

TEST(Cli, HelpManPageReadmeAndManualNameTheSameOptions) {
    TempDir home;
    const std::set<std::string> help = helpOptions(runQuillon({"--help"}, home.str()).out);
    const std::set<std::string> expected{"/f",     "/sf",     "/d",      "/sd",   "/filter", "/i",      "/kh",
                                         "/ke",    "/l",      "/m",      "/relines", "/q",   "/log",    "/report",
                                         "/j",     "/pdf",    "/ocr",    "/lang", "/ocrtext", "/norotate", "/shard", "/raw",
                                         "/verify", "/verifysources", "/resume", "/formats", "/nosync", "/nolock",
                                         "/b",     "/v",      "--help",  "-h",    "--version"};
    EXPECT_EQ(help, expected);
    const std::filesystem::path source = QUILLON_SOURCE_DIR;
    EXPECT_EQ(manPageOptions(readFile(source / "docs" / "quillon.1")), help) << "man page";
    EXPECT_EQ(markdownTableOptions(readFile(source / "README.md"), "| option | meaning |"), help) << "README";
    EXPECT_EQ(manualOptions(readFile(source / "docs" / "manual.html")), help) << "manual";
}

}  // namespace
}  // namespace quillon
