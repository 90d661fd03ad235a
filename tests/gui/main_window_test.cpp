#include <thread>

#include <QAction>
#include <QApplication>
#include <QProgressBar>
#include <QGroupBox>
#include <QComboBox>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QMimeData>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

#include "gui/about_box.h"
#include "gui/convert_page.h"
#include "gui/gui_test_support.h"
#include "gui/main_window.h"
#include "gui/options_page.h"
#include "gui/tray_icon.h"
#include "platform/environment.h"
#include "platform/ini_file.h"

namespace quillon::test {

namespace fs = std::filesystem;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    struct Fixture : WindowFixture {
        std::unique_ptr<MainWindow> window;

        MainWindow& open() {
            window = std::make_unique<MainWindow>(context, dialogs);
            return *window;
        }
        template <class T>
        T* child(const char* name) const { return window->findChild<T*>(name); }
        std::string ini(const char* section, const char* key) const {
            return platform::getProfileString(section, key, "<missing>", context.paths.iniFile);
        }
    };

private slots:
    void windowHasItsCaptionTabsAndButtons() {
        Fixture f;
        MainWindow& window = f.open();
        QCOMPARE(window.windowTitle(), QString("Batch Quillon"));
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QTabWidget& tabs = window.tabs();
        QCOMPARE(tabs.count(), 2);
        QCOMPARE(tabs.tabText(0), QString("Convert"));
        QCOMPARE(tabs.tabText(1), QString("Options"));
        QVERIFY(!tabs.tabIcon(0).isNull());
        QVERIFY(!tabs.tabIcon(1).isNull());
        QCOMPARE(tabs.currentIndex(), 0);
        QCOMPARE(f.child<QPushButton>("helpButton")->text(), QString("&Help"));
        QCOMPARE(f.child<QPushButton>("aboutButton")->text(), QString("&About"));
        QCOMPARE(window.palette().color(QPalette::Window), QColor(236, 255, 245));
        QCOMPARE(window.convertPage().palette().color(QPalette::Window), QColor(196, 255, 225));
        QCOMPARE(window.optionsPage().palette().color(QPalette::Base), QColor(255, 255, 255));
        QCOMPARE(window.convertPage().palette().color(QPalette::Active, QPalette::ButtonText), QColor(0, 0, 255));
    }

    // At the window's size, and at a larger font where the window grows, no
    // control of either page gets less room than it asks for (less than its
    // size hint where its size policy may not shrink it, its minimum where it
    // may, and never more than its maximum).
    void everyControlOfBothPagesShowsWhole() {
        const QFont font = QApplication::font();
        for (const double scale : {1.0, 1.5}) {
            QFont larger = font;
            larger.setPointSizeF(font.pointSizeF() * scale);
            QApplication::setFont(larger);
            Fixture f;
            MainWindow& window = f.open();
            window.show();
            QVERIFY(window.width() >= 640 && window.height() >= 520);
            for (int tab = 0; tab < window.tabs().count(); ++tab) {
                window.tabs().setCurrentIndex(tab);
                QApplication::processEvents();
                QWidget* page = window.tabs().widget(tab);
                int controls = 0;
                for (QWidget* control : page->findChildren<QWidget*>()) {
                    const bool checked = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                                         qobject_cast<QLabel*>(control) || qobject_cast<QGroupBox*>(control) ||
                                         qobject_cast<QComboBox*>(control) || qobject_cast<QProgressBar*>(control);
                    if (!checked || !control->isVisibleTo(&window)) continue;
                    ++controls;
                    const QSizePolicy policy = control->sizePolicy();
                    const QSize hint = control->sizeHint();
                    const QSize least = control->minimumSizeHint().expandedTo(control->minimumSize());
                    const auto needed = [](QSizePolicy::Policy p, int hint, int least, int most) {
                        return std::min(p & QSizePolicy::ShrinkFlag ? least : hint, most);
                    };
                    const int width = needed(policy.horizontalPolicy(), hint.width(), least.width(), control->maximumWidth());
                    const int height = needed(policy.verticalPolicy(), hint.height(), least.height(), control->maximumHeight());
                    const QString what = QString("%1 \"%2\" at %3x font: %4x%5, needs %6x%7")
                                             .arg(control->metaObject()->className(), control->objectName())
                                             .arg(scale)
                                             .arg(control->width())
                                             .arg(control->height())
                                             .arg(width)
                                             .arg(height);
                    QVERIFY2(control->width() >= width && control->height() >= height, qPrintable(what));
                }
                QVERIFY(controls > 10);
            }
        }
        QApplication::setFont(font);
    }

    void closeBoxExitsWithTwoAndWritesBothSections() {
        Fixture f;
        MainWindow& window = f.open();
        window.show();
        f.child<QPlainTextEdit>("sourceEdit")->setPlainText("/fax/in");
        f.child<QCheckBox>("keepDateBox")->setChecked(true);
        QVERIFY(window.close());
        QCOMPARE(window.exitCode(), 2);
        QCOMPARE(f.ini("Main", "FaxDir"), std::string("/fax/in"));
        QCOMPARE(f.ini("Main", "SaveDir"), std::string(""));
        QCOMPARE(f.ini("Options", "KeepDate"), std::string("1"));
        QCOMPARE(f.ini("Options", "CycleMinutes"), std::string("60"));
        QCOMPARE(f.ini("Options", "ConvertFlag"), std::string("0"));
    }

    void escapeIsCancelAndEnterIsOkOutsideTextBoxes() {
        {
            Fixture f;
            MainWindow& window = f.open();
            window.show();
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window));
            f.child<QCheckBox>("keepDateBox")->setChecked(true);
            QLineEdit* destination = f.child<QLineEdit>("destinationEdit");
            destination->setFocus();
            QTest::keyClicks(destination, "/fax/out");
            QTest::keyClick(destination, Qt::Key_Return);  // confirms the typed path only
            QCOMPARE(window.exitCode(), -1);
            QPushButton* go = f.child<QPushButton>("goButton");
            go->setFocus();
            QTest::keyClick(go, Qt::Key_Return);  // presses "&Go"
            QCOMPARE(window.exitCode(), -1);
            QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
            QCOMPARE(f.dialogs.messages[0].text, std::string("Select Source Dir,\nwhere your fax files to be converted should be"));

            QTest::keyClick(destination, Qt::Key_Escape);
            QCOMPARE(window.exitCode(), 2);
            QVERIFY(!window.isVisible());
            QCOMPARE(f.ini("Main", "SaveDir"), std::string("/fax/out"));
            QCOMPARE(f.ini("Main", "FaxDir"), std::string(""));
            QCOMPARE(f.ini("Options", "KeepDate"), std::string("1"));
        }
        Fixture f;
        MainWindow& window = f.open();
        window.show();
        window.tabs().setCurrentIndex(1);
        QCheckBox* keepDate = f.child<QCheckBox>("keepDateBox");
        keepDate->setFocus();
        QTest::keyClick(keepDate, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(window.exitCode(), 1);
        QCOMPARE(f.ini("Main", "SaveDir"), std::string(""));
        QCOMPARE(f.ini("Options", "KeepDate"), std::string("0"));
    }

    void trayExitExitsWithOneAndOnlyOnce() {
        Fixture f;
        MainWindow& window = f.open();
        window.show();
        window.trayIcon().exitAction()->trigger();
        QCOMPARE(window.exitCode(), 1);
        QCOMPARE(f.ini("Main", "FaxDir"), std::string(""));
        QCOMPARE(f.ini("Options", "KeepExt"), std::string("1"));
        window.close();
        QCOMPARE(window.exitCode(), 1);
    }

    void settingsOfOneStartReachTheNext() {
        Fixture f;
        {
            MainWindow& window = f.open();
            f.child<QLineEdit>("destinationEdit")->setText("/fax/out");
            f.child<QCheckBox>("hiberarchyBox")->setChecked(true);
            window.close();
        }
        MainWindow& again = f.open();
        QCOMPARE(f.child<QLineEdit>("destinationEdit")->text(), QString("/fax/out"));
        QCOMPARE(again.convertPage().optionCopies().hiberarchy, 1);
    }

    void switchingToConvertSynchronisesTheCopies() {
        Fixture f;
        MainWindow& window = f.open();
        window.tabs().setCurrentIndex(1);
        f.child<QCheckBox>("hiberarchyBox")->setChecked(true);
        f.child<QCheckBox>("recaculateBox")->setChecked(true);
        QCOMPARE(window.convertPage().optionCopies().hiberarchy, 0);
        QCOMPARE(f.context.options.recountLines, std::uint8_t(0));
        window.tabs().setCurrentIndex(0);
        QCOMPARE(window.convertPage().optionCopies().hiberarchy, 1);
        QCOMPARE(f.context.options.recountLines, std::uint8_t(1));
    }

    void automaticConversionStartsFromTheSavedSettings() {
        Fixture f;
        platform::writeProfileString("Options", "Cyclely", "1", f.context.paths.iniFile);
        platform::writeProfileString("Options", "CycleMinutes", "5", f.context.paths.iniFile);
        MainWindow& window = f.open();
        QVERIFY(!window.convertPage().automaticConversionOn());
        window.startAutomaticConversion();
        QVERIFY(window.convertPage().automaticConversionOn());
        QCOMPARE(window.convertPage().automaticConversionPeriodMs(), 300000);
        QVERIFY(!f.child<QLineEdit>("minutesEdit")->isEnabled());
    }

    void aboutComesFromTheButtonAndTheTray() {
        Fixture f;
        MainWindow& window = f.open();
        f.child<QPushButton>("aboutButton")->click();
        window.trayIcon().aboutAction()->trigger();
        QCOMPARE(f.dialogs.aboutBoxes, 2);

        AboutBox about;
        QCOMPARE(about.windowTitle(), QString("About Batch Quillon"));
        QCOMPARE(about.findChild<QLabel*>("versionText")->text(), QString("Batch Quillon V3.00, build 0903"));
        const QList<QPushButton*> buttons = about.findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons[0]->text(), QString("OK"));
        about.show();
        buttons[0]->click();
        QVERIFY(!about.isVisible());
    }

    void trayMenuAndTip() {
        Fixture f;
        MainWindow& window = f.open();
        TrayIcon& tray = window.trayIcon();
        QCOMPARE(tray.toolTip(), QString("Batch Quillon\nConvert WinFax fxd/fxm/fxr/fxs to tif"));
        QStringList items;
        for (QAction* action : tray.menu()->actions()) items << action->text();
        QCOMPARE(items, (QStringList{"&Open...", "&About...", "E&xit"}));
        QCOMPARE(tray.menu()->defaultAction(), tray.openAction());
        QVERIFY(tray.openAction()->font().bold());

        window.show();
        window.hide();
        tray.openAction()->trigger();
        QVERIFY(window.isVisible());
        window.tabs().setCurrentIndex(1);
        window.hide();
        emit tray.openRequested();  // what a double-click on the icon sends
        QVERIFY(window.isVisible());
        QCOMPARE(window.tabs().currentIndex(), 1);
    }

    void minimisingWithoutATrayKeepsTheWindowMinimised() {
        if (TrayIcon::available()) QSKIP("this desktop has a notification area");
        Fixture f;
        MainWindow& window = f.open();
        window.show();
        window.showMinimized();
        QTest::qWait(50);
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
        window.showFromTray();
        QVERIFY(!window.isMinimized());
    }

    void helpOpensTheChmBesideTheProgramElseItsOwnManualWindow() {
        Fixture f;
        MainWindow& window = f.open();
        window.show();
        const std::string program = platform::programPath();
        QVERIFY(!program.empty());
        // Neither a .chm nor an installed manual beside the test program.
        f.child<QPushButton>("helpButton")->click();
        QVERIFY(f.dialogs.openedDocuments.empty());
        auto* manual = window.findChild<QDialog*>("manualWindow");
        QVERIFY(manual && manual->isVisible());
        auto* browser = manual->findChild<QTextBrowser*>("manualBrowser");
        QVERIFY(browser);
        const QString text = browser->toPlainText();
        for (const char* chapter : {"The window", "The command line", "Output names", "Results lines",
                                    "Damaged faxes", "Exit codes", "/report=FILE"})
            QVERIFY2(text.contains(chapter), chapter);
        QVERIFY(!browser->loadResource(QTextDocument::ImageResource, QUrl("screenshot.png")).isNull());
        manual->close();

        const std::string chm = program + ".chm";  // the test program has no extension
        writeFile(chm, "help");
        window.showHelp();
        QVERIFY2(!manual->isVisible(), "the viewer shows the .chm");
        f.dialogs.viewerOpens = false;
        window.showHelp();
        fs::remove(chm);
        QCOMPARE(f.dialogs.openedDocuments, (std::vector<std::string>{chm, chm}));
        QVERIFY2(manual->isVisible(), "no viewer: the manual window instead");
        QCOMPARE(window.findChildren<QDialog*>("manualWindow").size(), 1);
    }

    void exitDuringARunFinishesItAfterTheCurrentFile() {
        Fixture f;
        const fs::path in = f.home / "in";
        const fs::path out = f.home / "out";
        fs::create_directories(in);
        for (const char* name : {"a.fxd", "b.fxd"}) writeWinFaxFile(in / name, 2);
        GatedConverter gate(0);
        MainWindow& window = f.open();
        window.convertPage().setFileConverter(gate.converter());
        window.convertPage().setWorkers(1);  // the gate holds the run at one file
        f.child<QPlainTextEdit>("sourceEdit")->setPlainText(QString::fromStdString(in.string()));
        f.child<QLineEdit>("destinationEdit")->setText(QString::fromStdString(out.string()));
        window.convertPage().go();
        QTRY_VERIFY_WITH_TIMEOUT(gate.held(), 10000);

        std::thread releaser([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            gate.release();
        });
        window.trayIcon().exitAction()->trigger();
        releaser.join();
        QCOMPARE(window.exitCode(), 1);
        QVERIFY(!window.convertPage().isRunning());
        QCOMPARE(gate.calls(), 1);
        QVERIFY(looksLikeTiff(out / "a.fxd.tif"));  // the Options page keeps extensions by default
        QVERIFY(!fs::exists(out / "b.fxd.tif"));
        // The run ended within the stop procedure's wait, cancelled after its file.
        QCOMPARE(f.child<QLabel>("statusLine")->text(), QString("Cancelled. 1 of 2 FAX files converted"));
        const std::string log = readFile(f.context.logFile);
        QVERIFY(log.find((in / "a.fxd").string() + " --> ") != std::string::npos);
        QVERIFY(log.find((in / "b.fxd").string()) == std::string::npos);
        QCOMPARE(f.ini("Main", "SaveDir"), out.string());
        window.convertPage().go();  // nothing starts after the exit
        QVERIFY(!window.convertPage().isRunning());
    }

    void filesGivenAtStartUpAreTheSourceAndAreSavedOnlyOnceGoRunsThem() {
        Fixture f;
        const fs::path in = f.home / "in";
        fs::create_directories(in);
        for (const char* name : {"a.fxd", "b.FXS"}) writeWinFaxFile(in / name, 2);
        const std::string& ini = f.context.paths.iniFile;
        platform::writeProfileString("Main", "FaxDir", "/saved/faxes", ini);
        platform::writeProfileString("Options", "Subdir", "1", ini);
        f.context.openPaths = {(in / "a.fxd").string(), (in / "b.FXS").string(), (f.home / "missing.fxd").string()};
        {
            MainWindow& window = f.open();
            QCOMPARE(f.child<QPlainTextEdit>("sourceEdit")->toPlainText(),
                     QString::fromStdString(in.string() + " a.fxd b.FXS"));
            QVERIFY(f.child<QRadioButton>("filesButton")->isChecked());
            QVERIFY(window.close());
        }
        QCOMPARE(f.ini("Main", "FaxDir"), std::string("/saved/faxes"));
        QCOMPARE(f.ini("Options", "DirFile"), std::string(""));
        QCOMPARE(f.ini("Options", "Subdir"), std::string("1"));

        MainWindow& window = f.open();
        f.child<QLineEdit>("destinationEdit")->setText(QString::fromStdString((f.home / "out").string()));
        f.child<QPushButton>("goButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window.convertPage().isRunning(), 60000);
        QVERIFY(looksLikeTiff(f.home / "out" / "a.fxd.tif"));
        QVERIFY(looksLikeTiff(f.home / "out" / "b.FXS.tif"));
        QVERIFY(window.close());
        QCOMPARE(f.ini("Main", "FaxDir"), in.string() + " a.fxd b.FXS");
        QCOMPARE(f.ini("Options", "DirFile"), std::string("1"));
    }

    void droppedFolderBecomesTheSourceInFolderMode() {
        Fixture f;
        const fs::path in = f.home / "drop";
        fs::create_directories(in);
        platform::writeProfileString("Options", "DirFile", "1", f.context.paths.iniFile);
        MainWindow& window = f.open();
        window.show();
        QVERIFY(f.child<QRadioButton>("filesButton")->isChecked());

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(in.string()))});
        const QPoint at = window.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        QCOMPARE(f.child<QPlainTextEdit>("sourceEdit")->toPlainText(), QString::fromStdString(in.string()));
        QVERIFY(f.child<QRadioButton>("directoryButton")->isChecked());
        QCOMPARE(window.tabs().currentIndex(), 0);

        QMimeData web;
        web.setUrls({QUrl("https://example.org/a.fxd")});
        QDragEnterEvent refused(at, Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &refused);
        QVERIFY(!refused.isAccepted());
        QVERIFY(window.close());
        QCOMPARE(f.ini("Options", "DirFile"), std::string("1"));  // no run: the saved mode stays
    }

    // With QUILLON_SCREENSHOT set, the finished run is also saved as a picture.
    void finishedRunInTheWindow() {
        Fixture f;
        const fs::path in = f.home / "faxes";
        fs::create_directories(in / "2009");
        for (const char* name : {"invoice.fxd", "order.fxm", "2009/memo.fxs", "2009/notice.fxr"})
            writeWinFaxFile(in / name, 2);
        writeFile(in / "readme.fxd", "not a fax");
        platform::writeProfileString("Options", "Subdir", "1", f.context.paths.iniFile);
        platform::writeProfileString("Options", "Hiberarchy", "1", f.context.paths.iniFile);
        platform::writeProfileString("Options", "KeepExt", "0", f.context.paths.iniFile);
        MainWindow& window = f.open();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        f.child<QPlainTextEdit>("sourceEdit")->setPlainText(QString::fromStdString(in.string()));
        f.child<QLineEdit>("destinationEdit")->setText(QString::fromStdString((f.home / "tif").string()));
        window.convertPage().go();
        QTRY_VERIFY_WITH_TIMEOUT(!window.convertPage().isRunning(), 60000);

        QTreeWidget* rows = f.child<QTreeWidget>("resultsList");
        QCOMPARE(rows->topLevelItemCount(), 5);
        QCOMPARE(f.child<QLabel>("statusLine")->text(), QString("Done. 4 FAX files converted"));
        QVERIFY(looksLikeTiff(f.home / "tif" / "2009" / "memo.tif"));
        QVERIFY(looksLikeTiff(f.home / "tif" / "invoice.tif"));

        if (const char* picture = std::getenv("QUILLON_SCREENSHOT")) QVERIFY(window.grab().save(picture));
    }
};

}  // namespace quillon::test

QTEST_MAIN(quillon::test::MainWindowTest)
#include "main_window_test.moc"
