#pragma once
// The program's window in GUI mode: the Convert and Options tabs, "&Help" and
// "&About", and the tray icon that keeps automatic conversion going while the
// window is hidden.

#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "cli/startup.h"

class QTabWidget;

namespace quillon {

class ConvertPage;
class ManualWindow;
class SettingsSnapshot;
class OptionsPage;
class TrayIcon;
class UserDialogs;

// Exit codes of the window.
constexpr int kExitByOk = 1;      // OK (Enter) and tray "E&xit"
constexpr int kExitByCancel = 2;  // Cancel (Escape) and the close box

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // context.options are the process's engine options; the Options page
    // changes them and every run takes a copy.
    MainWindow(ProgramContext& context, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The Options page's automatic-conversion update, once after creation.
    void startAutomaticConversion();

    // Ends a run in progress through the Convert page's stop procedure,
    // writes both pages' settings and ends the event loop with the code. Only
    // the first call counts.
    void exitWith(int code);
    // The code the window ended with; -1 while it has not.
    int exitCode() const { return exitCode_; }

    // Files or a folder from the desktop (program arguments or a drop) become
    // the source; the saved source and mode stay until "&Go" starts a run.
    void openSources(const std::vector<std::string>& paths);

    void showFromTray();
    void showAbout();
    // Opens the manual with the desktop's viewer, or else in the program's
    // own manual window.
    void showHelp();

    ConvertPage& convertPage() const { return *convertPage_; }
    OptionsPage& optionsPage() const { return *optionsPage_; }
    TrayIcon& trayIcon() const { return *trayIcon_; }
    QTabWidget& tabs() const { return *tabs_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void synchronise();
    void tabChanged(int index);

    UserDialogs& dialogs_;
    QTabWidget* tabs_ = nullptr;
    ConvertPage* convertPage_ = nullptr;
    OptionsPage* optionsPage_ = nullptr;
    TrayIcon* trayIcon_ = nullptr;
    ManualWindow* manualWindow_ = nullptr;  // made on first need
    std::string iniFile_;
    // The saved source settings while an opened source has not been run.
    std::unique_ptr<SettingsSnapshot> savedSource_;
    int exitCode_ = -1;
};

}  // namespace quillon
