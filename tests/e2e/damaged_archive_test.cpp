// Damaged archives through the quillon executable: every page keeps its place
// in both page modes, the undamaged pages stay pixel-exact, the damage is named
// on standard error and in the report, and sources that cannot be read fail.

#include <gtest/gtest.h>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "e2e/fax_fixtures.h"
#include "support/pdf_pages.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiff_info.h"

namespace quillon::test {
namespace {

using C = FaxPageCoding;
using nlohmann::json;

const std::vector<FixturePage> kPages = {
    {Sheet::Memo, C::T6, 1}, {Sheet::PriceList, C::T4OneDimensional, 1}, {Sheet::Letter, C::T6, 1}};

enum class Harm { FlipBytes, CutOut, CutShort, NoData, Random };

struct Damage {
    const char* name;
    std::size_t page;
    Harm harm;
    double where;  // fraction of the page data
};

std::vector<std::uint8_t> harmed(std::vector<std::uint8_t> data, const Damage& d) {
    const std::size_t at = std::min(data.size() - 64, std::size_t(double(data.size()) * d.where));
    switch (d.harm) {
        case Harm::FlipBytes:
            for (std::size_t i = at; i < at + 6; ++i) data[i] ^= 0xFF;
            break;
        case Harm::CutOut:
            data.erase(data.begin() + std::ptrdiff_t(at), data.begin() + std::ptrdiff_t(at + 37));
            break;
        case Harm::CutShort:
            data.resize(data.size() - 50);
            break;
        case Harm::NoData:
            data.clear();
            break;
        case Harm::Random:
            for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::uint8_t(i * 2654435761u >> 13);
            break;
    }
    return data;
}

std::vector<json> reportLines(const std::string& path) {
    std::vector<json> lines;
    std::istringstream in(readFile(path));
    for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));  // throws when not JSON
    return lines;
}

TEST(DamagedArchive, EveryPageKeepsItsPlaceAndOnlyTheDamagedOneDiffers) {
    const Damage damages[] = {
        {"bytes flipped at the start of page 1", 0, Harm::FlipBytes, 0.0},
        {"bytes cut out at the start of page 1", 0, Harm::CutOut, 0.0},
        // Most lines of the page go wrong behind this damage; its EOFB keeps it a fax.
        {"bytes flipped in the first third of page 1", 0, Harm::FlipBytes, 0.3},
        {"bytes flipped in the middle of page 2", 1, Harm::FlipBytes, 0.5},
        {"bytes cut out in the middle of page 2", 1, Harm::CutOut, 0.5},
        {"last bytes of the last page cut off (its foot is a box)", 2, Harm::CutShort, 1.0},
        {"page 2 without data", 1, Harm::NoData, 0.0},
        {"page 2 of random bytes", 1, Harm::Random, 0.0},
    };
    for (const Damage& damage : damages) {
        std::vector<WinFaxPage> pages;
        for (const FixturePage& page : kPages) pages.push_back(fixturePage(page));
        pages[damage.page].data = harmed(pages[damage.page].data, damage);
        for (const bool split : {false, true}) {
            for (const bool relines : {false, true}) {
                SCOPED_TRACE(std::string(damage.name) + (split ? ", split" : ", one file") +
                             (relines ? ", /relines" : ""));
                TempDir home, work;
                const std::string source = (work / "fax.fxd").string();
                writeFile(source, buildWinFaxFile(pages));
                std::vector<std::string> args = {"/f=" + source, "/sf=" + (work / "out.tif").string(), "/q",
                                                 "/report=" + (work / "report.jsonl").string()};
                if (split) args.push_back("/m=1");
                if (relines) args.push_back("/relines");
                const ProcessResult r = runQuillon(args, home.str());
                EXPECT_EQ(r.exitCode, 0) << r.err;

                // One line on standard error names the damaged page, and no
                // message of libtiff's is left.
                const std::string named = "quillon: " + source + ": page " + std::to_string(damage.page + 1) + " of 3: ";
                EXPECT_EQ(r.err.rfind(named, 0), 0u) << r.err;
                EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;

                const std::vector<json> report = reportLines((work / "report.jsonl").string());
                ASSERT_EQ(report.size(), 1u);
                EXPECT_EQ(report[0]["status"], "converted");
                ASSERT_EQ(report[0]["pages"].size(), 3u);
                EXPECT_EQ(report[0]["pages"][damage.page]["state"], damage.harm == Harm::NoData ? "empty" : "damaged");

                std::vector<TiffPageInfo> info;
                std::vector<Bitmap> pixels;
                for (unsigned page = 1; page <= 3; ++page) {
                    const std::string file = (work / (split ? "out00" + std::to_string(page) + ".tif" : "out.tif")).string();
                    if (!split && page > 1) break;
                    for (const auto& i : readTiffInfo(file)) info.push_back(i);
                    for (const auto& b : readTiffPages(file)) pixels.push_back(b);
                }
                ASSERT_EQ(info.size(), 3u);
                ASSERT_EQ(pixels.size(), 3u);
                for (std::size_t page = 0; page < 3; ++page) {
                    EXPECT_EQ(info[page].pageIndex, page);
                    EXPECT_EQ(info[page].pageCount, 3);
                    EXPECT_EQ(report[0]["pages"][page]["rows"], info[page].rows);
                    if (page != damage.page) {
                        EXPECT_EQ(pixels[page].hash(), fixtureHash(kPages[page])) << page;
                    }
                }
                // A page without data is a white page of its header's size;
                // one of random bytes keeps its header's size too.
                if (damage.harm == Harm::NoData || damage.harm == Harm::Random) {
                    EXPECT_EQ(info[1].rows, fixtureBitmap(kPages[1]).rows);
                }
                if (damage.harm == Harm::NoData) {
                    EXPECT_EQ(pixels[1].bits, std::vector<std::uint8_t>(fixtureBitmap(kPages[1]).bits.size(), 0));
                }
                if (split || relines) continue;

                // The PDF of the same fax shows the very pages of the TIFF file.
                const std::string pdf = (work / "out.pdf").string();
                args[1] = "/sf=" + pdf;
                const ProcessResult p = runQuillon(args, home.str());
                EXPECT_EQ(p.exitCode, 0) << p.err;
                EXPECT_EQ(p.err, r.err);
                EXPECT_EQ(reportLines((work / "report.jsonl").string()).back()["pages"], report[0]["pages"]);
                ASSERT_EQ(listPdfImages(pdf).size(), 3u);
                for (std::size_t page = 0; page < 3; ++page)
                    EXPECT_EQ(renderPdfPage(pdf, int(page + 1), 200, 200, info[page].width, info[page].rows).hash(),
                              pixels[page].hash())
                        << "PDF page " << page + 1;
            }
        }
    }
}

TEST(DamagedArchive, FirstPagesThatAreNotAllFaxData) {
    TempDir home, work;
    // A T.6 first page of a bad code, 20 white lines and an EOFB, bits least
    // significant first: 000000001, then twenty 1 bits, then two EOLs.
    std::string bits = "000000001" + std::string(20, '1') + "000000000001000000000001";
    std::vector<std::uint8_t> data((bits.size() + 7) / 8, 0);
    for (std::size_t i = 0; i < bits.size(); ++i)
        if (bits[i] == '1') data[i / 8] |= std::uint8_t(1u << (i % 8));
    WinFaxPage badStart;
    badStart.coding = 1;
    badStart.data = data;
    WinFaxPage random = fixturePage(kPages[0]);
    std::uint32_t state = 12345;
    for (auto& byte : random.data) byte = std::uint8_t((state = state * 1103515245u + 12345u) >> 16);
    writeFile(work / "in/bad-start.fxd", buildWinFaxFile({badStart, fixturePage(kPages[2])}));
    writeFile(work / "in/random.fxd", buildWinFaxFile({random, fixturePage(kPages[2])}));
    WinFaxPage empty = fixturePage(kPages[0]);
    empty.data.clear();
    writeFile(work / "in/empty-first.fxd", buildWinFaxFile({empty, fixturePage(kPages[2])}));

    const std::string in = (work / "in").string(), out = (work / "out").string();
    const ProcessResult r =
        runQuillon({"/d=" + in, "/sd=" + out, "/report=" + (work / "r.jsonl").string()}, home.str());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find(in + "/bad-start.fxd --> " + out + "/bad-start.tif : Success !\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" : Failed : " + in + "/random.fxd - Not Fax\n"), std::string::npos) << r.out;
    // An empty first page says nothing about the pages after it.
    EXPECT_NE(r.out.find(in + "/empty-first.fxd --> " + out + "/empty-first.tif : Success !\n"), std::string::npos);
    for (const char* name : {"/bad-start.tif", "/empty-first.tif"}) {
        const std::vector<Bitmap> pages = readTiffPages(out + name);
        ASSERT_EQ(pages.size(), 2u) << name;
        EXPECT_EQ(pages[1].hash(), fixtureHash(kPages[2])) << name;
    }
    const std::vector<json> report = reportLines((work / "r.jsonl").string());
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[0]["pages"][0]["state"], "damaged");
    EXPECT_EQ(report[0]["pages"][0]["coding"], "T.6");
    EXPECT_EQ(report[1]["pages"][0]["state"], "empty");
    EXPECT_EQ(report[2]["status"], "not-fax");
    EXPECT_EQ(report[2]["result"], -5);
    EXPECT_EQ(report[2]["outputs"], json::array());
}

// A file cut inside its last page is named as cut, with its byte counts, and
// damage is counted in the page's rows: on standard error, in the report
// and under the file's results line in the log (standard output keeps the
// results text as it is).
TEST(DamagedArchive, CutFilesAndFlippedBytesAreCountedInThePagesRows) {
    TempDir home, work;
    const WinFaxPage first = fixturePage(kPages[1]);
    const WinFaxPage second = fixturePage(kPages[2]);
    const unsigned pageRows = second.length;
    const std::string whole = buildWinFaxFile({first, second});
    const std::size_t present = second.data.size() / 3;
    writeFile(work / "in/cut.fxd", whole.substr(0, whole.size() - second.data.size() + present));
    WinFaxPage flipped = second;
    for (std::size_t i = flipped.data.size() / 4; i < flipped.data.size() / 4 + 40; ++i) flipped.data[i] ^= 0xFF;
    writeFile(work / "in/flipped.fxd", buildWinFaxFile({first, flipped}));

    const std::string in = (work / "in").string(), out = (work / "out").string();
    const ProcessResult r = runQuillon({"/d=" + in, "/sd=" + out, "/j=1", "/report=" + (work / "r.jsonl").string()},
                                       home.str());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find(in + "/cut.fxd --> " + out + "/cut.tif : Success !\n" + in + "/flipped.fxd"),
              std::string::npos)
        << r.out;
    const std::string cutLine = "quillon: " + in + "/cut.fxd: page 2 of 2: the file ends inside this page (";
    EXPECT_NE(r.err.find(cutLine), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("whatever followed is missing"), std::string::npos) << r.err;

    const std::vector<json> report = reportLines((work / "r.jsonl").string());
    ASSERT_EQ(report.size(), 2u);
    const json& cut = report[0]["pages"][1];
    EXPECT_EQ(cut["state"], "cut");
    EXPECT_EQ(cut["bytesAnnounced"], second.data.size());
    EXPECT_EQ(cut["bytesPresent"], present);
    EXPECT_GT(cut["damagedRows"], pageRows / 2) << "two thirds of the page's data are missing";
    EXPECT_LT(cut["damagedRows"], pageRows);
    EXPECT_EQ(report[0]["pages"][0]["state"], "ok");
    const json& damaged = report[1]["pages"][1];
    EXPECT_EQ(damaged["state"], "damaged");
    EXPECT_GT(damaged["damagedRows"], 0);
    EXPECT_LE(damaged["damagedRows"], pageRows) << "never more than the page's rows";
    const std::string rows =
        damaged["damagedRows"].dump() + " of " + std::to_string(pageRows) + " rows could not be decoded";
    EXPECT_NE(r.err.find("flipped.fxd: page 2 of 2: " + rows), std::string::npos) << r.err;

    // The rows before the cut are the fax's own.
    const std::vector<Bitmap> pages = readTiffPages(out + "/cut.tif");
    ASSERT_EQ(pages.size(), 2u);
    const Bitmap& drawn = fixtureBitmap(kPages[2]);
    const std::size_t kept = (pageRows - cut["damagedRows"].get<std::size_t>()) * drawn.bytesPerRow();
    EXPECT_TRUE(std::equal(drawn.bits.begin(), drawn.bits.begin() + std::ptrdiff_t(kept), pages[1].bits.begin()));

    const std::string log = readFile(home / "log/kfqlog.txt");
    EXPECT_NE(log.find("cut.tif : Success !\r\n    Damaged : page 2 of 2: the file ends inside this page ("),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("flipped.tif : Success !\r\n    Damaged : page 2 of 2: " + rows), std::string::npos) << log;
}

TEST(DamagedArchive, AnUnreadableSubFolderIsNamedAndTheRestIsConverted) {
    TempDir home, work;
    const std::string in = (work / "in").string(), out = (work / "out").string();
    writeFax(work / "in/a.fxd", {kPages[2]});
    writeFax(work / "in/locked/b.fxd", {kPages[2]});
    writeFax(work / "in/sub/c.fxd", {kPages[2]});
    namespace fs = std::filesystem;
    fs::permissions(work / "in/locked", fs::perms::none);
    std::vector<std::string> args = {"/d=" + in, "/sd=" + out, "/i", "/kh"};
    ProcessResult r;
    if (geteuid() == 0) {
        // Root reads every folder: the run goes as the unprivileged user
        // nobody, with a copy of the program and its core in the work folder,
        // since nobody may not enter the build tree (a clone in a folder only
        // root may enter).
        for (const fs::path& folder : {home.path(), work.path()}) fs::permissions(folder, fs::perms::all);
        const fs::path bin = work / "bin", program = fs::path(quillonExe());
        fs::create_directory(bin);
        for (const fs::path& file : {program, program.parent_path() / "libquillon-core.so"})
            fs::copy_file(file, bin / file.filename());
        const std::vector<std::string> asNobody = {"--reuid=65534", "--regid=65534", "--clear-groups"};
        std::vector<std::string> reach = asNobody;
        reach.insert(reach.end(), {"/usr/bin/test", "-x", (bin / program.filename()).string()});
        if (runProcess("/usr/bin/setpriv", reach).exitCode != 0)
            GTEST_SKIP() << "the user nobody cannot reach " << bin << " (TMPDIR in a folder only root may enter?)";
        args.insert(args.begin(), (bin / program.filename()).string());
        args.insert(args.begin(), asNobody.begin(), asNobody.end());
        r = runProcess("/usr/bin/setpriv", args,
                       {{"QUILLON_HOME", home.str()}, {"LD_LIBRARY_PATH", bin.string()}, {"DISPLAY", ""},
                        {"WAYLAND_DISPLAY", ""}});
    } else {
        r = runQuillon(args, home.str());
    }
    fs::permissions(work / "in/locked", fs::perms::owner_all);
    EXPECT_EQ(r.exitCode, 3) << "the run could not do all its work";
    EXPECT_EQ(r.err, "quillon: the folder " + in + "/locked cannot be read; its files are not converted\n");
    EXPECT_NE(r.out.find("Total converted FAX files: 2\n"), std::string::npos) << r.out;
    expectTiffPages(out + "/sub/c.tif", {kPages[2]});
}

TEST(DamagedArchive, SourcesAndReportsThatCannotBeUsedFailTheRun) {
    TempDir home, work;
    const std::string out = (work / "out").string();
    const std::string header = "Batch Quillon command line mode : convert folder\nSource Folder: ";
    const std::string missing = (work / "no such folder").string();

    ProcessResult r = runQuillon({"/d=" + missing, "/sd=" + out}, home.str());
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "quillon: the folder " + missing + " cannot be read; its files are not converted\n");
    EXPECT_EQ(r.out, "Please Wait...\n" + header + missing + "\nSave Folder: " + out +
                         "\n\n---------\nTotal converted FAX files: 0\n");
    EXPECT_NE(readFile(home / "log/kfqlog.txt").find("Total converted FAX files: 0"), std::string::npos);

    r = runQuillon({"/sd=" + out}, home.str());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quillon: no source folder: give the folder to convert with /d=\n");

    std::filesystem::create_directories(work / "in");
    r = runQuillon({"/d=" + (work / "in").string(), "/sd=" + out, "/report=" + (work / "in").string()}, home.str());
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("report file"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace quillon::test
