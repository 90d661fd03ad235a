// File runs of the quillon executable: page files, dates, page limits, and
// what an interrupted run leaves behind.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "e2e/fax_fixtures.h"
#include "support/pdf_pages.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiff_info.h"

namespace quillon::test {
namespace {

using C = FaxPageCoding;

const std::vector<FixturePage> kThreePages = {
    {Sheet::Memo, C::T6, 1}, {Sheet::Letter, C::T4OneDimensional, 0}, {Sheet::PriceList, C::T6, 1}};

TEST(FileRun, SplitModeWritesOneFilePerPageWithItsPlaceInTheFax) {
    TempDir home, work;
    const std::string fax = writeFax(work / "in/a.fxd", kThreePages);
    const std::string out = (work / "out/a.tif").string();
    const ProcessResult r = runQuillon({"/f=" + fax, "/sf=" + out, "/m=1"}, home.str());
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.err, "") << "libtiff has nothing to say about the outputs";
    const std::string stem = (work / "out/a").string();
    EXPECT_EQ(r.out, "Batch Quillon command line mode : convert file\n" + fax + " --> " + out +
                         " : Multiple pages as following :\n"
                         "        page 001 --> " + stem + "001.tif : Success !\n"
                         "        page 002 --> " + stem + "002.tif : Success !\n"
                         "        page 003 --> " + stem + "003.tif : Success !\n");
    for (unsigned i = 0; i < 3; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%03u.tif", i + 1);
        expectTiffPages(stem + name, {kThreePages[i]}, i, 3);
    }
    EXPECT_FALSE(std::filesystem::exists(out));

    // A one-page fax in split mode goes to the destination itself.
    const std::string single = writeFax(work / "in/one.fxd", {kThreePages[0]});
    const ProcessResult one = runQuillon({"/q", "/f=" + single, "/sf=" + (work / "out/one.tif").string(), "/m=1"},
                                         home.str());
    EXPECT_EQ(one.exitCode, 0);
    expectTiffPages((work / "out/one.tif").string(), {kThreePages[0]});
    EXPECT_FALSE(std::filesystem::exists(work / "out/one001.tif"));
}

// Every coding and resolution, and pages of two widths, in one PDF named by
// its extension; its document information comes from the source.
TEST(FileRun, PdfHoldsEveryPageWithTheSourceNameAndDate) {
    TempDir home, work;
    const std::vector<FixturePage> pages = {{Sheet::Memo, C::T6, 1},
                                            {Sheet::Letter, C::T4OneDimensional, 0},
                                            {Sheet::WideNotice, C::T6, 2},
                                            {Sheet::PriceList, C::T4OneDimensional, 1}};
    const std::string fax = writeFax(work / "in/a.fxd", pages);
    const timespec times[2] = {{1000000000, 0}, {1234567890, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, fax.c_str(), times, 0), 0);
    const std::string out = (work / "out/a.PDF").string();
    const ProcessResult r = runQuillon({"/f=" + fax, "/sf=" + out, "/l"}, home.str());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Batch Quillon command line mode : convert file\n" + fax + " --> " + out + " : Success !\n");
    expectPdfPages(out, pages);
    struct stat info {};
    ASSERT_EQ(stat(out.c_str(), &info), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, 1234567890);

    const ProcessResult document = runProcess("/usr/bin/pdfinfo", {"-isodates", out});
    EXPECT_NE(document.out.find("Title:           a.fxd\n"), std::string::npos) << document.out;
    EXPECT_NE(document.out.find("Producer:        Batch Quillon V3.00, build 0903\n"), std::string::npos);
    EXPECT_NE(document.out.find("CreationDate:    2009-02-13T23:31:30Z\n"), std::string::npos);
    const std::string xmp = runProcess("/usr/bin/pdfinfo", {"-meta", out}).out;
    for (const char* field : {"<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">a.fxd</rdf:li></rdf:Alt></dc:title>",
                              "<xmp:CreateDate>2009-02-13T23:31:30Z</xmp:CreateDate>",
                              "<pdf:Producer>Batch Quillon V3.00, build 0903</pdf:Producer>",
                              "<pdfaid:part>2</pdfaid:part>", "<pdfaid:conformance>B</pdfaid:conformance>"})
        EXPECT_NE(xmp.find(field), std::string::npos) << field << " in\n" << xmp;
    const std::string objects = runProcess("/usr/bin/qpdf", {"--qdf", "--object-streams=disable", out, "-"}).out;
    for (const char* key : {"/OutputIntents", "/S /GTS_PDFA1", "/DestOutputProfile", "/N 1", "/OutputConditionIdentifier (Gray)"})
        EXPECT_NE(objects.find(key), std::string::npos) << key << ": PDF/A wants an output intent with its profile";
    // Beside its images' data the file is small: its profile, dictionaries
    // and cross-references deflated (uncompressed, the profile alone is 6.9 KB).
    const std::uint64_t rest = std::filesystem::file_size(out) - pdfImageBytes(out);
    EXPECT_LE(rest, 4096 + 400 * pages.size());
}

TEST(FileRun, PdfSplitModeWritesOnePdfPerPageAndFailsLikeTiff) {
    TempDir home, work;
    const std::string fax = writeFax(work / "in/a.fxd", kThreePages);
    const ProcessResult r =
        runQuillon({"/q", "/f=" + fax, "/sf=" + (work / "out/a.tif").string(), "/m=1", "/pdf"}, home.str());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (unsigned i = 0; i < 3; ++i)
        expectPdfPages((work / ("out/a00" + std::to_string(i + 1) + ".pdf")).string(), {kThreePages[i]});
    EXPECT_FALSE(std::filesystem::exists(work / "out/a.tif"));
    EXPECT_FALSE(std::filesystem::exists(work / "out/a001.tif"));

    // An output that cannot take its name fails with the TIFF output's line.
    std::filesystem::create_directories(work / "taken/b.pdf/x");
    const std::string out = (work / "taken/b.pdf").string();
    const ProcessResult failed = runQuillon({"/f=" + fax, "/sf=" + out, "/report=" + (work / "r.jsonl").string()},
                                            home.str());
    EXPECT_EQ(failed.exitCode, 3) << "an output that cannot be written";
    EXPECT_EQ(failed.out, "Batch Quillon command line mode : convert file\n" + fax + " --> " + out +
                              " : Failed : Error in converting FAX to TIFF !\n");
    EXPECT_NE(readFile(work / "r.jsonl").find("\"outputs\":[],\"result\":-7,"), std::string::npos);
    std::size_t left = 0;
    for (const auto& entry : std::filesystem::directory_iterator(work / "taken")) left += entry.is_regular_file();
    EXPECT_EQ(left, 0u) << "no unfinished PDF is left beside the output";
}

// An ALTO file's words: page, box in the page's own pixels, text.
struct AltoWord {
    int page;
    int left, top, right, bottom;
    std::string text;
};
std::vector<AltoWord> altoFileWords(const std::string& alto) {
    std::vector<AltoWord> words;
    const std::string text = readFile(alto);
    const std::regex altoString(
        "<String ID=\"word_([0-9]+)_[0-9_]+\" HPOS=\"([0-9]+)\" VPOS=\"([0-9]+)\" WIDTH=\"([0-9]+)\" "
        "HEIGHT=\"([0-9]+)\" WC=\"[0-9.]+\" CONTENT=\"([^\"]*)\"/>");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), altoString); it != std::sregex_iterator(); ++it) {
        const auto& m = *it;
        const int left = std::stoi(m[2]), top = std::stoi(m[3]);
        words.push_back({std::stoi(m[1]), left, top, left + std::stoi(m[4]), top + std::stoi(m[5]), m[6]});
    }
    return words;
}

// The printed letter at both resolutions, and a memo, through /ocrtext=: the letter's words are found where they are printed, in
// the PDF and in the ALTO file, the pages are still exactly their pixels, and
// the text files and the report tell what was read. Read by two workers
// sharing the pages, every output and the report are the same.
TEST(FileRun, OcrLaysTheWordsOverWhereTheyArePrinted) {
    TempDir home, work;
    const std::vector<FixturePage> pages = {
        {Sheet::Letter, C::T6, 1}, {Sheet::Letter, C::T4OneDimensional, 0}, {Sheet::Memo, C::T6, 1}};
    const std::string fax = writeFax(work / "in/letter.fxd", pages);
    const auto convert = [&](const std::string& folder, const std::string& workers) {
        return runQuillon({"/q", "/j=" + workers, "/f=" + fax, "/sf=" + (work / folder / "letter.pdf").string(),
                           "/ocrtext=txt,hocr,alto", "/report=" + (work / (folder + ".jsonl")).string()},
                          home.str());
    };
    const std::string out = (work / "out/letter.pdf").string();
    const std::string report = (work / "out.jsonl").string();
    const ProcessResult r = convert("out", "1");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    expectPdfPages(out, pages);

    const std::vector<PdfWord> words = pdfWords(out);
    const std::string alto = (work / "out/letter.alto.xml").string(), hocr = (work / "out/letter.hocr").string();
    EXPECT_EQ(runProcess("/usr/bin/xmllint", {"--noout", alto}).exitCode, 0);
    EXPECT_EQ(runProcess("/usr/bin/xmllint", {"--html", "--noout", hocr}).exitCode, 0);
    const std::string hocrText = readFile(hocr);
    const std::regex hocrPage("class=\"ocr_page\"");
    EXPECT_EQ(std::distance(std::sregex_iterator(hocrText.begin(), hocrText.end(), hocrPage), std::sregex_iterator()), 3);
    const std::vector<AltoWord> altoWords = altoFileWords(alto);
    const std::string line = readFile(report);
    const std::regex pageWords("\"words\":([0-9]+),\"confidence\":([0-9.]+),");
    auto recognised = std::sregex_iterator(line.begin(), line.end(), pageWords);
    for (const int linesPerInch : {200, 100}) {
        SCOPED_TRACE(linesPerInch);
        const int page = linesPerInch == 200 ? 1 : 2;
        const PrintedPage& letter = printedPage(Sheet::Letter, unsigned(linesPerInch));
        // Words of each of the letter's four sizes, each printed once, from
        // the 20-point heading to the 8-point footer: the text layer has them
        // over their ink.
        for (const std::string word : {"NORTHGATE", "Westmorland", "twelfth", "Preston", "Ellison", "Telegrams"}) {
            SCOPED_TRACE(word);
            const auto printed = std::find_if(letter.words.begin(), letter.words.end(),
                                              [&](const PrintedWord& w) { return w.text == word; });
            ASSERT_NE(printed, letter.words.end());
            // Points: a third of the word's height, and of the body text's at
            // least (the layer's font reaches below the baseline of capitals).
            const double tolerance = std::max(4.0, (printed->bottom - printed->top) * 72.0 / linesPerInch / 3);
            const auto found = std::find_if(words.begin(), words.end(),
                                            [&](const PdfWord& w) { return w.page == page && w.text == word; });
            ASSERT_NE(found, words.end());
            EXPECT_NEAR(found->xMin, printed->left * 72.0 / 200, tolerance);
            EXPECT_NEAR(found->xMax, printed->right * 72.0 / 200, tolerance);
            EXPECT_NEAR(found->yMin, printed->top * 72.0 / linesPerInch, tolerance);
            EXPECT_NEAR(found->yMax, printed->bottom * 72.0 / linesPerInch, tolerance);
            // The ALTO word: the PDF's, over the same ink, in the page's pixels.
            const auto inAlto = std::find_if(altoWords.begin(), altoWords.end(),
                                             [&](const AltoWord& w) { return w.page == page && w.text == word; });
            ASSERT_NE(inAlto, altoWords.end());
            const double pixels = tolerance * linesPerInch / 72.0;
            EXPECT_NEAR(inAlto->left, printed->left, pixels);
            EXPECT_NEAR(inAlto->right, printed->right, pixels);
            EXPECT_NEAR(inAlto->top, printed->top, pixels);
            EXPECT_NEAR(inAlto->bottom, printed->bottom, pixels);
            EXPECT_NEAR(inAlto->left * 72.0 / 200, found->xMin, 1.0) << "the text layer's word starts there too";
        }
        ASSERT_NE(recognised, std::sregex_iterator()) << line;
        const std::size_t count = std::stoul((*recognised)[1]);
        EXPECT_GT(count, letter.words.size() * 9 / 10) << "the letter has " << letter.words.size() << " words";
        EXPECT_LE(count, letter.words.size() * 11 / 10);
        EXPECT_GT(std::stod((*recognised++)[2]), 80.0);
    }
    // The text file: each page's lines in the order printed, pages
    // separated by a form feed.
    const std::string text = readFile(work / "out/letter.txt");
    const std::size_t feed = text.find('\f');
    ASSERT_NE(feed, std::string::npos) << text;
    for (const std::string& pageText : {text.substr(0, feed), text.substr(feed + 1)}) {
        std::size_t at = 0;
        for (const std::string printed : {"Mill Lane, Kendal, Westmorland LA9 4QT", "Dear Mr Hartley,",
                                          "Telephone Kendal 20412. Telegrams Northpaper Kendal."}) {
            at = pageText.find(printed + "\n", at);
            EXPECT_NE(at, std::string::npos) << printed << " in\n" << pageText;
        }
    }
    EXPECT_NE(line.find("\"outputs\":[\"" + out + "\",\"" + (work / "out/letter.txt").string() + "\",\"" + hocr +
                        "\",\"" + alto + "\"]"),
              std::string::npos)
        << line;
    // The same words, in the same order, in the ALTO file as in the text file.
    std::istringstream plainWords(text);
    std::size_t at = 0;
    for (std::string word; plainWords >> word; ++at) {
        ASSERT_LT(at, altoWords.size());
        EXPECT_EQ(altoWords[at].text, word);
    }
    EXPECT_EQ(at, altoWords.size());

    const ProcessResult shared = convert("shared", "2");
    ASSERT_EQ(shared.exitCode, 0) << shared.err;
    for (const std::string name : {"letter.txt", "letter.hocr", "letter.alto.xml"})
        EXPECT_EQ(readFile(work / "shared" / name), readFile(work / "out" / name)) << name;
    EXPECT_EQ(runProcess("/usr/bin/pdftotext", {(work / "shared/letter.pdf").string(), "-"}).out,
              runProcess("/usr/bin/pdftotext", {out, "-"}).out);
    // The same report but for the folder and the PDF's checksum: its /ID
    // differs from run to run.
    const auto comparable = [](std::string report) {
        for (std::size_t at = 0; (at = report.find("/shared/", at)) != std::string::npos;) report.replace(at, 8, "/out/");
        return std::regex_replace(report, std::regex("\"outputSha256\":\\[\"[0-9a-f]+\""), "");
    };
    EXPECT_EQ(comparable(readFile(work / "shared.jsonl")), comparable(line));
}

// The letter over a noisy line, 2 % of its pixels flipped, at both
// resolutions: recognition reads nine in ten of its words as printed past
// the noise (read as it is, fewer than two in three), and the pages still
// hold every flipped pixel.
TEST(FileRun, LineNoiseIsLeftOutOfWhatIsReadButNotOutOfThePage) {
    TempDir home, work;
    const std::vector<FixturePage> pages = {{Sheet::Letter, C::T6, 1, false, true},
                                            {Sheet::Letter, C::T6, 0, false, true}};
    const std::string fax = writeFax(work / "in/noisy.fxd", pages);
    const std::string out = (work / "out/noisy.pdf").string();
    const ProcessResult r = runQuillon({"/q", "/f=" + fax, "/sf=" + out, "/ocrtext"}, home.str());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    expectPdfPages(out, pages);
    const std::string text = readFile(work / "out/noisy.txt");
    const std::size_t feed = text.find('\f');
    ASSERT_NE(feed, std::string::npos) << text;
    for (const int linesPerInch : {200, 100}) {
        SCOPED_TRACE(linesPerInch);
        const std::string pageText = linesPerInch == 200 ? text.substr(0, feed) : text.substr(feed + 1);
        std::multiset<std::string> read;
        std::istringstream words(pageText);
        for (std::string word; words >> word;) read.insert(word);
        const std::vector<PrintedWord>& printed = printedPage(Sheet::Letter, unsigned(linesPerInch)).words;
        std::size_t found = 0;
        for (const PrintedWord& word : printed)
            if (const auto at = read.find(word.text); at != read.end()) read.erase(at), ++found;
        EXPECT_GE(found * 10, printed.size() * 9) << found << " of " << printed.size() << " words in\n" << pageText;
    }
}

// Spaces as pdftotext -layout sets them between columns, made single.
std::string singleSpaced(const std::string& text) {
    return std::regex_replace(text, std::regex(" {2,}"), " ");
}

// A letter fed upside down beside an upright memo: the letter is read the
// right way up and shown so by /Rotate 180 while its image keeps the fax's
// bits, its lines read in order through pdftotext, its ALTO words lie over
// the letter's ink as shown, the report says how each page was turned, and
// the text layer stays small. /norotate leaves it as faxed.
TEST(FileRun, PagesFedUpsideDownAreReadAndShownTheRightWayUp) {
    TempDir home, work;
    const std::vector<FixturePage> pages = {{Sheet::Letter, C::T6, 1, true}, {Sheet::Memo, C::T6, 1}};
    const std::string fax = writeFax(work / "in/turned.fxd", pages);
    const std::string out = (work / "out/turned.pdf").string();
    const std::string report = (work / "r.jsonl").string();
    const ProcessResult r =
        runQuillon({"/q", "/f=" + fax, "/sf=" + out, "/ocrtext=alto", "/report=" + report}, home.str());
    ASSERT_EQ(r.exitCode, 0) << r.err;

    const std::string objects = runProcess("/usr/bin/qpdf", {"--qdf", "--object-streams=disable", out, "-"}).out;
    const std::size_t turned = objects.find("/Rotate 180");
    ASSERT_NE(turned, std::string::npos) << "the letter is shown turned";
    EXPECT_EQ(objects.find("/Rotate", turned + 1), std::string::npos) << "the memo is upright";
    // Shown turned, the page is the letter as printed: so its image holds
    // exactly the turned pixels of the fax.
    const Bitmap& upright = printedPage(Sheet::Letter, 200).bitmap;
    EXPECT_EQ(renderPdfPage(out, 1, 200, 200, upright.width, upright.rows).hash(), upright.hash());
    EXPECT_EQ(listPdfImages(out).size(), 2u);
    // Its ALTO words are in the pixels of the page as shown, over the ink.
    const std::vector<AltoWord> altoWords = altoFileWords((work / "out/turned.alto.xml").string());
    for (const std::string word : {"NORTHGATE", "Westmorland", "Telegrams"}) {
        SCOPED_TRACE(word);
        const std::vector<PrintedWord>& printedWords = printedPage(Sheet::Letter, 200).words;
        const auto printed = std::find_if(printedWords.begin(), printedWords.end(),
                                          [&](const PrintedWord& w) { return w.text == word; });
        const auto inAlto = std::find_if(altoWords.begin(), altoWords.end(),
                                         [&](const AltoWord& w) { return w.page == 1 && w.text == word; });
        ASSERT_NE(printed, printedWords.end());
        ASSERT_NE(inAlto, altoWords.end());
        const double pixels = std::max(6.0, (printed->bottom - printed->top) / 3.0);
        EXPECT_NEAR(inAlto->left, printed->left, pixels);
        EXPECT_NEAR(inAlto->right, printed->right, pixels);
        EXPECT_NEAR(inAlto->top, printed->top, pixels);
        EXPECT_NEAR(inAlto->bottom, printed->bottom, pixels);
    }

    const std::string text = singleSpaced(runProcess("/usr/bin/pdftotext", {"-layout", "-f", "1", "-l", "1", out, "-"}).out);
    std::size_t at = 0;
    for (const std::string printed :
         {"Mill Lane, Kendal, Westmorland LA9 4QT", "Dear Mr Hartley,",
          "Thank you for your order of the twelfth of March for two hundred reams of our",
          "Yours sincerely,", "Telephone Kendal 20412. Telegrams Northpaper Kendal."}) {
        at = text.find(printed, at);
        EXPECT_NE(at, std::string::npos) << printed << " in\n" << text;
    }

    const nlohmann::json line = nlohmann::json::parse(readFile(report));
    const auto& letter = line["pages"][0];
    const auto& memo = line["pages"][1];
    EXPECT_EQ(letter["rotation"], 180);
    EXPECT_GE(letter["orientationConfidence"].get<double>(), 10.0);
    EXPECT_GT(letter["words"].get<int>(), 190);
    EXPECT_EQ(memo["rotation"], 0);
    EXPECT_FALSE(memo.contains("orientationConfidence")) << "an upright page that reads clearly needs no detector";
    // The text layers of two pages of some 300 words, deflated, beside the
    // profile and the dictionaries (uncompressed, a layer alone takes 20 KB).
    const std::uint64_t rest = std::filesystem::file_size(out) - pdfImageBytes(out);
    EXPECT_LE(rest, 12000u);

    const std::string asFaxed = (work / "out/as-faxed.pdf").string();
    const std::string report2 = (work / "r2.jsonl").string();
    writeFax(work / "in/one.fxd", {pages[0]});
    const ProcessResult kept = runQuillon({"/q", "/f=" + (work / "in/one.fxd").string(), "/sf=" + asFaxed, "/ocr",
                                           "/norotate", "/report=" + report2},
                                          home.str());
    ASSERT_EQ(kept.exitCode, 0) << kept.err;
    EXPECT_EQ(runProcess("/usr/bin/qpdf", {"--qdf", asFaxed, "-"}).out.find("/Rotate"), std::string::npos);
    const nlohmann::json keptLine = nlohmann::json::parse(readFile(report2));
    const auto& faxed = keptLine["pages"][0];
    EXPECT_EQ(faxed["rotation"], 0);
    EXPECT_FALSE(faxed.contains("orientationConfidence")) << "nothing was detected";
}

// Language data that Tesseract cannot load: every page keeps its image,
// without text, and is named in a warning; the file still converts.
TEST(FileRun, PagesWhoseTextIsNotRecognisedKeepTheirImageAndAreNamed) {
    TempDir home, work;
    writeFile(work / "tessdata/eng.traineddata", "not a model");
    const std::string fax = writeFax(work / "in/a.fxd", kThreePages);
    const std::string out = (work / "out/a.pdf").string();
    const std::string report = (work / "r.jsonl").string();
    const ProcessResult r = runQuillon({"/q", "/f=" + fax, "/sf=" + out, "/ocr", "/report=" + report}, home.str(),
                                       {{"TESSDATA_PREFIX", (work / "tessdata").string()}});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (const char* page : {"page 1 of 3", "page 2 of 3", "page 3 of 3"})
        EXPECT_NE(r.err.find("quillon: warning: " + fax + ": " + page + ": no text recognised"), std::string::npos)
            << r.err;
    expectPdfPages(out, kThreePages);
    EXPECT_EQ(readFile(report).find("\"words\""), std::string::npos);
}

TEST(FileRun, KeepDateGivesTheOutputTheSourceTimes) {
    TempDir home, work;
    const std::string fax = writeFax(work / "a.fxd", {kThreePages[0]});
    const timespec times[2] = {{1000000000, 0}, {1234567890, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, fax.c_str(), times, 0), 0);
    const std::string out = (work / "deep/er/a.tif").string();
    const ProcessResult r = runQuillon({"/q", "/l", "/f=" + fax, "/sf=" + out}, home.str());
    EXPECT_EQ(r.exitCode, 0);
    struct stat info {}, source {};
    ASSERT_EQ(stat(out.c_str(), &info), 0) << "the output folder was made level by level";
    ASSERT_EQ(stat(fax.c_str(), &source), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, 1234567890);
    EXPECT_EQ(info.st_atim.tv_sec, source.st_atim.tv_sec) << "reading the source may have renewed its access time";
}

// The SHA-256 of a file's bytes by sha256sum, a tool of its own.
std::string sha256sum(const std::filesystem::path& file) {
    const ProcessResult r = runProcess("/usr/bin/sha256sum", {file.string()});
    return r.out.substr(0, 64);
}

// A page's fingerprint recomputed by other tools: ImageMagick writes the
// page as a binary PBM, whose raster (after its header) sha256sum hashes.
std::string rasterSha256(const std::string& image, const std::filesystem::path& scratch) {
    const std::string pbm = (scratch / "page.pbm").string();
    EXPECT_EQ(runProcess("/usr/bin/convert", {image, "pbm:" + pbm}).exitCode, 0) << image;
    const std::string bytes = readFile(pbm);
    std::size_t at = 0;
    for (int fields = 0; fields < 3; ++fields) {  // "P4", width, height, each followed by white space
        at = bytes.find_first_not_of(" \t\r\n", at);
        at = bytes.find_first_of(" \t\r\n", at);
    }
    writeFile(scratch / "raster", bytes.substr(at + 1));
    return sha256sum(scratch / "raster");
}

// With a report, every page's fingerprint, the source's and each output's
// SHA-256 are what independent tools compute from the files: libtiff's
// reading through ImageMagick for TIFF pages, poppler's extraction of the
// Group 4 image for PDF pages, sha256sum for the files. A cut page is
// fingerprinted as written.
TEST(FileRun, ReportFingerprintsAreWhatOtherToolsRecompute) {
    TempDir home, work;
    WinFaxPage cut = fixturePage(kThreePages[2]);
    const std::string whole = buildWinFaxFile({fixturePage(kThreePages[0]), fixturePage(kThreePages[1]), cut});
    const std::string source = (work / "a.fxd").string();
    writeFile(source, whole.substr(0, whole.size() - cut.data.size() / 2));
    for (const std::string format : {"tif", "pdf"}) {
        SCOPED_TRACE(format);
        const std::string out = (work / ("a." + format)).string();
        const std::string report = (work / ("r-" + format + ".jsonl")).string();
        ASSERT_EQ(runQuillon({"/q", "/f=" + source, "/sf=" + out, "/report=" + report}, home.str()).exitCode, 0);
        const nlohmann::json line = nlohmann::json::parse(readFile(report));
        EXPECT_EQ(line["sourceSha256"], sha256sum(source));
        ASSERT_EQ(line["outputSha256"].size(), 1u);
        EXPECT_EQ(line["outputSha256"][0], sha256sum(out));
        ASSERT_EQ(line["pages"].size(), 3u);
        EXPECT_EQ(line["pages"][2]["state"], "cut");
        for (std::size_t i = 0; i < 3; ++i) {
            std::string image = out + "[" + std::to_string(i) + "]";
            if (format == "pdf") {
                const std::string prefix = (work / "img").string();
                ASSERT_EQ(runProcess("/usr/bin/pdfimages", {"-png", "-f", std::to_string(i + 1), "-l",
                                                            std::to_string(i + 1), out, prefix})
                              .exitCode,
                          0);
                image = prefix + "-000.png";
            }
            EXPECT_EQ(line["pages"][i]["sha256"], rasterSha256(image, work.path())) << "page " << i + 1;
        }
    }
}

// A file that is not converted says why on standard error and in the report;
// the results lines keep their fixed words.
TEST(FileRun, FilesNotConvertedSayWhy) {
    TempDir home, work;
    const std::string fax = buildWinFaxFile({fixturePage(kThreePages[0])});
    writeFile(work / "a.tif", "x");
    writeFile(work / "notes.txt", "x");
    std::filesystem::create_directories(work / "folder.fxd");
    writeFile(work / "noise.fxd", std::string(300, '\x5A'));
    writeFile(work / "header-only.fxd", fax.substr(0, 128));
    // Opened without waiting for a writer, and not read.
    ASSERT_EQ(mkfifo((work / "pipe.fxd").c_str(), 0600), 0);
    // Opens, but its first read fails: the program's own memory at address 0.
    std::filesystem::create_symlink("/proc/self/mem", work / "mem.fxd");
    // Sparse: refused by its size before a byte is read or held.
    writeFile(work / "huge.fxd", "");
    std::filesystem::resize_file(work / "huge.fxd", (std::uintmax_t(1) << 30) + 1);
    struct Row {
        const char* source;
        const char* results;  // what follows the header line
        const char* reason;
        const char* words;
        bool linuxOnly = false;
    };
    const Row rows[] = {
        {"a.tif", "", "tiff-source", "a TIFF file already; nothing to do"},
        {"a.awd", "", "no-such-file", "no such file"},
        {"notes.txt", "", "not-winfax-extension", "not a WinFax file by its extension"},
        {"missing.fxd", " - Not Fax\n", "no-such-file", "no such file"},
        {"folder.fxd", " - Not Fax\n", "folder", "a folder, not a file"},
        {"noise.fxd", " - Not Fax\n", "no-signature", "no WinFax signature"},
        {"header-only.fxd", " - Not Fax\n", "no-fax-data", "the first page holds no fax data"},
        // A named pipe and a file of /proc are Linux's own.
        {"pipe.fxd", " - Not Fax\n", "no-signature", "no WinFax signature", true},
        {"mem.fxd", " - Not Fax\n", "unreadable", "cannot be read: Input/output error", true},
        {"huge.fxd", " - Not Fax\n", "unreadable", "cannot be read: larger than the 1 GiB a source may hold"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        if (row.linuxOnly && runsUnderWine()) continue;
        const std::string source = (work / row.source).string();
        const std::string report = (work / "r.jsonl").string();
        std::filesystem::remove(report);
        const ProcessResult r = runQuillon({"/f=" + source, "/sf=" + (work / "o.tif").string(), "/report=" + report},
                                           home.str());
        EXPECT_EQ(r.exitCode, 1);
        const std::string header = "Batch Quillon command line mode : convert file\n";
        if (*row.results == 0) EXPECT_EQ(r.out, header);
        else EXPECT_TRUE(r.out.ends_with(row.results)) << r.out;
        EXPECT_TRUE(r.err.starts_with("quillon: " + source + ": " + row.words)) << r.err;
        const nlohmann::json line = nlohmann::json::parse(readFile(report));
        EXPECT_EQ(line["reason"], row.reason);
        EXPECT_FALSE(std::filesystem::exists(work / "o.tif"));
    }
}

// No file a run writes may be one of its sources, whatever path names it.
TEST(FileRun, NoOutputReplacesASource) {
    TempDir home, work;
    const std::string fax = buildWinFaxFile({fixturePage(kThreePages[0])});
    const std::string source = (work / "a.fxd").string();
    writeFile(source, fax);
    std::filesystem::create_symlink(source, work / "link.tif");
    std::filesystem::create_hard_link(source, work / "hard.tif");
    for (const std::string& output : {source, (work / "." / "a.fxd").string(), (work / "link.tif").string(),
                                     (work / "hard.tif").string()}) {
        SCOPED_TRACE(output);
        const ProcessResult r = runQuillon({"/f=" + source, "/sf=" + output}, home.str());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.out.find(" : Failed : " + source + " - the output " + output + " is a source of this run"),
                  std::string::npos)
            << r.out;
        EXPECT_EQ(readFile(source), fax);
    }
    // The log and the report of a folder run are appended to: never to a source.
    for (const std::vector<std::string>& extra :
         std::vector<std::vector<std::string>>{{"/log=" + (work / "a.fxd").string()}, {"/report=./a.fxd"}}) {
        std::vector<std::string> args = {"/d=" + work.str(), "/sd=" + (work / "out").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        const ProcessResult r = runQuillon(args, home.str(), {}, work.str());
        EXPECT_EQ(r.exitCode, 2) << extra[0];
        EXPECT_NE(r.err.find("names a source of this run; nothing converted"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(work / "out")) << "nothing converted";
        EXPECT_EQ(readFile(source), fax);
    }
}

TEST(FileRun, PagesBeyondThePageTableAreReportedAsLeftOut) {
    TempDir home, work;
    Bitmap strip;
    strip.width = 1728;
    strip.rows = 8;
    strip.bits.assign(strip.bytesPerRow() * strip.rows, 0);
    strip.bits[100] = 0xFF;
    const WinFaxPage page = winFaxPageFromBitmap(strip, C::T6, 1);
    writeFile(work / "big.fxd", buildWinFaxFile(std::vector<WinFaxPage>(1030, page)));
    const std::string out = (work / "big.tif").string();
    const ProcessResult r = runQuillon({"/f=" + (work / "big.fxd").string(), "/sf=" + out}, home.str());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("Pages left out: only the first 1024 pages were converted"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Success !"), std::string::npos);
    const auto pages = readTiffInfo(out);
    ASSERT_EQ(pages.size(), 1024u) << "the pages found are converted";
    EXPECT_EQ(pages.back().pageIndex, 1023);
    EXPECT_EQ(pages.back().pageCount, 1024);
}

TEST(FileRun, InterruptedFolderRunLeavesOnlyCompleteOutputs) {
    TempDir home, work;
    const std::string fax = writeFax(work / "in/f00.fxd", kThreePages);
    const std::string bytes = readFile(fax);
    for (int i = 1; i < 300; ++i) writeFile(work / ("in/f" + std::to_string(1000 + i) + ".fxd"), bytes);

    int killsDuringRun = 0, round = 0;
    for (int signal : {SIGKILL, SIGTERM, SIGKILL, SIGTERM}) {
        const std::string out = (work / ("out" + std::to_string(round++))).string();
        const std::string report = out + ".jsonl";
        const pid_t pid =
            startQuillon({"/q", "/d=" + (work / "in").string(), "/sd=" + out, "/report=" + report}, home.str());
        // Once the run writes outputs, a little later each round.
        for (int wait = 0; wait < 5000 && !std::filesystem::exists(out); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + 20 * round));
        kill(pid, signal);
        int status = 0;
        waitpid(pid, &status, 0);
        if (WIFSIGNALED(status)) ++killsDuringRun;
        if (!std::filesystem::exists(out)) continue;
        std::set<std::string> outputs;
        for (const auto& entry : std::filesystem::directory_iterator(out)) {
            const std::string name = entry.path().filename().string();
            if (name.front() == '.') {
                EXPECT_EQ(signal, SIGKILL) << "a terminated run removes its unfinished file " << name;
                continue;
            }
            expectTiffPages(entry.path().string(), kThreePages);
            outputs.insert(entry.path().string());
        }
        // Each output in place has its report line, but for the one whose
        // line was being written; no file is reported failed for the end.
        std::istringstream lines(std::filesystem::exists(report) ? readFile(report) : "");
        std::size_t listed = 0;
        for (std::string line; std::getline(lines, line);) {
            const nlohmann::json entry = nlohmann::json::parse(line);
            EXPECT_EQ(entry["status"], "converted") << line;
            EXPECT_TRUE(outputs.count(entry["outputs"][0].get<std::string>())) << line;
            ++listed;
        }
        EXPECT_LE(outputs.size() - listed, 1u) << outputs.size() << " outputs, " << listed << " report lines";
    }
    EXPECT_GT(killsDuringRun, 0) << "no run was interrupted: the folder converts too fast for this test";
}

}  // namespace
}  // namespace quillon::test
