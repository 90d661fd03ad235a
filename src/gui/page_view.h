#pragma once
// The pages of one fax in the window: a strip of small pages and the chosen
// page large, fit to the view or at 100 %, with what the report says of it
// (its size, resolution, coding and state). Pages are decoded when shown, on
// a thread of the view's own, so that a fax of a thousand pages opens at once
// and the window never waits; the rows a damaged page lost, and those past
// the end of a cut file, are tinted where they are.

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include <QImage>
#include <QThread>
#include <QWidget>

#include "view/fax_page_images.h"

class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;

namespace quillon {

class PageView : public QWidget {
    Q_OBJECT

public:
    explicit PageView(QWidget* parent = nullptr);
    ~PageView() override;

    // Shows the pages of the fax file at path, the first one large; a file
    // that is no fax shows why.
    void showFile(const QString& path);
    void showPage(int index);
    int currentPage() const { return current_; }
    int pageCount() const { return pages_; }
    // 100 % shows each pixel of the page (rows of a standard-resolution page
    // twice); fit shows the whole page in the view.
    void setFit(bool fit);
    void zoomBy(double factor);

    // The fax file shown; empty before one is.
    const QString& file() const { return file_; }

signals:
    // The page asked for is shown (tests wait for it).
    void pageShown(int index);
    // "Save page..." (the page shown) or "Save fax..." (page -1: every page).
    void saveRequested(const QString& file, int page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Runs work on the view's thread, which alone uses the open file.
    void onLoader(std::function<void()> work);
    void loadIcons(int generation, int from);
    void opened(int generation, int pages, const QString& problem);
    void pageLoaded(int generation, int index, const PageImage& page);
    void iconLoaded(int generation, int index, const QImage& icon, PageState state);
    void redraw();

    QThread thread_;
    QObject* loader_ = nullptr;            // lives on thread_
    std::unique_ptr<FaxPageImages> fax_;   // used on thread_ only
    std::atomic<int> generation_{0};       // the file shown: work for an earlier one stops
    QString file_;
    int pages_ = 0;
    int current_ = -1;
    std::optional<PageImage> shown_;
    bool fit_ = true;
    double zoom_ = 1.0;

    QListWidget* strip_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QLabel* image_ = nullptr;
    QLabel* caption_ = nullptr;
    QPushButton* fitButton_ = nullptr;
    QPushButton* actualButton_ = nullptr;
    QPushButton* savePageButton_ = nullptr;
    QPushButton* saveFaxButton_ = nullptr;
};

// What the caption says of a page: "page 3 of 12: 1728 x 2200 pixels, 200 x
// 200 dpi, T.6", and its state when it is not whole.
QString pageCaption(int index, int pages, const PageImage& page);

}  // namespace quillon
