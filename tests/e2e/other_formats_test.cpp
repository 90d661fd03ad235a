// Runs over TIFF, raw Group 3, Digifax, DCX, CALS and BMP files of printed
// pages, written by ImageMagick, libtiff's tiffcp, netpbm and Pillow (the
// Digifax header and the DCX page table of netpbm's and Pillow's pages by
// hand from their documented layout): every page converts to exactly what
// the writer itself reads back from its file.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <sstream>

#include "e2e/fax_fixtures.h"
#include "support/pdf_pages.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiff_info.h"

namespace quillon::test {
namespace {

namespace fs = std::filesystem;

const PrintedPage& letter() { return printedPage(Sheet::Letter, 100); }  // 1728 x 1100: standard resolution
const PrintedPage& memo() { return printedPage(Sheet::Memo, 200); }      // 1728 x 2200: fine

void run(const std::string& program, const std::vector<std::string>& args) {
    const ProcessResult r = runProcess(program, args);
    ASSERT_EQ(r.exitCode, 0) << program << " " << args.back() << ": " << r.err;
}

void convert(const std::vector<std::string>& args) { run("/usr/bin/convert", args); }

std::string writePbm(const fs::path& path, const Bitmap& page) {
    writeFile(path, "P4\n" + std::to_string(page.width) + " " + std::to_string(page.rows) + "\n" +
                        std::string(page.bits.begin(), page.bits.end()));
    return path.string();
}

// The pages of a stream of binary PBM images.
std::vector<Bitmap> pbmPages(const std::string& images) {
    std::vector<Bitmap> pages;
    std::istringstream in(images);
    std::string magic;
    while (in >> magic && magic == "P4") {
        Bitmap page;
        in >> page.width >> page.rows;
        in.get();
        page.bits.resize(std::size_t(page.bytesPerRow()) * page.rows);
        in.read(reinterpret_cast<char*>(page.bits.data()), std::streamsize(page.bits.size()));
        pages.push_back(std::move(page));
    }
    return pages;
}

// The pages ImageMagick reads from a file.
std::vector<Bitmap> magickPages(const std::string& source) {
    const ProcessResult r = runProcess("/usr/bin/convert", {source, "pbm:-"});
    EXPECT_EQ(r.exitCode, 0) << source << ": " << r.err;
    return pbmPages(r.out);
}

// The pages a shell command prints as binary PBM images.
std::vector<Bitmap> shellPages(const std::string& command) {
    const ProcessResult r = runProcess("/bin/sh", {"-c", command});
    EXPECT_EQ(r.exitCode, 0) << command << ": " << r.err;
    return pbmPages(r.out);
}

// A DCX file of PCX pages: its signature, the pages' offsets ended by 0, the pages.
void writeDcx(const fs::path& path, const std::vector<std::string>& pcxPages) {
    const auto u32 = [](std::uint32_t value) {
        return std::string{char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    };
    std::string table = u32(987654321), pages;
    std::uint32_t at = 4 * std::uint32_t(pcxPages.size() + 2);
    for (const std::string& page : pcxPages) {
        table += u32(at + std::uint32_t(pages.size()));
        pages += readFile(page);
    }
    writeFile(path, table + u32(0) + pages);
}

// The left width pixels of a page, whose other columns must be white.
Bitmap leftPart(const Bitmap& page, unsigned width) {
    Bitmap left{width, page.rows, {}};
    for (unsigned y = 0; y < page.rows; ++y) {
        const auto row = page.bits.begin() + std::ptrdiff_t(y) * page.bytesPerRow();
        left.bits.insert(left.bits.end(), row, row + left.bytesPerRow());
        for (unsigned x = width; x < page.width; ++x)
            EXPECT_EQ((row[x / 8] >> (7 - x % 8)) & 1, 0) << "black beyond the page at " << x << "," << y;
    }
    return left;
}

// The pages of a source, one name a line, and how the writer reads them back.
struct Source {
    std::string name;
    std::function<std::vector<Bitmap>(const std::string&)> writerReading;
    float yResolution = 0;  // 0: not checked
};

// libtiff's decoding, through an uncompressed copy in strips (the pages
// read back row by row).
std::vector<Bitmap> libtiffReading(const std::string& path) {
    const std::string copy = path + ".strips";
    run("/usr/bin/tiffcp", {"-c", "none", "-s", path, copy});
    std::vector<Bitmap> pages = readTiffPages(copy);
    fs::remove(copy);
    return pages;
}
// ImageMagick reads raw Group 3 data 2592 pixels wide.
std::vector<Bitmap> magickFaxReading(const std::string& path) {
    std::vector<Bitmap> pages = magickPages("fax:" + path);
    for (Bitmap& page : pages) page = leftPart(page, 1728);
    return pages;
}

// Writes every source into folder: two-page TIFF files in each variant
// tiffcp makes, and ImageMagick's other formats.
std::vector<Source> writeSources(const fs::path& folder) {
    const fs::path scratch = folder / ".." / "scratch";
    fs::create_directories(scratch);
    fs::create_directories(folder);
    const std::string a = writePbm(scratch / "letter.pbm", letter().bitmap);
    const std::string b = writePbm(scratch / "memo.pbm", memo().bitmap);
    const std::string base = (scratch / "base.tif").string();
    convert({a, b, "-density", "204x98", "-units", "PixelsPerInch", base});

    std::vector<Source> sources;
    const std::vector<std::vector<std::string>> variants = {
        {"-c", "g3:1d"}, {"-c", "g3:2d"}, {"-c", "g4"}, {"-c", "g4", "-f", "lsb2msb"}, {"-c", "g3:2d", "-r", "64"},
        {"-c", "lzw"},   {"-c", "packbits"}, {"-c", "none"}, {"-c", "packbits", "-t"}};
    for (std::size_t i = 0; i < variants.size(); ++i) {
        const std::string name = "tiff" + std::to_string(i) + ".tif";
        std::vector<std::string> args = variants[i];
        args.insert(args.end(), {base, (folder / name).string()});
        run("/usr/bin/tiffcp", args);
        sources.push_back({name, libtiffReading, 98});
    }

    // A file too large to hold in memory is read through its handle, and
    // converts as the same file held: a copy padded past the size held.
    writeFile(folder / "large.tif", readFile(folder / "tiff2.tif") + std::string(8 << 20, '\0'));
    sources.push_back({"large.tif", [held = (folder / "tiff2.tif").string()](const std::string&) {
                           return libtiffReading(held);
                       },
                       98});

    convert({a, "fax:" + (folder / "raw.g3n").string()});
    sources.push_back({"raw.g3n", magickFaxReading, 98});
    // A ".g3f" that holds a Group 3 TIFF file, as some fax programs keep them.
    fs::copy_file(folder / "tiff1.tif", folder / "tiff-inside.g3f");
    sources.push_back({"tiff-inside.g3f", libtiffReading, 98});
    // Digifax: a 0 byte, the signature, and byte 29 for fine resolution.
    std::string header(64, '\0');
    header.replace(1, 16, "PC Research, Inc");
    header[29] = 1;
    writeFile(folder / "fine.g3f", header + readFile(folder / "raw.g3n"));
    sources.push_back(
        {"fine.g3f", [raw = (folder / "raw.g3n").string()](const std::string&) { return magickFaxReading(raw); }, 196});

    // DCX pages from a GIF and from a PNG: ImageMagick writes their
    // palettes in either order of black and white.
    const std::string gif = (scratch / "letter.gif").string(), png = (scratch / "memo.png").string();
    convert({a, gif});
    convert({b, "-type", "Palette", "png8:" + png});
    convert({gif, png, (folder / "two.dcx").string()});
    sources.push_back({"two.dcx", magickPages, 0});
    writeFile(folder / "large-dcx.dcx", readFile(folder / "two.dcx") + std::string(8 << 20, '\0'));
    sources.push_back({"large-dcx.dcx", [held = (folder / "two.dcx").string()](const std::string&) {
                           return magickPages(held);
                       },
                       0});
    // netpbm's pages, black first in the palette and black second (a 1 bit
    // white, then black); netpbm writes each page's size where its
    // resolution belongs, which is then none (200 dpi).
    const std::string blackFirst = (scratch / "black-first.pcx").string(), blackSecond = (scratch / "black-second.pcx").string();
    writeFile(scratch / "white-black.ppm", std::string("P3\n2 1\n255\n255 255 255 0 0 0\n"));
    run("/bin/sh", {"-c", "ppmtopcx " + a + " > " + blackFirst});
    run("/bin/sh", {"-c", "ppmtopcx -palette=" + (scratch / "white-black.ppm").string() + " " + b + " > " + blackSecond});
    writeDcx(folder / "netpbm.dcx", {blackFirst, blackSecond});
    sources.push_back({"netpbm.dcx",
                       [blackFirst, blackSecond](const std::string&) {
                           return shellPages("for p in " + blackFirst + " " + blackSecond +
                                             "; do pcxtoppm $p | ppmtopgm | pgmtopbm -threshold; done");
                       },
                       200});
    // netpbm's raw Group 3 pages, in both bit orders, and its bitmap.
    for (const auto& [name, bits] : {std::pair{"pbmtog3.g3n", ""}, std::pair{"pbmtog3-reversed.g3n", " -reversebits"}}) {
        const std::string path = (folder / name).string();
        run("/bin/sh", {"-c", std::string("pbmtog3") + bits + " " + a + " > " + path});
        sources.push_back({name, [path, bits = std::string(bits)](const std::string&) {
                               return shellPages("g3topbm" + bits + " " + path);
                           },
                           98});
    }
    const std::string netpbmBmp = (folder / "ppmtobmp.bmp").string();
    run("/bin/sh", {"-c", "ppmtobmp -bpp=1 " + a + " > " + netpbmBmp});
    sources.push_back({"ppmtobmp.bmp", [netpbmBmp](const std::string&) {
                           return shellPages("bmptopnm " + netpbmBmp + " | ppmtopgm | pgmtopbm -threshold");
                       },
                       0});
    // Pillow's: both palette colours black, and a 1 bit white.
    const std::string pillowPage = (scratch / "pillow.pcx").string();
    run("/usr/bin/python3", {"-c", "import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])", a, pillowPage});
    writeDcx(folder / "pillow.dcx", {pillowPage});
    sources.push_back({"pillow.dcx",
                       [pillowPage](const std::string&) {
                           return shellPages("/usr/bin/python3 -c \"import sys; from PIL import Image; "
                                             "Image.open(sys.argv[1]).save(sys.stdout.buffer, 'PPM')\" " +
                                             pillowPage);
                       },
                       100});

    convert({a, "-density", "300", "-units", "PixelsPerInch", (folder / "page.cal").string()});
    sources.push_back({"page.cal", magickPages, 0});

    convert({a, "-type", "bilevel", (folder / "bottom-up.bmp").string()});
    sources.push_back({"bottom-up.bmp", magickPages, 0});
    // A top-down copy: the rows turned round and the height negated.
    std::string bmp = readFile(folder / "bottom-up.bmp");
    const std::uint32_t pixelsAt = std::uint8_t(bmp[10]) | std::uint8_t(bmp[11]) << 8;
    const std::size_t stride = (1728 + 31) / 32 * 4, rows = 1100;
    std::string turned = bmp.substr(0, pixelsAt);
    for (std::size_t y = rows; y-- > 0;) turned += bmp.substr(pixelsAt + y * stride, stride);
    const std::int32_t negative = -std::int32_t(rows);
    std::memcpy(turned.data() + 22, &negative, 4);
    writeFile(folder / "top-down.bmp", turned);
    sources.push_back({"top-down.bmp", magickPages, 0});
    return sources;
}

TEST(OtherFormats, EveryPageConvertsToWhatItsWriterReads) {
    TempDir work, home;
    const std::vector<Source> sources = writeSources(work / "in");
    const ProcessResult r = runQuillon({"/d=" + (work / "in").string(), "/sd=" + (work / "out").string(),
                                        "/formats=tiff,g3,digifax,dcx,cals,bmp", "/report=" + (work / "r.jsonl").string()},
                                       home.str());
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Total converted FAX files: " + std::to_string(sources.size())), std::string::npos) << r.out;
    for (const Source& source : sources) {
        SCOPED_TRACE(source.name);
        const std::string input = (work / "in" / source.name).string();
        const std::string output = (work / "out" / fs::path(source.name).replace_extension(".tif")).string();
        const std::vector<Bitmap> expected = source.writerReading(input);
        const std::vector<Bitmap> written = readTiffPages(output);
        ASSERT_FALSE(expected.empty());
        ASSERT_EQ(written.size(), expected.size());
        // The writer read back what was drawn: the pages are the printed ones.
        EXPECT_EQ(expected[0].hash(), letter().bitmap.hash());
        for (std::size_t page = 0; page < expected.size(); ++page) {
            EXPECT_EQ(written[page].width, expected[page].width) << page;
            EXPECT_EQ(written[page].rows, expected[page].rows) << page;
            EXPECT_EQ(written[page].hash(), expected[page].hash()) << page;
        }
        const std::vector<TiffPageInfo> info = readTiffInfo(output);
        ASSERT_FALSE(info.empty());
        EXPECT_EQ(info[0].compression, 4);
        if (source.yResolution) {
            EXPECT_EQ(info[0].yResolution, source.yResolution);
        }
        if (source.name == "page.cal") {
            EXPECT_EQ(info[0].xResolution, 300) << "rdensty";
        }
    }
    // One report line per file, every page ok.
    std::istringstream report(readFile(work / "r.jsonl"));
    std::size_t lines = 0;
    for (std::string line; std::getline(report, line); ++lines) {
        const nlohmann::json entry = nlohmann::json::parse(line);
        EXPECT_EQ(entry["status"], "converted") << line;
        for (const auto& page : entry["pages"]) EXPECT_EQ(page["state"], "ok") << line;
        // Only netpbm's resolution fields hold no resolution, and the run says so.
        const bool netpbm = std::string(entry["source"]).ends_with("netpbm.dcx");
        EXPECT_EQ(entry.contains("warnings"), netpbm) << line;
        if (netpbm) {
            EXPECT_EQ(entry["warnings"],
                      nlohmann::json({"page 1 of 2: the resolution its header gives (1728 x 1100 dpi) cannot be a "
                                      "fax's; written at 200 dpi",
                                      "page 2 of 2: the resolution its header gives (1728 x 2200 dpi) cannot be a "
                                      "fax's; written at 200 dpi"}));
        }
    }
    EXPECT_NE(r.err.find("netpbm.dcx: page 2 of 2: the resolution its header gives (1728 x 2200 dpi)"),
              std::string::npos) << r.err;
    EXPECT_EQ(lines, sources.size());
}

TEST(OtherFormats, AMixedFolderConvertsInOneRunAndTheDefaultRunTakesOnlyWinFax) {
    TempDir work;
    const fs::path in = work / "in";
    writeFax(in / "fax.fxd", {{Sheet::Letter, FaxPageCoding::T6, 0}});
    fs::create_directories(in / "sub");
    convert({writePbm(work / "letter.pbm", letter().bitmap), "-density", "204x98", "-units", "PixelsPerInch",
             "-compress", "Group4", (in / "sub" / "g4.tif").string()});
    convert({(work / "letter.pbm").string(), (work / "letter.gif").string()});
    convert({(work / "letter.gif").string(), (in / "one.dcx").string()});
    run("/bin/sh", {"-c", "ppmtopcx " + (work / "letter.pbm").string() + " > " + (work / "letter.pcx").string()});
    writeDcx(in / "netpbm.dcx", {(work / "letter.pcx").string()});
    convert({(work / "letter.pbm").string(), "fax:" + (in / "raw.g3n").string()});
    writeFile(in / "headerless.g3f", readFile(in / "raw.g3n"));
    convert({(work / "letter.pbm").string(), (in / "page.cal").string()});
    convert({(work / "letter.pbm").string(), "-type", "bilevel", (in / "sheet.bmp").string()});
    // Damaged and refused: a CALS page cut short, a greyscale TIFF, a colour
    // bitmap, a DCX file without its signature and a format without a
    // public description.
    writeFile(in / "cut.cal", readFile(in / "page.cal").substr(0, 2048 + 600));
    convert({"-size", "300x200", "gradient:", (in / "grey.tif").string()});
    convert({"-size", "300x200", "xc:red", (in / "red.bmp").string()});
    writeFile(in / "junk.dcx", "not a DCX file at all");
    writeFile(in / "inbox.awd", "a Microsoft fax");
    writeFile(in / "notes.txt", "no fax");

    const std::string out = (work / "pdf").string(), report = (work / "r.jsonl").string();
    TempDir home;
    const ProcessResult all =
        runQuillon({"/d=" + in.string(), "/sd=" + out, "/i", "/kh", "/pdf", "/formats=all", "/report=" + report},
                   home.str());
    EXPECT_EQ(all.exitCode, 1) << "files failed";
    const std::map<std::string, std::string> expected = {
        {"fax.fxd", "converted"}, {"sub/g4.tif", "converted"}, {"one.dcx", "converted"}, {"netpbm.dcx", "converted"},
        {"raw.g3n", "converted"}, {"page.cal", "converted"},   {"sheet.bmp", "converted"},
        {"headerless.g3f", "converted"},
        {"cut.cal", "converted"}, {"grey.tif", "not-fax"},     {"red.bmp", "not-fax"},
        {"junk.dcx", "not-fax"},  {"inbox.awd", "failed"}};
    std::map<std::string, std::string> statuses;
    std::istringstream lines(readFile(report));
    for (std::string line; std::getline(lines, line);) {
        const nlohmann::json entry = nlohmann::json::parse(line);
        const std::string source = entry["source"];
        const std::string name = source.substr(in.string().size() + 1);
        statuses[name] = entry["status"];
        const std::map<std::string, std::string> why = {
            {"grey.tif", "a greyscale image"}, {"red.bmp", "a bitmap of 24 bits per pixel"},
            {"junk.dcx", "does not start with the DCX signature"}, {"inbox.awd", "no public description"}};
        if (why.count(name)) {
            EXPECT_NE(std::string(entry["reasonText"]).find(why.at(name)), std::string::npos) << line;
        }
        if (name == "cut.cal") {
            EXPECT_EQ(entry["pages"][0]["state"], "damaged");
        }
    }
    EXPECT_EQ(statuses, expected);
    EXPECT_NE(all.out.find("inbox.awd - Not supported (AWD files: no public description of their layout)"),
              std::string::npos) << all.out;
    EXPECT_NE(all.out.find("/cut.pdf : Success !"), std::string::npos) << all.out;
    EXPECT_NE(readFile(home / "log/kfqlog.txt").find("Damaged : page 1 of 1:"), std::string::npos);
    // Every page at its resolution: the file's, or 200 dpi where it gives none.
    const std::map<std::string, std::pair<double, double>> dpi = {
        {"fax", {200, 100}}, {"sub/g4", {204, 98}}, {"one", {200, 200}}, {"netpbm", {200, 200}},
        {"raw", {204, 98}},  {"page", {200, 200}},  {"sheet", {200, 200}}, {"headerless", {204, 98}}};
    for (const auto& [name, resolution] : dpi) {
        SCOPED_TRACE(name);
        const std::string pdf = out + "/" + name + ".pdf";
        ASSERT_EQ(listPdfImages(pdf).size(), 1u);
        EXPECT_EQ(renderPdfPage(pdf, 1, resolution.first, resolution.second, 1728, 1100).hash(),
                  letter().bitmap.hash());
    }
    EXPECT_EQ(listPdfImages(out + "/cut.pdf").size(), 1u);

    // By default the same folder gives only its WinFax file.
    const std::string plainOut = (work / "plain").string();
    const ProcessResult plain = runQuillon({"/d=" + in.string(), "/sd=" + plainOut, "/i", "/kh"}, home.str());
    EXPECT_EQ(plain.exitCode, 0) << plain.out << plain.err;
    std::vector<std::string> written;
    for (const auto& entry : fs::recursive_directory_iterator(plainOut))
        if (entry.is_regular_file()) written.push_back(entry.path().filename().string());
    EXPECT_EQ(written, std::vector<std::string>{"fax.tif"});
    EXPECT_NE(plain.out.find("Total converted FAX files: 1"), std::string::npos) << plain.out;
}

// TIFF sources and their TIFF outputs in one folder: no output replaces a source.
TEST(OtherFormats, ATiffOutputNeverReplacesItsSource) {
    TempDir work, home;
    const fs::path folder = work / "both";
    fs::create_directories(folder);
    convert({writePbm(work / "letter.pbm", letter().bitmap), "-compress", "Group4", (folder / "a.tif").string()});
    const std::string before = readFile(folder / "a.tif");
    const ProcessResult r = runQuillon({"/d=" + folder.string(), "/sd=" + folder.string(), "/formats=tiff"}, home.str());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find(" - the output " + (folder / "a.tif").string() + " is a source of this run; nothing written"),
              std::string::npos) << r.out;
    EXPECT_EQ(readFile(folder / "a.tif"), before);
}

}  // namespace
}  // namespace quillon::test
