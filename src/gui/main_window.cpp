#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMimeData>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/about_box.h"
#include "gui/convert_page.h"
#include "gui/help.h"
#include "gui/manual_window.h"
#include "gui/options_page.h"
#include "gui/settings_snapshot.h"
#include "gui/source_selection.h"
#include "gui/tray_icon.h"
#include "gui/user_dialogs.h"
#include "gui/visual_style.h"
#include "platform/environment.h"

// Resources of a static library must be registered by hand, outside any namespace.
static void registerGuiResources() { Q_INIT_RESOURCE(gui); }

namespace quillon {

MainWindow::MainWindow(ProgramContext& context, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      dialogs_(dialogs),
      iniFile_(context.paths.iniFile) {
    registerGuiResources();
    setWindowTitle("Batch Quillon");
    setWindowIcon(programIcon());
    applyVisualStyle(*this, kMainWindowStyle);

    convertPage_ = new ConvertPage({context.paths.iniFile, context.logFile},
                                   context.options, dialogs_);
    optionsPage_ = new OptionsPage(context.paths.iniFile, context.options);
    applyVisualStyle(*convertPage_, kConvertPageStyle);
    applyVisualStyle(*optionsPage_, kOptionsPageStyle);
    tabs_ = new QTabWidget;
    tabs_->addTab(convertPage_, QIcon(":/quillon/convert.png"), "Convert");
    tabs_->addTab(optionsPage_, QIcon(":/quillon/options.png"), "Options");

    auto* help = new QPushButton("&Help");
    help->setObjectName("helpButton");
    auto* about = new QPushButton("&About");
    about->setObjectName("aboutButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(help);
    buttons->addWidget(about);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    // Enter on a focused push button presses that button, as in any dialog,
    // instead of reaching the window as OK.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(true);

    trayIcon_ = new TrayIcon(this);
    connect(help, &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(about, &QPushButton::clicked, this, &MainWindow::showAbout);
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::tabChanged);
    connect(optionsPage_, &OptionsPage::automaticConversionChanged, convertPage_,
            &ConvertPage::setAutomaticConversion);
    connect(trayIcon_, &TrayIcon::openRequested, this, &MainWindow::showFromTray);
    connect(trayIcon_, &TrayIcon::aboutRequested, this, &MainWindow::showAbout);
    connect(trayIcon_, &TrayIcon::exitRequested, this, [this] { exitWith(kExitByOk); });
    connect(convertPage_, &ConvertPage::goAccepted, this, [this] { savedSource_.reset(); });
    setAcceptDrops(true);

    // The window's size, or larger where its pages need more (larger fonts):
    // a fixed size below what the layout needs would clip its controls.
    setFixedSize(QSize(640, 520).expandedTo(minimumSizeHint()));
    if (const QScreen* desktop = screen()) move(desktop->availableGeometry().center() - rect().center());
    synchronise();
    trayIcon_->show();
    if (!context.openPaths.empty()) openSources(context.openPaths);
}

MainWindow::~MainWindow() { convertPage_->finishWorker(); }

void MainWindow::startAutomaticConversion() { optionsPage_->updateAutomaticConversion(); }

void MainWindow::synchronise() {
    optionsPage_->apply();
    convertPage_->setOptionCopies(optionsPage_->pageOptions());
    convertPage_->refresh();
}

void MainWindow::tabChanged(int index) {
    if (index == 0) synchronise();
}

void MainWindow::exitWith(int code) {
    if (exitCode_ != -1) return;
    // A box that is still open belongs to a call that has not returned yet.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
        return;
    }
    exitCode_ = code;
    convertPage_->stopForExit();
    convertPage_->saveSettings();
    optionsPage_->saveSettings();
    if (savedSource_) savedSource_->restore();
    trayIcon_->hide();
    hide();
    QCoreApplication::exit(code);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    exitWith(kExitByCancel);
    if (exitCode_ == -1) event->ignore();
    else event->accept();
}

// The dialog keys, as far as no control has used them: Escape is Cancel, like
// the close box, and Enter is OK. Enter in a one-line text box (the filter,
// the destination, the minutes) is not: someone who has just typed a path and
// presses Enter means to confirm the text, not to end the program, and these
// boxes pass the key on. The Source box takes Enter itself, for a new line.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool plainEnter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                            (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (event->matches(QKeySequence::Cancel)) exitWith(kExitByCancel);
    else if (plainEnter && !qobject_cast<QLineEdit*>(focusWidget())) exitWith(kExitByOk);
    else QWidget::keyPressEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Minimising hides the window behind the tray icon, when there is one.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && TrayIcon::available()) {
        QTimer::singleShot(0, this, [this] {
            hide();
            setWindowState(windowState() & ~Qt::WindowMinimized);
        });
    }
}

void MainWindow::openSources(const std::vector<std::string>& paths) {
    std::vector<std::string> fullPaths;
    for (const std::string& path : paths)
        fullPaths.push_back(QDir::cleanPath(QFileInfo(QString::fromStdString(path)).absoluteFilePath()).toStdString());
    const auto opened = sourceForPaths(fullPaths, [](const std::string& path) {
        const QFileInfo info(QString::fromStdString(path));
        return info.isDir() ? PathKind::folder : info.isFile() ? PathKind::file : PathKind::missing;
    });
    if (!opened) return;
    // Taken once: a second drop before "&Go" must not take the first as saved.
    if (!savedSource_) {
        savedSource_ = std::make_unique<SettingsSnapshot>(
            iniFile_, std::vector<SettingsSnapshot::Key>{{"Main", "FaxDir"},
                                                         {"Options", "DirFile"},
                                                         {"Options", "Subdir"},
                                                         {"Options", "Hiberarchy"},
                                                         {"Options", "Cyclely"}});
    }
    optionsPage_->chooseSourceMode(opened->filesMode);
    convertPage_->setSource(opened->text);
    // Files opened are shown before they are converted: the first one's pages.
    if (opened->filesMode) convertPage_->showPages(fullPaths.front());
    tabs_->setCurrentIndex(0);
    synchronise();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (convertPage_->isRunning() || !event->mimeData()->hasUrls()) return;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    openSources(paths);
    event->acceptProposedAction();
}

void MainWindow::showFromTray() {
    if (!isVisible()) show();
    if (isMinimized()) showNormal();
    else raise();
    activateWindow();
}

void MainWindow::showAbout() { dialogs_.about(this); }

void MainWindow::showHelp() {
    const auto document =
        helpDocument(platform::programPath(), [](const std::string& path) { return QFile::exists(QString::fromStdString(path)); });
    if (document && dialogs_.openDocument(*document)) return;
    if (!manualWindow_) {
        manualWindow_ = new ManualWindow(this);
        manualWindow_->setObjectName("manualWindow");
    }
    manualWindow_->show();
    manualWindow_->raise();
    manualWindow_->activateWindow();
}

}  // namespace quillon
