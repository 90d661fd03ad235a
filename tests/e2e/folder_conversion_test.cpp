// Folder runs of the quillon executable over WinFax files of printed pages.

#include <gtest/gtest.h>

#include <tiffio.h>

#include <regex>

#include <cctype>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "e2e/fax_fixtures.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiff_info.h"

namespace quillon::test {
namespace {

using C = FaxPageCoding;

const std::vector<FixturePage> kThreePages = {
    {Sheet::Letter, C::T4OneDimensional, 1}, {Sheet::Memo, C::T6, 0}, {Sheet::PriceList, C::T4OneDimensional, 5}};
const std::vector<FixturePage> kOnePage = {{Sheet::WideNotice, C::T6, 1}};
const std::vector<FixturePage> kTwoPages = {{Sheet::PriceList, C::T4OneDimensional, 0}, {Sheet::Letter, C::T6, 1}};

// One tree converted to TIFF files and, with /pdf, to PDF files: the same
// lines with the other names, and the same pages.
TEST(FolderRun, ConvertsATreeWithResultsLinesLogAndExactPages) {
    TempDir work;
    const std::string in = (work / "in").string();
    writeFax(work / "in/a.fxd", kThreePages);
    writeFax(work / "in/B.FXM", kOnePage);
    writeFax(work / "in/sub/c.fxs", kTwoPages);
    std::string junk = readFile(writeFax(work / "in/junk.fxd", kOnePage));
    writeFile(work / "in/junk.fxd", junk + std::string(5000, '\x5A'));
    writeFile(work / "in/sub/broken.fxr", junk.substr(0, 60));
    writeFile(work / "in/tiny.fxd", "\x0B\x23");
    writeFile(work / "in/notes.txt", "not a fax");
    writeFile(work / "in/picture.tif", std::string("II*\0\x08\0\0\0", 8) + "a TIFF file, left as it is");

    for (const std::string ext : {".tif", ".pdf"}) {
        SCOPED_TRACE(ext);
        TempDir home;
        const std::string out = (work / ("out" + ext)).string();
        std::vector<std::string> args{"/d=" + in, "/sd=" + out, "/i", "/kh"};
        if (ext == ".pdf") args.push_back("/pdf");
        const ProcessResult r = runQuillon(args, home.str());
        EXPECT_EQ(r.exitCode, 1) << "two files failed";
        const std::string results =
            "Batch Quillon command line mode : convert folder\r\n"
            "Source Folder: " + in + "\r\nSave Folder: " + out + "\r\n" +
            in + "/a.fxd --> " + out + "/a" + ext + " : Success !\r\n" +
            in + "/B.FXM --> " + out + "/B" + ext + " : Success !\r\n" +
            in + "/junk.fxd --> " + out + "/junk" + ext + " : Success !\r\n" +
            in + "/sub/broken.fxr --> " + out + "/sub/broken" + ext + " : Failed : " + in +
            "/sub/broken.fxr - Not Fax\r\n" +
            in + "/sub/c.fxs --> " + out + "/sub/c" + ext + " : Success !\r\n" +
            in + "/tiny.fxd --> " + out + "/tiny" + ext + " : Failed : " + in + "/tiny.fxd - Not Fax\r\n"
            "\r\n---------\r\nTotal converted FAX files: 4\r\n";
        std::string shown = results;
        for (std::size_t at; (at = shown.find("\r\n")) != std::string::npos;) shown.erase(at, 1);
        EXPECT_EQ(r.out, "Please Wait...\n" + shown);

        // The log keeps why each failed file was not converted.
        std::string logged = results;
        for (const std::string name : {"/sub/broken.fxr - Not Fax\r\n", "/tiny.fxd - Not Fax\r\n"}) {
            const std::size_t end = logged.find(name) + name.size();
            logged.insert(end, "    Reason : the first page holds no fax data\r\n");
        }
        const std::string log = readFile(home / "log/kfqlog.txt");
        ASSERT_GT(log.size(), 20u);
        EXPECT_EQ(log.substr(19), "\n" + logged + std::string(50, '-') + "\n");

        const auto expectPages = [&](const std::string& name, const std::vector<FixturePage>& pages) {
            if (ext == ".pdf")
                expectPdfPages(out + "/" + name + ext, pages);
            else
                expectTiffPages(out + "/" + name + ext, pages);
        };
        expectPages("a", kThreePages);
        expectPages("B", kOnePage);
        expectPages("junk", kOnePage);
        expectPages("sub/c", kTwoPages);
        for (const char* name : {"/sub/broken", "/tiny", "/notes", "/picture"})
            EXPECT_FALSE(std::filesystem::exists(out + name + ext)) << name;
        std::size_t outputs = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) outputs += entry.is_regular_file();
        EXPECT_EQ(outputs, 4u) << "nothing but the outputs is left in the destination";
    }
}

TEST(FolderRun, NamingOptionsFilterAndRelativePaths) {
    TempDir home, work;
    writeFax(work / "in/x/a.fxd", kOnePage);
    writeFax(work / "in/y/a.fxd", kTwoPages);
    writeFax(work / "in/invoices/in.fxd", kOnePage);
    writeFax(work / "in/top.fxd", kOnePage);

    // Relative paths, kept extension and hierarchy.
    ProcessResult r = runQuillon({"/q", "/d=in", "/sd=out1", "/i", "/kh", "/ke"}, home.str(), {}, work.str());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    expectTiffPages((work / "out1/x/a.fxd.tif").string(), kOnePage);
    expectTiffPages((work / "out1/y/a.fxd.tif").string(), kTwoPages);
    // Only the source folder at the start of the path is replaced.
    expectTiffPages((work / "out1/invoices/in.fxd.tif").string(), kOnePage);

    // Without hierarchy both a.fxd land on one name, and top.fxd and top.fxs
    // do too: the first keeps it and the second fails instead of overwriting
    // it. In split mode the two-page a.fxd writes page files of other names.
    writeFax(work / "in/top.fxs", kOnePage);
    for (const bool split : {false, true}) {
        r = runQuillon({"/d=in", "/sd=out2", "/i", split ? "/m=1" : "/m=0", "/report=r.jsonl"}, home.str(), {},
                       work.str());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.out.find("in/top.fxs --> out2/top.tif : Failed : in/top.fxs - out2/top.tif was already written "
                             "from in/top.fxd in this run; keep sub-folders or extensions in the output names (/kh, "
                             "/ke, or Keep Hiberarchy and Include Source File Extention in the window)\n"),
                  std::string::npos)
            << r.out;
        const bool aCollides = r.out.find("in/y/a.fxd --> out2/a.tif : Failed : in/y/a.fxd - out2/a.tif was already "
                                          "written from in/x/a.fxd in this run") != std::string::npos;
        EXPECT_EQ(aCollides, !split) << r.out;
        EXPECT_NE(r.out.find(split ? "Total converted FAX files: 4\n" : "Total converted FAX files: 3\n"),
                  std::string::npos)
            << r.out;
        expectTiffPages((work / "out2/a.tif").string(), kOnePage);
        expectTiffPages((work / "out2/in.tif").string(), kOnePage);
    }
    EXPECT_NE(readFile(work / "r.jsonl").find("\"outputs\":[],\"result\":-10,\"status\":\"failed\""), std::string::npos);

    // A filter that folder names do not match keeps the walk out of them.
    r = runQuillon({"/d=in", "/sd=out3", "/i", "/filter=*.fxd"}, home.str(), {}, work.str());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Total converted FAX files: 1\n"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(work / "out3/top.tif"));
    EXPECT_FALSE(std::filesystem::exists(work / "out3/a.tif"));
}

// Blanks the digits of TIFF DateTime values ("2026:12:08 14:02:40"): runs a
// second apart differ in them and nothing else.
void maskTiffDateTimes(std::string& bytes) {
    const std::string shape = "dddd:dd:dd dd:dd:dd";
    for (std::size_t at = 0; at + shape.size() <= bytes.size(); ++at) {
        bool match = true;
        for (std::size_t i = 0; i < shape.size() && match; ++i)
            match = shape[i] == 'd' ? std::isdigit(static_cast<unsigned char>(bytes[at + i])) != 0
                                    : bytes[at + i] == shape[i];
        if (match) bytes.replace(at, shape.size(), shape);
    }
}

TEST(FolderRun, WorkersAtOnceGiveWhatASequentialRunGives) {
    TempDir home, work;
    // Files of different lengths, so that they finish out of order; names
    // that collide without /kh; faxes that fail.
    for (int i = 0; i < 4; ++i) {
        writeFax(work / ("in/s" + std::to_string(i) + "/same.fxd"), i % 2 ? kTwoPages : kOnePage);
        writeFax(work / ("in/f" + std::to_string(i) + ".fxm"), i % 2 ? kThreePages : kOnePage);
    }
    writeFile(work / "in/broken.fxr", "no header");
    namespace fs = std::filesystem;
    std::map<std::string, std::string> first;
    for (const char* workers : {"/j=1", "/j=3"}) {
        for (const char* mode : {"/m=0", "/m=1"}) {
            SCOPED_TRACE(std::string(workers) + " " + mode);
            const std::string out = (work / (std::string("out") + mode[3] + workers[3])).string();
            const std::string report = out + ".jsonl";
            const ProcessResult r =
                runQuillon({"/d=in", "/sd=" + out, "/i", mode, workers, "/report=" + report}, home.str(), {}, work.str());
            EXPECT_EQ(r.exitCode, 1);
            // Everything a run leaves, with the output folder's name taken out.
            std::string left = r.out + r.err + readFile(report);
            for (const auto& file : fs::recursive_directory_iterator(out))
                left += file.path().lexically_relative(out).string() + ":" + readFile(file.path()) + "\n";
            for (std::size_t at; (at = left.find(out)) != std::string::npos;) left.replace(at, out.size(), "OUT");
            maskTiffDateTimes(left);
            // An output's checksum covers its DateTime too, which the runs write at other seconds.
            left = std::regex_replace(left, std::regex(R"("outputSha256":\[[^\]]*\])"), "");
            auto [known, isNew] = first.emplace(mode, left);
            if (!isNew) {
                EXPECT_TRUE(known->second == left) << "a parallel run differs from the sequential one";
            }
        }
    }
}

// Lines of text, the ones that start with prefix.
std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(prefix)) found.push_back(line);
    return found;
}

// Three shards of one tree, as three machines would run them: each file is
// converted by exactly one of them, their outputs are those of one run over
// the whole tree, and each shard's results and report lines are the whole
// run's lines of its files, in walk order.
TEST(FolderRun, ShardsTogetherConvertEachFileOnceAsOneRunDoes) {
    TempDir home, work;
    for (int i = 0; i < 12; ++i)
        writeFax(work / ("in/s" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".fxd"),
                 i % 2 ? kOnePage : kTwoPages);
    namespace fs = std::filesystem;
    const auto run = [&](const std::string& out, const std::vector<std::string>& more) {
        std::vector<std::string> words{"/d=in", "/sd=" + out, "/i", "/kh", "/report=" + out + ".jsonl"};
        words.insert(words.end(), more.begin(), more.end());
        const ProcessResult r = runQuillon(words, home.str(), {}, work.str());
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.out;
    };
    const std::string whole = run("whole", {});
    const std::vector<std::string> wholeLines = linesStartingWith(whole, "in/");
    // Outputs' checksums cover their DateTime, which the runs write at other seconds.
    const auto withoutChecksums = [](const std::string& text) {
        return std::regex_replace(text, std::regex(R"("outputSha256":\[[^\]]*\])"), "");
    };
    const std::vector<std::string> wholeReport =
        linesStartingWith(withoutChecksums(readFile(work / "whole.jsonl")), "{");
    ASSERT_EQ(wholeLines.size(), 12u);
    std::map<std::string, std::string> sharded;  // output -> its bytes, from every shard
    std::size_t files = 0;
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("shard " + std::to_string(k));
        const std::string out = "part" + std::to_string(k);
        // The shard's lines as the whole run names its outputs.
        const auto asWhole = [&](std::string text) {
            for (std::size_t at; (at = text.find(out + "/")) != std::string::npos;)
                text.replace(at, out.size(), "whole");
            return text;
        };
        const std::vector<std::string> lines =
            linesStartingWith(asWhole(run(out, {"/shard=" + std::to_string(k) + "/3", "/j=2"})), "in/");
        const std::vector<std::string> report =
            linesStartingWith(withoutChecksums(asWhole(readFile(work / (out + ".jsonl")))), "{");
        EXPECT_FALSE(lines.empty()) << "twelve files fill three shards";
        files += lines.size();
        // In walk order: the whole run's lines of the shard's files, in that order.
        auto next = wholeLines.begin();
        for (const std::string& line : lines) next = std::find(next, wholeLines.end(), line);
        EXPECT_NE(next, wholeLines.end()) << "results lines in walk order";
        ASSERT_EQ(report.size(), lines.size());
        auto nextReport = wholeReport.begin();
        for (const std::string& line : report) {
            nextReport = std::find(nextReport, wholeReport.end(), line);
            EXPECT_NE(nextReport, wholeReport.end()) << line;
        }
        for (const auto& file : fs::recursive_directory_iterator(work / out)) {
            if (!file.is_regular_file()) continue;
            const std::string name = file.path().lexically_relative(work / out).string();
            EXPECT_TRUE(sharded.emplace(name, readFile(file.path())).second) << name << " was written by two shards";
        }
    }
    EXPECT_EQ(files, 12u);
    std::map<std::string, std::string> unsharded;
    for (const auto& file : fs::recursive_directory_iterator(work / "whole"))
        if (file.is_regular_file())
            unsharded.emplace(file.path().lexically_relative(work / "whole").string(), readFile(file.path()));
    for (auto& [name, bytes] : sharded) maskTiffDateTimes(bytes);
    for (auto& [name, bytes] : unsharded) maskTiffDateTimes(bytes);
    EXPECT_TRUE(sharded == unsharded) << "the shards' outputs are the whole run's";
}

TEST(FolderRun, ProgressLineOnATerminalOnly) {
    TempDir home, work;
    writeFax(work / "in/a.fxd", kOnePage);
    writeFax(work / "in/b.fxd", kTwoPages);
    const std::string command = quillonExe() + " /d=in /sd=out";
    const std::map<std::string, std::string> env{{"QUILLON_HOME", home.str()}, {"DISPLAY", ""}};
    // script(1) gives the run a pseudo-terminal: the line is drawn there,
    // redrawn in place, and cleared before the results.
    ProcessResult r = runProcess("/usr/bin/script", {"-qfec", command, "/dev/null"}, env, work.str());
    EXPECT_EQ(r.exitCode, 0) << r.out;
    const std::size_t drawn = r.out.find("\r0/2 files, 0 pages, ");
    EXPECT_NE(drawn, std::string::npos) << r.out;
    const std::size_t cleared = r.out.find("\r" + std::string(10, ' '), drawn);
    EXPECT_NE(cleared, std::string::npos) << "the line is cleared";
    EXPECT_GT(r.out.find("Batch Quillon command line mode"), cleared) << "results come after the cleared line";
    // Quiet, or in a pipe: no line at all.
    r = runProcess("/usr/bin/script", {"-qfec", command + " /q", "/dev/null"}, env, work.str());
    EXPECT_EQ(r.out.find("files, "), std::string::npos) << r.out;
    r = runQuillon({"/d=in", "/sd=out"}, home.str(), {}, work.str());
    EXPECT_EQ(r.err, "");
}

// Flips one bit in the Group 4 data of a TIFF page (from 0) or of the first
// image of a PDF, away from their start.
void flipImageBit(const std::string& path, int tiffPage = -1) {
    std::string bytes = readFile(path);
    std::size_t at = 0;
    if (tiffPage >= 0) {
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        ASSERT_TRUE(tif && TIFFSetDirectory(tif, tiffPage));
        uint64_t* offsets = nullptr;
        ASSERT_TRUE(TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets));
        at = offsets[0] + 200;
        TIFFClose(tif);
    } else {
        const std::size_t image = bytes.find("/CCITTFaxDecode");
        ASSERT_NE(image, std::string::npos);
        at = bytes.find("stream", image) + 300;
    }
    ASSERT_LT(at, bytes.size());
    bytes[at] ^= 0x10;
    writeFile(path, bytes);
}

// The reports of a TIFF run and a PDF run over one tree (a damaged fax among
// them), joined, prove every output as converted, on workers and in shards; then
// every fault planted in the outputs is found and named.
TEST(FolderRun, VerifyProvesTheOutputsAndNamesEveryFault) {
    TempDir home, work;
    writeFax(work / "in/a.fxd", kThreePages);
    writeFax(work / "in/b.fxd", kOnePage);
    const std::string whole = readFile(writeFax(work / "in/sub/c.fxs", kTwoPages));
    writeFile(work / "in/sub/c.fxs", whole.substr(0, whole.size() - 3000));
    const std::string in = (work / "in").string(), tif = (work / "tif").string(), pdf = (work / "pdf").string();
    const std::string report = (work / "r.jsonl").string();
    ASSERT_EQ(runQuillon({"/d=" + in, "/sd=" + tif, "/i", "/kh", "/q", "/report=" + report + "1"}, home.str()).exitCode,
              0);
    ASSERT_EQ(runQuillon({"/d=" + in, "/sd=" + pdf, "/i", "/kh", "/q", "/pdf", "/m=1", "/report=" + report + "2"},
                         home.str()).exitCode, 0);
    writeFile(report, readFile(report + "1") + readFile(report + "2"));  // reports joined

    ProcessResult r = runQuillon({"/verify=" + report, "/j=2", "/verifysources"}, home.str());
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Verified : " + in + "/a.fxd - 3 outputs, 3 pages\n"), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.ends_with("\n---------\nVerified FAX files: 6 of 6\n")) << r.out;
    std::size_t inShards = 0;
    for (const std::string shard : {"1/2", "2/2"}) {
        r = runQuillon({"/verify=" + report, "/shard=" + shard}, home.str());
        EXPECT_EQ(r.exitCode, 0) << r.out;
        inShards += std::stoul(r.out.substr(r.out.find("Verified FAX files: ") + 20));
    }
    EXPECT_EQ(inShards, 6u);

    flipImageBit(tif + "/a.tif", 1);
    flipImageBit(pdf + "/a003.pdf");
    const std::string cut = readFile(tif + "/sub/c.tif");
    writeFile(tif + "/sub/c.tif", cut.substr(0, cut.size() / 2));
    std::filesystem::remove(pdf + "/b.pdf");
    writeFile(in + "/b.fxd", readFile(in + "/b.fxd") + "x");
    const std::string verdicts = (work / "v.jsonl").string();
    r = runQuillon({"/verify=" + report, "/verifysources", "/report=" + verdicts}, home.str());
    EXPECT_EQ(r.exitCode, 1);
    for (const std::string line : {
             "Changed : " + in + "/a.fxd - " + tif + "/a.tif: page 2 differs\n",
             "Changed : " + in + "/a.fxd - " + pdf + "/a003.pdf: page 3 differs\n",
             "Changed : " + in + "/sub/c.fxs - " + tif + "/sub/c.tif: ",
             "Changed : " + in + "/b.fxd - the source differs from its checksum\n",
             "Changed : " + in + "/b.fxd - " + pdf + "/b.pdf is missing; the source differs from its checksum\n",
             "Verified : " + in + "/sub/c.fxs - 2 outputs, 2 pages\n",
             std::string("\n---------\nVerified FAX files: 1 of 6, 5 changed\n")})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    std::istringstream lines(readFile(verdicts));
    std::map<std::string, int> counted;
    for (std::string line; std::getline(lines, line);) ++counted[nlohmann::json::parse(line)["verdict"]];
    EXPECT_EQ(counted, (std::map<std::string, int>{{"changed", 5}, {"verified", 1}}));
}

// A rerun with /resume converts only what is not done: a fax whose outputs
// are complete with the same settings and source is skipped and its output
// left alone; one whose output is gone, whose source changed or that is run
// with other settings is converted again. Its report keeps one whole line per
// file across reruns and a killed run's half line.
TEST(FolderRun, ResumeConvertsOnlyWhatIsNotDoneAndTheReportKeepsOneLinePerFile) {
    TempDir home, work;
    writeFax(work / "in/a.fxd", kThreePages);
    writeFax(work / "in/b.fxd", kOnePage);
    writeFax(work / "in/sub/c.fxs", kTwoPages);
    writeFile(work / "in/bad.fxd", "not a fax at all");
    const std::string in = (work / "in").string(), out = (work / "out").string();
    const std::string report = (work / "r.jsonl").string();
    const std::vector<std::string> command{"/d=" + in, "/sd=" + out, "/i", "/kh", "/resume", "/report=" + report};
    ASSERT_EQ(runQuillon(command, home.str()).exitCode, 1) << "bad.fxd fails";
    // Nanoseconds: an output written again, by a rename, never keeps its time.
    const auto aWritten = std::filesystem::last_write_time(out + "/a.tif");

    // What a killed rerun leaves: a line written again and half a line.
    const std::string lines = readFile(report);
    writeFile(report, lines + lines.substr(0, lines.find('\n') + 1) + "{\"source\":\"" + in + "/b.f");
    std::filesystem::remove(out + "/b.tif");
    writeFax(work / "in/sub/c.fxs", {kTwoPages[1]});
    ProcessResult r = runQuillon(command, home.str());
    EXPECT_EQ(r.exitCode, 1);
    for (const std::string line : {in + "/a.fxd --> " + out + "/a.tif : Skipped : " + out + "/a.tif already exist!\n",
                                   in + "/b.fxd --> " + out + "/b.tif : Success !\n",
                                   in + "/sub/c.fxs --> " + out + "/sub/c.tif : Success !\n",
                                   std::string("Total converted FAX files: 2\n")})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
    EXPECT_EQ(std::filesystem::last_write_time(out + "/a.tif"), aWritten) << "a skipped output is left alone";
    expectTiffPages(out + "/sub/c.tif", {kTwoPages[1]});
    std::istringstream text(readFile(report));
    std::map<std::string, std::string> statusOf;
    std::size_t count = 0;
    for (std::string line; std::getline(text, line); ++count)
        statusOf[nlohmann::json::parse(line)["source"]] = nlohmann::json::parse(line)["status"];
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(statusOf, (std::map<std::string, std::string>{{in + "/a.fxd", "converted"},
                                                             {in + "/b.fxd", "converted"},
                                                             {in + "/bad.fxd", "not-fax"},
                                                             {in + "/sub/c.fxs", "converted"}}));

    // Other settings: every fax converted again.
    std::vector<std::string> relines = command;
    relines.push_back("/relines");
    r = runQuillon(relines, home.str());
    EXPECT_NE(r.out.find("Total converted FAX files: 3\n"), std::string::npos) << r.out;

    // Outputs done by a run that kept another report: this report's lines
    // name the earlier outputs and prove nothing of these, which are then
    // converted again and named.
    const std::string elsewhere = (work / "elsewhere").string();
    std::vector<std::string> other{"/d=" + in, "/sd=" + elsewhere, "/i", "/kh", "/resume"};
    runQuillon(other, home.str());
    other.push_back("/report=" + report);
    r = runQuillon(other, home.str());
    EXPECT_NE(r.out.find("Total converted FAX files: 3\n"), std::string::npos) << r.out;
    EXPECT_NE(readFile(report).find("\"" + elsewhere + "/a.tif\""), std::string::npos);
}

TEST(FolderRun, DestinationThatCannotBeMadeFailsEveryFile) {
    TempDir home, work;
    writeFax(work / "in/a.fxd", kOnePage);
    writeFile(work / "blocker", "a file where a folder should be");
    const std::string out = (work / "blocker/out").string();
    const ProcessResult r = runQuillon({"/d=" + (work / "in").string(), "/sd=" + out}, home.str());
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.out.find(" : Failed to create dir: " + out + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Total converted FAX files: 0\n"), std::string::npos);
}

TEST(FolderRun, EmptyFolderGivesHeaderAndZeroTotal) {
    TempDir home, work;
    std::filesystem::create_directories(work / "in");
    const ProcessResult r = runQuillon({"/d=" + (work / "in").string(), "/sd=" + (work / "out").string()}, home.str());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Please Wait...\nBatch Quillon command line mode : convert folder\nSource Folder: " +
                         (work / "in").string() + "\nSave Folder: " + (work / "out").string() +
                         "\n\n---------\nTotal converted FAX files: 0\n");
}

// A folder run with a report holds a few bytes a file (its names, lines and
// outcomes go to spools, the report is appended to and compacted from the
// file): ten times the files cost far less than ten times the memory, and
// the results text read back from its spool is whole.
TEST(FolderRun, MemoryHardlyGrowsWithTheNumberOfFiles) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer keeps what the run frees";
#endif
    if (runsUnderWine()) GTEST_SKIP() << "the peak measured would be Wine's";
    TempDir home, work;
    const std::string fax = readFile(writeFax(work / "one.fxd", kOnePage));
    const auto peakFor = [&](int files) {
        const std::filesystem::path in = work / ("in" + std::to_string(files));
        for (int i = 0; i < files; ++i) writeFile(in / std::to_string(i / 100) / (std::to_string(i) + ".fxd"), fax);
        const ProcessResult r = runQuillon(
            // Syncing 22,000 files would only make the test slow.
            {"/d=" + in.string(), "/sd=" + in.string() + ".out", "/i", "/kh", "/nosync", "/report=" + in.string() + ".jsonl"},
            home.str());
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::size_t lines = 0;
        for (std::size_t at = 0; (at = r.out.find(" : Success !\n", at)) != std::string::npos; ++at) ++lines;
        EXPECT_EQ(lines, std::size_t(files));
        EXPECT_TRUE(r.out.ends_with("\nTotal converted FAX files: " + std::to_string(files) + "\n"));
        EXPECT_EQ(r.out.find('\r'), std::string::npos);
        return r.peakKilobytes;
    };
    const long few = peakFor(2000);
    const long many = peakFor(20000);
    EXPECT_LE(many, few * 3 / 2) << few << " KB for 2,000 files, " << many << " KB for 20,000";
}

}  // namespace
}  // namespace quillon::test
