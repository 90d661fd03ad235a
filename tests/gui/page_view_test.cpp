// The page view on a fax with a damaged page, on the offscreen platform.

#include <filesystem>
#include <fstream>

#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/convert_page.h"
#include "gui/gui_test_support.h"
#include "gui/page_view.h"
#include "pdf/fax_pdf.h"
#include "run/convert/loaded_modules.h"
#include "support/pixel_hash.h"
#include "support/run_process.h"
#include "support/printed_page.h"
#include "support/temp_dir.h"
#include "support/winfax_writer.h"

namespace quillon::test {

// A letter, a memo whose data lose a stretch of lines (a quarter of them
// 0xFF), and a price list at standard resolution.
std::filesystem::path writeThreePages(const std::filesystem::path& folder) {
    WinFaxPage damaged =
        winFaxPageFromBitmap(printedPage(Sheet::Memo, 200).bitmap, FaxPageCoding::T4OneDimensional, 1);
    std::fill(damaged.data.begin() + std::ptrdiff_t(damaged.data.size() / 2),
              damaged.data.begin() + std::ptrdiff_t(damaged.data.size() * 3 / 4), std::uint8_t(0xFF));
    const std::filesystem::path fax = folder / "three.fxd";
    std::ofstream(fax, std::ios::binary) << buildWinFaxFile(
        {winFaxPageFromBitmap(printedPage(Sheet::Letter, 200).bitmap, FaxPageCoding::T6, 1), damaged,
         winFaxPageFromBitmap(printedPage(Sheet::PriceList, 100).bitmap, FaxPageCoding::T6, 0)});
    return fax;
}

class PageViewTest : public QObject {
    Q_OBJECT

private slots:
    // Page 2 of three lost the lines of a stretch of bad data: the view shows
    // it with its foot tinted where no line of the fax is, says so, and marks
    // it in the strip; the page above the damage is untinted.
    void damagedRowsAreTintedWhereTheyAre() {
        TempDir work;
        const std::filesystem::path fax = writeThreePages(work.path());

        PageView view;
        view.resize(800, 700);
        view.show();
        QSignalSpy shown(&view, &PageView::pageShown);
        view.showFile(QString::fromStdString(fax.string()));
        QTRY_COMPARE(shown.count(), 1);
        QCOMPARE(view.pageCount(), 3);
        view.showPage(1);
        QTRY_COMPARE(shown.count(), 2);
        QCOMPARE(shown.last().at(0).toInt(), 1);

        const QString caption = view.findChild<QLabel*>("pageCaption")->text();
        QVERIFY2(caption.startsWith("page 2 of 3: 1728 x 2200 pixels, 200 x 200 dpi, T.4-1D; damaged: "),
                 qPrintable(caption));
        auto* strip = view.findChild<QListWidget*>("pageStrip");
        QTRY_COMPARE(strip->item(1)->text(), QString("2 (damaged)"));
        QCOMPARE(strip->item(0)->text(), QString("1"));

        // Fit to the view: the page's lower part tinted red, its upper part not.
        const QImage page = view.findChild<QLabel*>("pageImage")->pixmap().toImage();
        QVERIFY(page.height() > 200);
        const auto tinted = [](QRgb pixel) { return qRed(pixel) > qGreen(pixel) + 40; };
        int tintedBelow = 0, tintedAbove = 0;
        for (int x = 0; x < page.width(); ++x) {
            tintedBelow += tinted(page.pixel(x, page.height() - 3));
            tintedAbove += tinted(page.pixel(x, page.height() / 10));
        }
        QVERIFY2(tintedBelow > page.width() * 9 / 10, qPrintable(QString::number(tintedBelow)));
        QCOMPARE(tintedAbove, 0);
    }

    // "Save page..." writes the page shown alone, "Save fax..." every page,
    // through the conversion's own writer, to the name picked; after a run,
    // selecting a file's row shows its pages.
    void savesThePageShownAndTheWholeFax() {
        WindowFixture f;
        useFaxPdfWriter(writeFaxPdf);  // the program loads it as a module
        std::filesystem::create_directories(f.home / "in");
        const std::filesystem::path fax = writeThreePages(f.home / "in");
        ConvertPage page(ConvertPagePaths{f.context.paths.iniFile, f.context.logFile}, f.context.options, f.dialogs);
        auto* view = page.findChild<PageView*>("pageView");
        QSignalSpy shown(view, &PageView::pageShown);
        page.showPages(fax.string());
        QTRY_COMPARE(shown.count(), 1);
        view->showPage(2);
        QTRY_COMPARE(shown.count(), 2);

        const std::string one = (f.home / "price-list.tif").string();
        f.dialogs.saveAnswer = one;
        page.findChild<QPushButton*>("savePageButton")->click();
        QCOMPARE(f.dialogs.suggestedNames.back(), (f.home / "in/three-page3.tif").string());
        const std::vector<Bitmap> saved = readTiffPages(one);
        QCOMPARE(saved.size(), std::size_t(1));
        QCOMPARE(saved[0].hash(), printedPage(Sheet::PriceList, 100).bitmap.hash());

        const std::string all = (f.home / "all.pdf").string();
        f.dialogs.saveAnswer = all;
        page.findChild<QPushButton*>("saveFaxButton")->click();
        QVERIFY2(f.dialogs.messages.empty(), f.dialogs.messages.empty() ? "" : f.dialogs.messages[0].text.c_str());
        QVERIFY(runProcess("/usr/bin/pdfinfo", {all}).out.find("Pages:           3\n") != std::string::npos);

        view->showFile("");
        page.findChild<QPlainTextEdit*>("sourceEdit")->setPlainText(QString::fromStdString((f.home / "in").string()));
        page.findChild<QLineEdit*>("destinationEdit")->setText(QString::fromStdString((f.home / "out").string()));
        page.go();
        auto* rows = page.findChild<QTreeWidget*>("resultsList");
        QTRY_VERIFY(!page.isRunning());
        QCOMPARE(rows->topLevelItemCount(), 1);
        rows->setCurrentItem(rows->topLevelItem(0));
        QCOMPARE(view->file(), QString::fromStdString(fax.string()));
        QTRY_COMPARE(view->pageCount(), 3);
        QVERIFY(f.dialogs.messages.empty());
    }

    // A file that is no fax says why instead of showing pages.
    void aFileThatIsNoFaxSaysWhy() {
        TempDir work;
        const std::filesystem::path text = work / "notes.fxd";
        std::ofstream(text) << "these are no fax pages";
        PageView view;
        view.showFile(QString::fromStdString(text.string()));
        QTRY_VERIFY(view.findChild<QLabel*>("pageCaption")->text().startsWith("No page to show: "));
        QCOMPARE(view.pageCount(), 0);
    }
};

}  // namespace quillon::test

QTEST_MAIN(quillon::test::PageViewTest)
#include "page_view_test.moc"
