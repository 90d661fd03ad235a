#include <thread>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "gui/convert_page.h"
#include "gui/gui_test_support.h"
#include "platform/ini_file.h"

namespace quillon::test {

namespace fs = std::filesystem;

class ConvertPageTest : public QObject {
    Q_OBJECT

private:
    struct Fixture : WindowFixture {
        fs::path in = home / "in";
        fs::path out = home / "out";
        std::unique_ptr<ConvertPage> page;

        Fixture() { fs::create_directories(in); }

        ConvertPage& open(PageOptions copies = {}) {
            page = std::make_unique<ConvertPage>(
                ConvertPagePaths{context.paths.iniFile, context.logFile},
                context.options, dialogs);
            page->setOptionCopies(copies);
            return *page;
        }
        template <class T>
        T* child(const char* name) const { return page->findChild<T*>(name); }
        void setSource(const std::string& text) { child<QPlainTextEdit>("sourceEdit")->setPlainText(QString::fromStdString(text)); }
        void setDestination(const std::string& text) { child<QLineEdit>("destinationEdit")->setText(QString::fromStdString(text)); }
        QTreeWidget& rows() const { return *child<QTreeWidget>("resultsList"); }
        QString cell(int row, int column) const { return rows().topLevelItem(row)->text(column); }
        QString status() const { return child<QLabel>("statusLine")->text(); }
        bool idle() const {
            return child<QPushButton>("goButton")->isEnabled() && !child<QPushButton>("cancelButton")->isEnabled() &&
                   child<QPlainTextEdit>("sourceEdit")->isEnabled() && child<QLineEdit>("destinationEdit")->isEnabled() &&
                   child<QToolButton>("sourcePicker")->isEnabled() && child<QToolButton>("destinationPicker")->isEnabled() &&
                   page->cursor().shape() == Qt::ArrowCursor && !page->isRunning();
        }
        std::string log() const { return fs::exists(context.logFile) ? readFile(context.logFile) : std::string(); }
        // The log without the date line each entry starts with.
        std::string logAfterDate() const {
            const std::string text = log();
            return text.substr(text.find('\n') + 1);
        }
        std::string logLine(const char* source, const char* output) const {
            return (in / source).string() + " --> " + (out / output).string() + " : Success !\r\n";
        }
        // One run's log entry, from "in" to "out", after its date line.
        std::string logEntry(const std::string& lines) const {
            return "Batch Quillon in GUI mode : convert folder\r\nSource Folder: " + in.string() +
                   "\r\nDestination Folder: " + out.string() + "\r\n" + lines + std::string(50, '-') + "\n";
        }
        std::vector<std::string> outputNames() const {
            std::vector<std::string> names;
            for (const auto& entry : fs::directory_iterator(out)) names.push_back(entry.path().filename().string());
            std::sort(names.begin(), names.end());
            return names;
        }
        // A run over three files whose second file is held by `gate`.
        ConvertPage& startHeldRun(GatedConverter& gate) {
            for (const char* name : {"a.fxd", "b.fxd", "c.fxd"}) writeWinFaxFile(in / name, 3);
            ConvertPage& started = open(PageOptions{0, 0, 0, 0, 0});
            started.setFileConverter(gate.converter());
            started.setWorkers(1);  // the gate holds the run at one file
            setSource(in.string());
            setDestination(out.string());
            started.go();
            return started;
        }
    };

    static bool waitForRunEnd(ConvertPage& page) { return QTest::qWaitFor([&] { return !page.workerBusy(); }, 60000); }

private slots:
    void goOverAFolderOfWinFaxFilesConvertsEveryFile() {
        Fixture f;
        writeWinFaxFile(f.in / "a.fxd");
        writeWinFaxFile(f.in / "b.FXS", 2);
        writeFile(f.in / "notes.txt", "not listed");
        ConvertPage& page = f.open(PageOptions{0, 0, 0, 0, 0});
        page.setWorkers(2);  // rows and log keep the list order whichever file finishes first
        f.setSource(f.in.string());
        f.setDestination(f.out.string());
        page.go();
        QVERIFY(page.isRunning());
        QVERIFY(!f.idle());
        QVERIFY(waitForRunEnd(page));

        QCOMPARE(f.rows().topLevelItemCount(), 2);
        QCOMPARE(f.cell(0, 0), QString::fromStdString((f.in / "a.fxd").string()));
        QCOMPARE(f.cell(0, 1), QString::fromStdString((f.out / "a.tif").string()));
        QCOMPARE(f.cell(0, 2), QString("Converted!"));
        QCOMPARE(f.cell(1, 1), QString::fromStdString((f.out / "b.tif").string()));
        QCOMPARE(f.cell(1, 2), QString("Converted!"));
        QCOMPARE(f.status(), QString("Done. 2 FAX files converted"));
        QVERIFY(looksLikeTiff(f.out / "a.tif"));
        QVERIFY(looksLikeTiff(f.out / "b.tif"));
        QCOMPARE(f.child<QProgressBar>("progressBar")->value(), 2);
        QVERIFY(f.idle());
        QVERIFY(f.dialogs.messages.empty());

        QCOMPARE(f.logAfterDate(), f.logEntry(f.logLine("a.fxd", "a.tif") + f.logLine("b.FXS", "b.tif")));
    }

    void damagedFaxReadsApartInRowStatusAndLog() {
        Fixture f;
        writeWinFaxFile(f.in / "a.fxd");
        writeWinFaxFile(f.in / "cut.fxd", 2);
        const std::string whole = readFile(f.in / "cut.fxd");
        writeFile(f.in / "cut.fxd", whole.substr(0, whole.size() - 100));  // the file ends inside page 2
        ConvertPage& page = f.open(PageOptions{0, 0, 0, 0, 0});
        f.setSource(f.in.string());
        f.setDestination(f.out.string());
        page.go();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(f.cell(0, 2), QString("Converted!"));
        QCOMPARE(f.cell(1, 2), QString("Converted, with damaged pages!"));
        QVERIFY(f.rows().topLevelItem(1)->toolTip(2).contains("page 2 of 2: the file ends inside this page"));
        QCOMPARE(f.status(), QString("Done. 2 FAX files converted, 1 with damaged pages"));
        const std::string cutLine = f.logLine("cut.fxd", "cut.tif");
        const std::string log = f.logAfterDate();
        const std::size_t at = log.find(cutLine);
        QVERIFY(at != std::string::npos);
        QVERIFY(log.substr(at + cutLine.size()).starts_with("    Damaged : page 2 of 2: the file ends inside this page ("));
    }

    void filesThatAreNoFaxGetNotWinFaxRows() {
        Fixture f;
        writeFile(f.in / "broken.fxd", "no WinFax header at all");
        writeFile(f.in / "empty.fxm", "");
        ConvertPage& page = f.open();
        f.setSource(f.in.string());
        f.setDestination(f.out.string());
        page.go();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(f.rows().topLevelItemCount(), 2);
        for (int row = 0; row < 2; ++row) {
            QCOMPARE(f.cell(row, 1), QString());
            QCOMPARE(f.cell(row, 2), QString("Not WinFax File!"));
        }
        // The row's tooltip says why, in the words of the log.
        const std::string broken = (f.in / "broken.fxd").string();
        QCOMPARE(f.rows().topLevelItem(0)->toolTip(2).toStdString(),
                 broken + " --> " + (f.out / "broken.tif").string() + " : Failed : " + broken +
                     " - Not Fax\n    Reason : no WinFax signature: the file does not start with a WinFax page header");
        QCOMPARE(f.status(), QString("Done. 0 FAX files converted"));
        QVERIFY(fs::is_directory(f.out));
        QVERIFY(fs::is_empty(f.out));
    }

    void folderWithoutWinFaxFilesLogsTheHeaderAlone() {
        Fixture f;
        ConvertPage& page = f.open();
        f.setSource(f.in.string());
        f.setDestination(f.out.string());
        page.go();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(f.rows().topLevelItemCount(), 0);
        QCOMPARE(f.status(), QString("Done. 0 FAX files converted"));
        QCOMPARE(f.logAfterDate(), f.logEntry(""));
    }

    void filesModeConvertsTheNamedFiles() {
        Fixture f;
        writeWinFaxFile(f.in / "a.fxd");
        writeWinFaxFile(f.in / "b.fxd");
        writeWinFaxFile(f.in / "c.fxd");
        ConvertPage& page = f.open(PageOptions{1, 0, 0, 0, 1});
        f.setSource(f.in.string() + " a.fxd c.fxd");
        f.setDestination(f.out.string());
        page.go();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(f.rows().topLevelItemCount(), 2);
        QCOMPARE(f.cell(1, 0), QString::fromStdString((f.in / "c.fxd").string()));
        QCOMPARE(f.cell(1, 1), QString::fromStdString((f.out / "c.fxd.tif").string()));
        QVERIFY(fs::exists(f.out / "a.fxd.tif"));
        QVERIFY(!fs::exists(f.out / "b.fxd.tif"));
    }

    void goWithoutSourceOrDestinationWarns() {
        Fixture f;
        ConvertPage& page = f.open();
        f.setDestination(f.out.string());
        page.go();
        f.setSource(f.in.string());
        f.setDestination("");
        page.go();
        QCOMPARE(f.dialogs.messages.size(), std::size_t(2));
        QCOMPARE(f.dialogs.messages[0].text, std::string("Select Source Dir,\nwhere your fax files to be converted should be"));
        QCOMPARE(f.dialogs.messages[0].caption, std::string("Warning"));
        QCOMPARE(f.dialogs.messages[1].text, std::string("Select Save Dir,\nwhere your converted tif files should be"));
        QCOMPARE(f.dialogs.messages[1].caption, std::string("Warning"));
        QVERIFY(!page.isRunning());

        // In files mode a single name without a folder gives no source folder.
        page.setOptionCopies(PageOptions{1, 0, 0, 0, 0});
        f.setSource("a.fxd");
        f.setDestination(f.out.string());
        page.go();
        QCOMPARE(f.dialogs.messages.back().text, f.dialogs.messages[0].text);

        // A source folder that cannot be read is said, not run as an empty one.
        page.setOptionCopies(PageOptions{0, 0, 0, 0, 0});
        const std::string missing = (f.in / "gone").string();
        f.setSource(missing);
        page.go();
        QCOMPARE(f.dialogs.messages.back().text,
                 "These folders cannot be read; their faxes are not converted:\n" + missing);
        QVERIFY(!page.isRunning());
        page.timerTick();
        QVERIFY(!page.isRunning());
        QCOMPARE(f.status(), QString::fromStdString("The folder " + missing + " cannot be read"));
    }

    void secondGoDuringARunShowsTheWaitBox() {
        Fixture f;
        writeWinFaxFile(f.in / "a.fxd");
        GatedConverter gate(0);
        ConvertPage& page = f.open();
        page.setFileConverter(gate.converter());
        f.setSource(f.in.string());
        f.setDestination(f.out.string());
        page.go();
        QTRY_VERIFY_WITH_TIMEOUT(gate.held(), 10000);
        page.go();
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].text, std::string("Please wait while running conversion stops"));
        QCOMPARE(f.dialogs.messages[0].caption, std::string("Warning"));
        page.timerTick();  // a tick during a run is ignored without a word
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        gate.release();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(gate.calls(), 1);
        QCOMPARE(f.rows().topLevelItemCount(), 1);
    }

    void timerTickSkipsExistingOutputsAndGoConvertsThemAgain() {
        Fixture f;
        writeWinFaxFile(f.in / "a.fxd");
        writeWinFaxFile(f.in / "b.fxd");
        ConvertPage& page = f.open(PageOptions{0, 0, 0, 0, 0});
        f.setSource(f.in.string());
        f.setDestination(f.out.string());
        page.go();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(f.cell(1, 2), QString("Converted!"));

        fs::remove(f.out / "b.tif");
        page.timerTick();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(f.rows().topLevelItemCount(), 2);
        QCOMPARE(f.cell(0, 2), QString("Already exist, skipped!"));
        QCOMPARE(f.cell(1, 2), QString("Converted!"));
        QCOMPARE(f.status(), QString("Done. 1 FAX files converted"));

        page.go();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(f.cell(0, 2), QString("Converted!"));
        QCOMPARE(f.cell(1, 2), QString("Converted!"));
    }

    void timerTickWithoutSourceOrDestinationDoesNothing() {
        Fixture f;
        ConvertPage& page = f.open();
        f.setSource("");
        f.setDestination(f.out.string());
        page.timerTick();
        QVERIFY(!page.isRunning());
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(!fs::exists(f.out));
    }

    void cancelWaitsForTheCurrentFileAndTheRunFinishes() {
        Fixture f;
        GatedConverter gate(1);
        ConvertPage& page = f.startHeldRun(gate);
        QTRY_VERIFY_WITH_TIMEOUT(gate.held(), 10000);

        // The held file goes on while "&Cancel" waits; its reports must get
        // through the wait for the run to finish.
        std::thread releaser([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            gate.release();
        });
        page.cancel();
        releaser.join();
        QVERIFY(f.idle());
        QVERIFY(!page.workerBusy());
        QCOMPARE(gate.calls(), 2);  // the third file was never started
        QCOMPARE(f.rows().topLevelItemCount(), 2);
        QCOMPARE(f.cell(1, 2), QString("Converted!"));
        // Neither the status nor the log reads like a complete run.
        QCOMPARE(f.status(), QString("Cancelled. 2 of 3 FAX files converted"));
        QCOMPARE(f.logAfterDate(), f.logEntry(f.logLine("a.fxd", "a.tif") + f.logLine("b.fxd", "b.tif") +
                                              "Cancelled by the user: 2 of 3 FAX files converted\r\n"));
        QCOMPARE(f.outputNames(), (std::vector<std::string>{"a.tif", "b.tif"}));
    }

    void cancelAbandonsAWorkerBusyBeyondTheWait() {
        Fixture f;
        GatedConverter gate(1);
        ConvertPage& page = f.startHeldRun(gate);
        QTRY_VERIFY_WITH_TIMEOUT(gate.held(), 10000);
        const QString doingSecond = QString::fromStdString("Doing: " + (f.in / "b.fxd").string());
        QCOMPARE(f.status(), doingSecond);

        page.cancel();  // the held file outlasts the wait
        QVERIFY(f.idle());
        QCOMPARE(f.status(), QString("Cancelled. 1 of 3 FAX files converted; the file being converted is finished in "
                                     "the background"));
        QVERIFY(page.workerBusy());
        page.go();  // no second conversion while the abandoned one goes on
        QCOMPARE(f.dialogs.messages.back().text, std::string("Please wait while running conversion stops"));
        page.timerTick();
        QVERIFY(!page.isRunning());

        gate.release();
        QTRY_VERIFY_WITH_TIMEOUT(!page.workerBusy(), 10000);
        QCOMPARE(gate.calls(), 2);  // the third file was never started
        QCOMPARE(f.rows().topLevelItemCount(), 2);
        QCOMPARE(f.cell(0, 2), QString("Converted!"));
        QCOMPARE(f.cell(1, 2), QString());  // reports after the wait are dropped
        QVERIFY(f.status().startsWith("Cancelled. 1 of 3"));
        // ...but the abandoned run leaves its lasting record when it ends.
        QTRY_VERIFY_WITH_TIMEOUT(!f.log().empty(), 10000);
        QCOMPARE(f.logAfterDate(), f.logEntry(f.logLine("a.fxd", "a.tif") + f.logLine("b.fxd", "b.tif") +
                                              "Cancelled by the user: 2 of 3 FAX files converted\r\n"));
        // The held file was finished under its own name; nothing half-written remains.
        QCOMPARE(f.outputNames(), (std::vector<std::string>{"a.tif", "b.tif"}));
        QVERIFY(looksLikeTiff(f.out / "b.tif"));

        page.go();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(f.status(), QString("Done. 3 FAX files converted"));
        QVERIFY(f.log().ends_with(
            f.logEntry(f.logLine("a.fxd", "a.tif") + f.logLine("b.fxd", "b.tif") + f.logLine("c.fxd", "c.tif"))));
    }

    void unmakeableDestinationShowsErrorAndTheRunGoesOn() {
        Fixture f;
        writeWinFaxFile(f.in / "a.fxd");
        writeFile(f.home / "blocker", "x");
        ConvertPage& page = f.open();
        f.setSource(f.in.string());
        f.setDestination((f.home / "blocker" / "out").string());
        page.go();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].text, std::string("Error Save Dir"));
        QCOMPARE(f.dialogs.messages[0].caption, std::string("Error"));
        QCOMPARE(f.cell(0, 2), QString("Folder not made!"));
        QCOMPARE(f.status(), QString("Done. 0 FAX files converted"));
    }

    void pickersFillTheBoxes() {
        Fixture f;
        ConvertPage& page = f.open();
        f.dialogs.folderAnswers = {std::string("/picked/in"), std::string("/picked/out"), std::nullopt};
        page.pickSource();
        page.pickDestination();
        QCOMPARE(f.child<QPlainTextEdit>("sourceEdit")->toPlainText(), QString("/picked/in"));
        QCOMPARE(f.child<QLineEdit>("destinationEdit")->text(), QString("/picked/out"));
        page.pickDestination();  // cancelled: nothing changes
        QCOMPARE(f.child<QLineEdit>("destinationEdit")->text(), QString("/picked/out"));

        page.setOptionCopies(PageOptions{1, 0, 0, 0, 0});
        f.child<QLineEdit>("filterEdit")->setText("*.fxd");
        f.dialogs.fileAnswers = {{"/f/a.fxd", "/f/b.fxd"}, {"/g/one.fxs"}};
        page.pickSource();
        QCOMPARE(f.child<QPlainTextEdit>("sourceEdit")->toPlainText(), QString("/f a.fxd b.fxd"));
        QCOMPARE(f.dialogs.fileFilters.back(), std::string("*.fxd"));
        page.pickSource();
        QCOMPARE(f.child<QPlainTextEdit>("sourceEdit")->toPlainText(), QString("/g/one.fxs"));
        page.pickSource();  // cancelled
        QCOMPARE(f.child<QPlainTextEdit>("sourceEdit")->toPlainText(), QString("/g/one.fxs"));
    }

    void filterChangesWhenItsBoxIsLeft() {
        Fixture f;
        writeWinFaxFile(f.in / "a.fxd");
        writeWinFaxFile(f.in / "b.fxm");
        ConvertPage& page = f.open();
        page.show();
        QApplication::setActiveWindow(&page);  // focus changes need an active window
        QVERIFY(QTest::qWaitForWindowActive(&page));
        QLineEdit* filter = f.child<QLineEdit>("filterEdit");
        QCOMPARE(filter->text(), QString("*.*"));
        filter->setFocus();
        filter->setText("*.fxm");
        f.child<QLineEdit>("destinationEdit")->setFocus();
        f.setSource(f.in.string());
        f.setDestination(f.out.string());
        page.go();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(f.rows().topLevelItemCount(), 1);
        QCOMPARE(f.cell(0, 0), QString::fromStdString((f.in / "b.fxm").string()));
    }

    void sourceAndDestinationSurviveInTheIniFile() {
        Fixture f;
        {
            ConvertPage& page = f.open();
            f.setSource("/fax/in a.fxd\nb.fxd");
            f.setDestination("/fax/out");
            page.saveSettings();
        }
        const std::string& ini = f.context.paths.iniFile;
        QCOMPARE(platform::getProfileString("Main", "FaxDir", "", ini), std::string("/fax/in a.fxd b.fxd"));
        QCOMPARE(platform::getProfileString("Main", "SaveDir", "", ini), std::string("/fax/out"));
        f.open();
        QCOMPARE(f.child<QPlainTextEdit>("sourceEdit")->toPlainText(), QString("/fax/in a.fxd b.fxd"));
        QCOMPARE(f.child<QLineEdit>("destinationEdit")->text(), QString("/fax/out"));

        platform::writeProfileString("Main", "FaxDir", std::string(400, 'x'), ini);
        f.open();
        QCOMPARE(f.child<QPlainTextEdit>("sourceEdit")->toPlainText().size(), 258);
    }

    void automaticConversionPeriod() {
        Fixture f;
        ConvertPage& page = f.open();
        QVERIFY(!page.automaticConversionOn());
        page.setAutomaticConversion(5, true);
        QVERIFY(page.automaticConversionOn());
        QCOMPARE(page.automaticConversionPeriodMs(), 300000);
        page.setAutomaticConversion(5, false);
        QVERIFY(!page.automaticConversionOn());
        page.setAutomaticConversion(0, true);
        QVERIFY(!page.automaticConversionOn());
        page.setAutomaticConversion(-3, true);
        QVERIFY(!page.automaticConversionOn());
        page.setAutomaticConversion(100000, true);  // longer than a timer can count: the longest period
        QVERIFY(page.automaticConversionOn());
        QCOMPARE(page.automaticConversionPeriodMs(), INT_MAX);
    }

    void pageStartsIdleWithItsStatusText() {
        Fixture f;
        f.open();
        QVERIFY(f.idle());
        QCOMPARE(f.status(), QString("It's a GOOD idea to backup your fax files, and NEVER delete them"));
        QStringList headers;
        for (int column = 0; column < f.rows().columnCount(); ++column) headers << f.rows().headerItem()->text(column);
        QCOMPARE(headers, (QStringList{"Source Fax Files", "Destination Tif Files", "Results"}));
    }
};

}  // namespace quillon::test

QTEST_MAIN(quillon::test::ConvertPageTest)
#include "convert_page_test.moc"
