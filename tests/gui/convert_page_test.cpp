#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
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
                ConvertPagePaths{context.paths.iniFile, context.logFile, context.paths.intermediatePageFile},
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
                   child<QPlainTextEdit>("sourceEdit")->isEnabled() && child<QLineEdit>("destinationEdit")->isEnabled();
        }
        std::string log() const { return fs::exists(context.logFile) ? readFile(context.logFile) : std::string(); }
    };

    static bool waitForRunEnd(ConvertPage& page) { return QTest::qWaitFor([&] { return !page.isRunning(); }, 60000); }

private slots:
    void goOverAFolderOfWinFaxFilesConvertsEveryFile() {
        Fixture f;
        writeWinFaxFile(f.in / "a.fxd");
        writeWinFaxFile(f.in / "b.FXS", 2);
        writeFile(f.in / "notes.txt", "not listed");
        ConvertPage& page = f.open(PageOptions{0, 0, 0, 0, 0});
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

        const std::string log = f.log();
        const std::string header = "Batch Quillon in GUI mode : convert folder\r\nSource Folder: " + f.in.string() +
                                   "\r\nDestination Folder: " + f.out.string() + "\r\n";
        QVERIFY(log.find(header) != std::string::npos);
        QVERIFY(log.find((f.in / "b.FXS").string() + " --> " + (f.out / "b.tif").string() + " : Success !") !=
                std::string::npos);
        QVERIFY(log.find(std::string(50, '-')) != std::string::npos);
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
        const std::string log = f.log();
        QVERIFY(log.find("Destination Folder: " + f.out.string() + "\r\n" + std::string(50, '-')) != std::string::npos);
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

    void cancelLeavesThePageIdleAndNoPartialOutputs() {
        Fixture f;
        for (const char* name : {"a.fxd", "b.fxd", "c.fxd"}) writeWinFaxFile(f.in / name, 3);
        GatedConverter gate(1);
        ConvertPage& page = f.open(PageOptions{0, 0, 0, 0, 0});
        page.setFileConverter(gate.converter());
        f.setSource(f.in.string());
        f.setDestination(f.out.string());
        page.go();
        QTRY_VERIFY_WITH_TIMEOUT(gate.held(), 10000);
        QTRY_COMPARE(f.rows().topLevelItemCount(), 2);  // the second file's row is shown

        page.cancel();
        QVERIFY(f.idle());
        QVERIFY(page.isRunning());  // the held file is still being converted
        QVERIFY(!f.status().startsWith("Done"));
        page.go();  // the abandoned worker has not ended yet
        QCOMPARE(f.dialogs.messages.back().text, std::string("Please wait while running conversion stops"));

        gate.release();
        QVERIFY(waitForRunEnd(page));
        QCOMPARE(gate.calls(), 2);  // the third file was never started
        QCOMPARE(f.rows().topLevelItemCount(), 2);
        QCOMPARE(f.cell(0, 2), QString("Converted!"));
        QCOMPARE(f.cell(1, 2), QString());  // reports after the cancel are dropped
        QVERIFY(!f.status().startsWith("Done"));
        QCOMPARE(f.log(), std::string());
        // Only whole outputs, under their own names.
        std::vector<std::string> outputs;
        for (const auto& entry : fs::directory_iterator(f.out)) {
            outputs.push_back(entry.path().filename().string());
            QVERIFY(looksLikeTiff(entry.path()));
        }
        std::sort(outputs.begin(), outputs.end());
        QCOMPARE(outputs, (std::vector<std::string>{"a.tif", "b.tif"}));
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
        QCOMPARE(f.cell(0, 2), QString("Not WinFax File!"));
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
