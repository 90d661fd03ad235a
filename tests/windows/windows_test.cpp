// The Windows program under Wine (tests/windows/wine_test.sh), on what only
// Windows has: drive letters and the long "\\?\" form, names outside the
// ANSI code page, paths past 259 characters, a file system whose names
// ignore case, and outputs that must equal the Linux program's.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

#include "e2e/fax_fixtures.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiff_info.h"

namespace quillon::test {
namespace {

namespace fs = std::filesystem;

const std::vector<FixturePage> kLetter = {{Sheet::Letter, FaxPageCoding::T6, 1}};
const std::vector<FixturePage> kTwoPages = {{Sheet::PriceList, FaxPageCoding::T4OneDimensional, 0},
                                            {Sheet::Letter, FaxPageCoding::T6, 1}};

// The Windows name of a path on Wine's drive Z:, which is the Linux root.
std::string onDriveZ(const fs::path& path) {
    std::string text = "Z:" + path.string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

class WindowsProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (!runsUnderWine()) GTEST_SKIP() << "the Windows program runs under Wine only (tests/windows/wine_test.sh)";
    }
};

std::vector<nlohmann::json> reportLines(const fs::path& report) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(readFile(report));
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
}

TEST_F(WindowsProgram, DriveLettersTheLongFormNamesOutsideTheCodePageAndLongPathsConvert) {
    TempDir home, work;
    // A folder deep enough that its files' paths pass 259 characters.
    fs::path deep = work / "in";
    for (int level = 0; level < 4; ++level) deep /= std::string(60, char('a' + level));
    const std::vector<std::string> names = {"Faxe für Müller.fxd", "Письмо.fxd", "ファクス.fxd"};
    for (const std::string& name : names) writeFax(work / "in" / name, kLetter);
    writeFax(deep / "tief.fxd", kTwoPages);
    ASSERT_GT(onDriveZ(deep / "tief.fxd").size(), 259u);

    const std::string report = (work / "r.jsonl").string();
    const ProcessResult r = runQuillon({"/d=" + onDriveZ(work / "in"), "/sd=\\\\?\\" + onDriveZ(work / "out"), "/i", "/kh",
                                        "/report=" + onDriveZ(report)},
                                       home.str());
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Total converted FAX files: 4"), std::string::npos) << r.out;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_NE(r.out.find(name), std::string::npos) << r.out;
        expectTiffPages((work / "out" / fs::path(name).replace_extension(".tif")).string(), kLetter);
    }
    const fs::path deepOut = work / "out" / fs::relative(deep, work / "in") / "tief.tif";
    expectTiffPages(deepOut.string(), kTwoPages);
    // The report names the sources as they are spelt, in UTF-8.
    std::vector<std::string> sources;
    for (const nlohmann::json& line : reportLines(report)) sources.push_back(line["source"]);
    for (const std::string& name : names)
        EXPECT_NE(std::find(sources.begin(), sources.end(), onDriveZ(work / "in") + "\\" + name), sources.end())
            << nlohmann::json(sources).dump();
}

TEST_F(WindowsProgram, ASourceSpeltAnotherWayOrThroughAHardLinkIsNoOutput) {
    TempDir home, work;
    const std::string bytes = readFile(writeFax(work / "in/a.fxd", kLetter));
    fs::create_hard_link(work / "in/a.fxd", work / "in/b.fxd");
    for (const std::string& output : {onDriveZ(work / "IN/A.FXD"), onDriveZ(work / "in/b.fxd")}) {
        SCOPED_TRACE(output);
        const ProcessResult r = runQuillon({"/f=" + onDriveZ(work / "in/a.fxd"), "/sf=" + output}, home.str());
        EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
        EXPECT_NE(r.out.find("is a source of this run; nothing written"), std::string::npos) << r.out;
        EXPECT_EQ(readFile(work / "in/a.fxd"), bytes);
    }

    // Two faxes whose names differ only in case: their outputs are one name.
    writeFax(work / "two/A.fxd", kLetter);
    writeFax(work / "two/a.FXD", kTwoPages);
    const ProcessResult r = runQuillon({"/d=" + onDriveZ(work / "two"), "/sd=" + onDriveZ(work / "out")}, home.str());
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_NE(r.out.find("was already written from"), std::string::npos) << r.out;
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(work / "out")) written.push_back(entry.path().filename().string());
    ASSERT_EQ(written.size(), 1u) << "the first output is never overwritten";
    expectTiffPages((work / "out" / written[0]).string(), kLetter);
}

TEST_F(WindowsProgram, KeepDateGivesTheOutputsTheSourcesTimes) {
    TempDir home, work;
    writeFax(work / "in/a.fxd", kLetter);
    const auto written = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(work / "in/a.fxd", written);
    const ProcessResult r = runQuillon({"/f=" + onDriveZ(work / "in/a.fxd"), "/sf=" + onDriveZ(work / "out/a.tif"), "/l"},
                                       home.str());
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    // FILETIME keeps 100 ns; the Linux file system had the source's to the nanosecond.
    const auto difference = fs::last_write_time(work / "out/a.tif") - written;
    EXPECT_LT(std::chrono::abs(difference), std::chrono::microseconds(1));
}

TEST_F(WindowsProgram, PagesAndFingerprintsEqualTheLinuxProgramsAndPdfOutputsVerify) {
    TempDir home, work;
    writeFax(work / "in/a.fxd", kTwoPages);
    writeFax(work / "in/sub/b.fxs", kLetter);
    const std::string linuxReport = (work / "linux.jsonl").string(), windowsReport = (work / "windows.jsonl").string();
    // The Linux program this test was built with.
    const ProcessResult onLinux = runProcess(QUILLON_EXE, {"/d=" + (work / "in").string(), "/sd=" + (work / "linux").string(),
                                                           "/i", "/kh", "/q", "/report=" + linuxReport},
                                             {{"QUILLON_HOME", home.str()}, {"DISPLAY", ""}});
    ASSERT_EQ(onLinux.exitCode, 0) << onLinux.err;
    const ProcessResult onWindows = runQuillon({"/d=" + onDriveZ(work / "in"), "/sd=" + onDriveZ(work / "windows"), "/i",
                                                "/kh", "/q", "/report=" + onDriveZ(windowsReport)},
                                               home.str());
    ASSERT_EQ(onWindows.exitCode, 0) << onWindows.err;
    for (const char* name : {"a.tif", "sub/b.tif"}) {
        SCOPED_TRACE(name);
        const std::vector<Bitmap> linuxPages = readTiffPages((work / "linux" / name).string());
        const std::vector<Bitmap> windowsPages = readTiffPages((work / "windows" / name).string());
        ASSERT_EQ(windowsPages.size(), linuxPages.size());
        for (std::size_t page = 0; page < linuxPages.size(); ++page)
            EXPECT_EQ(windowsPages[page].hash(), linuxPages[page].hash()) << page;
    }
    const auto fingerprints = [](const std::vector<nlohmann::json>& lines) {
        std::vector<std::string> all;
        for (const nlohmann::json& line : lines)
            for (const nlohmann::json& page : line["pages"]) all.push_back(page["sha256"]);
        return all;
    };
    EXPECT_EQ(fingerprints(reportLines(windowsReport)), fingerprints(reportLines(linuxReport)));

    // PDF outputs, then a check of them against their report.
    const std::string pdfReport = onDriveZ(work / "pdf.jsonl");
    ProcessResult r = runQuillon({"/d=" + onDriveZ(work / "in"), "/sd=" + onDriveZ(work / "pdf"), "/i", "/kh", "/pdf",
                                  "/report=" + pdfReport},
                                 home.str());
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    expectPdfPages((work / "pdf/a.pdf").string(), kTwoPages);
    r = runQuillon({"/verify=" + pdfReport, "/verifysources"}, home.str());
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_TRUE(r.out.ends_with("Verified FAX files: 2 of 2\n")) << r.out;
}

}  // namespace
}  // namespace quillon::test
