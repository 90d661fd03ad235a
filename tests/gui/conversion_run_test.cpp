#include "gui/conversion_run.h"

#include <gtest/gtest.h>

#include "run/convert/file_conversion.h"
#include "support/temp_dir.h"

namespace quillon {
namespace {

struct Row {
    std::string source;
    std::string output;
    std::string result;
    std::string details;
};

class RecordingObserver : public RunObserver {
public:
    void saveFolderFailed() override { ++saveFolderFailures; }
    void fileStarted(int row, const std::string& source) override {
        ASSERT_EQ(row, static_cast<int>(rows.size()));
        rows.push_back({source, "", "", ""});
    }
    void fileFinished(int row, const RowOutcome& outcome) override {
        ASSERT_LT(row, static_cast<int>(rows.size()));
        rows[row].output = outcome.output;
        rows[row].result = outcome.resultText;
        rows[row].details = outcome.details;
    }
    void runFinished(const RunEnd& end) override {
        ++finishes;
        finishedCount = end.converted;
        finishedResults = end.log;
        status = runEndStatus(end);
    }

    std::vector<Row> rows;
    int saveFolderFailures = 0;
    int finishes = 0;
    int finishedCount = -1;
    std::string finishedResults;
    std::string status;
};

struct ConverterCall {
    std::string source;
    std::string destination;
    bool keepDate;
    bool skipExisting;
    bool resume;
    std::string jobDestination;
    OutputFormat outputFormat;
    bool textLayer;
    std::string textLanguages;
    PageOrientation orientation;
};

class ConversionRunTest : public ::testing::Test {
protected:
    PageRun plan(std::vector<std::string> names, PageOptions options = {}) {
        PageRun plan;
        plan.names = std::move(names);
        plan.sourceFolder = "/in";
        plan.destination = destination;
        plan.options = options;
        plan.workers = 1;  // the recording converter below is not made for two threads
        plan.convert = [this](const BatchJob& job, const FileTask& task, const FileRun&) {
            const std::string& source = task.source;
            const std::string& output = task.output;
            calls.push_back({source, output, job.keepDate, job.skipExisting, job.resume, job.destination, job.outputFormat,
                             job.recognition.enabled, job.recognition.languages, job.recognition.orientation});
            FileOutcome outcome;
            outcome.source = source;
            outcome.destination = output;
            outcome.result = results.empty() ? FileResult::Converted : results.front();
            if (!results.empty()) results.erase(results.begin());
            if (stopAfterFirstFile) stop = true;
            return outcome;
        };
        return plan;
    }

    test::TempDir temp;
    std::string destination = (temp / "out").string();
    std::vector<ConverterCall> calls;
    std::vector<FileResult> results;
    std::atomic<bool> stop{false};
    bool stopAfterFirstFile = false;
    RecordingObserver observer;
};

TEST_F(ConversionRunTest, OutputNamesFollowExtensionAndHierarchyCopies) {
    PageOptions options;
    options.keepExt = 0;
    options.hiberarchy = 1;
    PageRun hierarchy = plan({"a.fxd", "sub/b.FXM"}, options);
    performRun(hierarchy, observer, stop);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].source, "/in/a.fxd");
    EXPECT_EQ(calls[0].destination, destination + "/a.tif");
    EXPECT_EQ(calls[1].source, "/in/sub/b.FXM");
    EXPECT_EQ(calls[1].destination, destination + "/sub/b.tif");

    calls.clear();
    observer = RecordingObserver();
    options.keepExt = 1;
    options.hiberarchy = 0;
    PageRun flat = plan({"sub/b.fxm"}, options);
    performRun(flat, observer, stop);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].destination, destination + "/b.fxm.tif");
    EXPECT_EQ(calls[0].outputFormat, OutputFormat::Tiff);

    calls.clear();
    observer = RecordingObserver();
    options.outputFormat = OutputFormat::Pdf;
    PageRun pdf = plan({"sub/b.fxm"}, options);
    performRun(pdf, observer, stop);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].destination, destination + "/b.fxm.pdf");
    EXPECT_EQ(calls[0].outputFormat, OutputFormat::Pdf) << "the job writes PDF and skips by the PDF name";
    EXPECT_FALSE(calls[0].textLayer);

    // A text layer is a PDF's, whatever format the page says.
    calls.clear();
    observer = RecordingObserver();
    options.outputFormat = OutputFormat::Tiff;
    options.textLayer = true;
    options.textLanguages = "eng+deu";
    PageRun ocr = plan({"sub/b.fxm"}, options);
    performRun(ocr, observer, stop);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].destination, destination + "/b.fxm.pdf");
    EXPECT_EQ(calls[0].outputFormat, OutputFormat::Pdf);
    EXPECT_TRUE(calls[0].textLayer);
    EXPECT_EQ(calls[0].textLanguages, "eng+deu");
    EXPECT_EQ(calls[0].orientation, PageOrientation::Detect);

    calls.clear();
    observer = RecordingObserver();
    options.turnPages = false;
    PageRun asFaxed = plan({"sub/b.fxm"}, options);
    performRun(asFaxed, observer, stop);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].orientation, PageOrientation::AsFaxed) << "the box cleared is /norotate";
}

TEST_F(ConversionRunTest, OnlyTheSourceFolderAtTheStartIsReplaced) {
    PageOptions options;
    options.hiberarchy = 1;
    PageRun run = plan({"x/in/c.fxd"}, options);
    performRun(run, observer, stop);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].destination, destination + "/x/in/c.tif");
}

TEST_F(ConversionRunTest, RowsCountAndResultsTextFollowTheJobResults) {
    results = {FileResult::Converted, FileResult::SkippedExisting, FileResult::NotWinFax, FileResult::NotFax,
               FileResult::Converted};
    PageRun run = plan({"a.fxd", "b.fxd", "c.fxd", "d.fxd", "e.fxd"});
    EXPECT_EQ(performRun(run, observer, stop), 2);

    ASSERT_EQ(observer.rows.size(), 5u);
    EXPECT_EQ(observer.rows[0].result, "Converted!");
    EXPECT_EQ(observer.rows[0].output, destination + "/a.tif");
    EXPECT_EQ(observer.rows[1].result, "Already exist, skipped!");
    EXPECT_EQ(observer.rows[1].output, "");
    // Failures with no reason known (the test's converter gives none).
    EXPECT_EQ(observer.rows[2].result, "Failed!");
    EXPECT_EQ(observer.rows[3].result, "Failed!");
    EXPECT_EQ(observer.rows[3].output, "");
    EXPECT_EQ(observer.rows[4].source, "/in/e.fxd");

    EXPECT_EQ(observer.finishes, 1);
    EXPECT_EQ(observer.finishedCount, 2);
    EXPECT_EQ(observer.finishedResults,
              "Batch Quillon in GUI mode : convert folder\r\nSource Folder: /in\r\nDestination Folder: " +
                  destination + "\r\n/in/a.fxd --> " + destination + "/a.tif : Success !\r\n/in/b.fxd --> " +
                  destination + "/b.tif : Skipped : " + destination + "/b.tif already exist!\r\n/in/d.fxd --> " +
                  destination + "/d.tif : Failed : /in/d.fxd - Not Fax\r\n/in/e.fxd --> " + destination +
                  "/e.tif : Success !\r\n");
}

TEST_F(ConversionRunTest, JobTakesDestinationResumeAndKeepDateOnlyForValueOne) {
    PageOptions options;
    options.keepDate = 1;
    options.resume = true;
    PageRun keep = plan({"a.fxd"}, options);
    keep.request.skipExisting = true;
    performRun(keep, observer, stop);
    options.keepDate = 2;
    PageRun other = plan({"a.fxd"}, options);
    RecordingObserver second;
    performRun(other, second, stop);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0].keepDate);
    EXPECT_TRUE(calls[0].skipExisting);
    EXPECT_TRUE(calls[0].resume);
    EXPECT_EQ(calls[0].jobDestination, destination);
    EXPECT_FALSE(calls[1].keepDate);
    EXPECT_TRUE(calls[1].resume);
}

TEST_F(ConversionRunTest, DestinationFolderIsMadeOrReportedAndTheRunGoesOn) {
    PageRun made = plan({});
    performRun(made, observer, stop);
    EXPECT_TRUE(std::filesystem::is_directory(destination));
    EXPECT_EQ(observer.saveFolderFailures, 0);
    EXPECT_EQ(observer.finishedCount, 0);

    test::writeFile(temp / "blocked", "a file where a folder should be");
    destination = (temp / "blocked" / "out").string();
    PageRun blocked = plan({"a.fxd", "b.fxd"});
    RecordingObserver second;
    performRun(blocked, second, stop);
    EXPECT_EQ(second.saveFolderFailures, 1);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(second.finishes, 1);
}

TEST_F(ConversionRunTest, StopConvertsNoFurtherFileButFinishesTheRun) {
    stopAfterFirstFile = true;
    PageRun run = plan({"a.fxd", "b.fxd", "c.fxd"});
    EXPECT_EQ(performRun(run, observer, stop), 1);
    EXPECT_EQ(calls.size(), 1u);
    ASSERT_EQ(observer.rows.size(), 1u);
    EXPECT_EQ(observer.rows[0].result, "Converted!");
    EXPECT_EQ(observer.finishes, 1);
    EXPECT_EQ(observer.finishedCount, 1);
    // Neither the status nor the log reads like a complete run.
    EXPECT_EQ(observer.status, "Cancelled. 1 of 3 FAX files converted");
    EXPECT_EQ(observer.finishedResults,
              "Batch Quillon in GUI mode : convert folder\r\nSource Folder: /in\r\nDestination Folder: " +
                  destination + "\r\n/in/a.fxd --> " + destination +
                  "/a.tif : Success !\r\nCancelled by the user: 1 of 3 FAX files converted\r\n");
}

TEST(RowOutcome, SaysWhatHappenedAndNotWinFaxOnlyForFilesThatAreNot) {
    struct Case {
        FileResult result;
        SourceProblem problem;
        PageState page;
        const char* text;
        RowKind kind;
    };
    const Case cases[] = {
        {FileResult::Converted, SourceProblem::None, PageState::Ok, "Converted!", RowKind::Converted},
        {FileResult::Converted, SourceProblem::None, PageState::Cut, "Converted, with damaged pages!", RowKind::Damaged},
        {FileResult::Converted, SourceProblem::None, PageState::Empty, "Converted, with damaged pages!", RowKind::Damaged},
        {FileResult::SkippedExisting, SourceProblem::None, PageState::Ok, "Already exist, skipped!", RowKind::Skipped},
        {FileResult::NotWinFax, SourceProblem::NotWinFaxExtension, PageState::Ok, "Not WinFax File!", RowKind::Failed},
        {FileResult::NotFax, SourceProblem::NoSignature, PageState::Ok, "Not WinFax File!", RowKind::Failed},
        {FileResult::NotFax, SourceProblem::NoSuchFile, PageState::Ok, "No such file!", RowKind::Failed},
        {FileResult::FolderNotMade, SourceProblem::None, PageState::Ok, "Folder not made!", RowKind::Failed},
        {FileResult::OutputTaken, SourceProblem::None, PageState::Ok, "Output name used twice!", RowKind::Failed},
        {FileResult::OutputIsSource, SourceProblem::None, PageState::Ok, "Output is a source!", RowKind::Failed},
    };
    for (const Case& c : cases) {
        FileOutcome outcome;
        outcome.result = c.result;
        outcome.sourceProblem = c.problem;
        outcome.pages.push_back({1728, 100, ImageCoding::T6, c.page});
        const RowOutcome row = rowOutcome(outcome, "/out/a.tif", "a line\r\n");
        EXPECT_EQ(row.resultText, c.text) << c.text;
        EXPECT_EQ(row.kind, c.kind) << c.text;
        EXPECT_EQ(row.output.empty(), c.result != FileResult::Converted) << c.text;
        // The tooltip keeps the results line and says why.
        EXPECT_TRUE(row.details.starts_with("a line")) << row.details;
        if (c.page != PageState::Ok || (c.result != FileResult::Converted && c.result != FileResult::SkippedExisting)) {
            EXPECT_NE(row.details.find('\n'), std::string::npos) << row.details;
        }
    }
}

TEST(RunEndStatus, CountsDamagedFilesApart) {
    EXPECT_EQ(runEndStatus({16, 0, 16, false, ""}), "Done. 16 FAX files converted");
    EXPECT_EQ(runEndStatus({16, 3, 20, false, ""}), "Done. 16 FAX files converted, 3 with damaged pages");
}

}  // namespace
}  // namespace quillon
