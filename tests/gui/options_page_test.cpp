#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include "gui/gui_test_support.h"
#include "gui/options_page.h"
#include "platform/ini_file.h"

namespace quillon::test {

class OptionsPageTest : public QObject {
    Q_OBJECT

private:
    struct Fixture : WindowFixture {
        std::unique_ptr<OptionsPage> page;

        OptionsPage& open() {
            page = std::make_unique<OptionsPage>(context.paths.iniFile, context.options);
            return *page;
        }
        template <class T>
        T* child(const char* name) const { return page->findChild<T*>(name); }
        QCheckBox* box(const char* name) const { return child<QCheckBox>(name); }
        void writeIni(const char* key, const std::string& value) {
            platform::writeProfileString("Options", key, value, context.paths.iniFile);
        }
        int iniValue(const char* key) const { return platform::getProfileInt("Options", key, -999, context.paths.iniFile); }
    };

private slots:
    void freshIniGivesTheDefaults() {
        Fixture f;
        OptionsPage& page = f.open();
        page.apply();
        const OptionValues& v = page.values();
        QCOMPARE(v.dirFile, 0);
        QCOMPARE(v.subdir, 0);
        QCOMPARE(v.hiberarchy, 0);
        QCOMPARE(v.keepDate, 0);
        QCOMPARE(v.keepExt, 1);
        QCOMPARE(v.recaculate, 0);
        QCOMPARE(v.cyclely, 0);
        QCOMPARE(v.cycleMinutes, 60);
        QVERIFY(v.outputFormat == OutputFormat::Tiff);
        QVERIFY(f.child<QRadioButton>("tiffButton")->isChecked());
        QVERIFY(!f.box("textLayerBox")->isChecked());
        QCOMPARE(f.child<QLineEdit>("languagesEdit")->text(), QString("eng"));
        QVERIFY2(f.box("turnPagesBox")->isChecked(), "pages are turned unless the box is cleared");
        QCOMPARE(f.child<QLineEdit>("formatsEdit")->text(), QString("winfax"));
        QVERIFY(page.pageOptions().formats == InputFormats{});
        QCOMPARE(f.context.options.pageMode, std::uint8_t(0));
        QVERIFY(f.child<QRadioButton>("directoryButton")->isChecked());
        QVERIFY(f.box("subdirBox")->isEnabled());
        QCOMPARE(f.child<QLineEdit>("minutesEdit")->text(), QString("60"));
        QComboBox* list = f.child<QComboBox>("pageModeList");
        QVERIFY(list->isHidden());
        QVERIFY(!list->isEnabled());
    }

    void valuesSurviveAnExitAndANewStart() {
        Fixture f;
        {
            OptionsPage& page = f.open();
            f.child<QRadioButton>("filesButton")->click();
            f.box("keepDateBox")->setChecked(true);
            f.box("keepExtBox")->setChecked(false);
            f.box("recaculateBox")->setChecked(true);
            f.box("resumeBox")->setChecked(true);
            f.child<QLineEdit>("minutesEdit")->setText("15");
            f.child<QRadioButton>("tiffButton")->click();
            f.box("textLayerBox")->click();
            QVERIFY2(f.child<QRadioButton>("pdfButton")->isChecked(), "a text layer chooses PDF");
            f.child<QLineEdit>("languagesEdit")->setText(" eng+deu ");
            f.box("turnPagesBox")->setChecked(false);
            f.child<QLineEdit>("formatsEdit")->setText(" winfax,TIFF,dcx ");
            page.saveSettings();
        }
        QVERIFY(platform::getProfileString("Options", "InputFormats", "", f.context.paths.iniFile) == "winfax,tiff,dcx");
        QVERIFY(platform::getProfileString("Options", "OutputFormat", "", f.context.paths.iniFile) == "PDF");
        QCOMPARE(f.iniValue("OcrTextLayer"), 1);
        QCOMPARE(f.iniValue("OcrTurnPages"), 0);
        QVERIFY(platform::getProfileString("Options", "OcrLanguages", "", f.context.paths.iniFile) == "eng+deu");
        QCOMPARE(f.iniValue("DirFile"), 1);
        QCOMPARE(f.iniValue("KeepExt"), 0);
        QCOMPARE(f.iniValue("CycleMinutes"), 15);
        QCOMPARE(f.iniValue("ConvertFlag"), 0);
        QCOMPARE(f.iniValue("Resume"), 1);

        f.context.options = ConvertOptions{};
        OptionsPage& again = f.open();
        again.apply();
        const OptionValues& v = again.values();
        QCOMPARE(v.dirFile, 1);
        QCOMPARE(v.keepDate, 1);
        QCOMPARE(v.keepExt, 0);
        QCOMPARE(v.recaculate, 1);
        QCOMPARE(v.cycleMinutes, 15);
        QCOMPARE(f.context.options.recountLines, std::uint8_t(1));
        QVERIFY(f.child<QRadioButton>("filesButton")->isChecked());
        QVERIFY(!f.box("subdirBox")->isEnabled());  // only this one, until a source-mode click
        QVERIFY(f.box("hiberarchyBox")->isEnabled());
        QVERIFY(f.box("automaticBox")->isEnabled());
        const PageOptions copies = again.pageOptions();
        QVERIFY(copies.filesMode());
        QCOMPARE(copies.keepDate, 1);
        QVERIFY2(copies.resume, "a run of the page resumes");
        QVERIFY(copies.formats == *InputFormats::parse("winfax,tiff,dcx"));
        // A list that is not understood keeps the formats in force.
        f.child<QLineEdit>("formatsEdit")->setText("winfax,pcx");
        again.apply();
        QCOMPARE(f.child<QLineEdit>("formatsEdit")->text(), QString("winfax,tiff,dcx"));
        QVERIFY(again.pageOptions().formats == *InputFormats::parse("winfax,tiff,dcx"));
        QVERIFY(copies.outputFormat == OutputFormat::Pdf);
        QVERIFY(copies.textLayer);
        QVERIFY(copies.textLanguages == "eng+deu");
        QVERIFY2(!copies.turnPages, "a cleared box reads pages as faxed");
        QVERIFY(!f.box("turnPagesBox")->isChecked());
        QVERIFY(f.child<QRadioButton>("pdfButton")->isChecked());
        QVERIFY(!f.child<QRadioButton>("tiffButton")->isChecked());
        f.child<QRadioButton>("tiffButton")->click();
        QVERIFY2(!f.box("textLayerBox")->isChecked(), "TIFF clears the text layer");
    }

    void oddIniValuesAreTakenAsDescribed() {
        Fixture f;
        f.writeIni("DirFile", "5");
        f.writeIni("Subdir", "7");
        f.writeIni("KeepDate", "2");
        f.writeIni("Hiberarchy", "-1");
        f.writeIni("CycleMinutes", "abc");
        f.writeIni("ConvertFlag", "1");
        f.writeIni("OutputFormat", "jpeg");
        {
            OptionsPage& page = f.open();
            QCOMPARE(f.context.options.pageMode, std::uint8_t(1));  // split pages, with no control showing it
            QVERIFY(!f.child<QRadioButton>("directoryButton")->isChecked());
            QVERIFY(!f.child<QRadioButton>("filesButton")->isChecked());
            QCOMPARE(f.box("keepDateBox")->checkState(), Qt::PartiallyChecked);
            page.apply();
            QCOMPARE(page.values().dirFile, -1);
            QCOMPARE(page.values().subdir, 0);
            QCOMPARE(page.values().hiberarchy, 0);
            QCOMPARE(page.values().keepDate, 2);
            QCOMPARE(page.values().cycleMinutes, 0);
            QVERIFY(page.pageOptions().filesMode());
            QVERIFY(page.pageOptions().outputFormat == OutputFormat::Tiff);
            QCOMPARE(f.context.options.pageMode, std::uint8_t(1));
            page.saveSettings();
        }
        QCOMPARE(f.iniValue("DirFile"), -1);
        QCOMPARE(f.iniValue("Subdir"), 0);
        QCOMPARE(f.iniValue("KeepDate"), 2);
        QCOMPARE(f.iniValue("ConvertFlag"), 1);
        QVERIFY(platform::getProfileString("Options", "OutputFormat", "", f.context.paths.iniFile) == "TIFF");

        f.writeIni("ConvertFlag", "7");
        f.writeIni("OutputFormat", "pdf");
        OptionsPage& other = f.open();
        QCOMPARE(f.context.options.pageMode, std::uint8_t(7));
        other.apply();  // no list entry is selected
        QCOMPARE(f.context.options.pageMode, std::uint8_t(255));
        QVERIFY2(other.values().outputFormat == OutputFormat::Pdf, "the key's value in any case");
        other.saveSettings();
        QCOMPARE(f.iniValue("ConvertFlag"), 255);
    }

    void recountLinesDefaultsToTheCurrentOption() {
        Fixture f;
        f.context.options.recountLines = 1;
        OptionsPage& page = f.open();
        QCOMPARE(page.values().recaculate, 1);
        QVERIFY(f.box("recaculateBox")->isChecked());
    }

    void sourceModeClickClearsAndSwitchesTheThreeBoxes() {
        Fixture f;
        f.writeIni("Subdir", "1");
        f.writeIni("Hiberarchy", "1");
        f.writeIni("Cyclely", "1");
        f.writeIni("CycleMinutes", "5");
        OptionsPage& page = f.open();
        QSignalSpy automatic(&page, &OptionsPage::automaticConversionChanged);
        page.updateAutomaticConversion();
        QCOMPARE(automatic.takeFirst(), (QVariantList{5, true}));
        QVERIFY(!f.child<QLineEdit>("minutesEdit")->isEnabled());

        f.child<QRadioButton>("filesButton")->click();
        for (const char* name : {"subdirBox", "hiberarchyBox", "automaticBox"}) {
            QVERIFY2(!f.box(name)->isChecked(), name);
            QVERIFY2(!f.box(name)->isEnabled(), name);
        }
        QCOMPARE(automatic.takeFirst(), (QVariantList{5, false}));
        QVERIFY(f.child<QLineEdit>("minutesEdit")->isEnabled());

        f.box("keepDateBox")->setChecked(true);
        f.child<QRadioButton>("directoryButton")->click();
        for (const char* name : {"subdirBox", "hiberarchyBox", "automaticBox"}) {
            QVERIFY2(!f.box(name)->isChecked(), name);
            QVERIFY2(f.box(name)->isEnabled(), name);
        }
        QVERIFY(f.box("keepDateBox")->isChecked());
        QCOMPARE(automatic.takeFirst(), (QVariantList{5, false}));
    }

    void automaticBoxSwitchesTheTimerAndLocksTheMinutes() {
        Fixture f;
        OptionsPage& page = f.open();
        QSignalSpy automatic(&page, &OptionsPage::automaticConversionChanged);
        f.child<QLineEdit>("minutesEdit")->setText("2");
        f.box("automaticBox")->click();
        QCOMPARE(automatic.takeFirst(), (QVariantList{2, true}));
        QVERIFY(!f.child<QLineEdit>("minutesEdit")->isEnabled());
        f.box("automaticBox")->click();
        QCOMPARE(automatic.takeFirst(), (QVariantList{2, false}));
        QVERIFY(f.child<QLineEdit>("minutesEdit")->isEnabled());
    }

    void badMinutesEntryBecomesZeroWithTheFocusOnTheBox() {
        Fixture f;
        OptionsPage& page = f.open();
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QLineEdit* minutes = f.child<QLineEdit>("minutesEdit");
        minutes->setText("soon");
        f.box("keepDateBox")->setFocus();
        QSignalSpy automatic(&page, &OptionsPage::automaticConversionChanged);
        f.box("automaticBox")->click();  // disables the box first: no focus then
        QCOMPARE(automatic.takeFirst(), (QVariantList{0, true}));
        f.box("automaticBox")->click();
        page.apply();
        QCOMPARE(page.values().cycleMinutes, 0);
        QTRY_VERIFY(minutes->hasFocus());
        page.saveSettings();
        QCOMPARE(f.iniValue("CycleMinutes"), 0);
    }
};

}  // namespace quillon::test

QTEST_MAIN(quillon::test::OptionsPageTest)
#include "options_page_test.moc"
