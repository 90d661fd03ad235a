#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quillon {
namespace {

struct Parsed {
    CommandLineRequest result;
    BatchJob job;
    std::string logPath;
    std::string out;
    std::string err;
};

Parsed parse(const std::vector<std::string>& words, const ConvertOptions& options = {}) {
    std::ostringstream out, err;
    ParsedCommandLine parsed = parseCommandLine(words, options, "default.log", out, err);
    return {parsed.request, std::move(parsed.job), std::move(parsed.logPath), out.str(), err.str()};
}

Parsed parseText(const std::string& text) { return parse(splitCommandLine(text)); }

const char* kUsage =
    "Usage: quillon [/q /l] [/b=0 /v=0] /f=source-file /sf=dest-tif-file\n"
    "or\n"
    "Usage: quillon [/q /l] [/b=0 /v=0] /d=source-folder /sd=dest-folder [/filter=]\n";

TEST(CommandLine, PlainWordsAreTheWordsThatAreNoOption) {
    const std::vector<std::string> words{"/q", "a.fxd", " /home/fax", "/D=in", "/m=7", "/x", "", "/kh"};
    EXPECT_EQ(plainWords(words), (std::vector<std::string>{"a.fxd", " /home/fax", "/m=7", "/x"}));
}

TEST(CommandLine, FolderAndFileConversions) {
    Parsed folder = parseText("/q /d=C:/In /sd=C:/Out");
    EXPECT_EQ(folder.result, CommandLineRequest::Convert);
    EXPECT_EQ(folder.job.mode, JobMode::Folder);
    EXPECT_EQ(folder.job.source, "C:/In") << "values keep their case";
    EXPECT_EQ(folder.job.destination, "C:/Out");
    EXPECT_TRUE(folder.job.quiet);
    EXPECT_TRUE(folder.out.empty());

    Parsed file = parseText("/F=/in/a.fxd /SF=/out/b.tif /M=1 /v=2 /RELINES /raw /b=2 /L /KE /I /KH");
    EXPECT_EQ(file.result, CommandLineRequest::Convert);
    EXPECT_EQ(file.job.mode, JobMode::File);
    EXPECT_EQ(file.job.source, "/in/a.fxd");
    EXPECT_EQ(file.job.convertOptions.pageMode, 1);
    EXPECT_EQ(file.job.convertOptions.verticalResolution, 200);
    EXPECT_EQ(file.job.convertOptions.bitOrder, 2);
    EXPECT_EQ(file.job.convertOptions.recountLines, 1);
    EXPECT_EQ(file.job.convertOptions.rawStart, 1);
    EXPECT_TRUE(file.job.keepDate && file.job.keepExtension && file.job.includeSubFolders && file.job.keepHierarchy);

    Parsed verify = parse({"/d=in", "/sd=out", "/Verify=run.jsonl"});
    EXPECT_EQ(verify.result, CommandLineRequest::Verify) << "a check, not the conversion";
    EXPECT_EQ(verify.job.verifyReport, "run.jsonl");
}

TEST(CommandLine, QuotedValuesSpanBlanks) {
    Parsed p = parseText("/d=\"C:/My Faxes\" /sd=\"D:/Out Dir\" /q");
    EXPECT_EQ(p.result, CommandLineRequest::Convert);
    EXPECT_EQ(p.job.source, "C:/My Faxes");
    EXPECT_EQ(p.job.destination, "D:/Out Dir");
    EXPECT_TRUE(p.job.quiet) << "the word after a quoted value is read";

    Parsed q = parseText("/d=\"C:/Faxes\" /sd=D:/Out");
    EXPECT_EQ(q.job.source, "C:/Faxes");
    EXPECT_EQ(q.job.destination, "D:/Out");

    // One argv word may also carry its own quotes.
    Parsed argv = parse({"/d=\"/my faxes\"", "/sd=/out"});
    EXPECT_EQ(argv.job.source, "/my faxes");
}

TEST(CommandLine, UnclosedQuoteDoesNotSwallowTheWordsAfterIt) {
    const auto words = splitCommandLine("/d=\"/in /sd=/out /q");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0], "/d=/in");
    Parsed p = parse(words);
    EXPECT_EQ(p.result, CommandLineRequest::Convert);
    EXPECT_EQ(p.job.source, "/in");
    EXPECT_EQ(p.job.destination, "/out");
    EXPECT_TRUE(p.job.quiet);
}

TEST(CommandLine, SplittingFollowsBlanksOnly) {
    EXPECT_EQ(splitCommandLine("  /q\t/l   /i  "), (std::vector<std::string>{"/q\t/l", "/i"}));
    EXPECT_EQ(splitCommandLine("/filter=\"*.fxd\" x"), (std::vector<std::string>{"/filter=\"*.fxd\"", "x"}));
    EXPECT_TRUE(splitCommandLine("   ").empty());
}

TEST(CommandLine, LaterOptionWins) {
    Parsed p = parseText("/sd=D:/A /sf=D:/b.tif");
    EXPECT_EQ(p.job.mode, JobMode::File);
    EXPECT_EQ(p.job.destination, "D:/b.tif");
    Parsed back = parseText("/sf=D:/b.tif /sd=D:/A /m=2 /m=0");
    EXPECT_EQ(back.job.mode, JobMode::Folder);
    EXPECT_EQ(back.job.convertOptions.pageMode, 0);
    Parsed fileFromFolder = parseText("/d=/in /sf=/out/x.tif");
    EXPECT_EQ(fileFromFolder.job.mode, JobMode::File) << "the source option does not choose the mode";
}

TEST(CommandLine, IncompleteLinesWriteUsageOrSaveFolderError) {
    Parsed sourceOnly = parseText("/d=C:/In");
    EXPECT_EQ(sourceOnly.result, CommandLineRequest::Incomplete);
    EXPECT_EQ(sourceOnly.out, kUsage);

    Parsed blanks = parse({"   "});
    EXPECT_EQ(blanks.result, CommandLineRequest::Incomplete) << "blanks only are not an empty command line";
    EXPECT_EQ(blanks.out, kUsage);

    Parsed emptyDestination = parseText("/sd=");
    EXPECT_EQ(emptyDestination.result, CommandLineRequest::Incomplete);
    EXPECT_TRUE(emptyDestination.out.empty());
    EXPECT_NE(emptyDestination.err.find("ERROR Save Folder"), std::string::npos);
    EXPECT_NE(emptyDestination.err.find("Please set save folder with '/sd=' or '/sf=', and be sure it is not the "
                                        "same as source folder"),
              std::string::npos);

    Parsed destinationOnly = parseText("/sd=D:/Out");
    EXPECT_EQ(destinationOnly.result, CommandLineRequest::Convert);
    EXPECT_TRUE(destinationOnly.job.source.empty());

    std::ostringstream out, err;
    EXPECT_EQ(parseCommandLine(std::nullopt, {}, "", out, err).request, CommandLineRequest::Absent);
    EXPECT_EQ(parseCommandLine(std::vector<std::string>{}, {}, "", out, err).request, CommandLineRequest::Empty);
}

TEST(CommandLine, UnknownWordsAndOutOfRangeValuesAreIgnored) {
    ConvertOptions before;
    before.pageMode = 2;
    before.verticalResolution = 300;
    Parsed p = parse({"/j=3", "/m=3", "/v=5", "/b=9", "/x", "hello", "/d=1", "/sd=/o"}, before);
    EXPECT_EQ(p.result, CommandLineRequest::Convert);
    EXPECT_EQ(p.job.workers, 3u);
    EXPECT_EQ(p.job.convertOptions.pageMode, 2) << "page mode keeps its value";
    EXPECT_EQ(p.job.convertOptions.verticalResolution, 300);
    EXPECT_EQ(p.job.source, "1") << "\"/d=1\" is the source option, not a one-digit switch";
    // Workers are the program's own option: a value it cannot carry out is refused, not ignored.
    for (const char* workers : {"/j=0", "/j=65", "/j=2x"})
        EXPECT_EQ(parse({"/d=1", "/sd=/o", workers}).result, CommandLineRequest::Refused) << workers;
}

TEST(CommandLine, ParsingResetsTheJobFlags) {
    ConvertOptions used;
    used.recountLines = used.rawStart = used.pageMode = 1;
    Parsed p = parse({"/sd=/out"}, used);
    EXPECT_EQ(p.job.outputFormat, OutputFormat::Tiff);
    EXPECT_FALSE(p.job.quiet || p.job.keepDate || p.job.skipExisting);
    EXPECT_EQ(p.job.filter, "*.*");
    EXPECT_EQ(p.job.convertOptions.recountLines, 0);
    EXPECT_EQ(p.job.convertOptions.rawStart, 0);
    EXPECT_EQ(p.job.convertOptions.pageMode, 1) << "the start-up value";
    Parsed filtered = parse({"/filter=*.FXD", "/sd=/out"});
    EXPECT_EQ(filtered.job.filter, "*.FXD");
}

TEST(CommandLine, PdfOutputsByOptionOrByTheFileName) {
    struct Row {
        std::vector<std::string> words;
        OutputFormat format;
    };
    const Row rows[] = {
        {{"/f=a.fxd", "/sf=b.tif"}, OutputFormat::Tiff},
        {{"/f=a.fxd", "/sf=b.tif", "/PDF"}, OutputFormat::Pdf},
        {{"/f=a.fxd", "/sf=out/b.Pdf"}, OutputFormat::Pdf},
        {{"/f=a.fxd", "/sf=b.pdf.tif"}, OutputFormat::Tiff},
        {{"/f=a.fxd", "/sf=pdf"}, OutputFormat::Tiff},
        {{"/d=in", "/sd=out.pdf"}, OutputFormat::Tiff},  // a folder's name says nothing about its files
        {{"/d=in", "/sd=out", "/pdf"}, OutputFormat::Pdf},
    };
    for (const Row& row : rows) {
        const Parsed p = parse(row.words);
        EXPECT_EQ(p.result, CommandLineRequest::Convert);
        EXPECT_EQ(p.job.outputFormat, row.format) << row.words.back();
    }
    EXPECT_TRUE(plainWords({"/pdf"}).empty());
    // No PDF goes out under a TIFF name.
    EXPECT_EQ(parse({"/f=a.fxd", "/sf=out/b.TIFF", "/pdf"}).job.destination, "out/b.pdf");
    EXPECT_EQ(parse({"/f=a.fxd", "/sf=b.tif", "/pdf"}).job.destination, "b.pdf");
    EXPECT_EQ(parse({"/f=a.fxd", "/sf=b", "/pdf"}).job.destination, "b");
    EXPECT_EQ(parse({"/f=a.fxd", "/sf=b.tif"}).job.destination, "b.tif");
}

TEST(CommandLine, TextRecognitionAndShards) {
    Parsed ocr = parse({"/d=in", "/sd=out", "/OCRTEXT", "/Lang=eng+deu", "/shard=2/16", "/NoRotate"});
    EXPECT_EQ(ocr.result, CommandLineRequest::Convert);
    EXPECT_EQ(ocr.job.outputFormat, OutputFormat::Pdf) << "a text layer is a PDF's";
    EXPECT_TRUE(ocr.job.recognition.enabled);
    EXPECT_EQ(ocr.job.recognition.textFiles, std::vector<TextFile>{TextFile::Plain});
    // The forms in the order given; each once, and only those known.
    const Parsed forms = parse({"/sd=out", "/ocrtext=ALTO,txt,hocr"});
    EXPECT_TRUE(forms.job.recognition.enabled);
    EXPECT_EQ(forms.job.recognition.textFiles, (std::vector<TextFile>{TextFile::Alto, TextFile::Plain, TextFile::Hocr}));
    for (const char* list : {"/ocrtext=", "/ocrtext=alto,", "/ocrtext=txt,txt", "/ocrtext=pdf"})
        EXPECT_EQ(parse({"/sd=out", list}).result, CommandLineRequest::Refused) << list;
    EXPECT_EQ(ocr.job.recognition.languages, "eng+deu");
    EXPECT_EQ(ocr.job.recognition.orientation, PageOrientation::AsFaxed);
    EXPECT_EQ(ocr.job.shard.index, 2u);
    EXPECT_EQ(ocr.job.shard.count, 16u);
    Parsed plain = parse({"/sd=out"}, ocr.job.convertOptions);
    EXPECT_FALSE(plain.job.recognition.enabled);
    EXPECT_EQ(plain.job.recognition.languages, "eng");
    EXPECT_EQ(plain.job.recognition.orientation, PageOrientation::Detect) << "pages are turned unless told";
    EXPECT_EQ(plain.job.shard.count, 1u) << "parsing resets them";
    EXPECT_EQ(parse({"/sd=out", "/shard=0/0"}).result, CommandLineRequest::Refused);

    // The parts are part of how archives are split across machines and
    // runs: they must never change between versions.
    const Shard fourth{3, 4};
    EXPECT_TRUE(inShard("2009/memo.fxd", fourth));
    EXPECT_TRUE(inShard("memo.fxd", fourth));
    EXPECT_FALSE(inShard("2009/Memo.fxd", fourth)) << "paths are compared with their case";
    EXPECT_TRUE(inShard("a/b/c.fxs", Shard{1, 4}));
    EXPECT_TRUE(inShard("anything", Shard{}));
}

TEST(CommandLine, InputFormatsWidenTheRunOnlyWhenAsked) {
    const Parsed plain = parse({"/d=in", "/sd=out"});
    EXPECT_TRUE(plain.job.formats.takes(FaxFormat::WinFax));
    for (const FaxFormat other : {FaxFormat::Tiff, FaxFormat::Dcx, FaxFormat::RawG3, FaxFormat::Awd, FaxFormat::Unknown})
        EXPECT_FALSE(plain.job.formats.takes(other)) << int(other);

    const Parsed some = parse({"/d=in", "/sd=out", "/Formats=TIFF,g3,Digifax"});
    EXPECT_EQ(some.result, CommandLineRequest::Convert);
    EXPECT_EQ(some.job.formats.names(), "tiff,g3,digifax");
    EXPECT_FALSE(some.job.formats.takes(FaxFormat::WinFax)) << "winfax only when named";
    EXPECT_TRUE(some.job.formats.takes(FaxFormat::RawG3) && some.job.formats.takes(FaxFormat::Digifax));

    const Parsed all = parse({"/d=in", "/sd=out", "/formats=all"});
    EXPECT_EQ(all.job.formats.names(), "all");
    // Formats without a public description are taken, to be named as not supported.
    for (const FaxFormat format : {FaxFormat::WinFax, FaxFormat::Bmp, FaxFormat::Cals, FaxFormat::Awd, FaxFormat::Orv})
        EXPECT_TRUE(all.job.formats.takes(format)) << int(format);
    EXPECT_FALSE(all.job.formats.takes(FaxFormat::Unknown) || all.job.formats.takes(FaxFormat::NeverFax));
    EXPECT_EQ(InputFormats::parse("winfax,tiff,dcx,g3,digifax,cals,bmp")->names(),
              "winfax,tiff,dcx,g3,digifax,cals,bmp") << "every name, yet not all: the unread formats stay out";

    EXPECT_EQ(parse({"/sd=out", "/formats=tif"}).result, CommandLineRequest::Refused);
    EXPECT_EQ(parse({"/sd=out", "/formats=tiff,,bmp"}).result, CommandLineRequest::Refused);
    EXPECT_EQ(parse({"/sd=out"}, all.job.convertOptions).job.formats, InputFormats{}) << "parsing resets them";
}

TEST(CommandLine, LogPathLongerThanItsLimitIsRefused) {
    Parsed fits = parse({"/log=" + std::string(259, 'a'), "/sd=/o"});
    EXPECT_EQ(fits.logPath, std::string(259, 'a'));
    Parsed tooLong = parse({"/log=" + std::string(260, 'a'), "/sd=/o"});
    EXPECT_EQ(tooLong.result, CommandLineRequest::Convert);
    EXPECT_EQ(tooLong.logPath, "default.log");
    EXPECT_NE(tooLong.err.find("/log="), std::string::npos);
    Parsed quoted = parseText("/log=\"/var/my logs/run.txt\" /sd=/o");
    EXPECT_EQ(quoted.logPath, "/var/my logs/run.txt");
}

}  // namespace
}  // namespace quillon
