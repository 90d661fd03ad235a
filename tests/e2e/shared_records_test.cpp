// Runs that share one report and one log at the same time, runs killed
// while they write them, and what a run puts on stable storage before it
// says it is done.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <future>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "e2e/fax_fixtures.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace quillon::test {
namespace {

using C = FaxPageCoding;

constexpr int kFaxes = 40;
constexpr int kRuns = 4;

// A tree of faxes of one to three pages in four folders.
std::string writeTree(const std::filesystem::path& in) {
    const std::vector<FixturePage> pages = {
        {Sheet::Letter, C::T4OneDimensional, 1}, {Sheet::Memo, C::T6, 0}, {Sheet::PriceList, C::T4OneDimensional, 5}};
    for (int i = 0; i < kFaxes; ++i)
        writeFax(in / ("y" + std::to_string(i % 4)) / ("f" + std::to_string(i) + ".fxd"),
                 {pages.begin(), pages.begin() + 1 + i % 3});
    return in.string();
}

// The shards of one folder run, all at once; their exit codes.
std::vector<int> runShardsAtOnce(const std::vector<std::string>& command, const std::string& home) {
    std::vector<std::future<ProcessResult>> runs;
    for (int shard = 1; shard <= kRuns; ++shard) {
        std::vector<std::string> args = command;
        args.push_back("/shard=" + std::to_string(shard) + "/" + std::to_string(kRuns));
        runs.push_back(std::async(std::launch::async, [args, home] { return runQuillon(args, home); }));
    }
    std::vector<int> codes;
    for (auto& run : runs) codes.push_back(run.get().exitCode);
    return codes;
}

// Each source's report lines, and any line that is no JSON object.
std::map<std::string, std::vector<nlohmann::json>> reportLines(const std::string& report, std::string& notJson) {
    std::map<std::string, std::vector<nlohmann::json>> lines;
    std::istringstream text(readFile(report));
    for (std::string line; std::getline(text, line);) {
        const nlohmann::json json = nlohmann::json::parse(line, nullptr, false);
        if (!json.is_object()) notJson += line + "\n";
        else lines[json["source"]].push_back(json);
    }
    return lines;
}

// One line per fax, naming outputs in `out` only, and /verify= proves them.
void expectOneLinePerFaxNaming(const std::string& report, const std::string& out, const std::string& home) {
    std::string notJson;
    const auto lines = reportLines(report, notJson);
    EXPECT_EQ(notJson, "");
    EXPECT_EQ(lines.size(), std::size_t(kFaxes));
    for (const auto& [source, its] : lines) {
        ASSERT_EQ(its.size(), 1u) << source;
        EXPECT_EQ(its[0]["status"], "converted") << source;
        ASSERT_FALSE(its[0]["outputs"].empty()) << source;
        for (const std::string output : its[0]["outputs"])
            EXPECT_TRUE(output.starts_with(out + "/")) << source << " names " << output << ", not one in " << out;
    }
    const ProcessResult verified = runQuillon({"/q", "/verify=" + report}, home);
    EXPECT_EQ(verified.exitCode, 0) << verified.out << verified.err;
}

// Four shards at once, three times over, each time into other outputs
// (TIFF, PDF, TIFF again): the report keeps one line per fax, naming the
// last outputs, and the log one whole entry per run.
TEST(SharedRecords, RunsAtOnceReplaceEachOthersLinesAndNeverMixLogEntries) {
    TempDir home, work;
    const std::string in = writeTree(work / "in"), report = (work / "r.jsonl").string();
    const std::vector<std::vector<std::string>> rounds = {{"/sd=" + (work / "tif").string()},
                                                          {"/sd=" + (work / "pdf").string(), "/pdf"},
                                                          {"/sd=" + (work / "tif2").string()}};
    for (const auto& round : rounds) {
        std::vector<std::string> command{"/q", "/d=" + in, "/i", "/kh", "/j=1", "/report=" + report};
        command.insert(command.end(), round.begin(), round.end());
        EXPECT_EQ(runShardsAtOnce(command, home.str()), std::vector<int>(kRuns, 0));
    }
    expectOneLinePerFaxNaming(report, (work / "tif2").string(), home.str());

    // Each entry: its date, the header, its files' lines and their total.
    std::istringstream log(readFile(home.path() / "log/kfqlog.txt"));
    const std::regex date(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
    int entries = 0, files = 0;
    std::vector<std::string> entry;
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line != std::string(50, '-')) {
            entry.push_back(line);
            continue;
        }
        ++entries;
        ASSERT_GE(entry.size(), 7u);
        EXPECT_TRUE(std::regex_match(entry[0], date)) << entry[0];
        EXPECT_EQ(entry[1], "Batch Quillon command line mode : convert folder");
        int converted = 0;
        for (std::size_t i = 4; i + 3 < entry.size(); ++i) {
            EXPECT_NE(entry[i].find(" --> "), std::string::npos) << "not a file's line: " << entry[i];
            converted += entry[i].ends_with(" : Success !");
        }
        EXPECT_EQ(entry[entry.size() - 1], "Total converted FAX files: " + std::to_string(converted));
        files += converted;
        entry.clear();
    }
    EXPECT_EQ(entries, kRuns * int(rounds.size()));
    EXPECT_EQ(files, kFaxes * int(rounds.size()));
}

// One of four shards at once killed at a random moment; then half a line
// left at the report's end, one output emptied and one line lost, as a power
// cut may leave them; a rerun of the four with /resume mends all of it.
TEST(SharedRecords, AKilledRunAmongOthersLosesNothingAndAResumeMendsIt) {
    TempDir home, work;
    const std::string in = writeTree(work / "in"), report = (work / "r.jsonl").string();
    const std::string tif = (work / "tif").string(), pdf = (work / "pdf").string();
    const std::vector<std::string> base{"/q", "/d=" + in, "/i", "/kh", "/j=1", "/resume", "/report=" + report};
    std::vector<std::string> command = base;
    command.push_back("/sd=" + tif);
    ASSERT_EQ(runShardsAtOnce(command, home.str()), std::vector<int>(kRuns, 0));

    command = base;
    command.insert(command.end(), {"/sd=" + pdf, "/pdf"});
    std::mt19937 random(std::random_device{}());
    const int killed = 1 + int(random() % kRuns);
    std::vector<std::string> killedCommand = command;
    killedCommand.push_back("/shard=" + std::to_string(killed) + "/" + std::to_string(kRuns));
    const int pid = startQuillon(killedCommand, home.str());
    std::vector<std::future<ProcessResult>> others;
    for (int shard = 1; shard <= kRuns; ++shard) {
        if (shard == killed) continue;
        std::vector<std::string> args = command;
        args.push_back("/shard=" + std::to_string(shard) + "/" + std::to_string(kRuns));
        others.push_back(std::async(std::launch::async, [args, &home] { return runQuillon(args, home.str()); }));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 400));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    for (auto& other : others) EXPECT_EQ(other.get().exitCode, 0);

    std::string notJson;
    const auto lines = reportLines(report, notJson);
    EXPECT_EQ(lines.size(), std::size_t(kFaxes)) << "a killed run loses at most the line it was writing";
    // The line of a fax whose outputs are done, lost as a power cut loses it.
    std::string kept;
    std::istringstream text(readFile(report));
    for (std::string line; std::getline(text, line);)
        if (line.find(R"("source":")" + in + "/y2/f2.fxd\"") == std::string::npos) kept += line + "\n";
    writeFile(report, kept + R"({"source":")" + in + "/y0/f0.fx");
    const std::string emptied = pdf + "/y1/f1.pdf";
    if (std::filesystem::exists(emptied)) std::filesystem::resize_file(emptied, 0);

    EXPECT_EQ(runShardsAtOnce(command, home.str()), std::vector<int>(kRuns, 0));
    expectOneLinePerFaxNaming(report, pdf, home.str());
    EXPECT_GT(std::filesystem::file_size(emptied), 0u);
}

// What strace sees of a file run: the output written under a temporary
// name, synced, renamed, its folder synced; the report and the log synced;
// and with /nosync no sync at all.
TEST(SharedRecords, OutputsAreSyncedBeforeTheirRenameAndEverythingBeforeTheEnd) {
    TempDir home, work;
    const std::string fax = writeFax(work / "in/a.fxd", {{Sheet::Memo, C::T6, 0}});
    const std::string out = (work / "out").string(), report = (work / "r.jsonl").string();
    const std::string trace = (work / "trace").string();
    const auto traced = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"-f", "-y", "-o", trace, "-e", "trace=fsync,fdatasync,syncfs,rename,renameat,renameat2",
                                   quillonExe()});
        // LeakSanitizer cannot work under ptrace.
        const ProcessResult r = runProcess("/usr/bin/strace", args,
                                           {{"QUILLON_HOME", home.str()}, {"DISPLAY", ""}, {"ASAN_OPTIONS", "detect_leaks=0"}});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::vector<std::string> calls;
        std::istringstream text(readFile(trace));
        for (std::string line; std::getline(text, line);)
            if (line.find("resumed>") == std::string::npos) calls.push_back(line);
        return calls;
    };
    const auto position = [](const std::vector<std::string>& calls, const std::string& pattern) {
        const std::regex call(pattern);
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (std::regex_search(calls[i], call)) return int(i);
        return -1;
    };

    const std::vector<std::string> calls = traced({"/f=" + fax, "/sf=" + out + "/a.tif", "/report=" + report});
    std::string seen;
    for (const std::string& call : calls) seen += call + "\n";
    const std::string temporary = out + "/\\.a\\.tif\\.[^>]*";
    // Each output on its own (fsync) or with the others done with it (syncfs of its file system).
    const int outputSynced = position(calls, "(fsync|syncfs)\\(\\d+<" + temporary + ">");
    const int renamed = position(calls, "rename(at2?)?\\(.*\"" + temporary + "\", .*\"" + out + "/a\\.tif\"");
    const int folderSynced = position(calls, "fsync\\(\\d+<" + out + ">");
    const int reportSynced = position(calls, "fsync\\(\\d+<" + work.str() + "/(r\\.jsonl|\\.r\\.jsonl\\.[^>]*)>");
    const int logSynced = position(calls, "fsync\\(\\d+<[^>]*kfqlog\\.txt>");
    EXPECT_GE(outputSynced, 0) << seen;
    EXPECT_GT(renamed, outputSynced) << seen;
    EXPECT_GT(folderSynced, renamed) << seen;
    EXPECT_GT(reportSynced, renamed) << seen;
    EXPECT_GT(logSynced, reportSynced) << seen;

    const std::vector<std::string> unsynced =
        traced({"/f=" + fax, "/sf=" + out + "/b.tif", "/report=" + report, "/nosync"});
    EXPECT_EQ(position(unsynced, "sync"), -1) << unsynced.front();
}

// Where the file system refuses locks the run stops before it converts,
// unless /nolock says this run is the report's only writer.
TEST(SharedRecords, LocksRefusedStopTheRunUnlessNoLockIsGiven) {
    TempDir home, work;
    const std::string fax = writeFax(work / "in/a.fxd", {{Sheet::Memo, C::T6, 0}});
    const std::string out = (work / "out/a.tif").string(), report = (work / "r.jsonl").string();
    const std::map<std::string, std::string> refusing{{"LD_PRELOAD", QUILLON_REFUSE_LOCKS},
                                                      {"ASAN_OPTIONS", "verify_asan_link_order=0"}};
    ProcessResult r = runQuillon({"/f=" + fax, "/sf=" + out, "/report=" + report}, home.str(), refusing);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("report file " + report + " cannot be locked"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));

    r = runQuillon({"/f=" + fax, "/sf=" + out, "/report=" + report, "/nolock"}, home.str(), refusing);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string notJson;
    EXPECT_EQ(reportLines(report, notJson).size(), 1u);
    EXPECT_NE(readFile(home.path() / "log/kfqlog.txt").find(" : Success !"), std::string::npos);
}

}  // namespace
}  // namespace quillon::test
