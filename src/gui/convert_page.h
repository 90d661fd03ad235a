#pragma once
// The Convert tab: what to convert, where to, and the outcome of every file of
// a run. Runs are started by "&Go" or by the automatic-conversion timer and
// carried out by one ConversionWorker at a time. "&Cancel" and the program's
// exit end a run through the stop procedure: the worker is asked to convert no
// further file and given up to two seconds to finish its run normally; a
// worker still busy then is abandoned: the rows shown so far stay, but its
// run gets no "Done" status and no log entry.

#include <memory>
#include <string>

#include <QTimer>
#include <QWidget>

#include "run/request/batch_job.h"
#include "gui/conversion_run.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace quillon {

class ConversionWorker;
class PageView;
class UserDialogs;

struct ConvertPagePaths {
    std::string iniFile;
    std::string logFile;
};

class ConvertPage : public QWidget {
    Q_OBJECT

public:
    // options are the process's engine options; each run takes its own copy.
    ConvertPage(ConvertPagePaths paths, const ConvertOptions& options, UserDialogs& dialogs,
                QWidget* parent = nullptr);
    ~ConvertPage() override;

    void setOptionCopies(const PageOptions& copies) { copies_ = copies; }
    const PageOptions& optionCopies() const { return copies_; }

    // Writes the page's values into its boxes.
    void refresh();
    // Takes the boxes' values and writes them to section "Main" of the INI file.
    void saveSettings();
    // Puts a source text into the Source box, as the picker would.
    void setSource(const std::string& sourceText);
    // Shows the pages of a fax file beside the list of files.
    void showPages(const std::string& path);
    // For the exit commands: no new run starts, and a run in progress goes
    // through the stop procedure.
    void stopForExit();
    // Before the page goes away: no new run starts, and any worker, also one
    // of an abandoned run, ends after its current file; waits for it.
    void finishWorker();

    // Runs every `minutes` while on; a period of 0 or less keeps the timer off.
    void setAutomaticConversion(int minutes, bool on);
    bool automaticConversionOn() const { return autoTimer_.isActive(); }
    int automaticConversionPeriodMs() const { return autoTimer_.interval(); }

    // The running flag: true from the start of a run until it has finished or
    // been stopped.
    bool isRunning() const { return activeRun_ != 0; }
    // True while a worker, also one of an abandoned run, has not ended. No run
    // starts meanwhile: the process has one run at a time.
    bool workerBusy() const { return worker_ != nullptr; }

    // Tests convert with their own function instead of convertFile.
    void setFileConverter(FileConverter convert) { converter_ = std::move(convert); }
    // Files a run converts at once; 0, the default, is one per core.
    void setWorkers(unsigned workers) { workers_ = workers; }

signals:
    // "&Go" starts a run: the user has taken the source as it is.
    void goAccepted();

public slots:
    void go();
    void cancel();
    void timerTick();
    void pickSource();
    void pickDestination();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class RunView;

    void buildLayout();
    void read();
    void buildFileList(const std::string& sourceFolder);
    void startRun(const std::string& sourceFolder, bool skipExisting);
    void stopRun();
    void showRunning(bool running);
    void savePages(const QString& file, int page);
    void reapWorker();

    ConvertPagePaths paths_;
    const ConvertOptions& options_;
    UserDialogs& dialogs_;
    FileConverter converter_;
    unsigned workers_ = 0;

    // The page's values; read() and refresh() copy them from and to the boxes.
    std::string filterText_ = "*.*";
    std::string sourceText_;
    std::string destination_;
    std::string statusText_ = "It's a GOOD idea to backup your fax files, and NEVER delete them";
    PageOptions copies_;
    BatchJob job_;  // the filter and what each run asks
    std::vector<std::string> fileList_;           // the files of the next run, relative to its source folder
    std::vector<std::string> unreadableFolders_;  // met by the last walk

    std::unique_ptr<ConversionWorker> worker_;
    int activeRun_ = 0;  // the run whose reports the page shows; 0 when none
    int runCounter_ = 0;
    int runConverted_ = 0;        // files of the active run converted so far
    std::size_t runTotal_ = 0;    // files listed for the active run
    bool closing_ = false;
    bool stopping_ = false;  // the stop procedure is waiting for the worker
    QTimer autoTimer_;

    QLineEdit* filterEdit_ = nullptr;
    QPlainTextEdit* sourceEdit_ = nullptr;
    QToolButton* sourcePicker_ = nullptr;
    QLineEdit* destinationEdit_ = nullptr;
    QToolButton* destinationPicker_ = nullptr;
    QPushButton* goButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QTreeWidget* resultsList_ = nullptr;
    PageView* pageView_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* statusLine_ = nullptr;
};

}  // namespace quillon
