#pragma once
// Helpers of the window tests: dialogs that answer from a script, a file
// converter that holds a run at a file until the test lets it go, and input
// files.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "cli/startup.h"
#include "gui/conversion_run.h"
#include "gui/user_dialogs.h"
#include "support/temp_dir.h"

namespace quillon::test {

struct ShownMessage {
    std::string text;
    std::string caption;
};

class ScriptedDialogs : public UserDialogs {
public:
    void message(QWidget* parent, const std::string& text, const std::string& caption) override;
    std::optional<std::string> pickFolder(QWidget* parent) override;
    std::optional<std::vector<std::string>> pickFiles(QWidget* parent, const std::string& filter) override;
    std::optional<std::string> pickSaveFile(QWidget*, const std::string& suggested) override {
        suggestedNames.push_back(suggested);
        return saveAnswer;
    }
    void about(QWidget*) override { ++aboutBoxes; }
    bool openDocument(const std::string& path) override {
        openedDocuments.push_back(path);
        return viewerOpens;
    }

    // Answers of the pickers, in order; nothing left means the user cancels.
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::vector<std::string>> fileAnswers;

    std::optional<std::string> saveAnswer;     // the name picked to save to; none: cancelled
    std::vector<std::string> suggestedNames;  // the name each save picker offered
    std::vector<ShownMessage> messages;
    std::vector<std::string> fileFilters;  // the filter each file picker offered
    int aboutBoxes = 0;
    std::vector<std::string> openedDocuments;
    bool viewerOpens = true;  // false: as on a desktop without a viewer
};

// Converts like convertFile, but the file with index `holdAt` waits inside
// the conversion until release() (or forever if never released).
class GatedConverter {
public:
    explicit GatedConverter(int holdAt) : holdAt_(holdAt) {}
    ~GatedConverter() { release(); }

    FileConverter converter();
    // True once the held file's conversion has begun. The worker reaches it
    // only while the GUI thread carries out its reports, so tests poll this
    // with QTRY_VERIFY instead of blocking.
    bool held() const;
    void release();
    int calls() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int holdAt_;
    int calls_ = 0;
    bool held_ = false;
    bool released_ = false;
};

// A WinFax file of `pages` small pages (T.4 one-dimensional).
void writeWinFaxFile(const std::filesystem::path& path, int pages = 1);

// The context of a program whose home and temporary folder are `home`.
ProgramContext testContext(const TempDir& home);

// What every window test starts from: its own home folder, the program
// context there, and dialogs that answer from a script.
struct WindowFixture {
    TempDir home;
    ProgramContext context = testContext(home);
    ScriptedDialogs dialogs;
};

// True when the file starts like a TIFF file.
bool looksLikeTiff(const std::filesystem::path& path);

}  // namespace quillon::test
