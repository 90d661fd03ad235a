#include "gui/convert_page.h"

#include <algorithm>
#include <chrono>
#include <climits>

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSplitter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "records/conversion_log.h"
#include "run/outcome/results_lines.h"
#include "run/plan/folder_walk.h"
#include "gui/conversion_worker.h"
#include "gui/page_view.h"
#include "gui/source_selection.h"
#include "gui/user_dialogs.h"
#include "platform/ini_file.h"

namespace quillon {

namespace {

constexpr std::size_t kIniValueLength = 258;
// How long the stop procedure gives the worker to finish its run.
constexpr std::chrono::milliseconds kStopWait{2000};

QString qs(const std::string& text) { return QString::fromStdString(text); }

// The Source box may hold line breaks; the INI file and the files-mode list
// take blanks instead.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

}  // namespace

// The page's side of one run: carries out the worker's reports on the GUI
// thread, and drops them once the run has been abandoned.
class ConvertPage::RunView : public RunObserver {
public:
    RunView(ConvertPage& page, int run) : page_(page), run_(run), logFile_(page.paths_.logFile) {}

    void saveFolderFailed() override {
        if (current()) page_.dialogs_.message(&page_, "Error Save Dir", "Error");
    }

    void fileStarted(int row, const std::string& source) override {
        if (!current()) return;
        page_.statusText_ = "Doing: " + source;
        auto* item = new QTreeWidgetItem(QStringList{qs(source)});
        page_.resultsList_->insertTopLevelItem(row, item);
        page_.refresh();
    }

    void fileFinished(int row, const RowOutcome& outcome) override {
        if (!current()) return;
        if (outcome.kind == RowKind::Converted || outcome.kind == RowKind::Damaged) ++page_.runConverted_;
        if (QTreeWidgetItem* item = page_.resultsList_->topLevelItem(row)) {
            if (!outcome.output.empty()) item->setText(1, qs(outcome.output));
            item->setText(2, qs(outcome.resultText));
            item->setIcon(2, rowIcon(outcome.kind));
            // The Results column keeps its few words; the row's tooltip says why.
            for (int column = 0; column < 3; ++column) item->setToolTip(column, qs(outcome.details));
        }
        page_.progressBar_->setValue(page_.progressBar_->value() + 1);
        page_.refresh();
    }

    void runFinished(const RunEnd& end) override {
        // An abandoned run still leaves its lasting record, cancelled as it was.
        writeLog(logFile_, end.log);
        if (!current()) return;
        page_.statusText_ = runEndStatus(end);
        page_.refresh();
        page_.activeRun_ = 0;
        page_.showRunning(false);
    }

private:
    bool current() const { return page_.activeRun_ == run_; }
    QIcon rowIcon(RowKind kind) const {
        switch (kind) {
            case RowKind::Converted: return page_.style()->standardIcon(QStyle::SP_DialogApplyButton);
            case RowKind::Damaged: return page_.style()->standardIcon(QStyle::SP_MessageBoxWarning);
            case RowKind::Skipped: return page_.style()->standardIcon(QStyle::SP_MessageBoxInformation);
            case RowKind::Failed: break;
        }
        return page_.style()->standardIcon(QStyle::SP_MessageBoxCritical);
    }

    ConvertPage& page_;
    int run_;
    std::string logFile_;
};

ConvertPage::ConvertPage(ConvertPagePaths paths, const ConvertOptions& options, UserDialogs& dialogs,
                         QWidget* parent)
    : QWidget(parent), paths_(std::move(paths)), options_(options), dialogs_(dialogs) {
    sourceText_ = platform::getProfileString("Main", "FaxDir", "", paths_.iniFile, kIniValueLength);
    destination_ = platform::getProfileString("Main", "SaveDir", "", paths_.iniFile, kIniValueLength);
    buildLayout();
    refresh();
    showRunning(false);
    connect(&autoTimer_, &QTimer::timeout, this, &ConvertPage::timerTick);
}

ConvertPage::~ConvertPage() { finishWorker(); }

void ConvertPage::buildLayout() {
    filterEdit_ = new QLineEdit;
    filterEdit_->setObjectName("filterEdit");
    filterEdit_->installEventFilter(this);
    sourceEdit_ = new QPlainTextEdit;
    sourceEdit_->setObjectName("sourceEdit");
    sourceEdit_->setFixedHeight(2 * fontMetrics().lineSpacing() + 12);
    // Files dropped here open as the source (MainWindow), not as text.
    sourceEdit_->setAcceptDrops(false);
    sourcePicker_ = new QToolButton;
    sourcePicker_->setObjectName("sourcePicker");
    sourcePicker_->setText("...");
    sourcePicker_->setAutoRaise(true);
    destinationEdit_ = new QLineEdit;
    destinationEdit_->setObjectName("destinationEdit");
    destinationPicker_ = new QToolButton;
    destinationPicker_->setObjectName("destinationPicker");
    destinationPicker_->setText("...");
    destinationPicker_->setAutoRaise(true);
    goButton_ = new QPushButton("&Go");
    goButton_->setObjectName("goButton");
    cancelButton_ = new QPushButton("&Cancel");
    cancelButton_->setObjectName("cancelButton");

    resultsList_ = new QTreeWidget;
    resultsList_->setObjectName("resultsList");
    resultsList_->setRootIsDecorated(false);
    resultsList_->setUniformRowHeights(true);
    resultsList_->setHeaderLabels({"Source Fax Files", "Destination Tif Files", "Results"});
    // The two path columns share the width, so the Results column always shows;
    // long paths lose their middle, where the folders are alike.
    resultsList_->setTextElideMode(Qt::ElideMiddle);
    resultsList_->header()->setStretchLastSection(false);
    resultsList_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    resultsList_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    resultsList_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    progressBar_ = new QProgressBar;
    progressBar_->setObjectName("progressBar");
    progressBar_->setTextVisible(false);
    statusLine_ = new QLabel;
    statusLine_->setObjectName("statusLine");
    statusLine_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto* filterLabel = new QLabel("File &filter");
    filterLabel->setBuddy(filterEdit_);
    auto* inputs = new QGridLayout;
    inputs->addWidget(filterLabel, 0, 0);
    inputs->addWidget(filterEdit_, 0, 1);
    inputs->addWidget(new QLabel("Source"), 1, 0, Qt::AlignTop);
    inputs->addWidget(sourceEdit_, 1, 1);
    inputs->addWidget(sourcePicker_, 1, 2, Qt::AlignTop);
    inputs->addWidget(new QLabel("Destniation"), 2, 0);
    inputs->addWidget(destinationEdit_, 2, 1);
    inputs->addWidget(destinationPicker_, 2, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(goButton_);
    buttons->addWidget(cancelButton_);

    auto* group = new QGroupBox("Convert Fax to Tif");
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(inputs);
    groupLayout->addLayout(buttons);
    // Beside the files, the pages of the one selected.
    pageView_ = new PageView;
    pageView_->setObjectName("pageView");
    auto* files = new QSplitter;
    files->addWidget(resultsList_);
    files->addWidget(pageView_);
    files->setStretchFactor(0, 1);
    files->setStretchFactor(1, 1);
    groupLayout->addWidget(files, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(group);
    page->addWidget(progressBar_);
    page->addWidget(statusLine_);

    connect(pageView_, &PageView::saveRequested, this, &ConvertPage::savePages);
    connect(resultsList_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) pageView_->showFile(item->text(0));
    });
    connect(goButton_, &QPushButton::clicked, this, &ConvertPage::go);
    connect(cancelButton_, &QPushButton::clicked, this, &ConvertPage::cancel);
    connect(sourcePicker_, &QToolButton::clicked, this, &ConvertPage::pickSource);
    connect(destinationPicker_, &QToolButton::clicked, this, &ConvertPage::pickDestination);
}

void ConvertPage::showPages(const std::string& path) { pageView_->showFile(qs(path)); }

// "Save page..." and "Save fax..." of the page view: page -1 saves every page.
void ConvertPage::savePages(const QString& file, int page) {
    const std::string source = file.toStdString();
    const std::string::size_type dot = source.rfind('.');
    std::string suggested = dot == std::string::npos ? source : source.substr(0, dot);
    if (page >= 0) suggested += "-page" + std::to_string(page + 1);
    const std::optional<std::string> target = dialogs_.pickSaveFile(this, suggested + ".tif");
    if (!target) return;
    const FileOutcome outcome = exportPages(
        source, *target, page >= 0 ? std::optional<std::uint16_t>(std::uint16_t(page)) : std::nullopt, options_);
    if (outcome.result != FileResult::Converted) {
        dialogs_.message(this, resultsLines(outcome), "Error");
        return;
    }
    statusText_ = "Saved: " + *target;
    refresh();
}

void ConvertPage::read() {
    filterText_ = filterEdit_->text().toStdString();
    sourceText_ = oneLine(sourceEdit_->toPlainText().toStdString());
    destination_ = oneLine(destinationEdit_->text().toStdString());
}

void ConvertPage::refresh() {
    filterEdit_->setText(qs(filterText_));
    if (sourceEdit_->toPlainText() != qs(sourceText_)) sourceEdit_->setPlainText(qs(sourceText_));
    destinationEdit_->setText(qs(destination_));
    statusLine_->setText(qs(statusText_));
}

void ConvertPage::saveSettings() {
    read();
    platform::writeProfileString("Main", "FaxDir", sourceText_, paths_.iniFile);
    platform::writeProfileString("Main", "SaveDir", destination_, paths_.iniFile);
}

bool ConvertPage::eventFilter(QObject* watched, QEvent* event) {
    // The filter of folder scans changes only when its box is left.
    if (watched == filterEdit_ && event->type() == QEvent::FocusOut) {
        read();
        job_.filter = filterText_;
    }
    return QWidget::eventFilter(watched, event);
}

void ConvertPage::pickSource() {
    read();
    if (!copies_.filesMode()) {
        if (auto folder = dialogs_.pickFolder(this)) sourceText_ = *folder;
    } else if (auto files = dialogs_.pickFiles(this, filterText_); files && !files->empty()) {
        sourceText_ = sourceTextForFiles(*files);
        showPages(files->front());  // files picked show before they are converted
    }
    refresh();
}

void ConvertPage::setSource(const std::string& sourceText) {
    read();
    sourceText_ = sourceText;
    refresh();
}

void ConvertPage::pickDestination() {
    read();
    if (auto folder = dialogs_.pickFolder(this)) destination_ = *folder;
    refresh();
}

void ConvertPage::buildFileList(const std::string& sourceFolder) {
    fileList_.clear();
    unreadableFolders_.clear();
    if (copies_.filesMode()) {
        fileList_ = filesModeSelection(sourceText_).names;
    } else {
        FolderWalk walk = walkFolder(sourceFolder, job_.filter, copies_.subdir != 0, Shard{}, copies_.formats);
        fileList_ = std::move(walk.files);
        unreadableFolders_ = std::move(walk.unreadable);
    }
    const int count = static_cast<int>(std::min<std::size_t>(fileList_.size(), INT_MAX));
    progressBar_->setRange(0, std::max(count, 1));  // an empty range would show a busy bar
    progressBar_->setValue(0);
}

void ConvertPage::go() {
    if (closing_) return;
    if (workerBusy()) {
        dialogs_.message(this, "Please wait while running conversion stops", "Warning");
        return;
    }
    read();
    const std::string sourceFolder = sourceFolderOf(sourceText_, copies_.filesMode());
    if (sourceFolder.empty()) {
        dialogs_.message(this, "Select Source Dir,\nwhere your fax files to be converted should be", "Warning");
        return;
    }
    if (destination_.empty()) {
        dialogs_.message(this, "Select Save Dir,\nwhere your converted tif files should be", "Warning");
        return;
    }
    buildFileList(sourceFolder);
    // A folder that cannot be read is not an empty one: say so, and convert
    // what can be read.
    if (!unreadableFolders_.empty()) {
        std::string text = "These folders cannot be read; their faxes are not converted:";
        for (const std::string& folder : unreadableFolders_) text += "\n" + folder;
        dialogs_.message(this, text, "Warning");
        if (unreadableFolders_.front() == sourceFolder) return;
    }
    emit goAccepted();
    startRun(sourceFolder, false);
}

void ConvertPage::timerTick() {
    if (closing_ || workerBusy()) return;
    read();
    const std::string sourceFolder = sourceFolderOf(sourceText_, copies_.filesMode());
    if (sourceFolder.empty() || destination_.empty()) return;
    buildFileList(sourceFolder);
    // No box pops up for a run nobody started; the status line tells.
    if (!unreadableFolders_.empty() && unreadableFolders_.front() == sourceFolder) {
        statusText_ = "The folder " + sourceFolder + " cannot be read";
        refresh();
        return;
    }
    startRun(sourceFolder, true);
}

void ConvertPage::startRun(const std::string& sourceFolder, bool skipExisting) {
    job_.skipExisting = skipExisting;
    PageRun run{job_, fileList_, sourceFolder, destination_, copies_, converter_, workers_};
    run.request.convertOptions = options_;

    activeRun_ = ++runCounter_;
    runConverted_ = 0;
    runTotal_ = run.names.size();
    resultsList_->clear();
    progressBar_->setValue(0);
    showRunning(true);
    refresh();

    auto view = std::make_unique<RunView>(*this, activeRun_);
    worker_ = std::make_unique<ConversionWorker>(std::move(run),
                                                 std::make_unique<GuiThreadObserver>(this, std::move(view)), this,
                                                 [this] { reapWorker(); });
}

void ConvertPage::cancel() {
    stopRun();
    showRunning(false);
}

void ConvertPage::stopForExit() {
    closing_ = true;
    autoTimer_.stop();
    stopRun();
}

void ConvertPage::stopRun() {
    if (!isRunning() || stopping_) return;
    stopping_ = true;
    const bool ended = worker_->stopAndWait(kStopWait);
    stopping_ = false;
    // A worker that ended has reported its end (the status says how many
    // files were converted). One still busy is abandoned: the page shows
    // nothing more of it, it ends after the file at hand, and it writes its
    // log entry, marked cancelled, when it does.
    if (!ended && activeRun_ != 0) {
        statusText_ = "Cancelled. " + std::to_string(runConverted_) + " of " + std::to_string(runTotal_) +
                      " FAX files converted; the file being converted is finished in the background";
        refresh();
    }
    activeRun_ = 0;
    if (ended) worker_.reset();
}

void ConvertPage::finishWorker() {
    closing_ = true;
    autoTimer_.stop();
    activeRun_ = 0;
    // Taken out first, so that reapWorker() called meanwhile finds nothing.
    std::unique_ptr<ConversionWorker> worker = std::move(worker_);
    if (worker) worker->stopAndWait();
}

void ConvertPage::reapWorker() {
    // During the stop procedure the worker is still in use; stopRun() reaps it.
    if (!stopping_ && worker_ && worker_->hasEnded()) worker_.reset();
}

void ConvertPage::showRunning(bool running) {
    goButton_->setEnabled(!running);
    sourcePicker_->setEnabled(!running);
    destinationPicker_->setEnabled(!running);
    sourceEdit_->setEnabled(!running);
    destinationEdit_->setEnabled(!running);
    cancelButton_->setEnabled(running);
    if (running) setCursor(Qt::WaitCursor);
    else unsetCursor();
}

void ConvertPage::setAutomaticConversion(int minutes, bool on) {
    if (!on || minutes <= 0) {
        autoTimer_.stop();
        return;
    }
    autoTimer_.start(static_cast<int>(std::min<long long>(minutes * 60000LL, INT_MAX)));
}

}  // namespace quillon
