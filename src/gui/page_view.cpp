#include "gui/page_view.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace quillon {

namespace {

// The large page: a fine page of a letter or A4 fax (1728 by 2200 pixels) at
// 100 %; larger pages are made smaller to this, so that no page claims more
// memory than it.
constexpr std::uint32_t kLargestPage = 3000;
// Small pages take 16 bits a pixel: the strip of a fax of a thousand pages
// holds some 10 MB.
constexpr std::uint32_t kIconSize = 80;
// Icons are made a few at a time between the pages asked for.
constexpr int kIconsAtOnce = 4;
// Where a page shows no line of the fax.
const QColor kLostRows(220, 40, 40, 110);

// The page at size, with the rows it lost tinted: made small in gray first,
// so that only the pixels shown take colour.
QImage tintedImage(const PageImage& page, QSize size, QImage::Format format) {
    const GrayImage& gray = page.image;
    const QImage pixels(gray.pixels.data(), int(gray.width), int(gray.rows), int(gray.width),
                        QImage::Format_Grayscale8);
    const QImage sized =
        size == pixels.size() ? pixels : pixels.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage image = sized.convertToFormat(format);
    if (page.lostFrom < gray.rows) {
        const int lostFrom = int(double(page.lostFrom) / gray.rows * image.height());
        QPainter painter(&image);
        painter.fillRect(QRect(0, lostFrom, image.width(), image.height() - lostFrom), kLostRows);
    }
    return image;
}

QString stateNote(PageState state) {
    switch (state) {
        case PageState::Damaged: return " (damaged)";
        case PageState::Cut: return " (cut)";
        case PageState::Empty: return " (empty)";
        case PageState::Ok:
        case PageState::LeftOut: break;
    }
    return {};
}

}  // namespace

QString pageCaption(int index, int pages, const PageImage& page) {
    const PageSummary& s = page.summary;
    QString text = QString("page %1 of %2: %3 x %4 pixels, %5 x %6 dpi, %7")
                       .arg(index + 1)
                       .arg(pages)
                       .arg(s.width)
                       .arg(s.rows)
                       .arg(page.xDpi)
                       .arg(page.yDpi)
                       .arg(codingName(s.coding));
    switch (s.state) {
        case PageState::Damaged:
            text += QString("; damaged: %1 bad line%2, %3 row%4 do not show the fax (tinted)")
                        .arg(s.badLines)
                        .arg(s.badLines == 1 ? "" : "s")
                        .arg(s.damagedRows())
                        .arg(s.damagedRows() == 1 ? "" : "s");
            break;
        case PageState::Cut: text += "; cut: the file ends inside this page (tinted rows)"; break;
        case PageState::Empty: text += "; empty: the fax holds no data for this page"; break;
        case PageState::Ok:
        case PageState::LeftOut: break;
    }
    return text;
}

PageView::PageView(QWidget* parent) : QWidget(parent) {
    strip_ = new QListWidget;
    strip_->setObjectName("pageStrip");
    // One column of small pages, each with its number (and state) beside it.
    strip_->setIconSize(QSize(kIconSize, kIconSize));
    strip_->setSpacing(2);
    strip_->setFixedWidth(int(kIconSize) + 110);
    image_ = new QLabel;
    image_->setObjectName("pageImage");
    image_->setAlignment(Qt::AlignCenter);
    scroll_ = new QScrollArea;
    scroll_->setWidget(image_);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->viewport()->installEventFilter(this);
    caption_ = new QLabel;
    caption_->setObjectName("pageCaption");
    caption_->setWordWrap(true);
    fitButton_ = new QPushButton("&Fit");
    actualButton_ = new QPushButton("100 %");
    savePageButton_ = new QPushButton("Save &page...");
    savePageButton_->setObjectName("savePageButton");
    saveFaxButton_ = new QPushButton("Save f&ax...");
    saveFaxButton_->setObjectName("saveFaxButton");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fitButton_);
    buttons->addWidget(actualButton_);
    buttons->addStretch();
    buttons->addWidget(savePageButton_);
    buttons->addWidget(saveFaxButton_);
    auto* pageSide = new QVBoxLayout;
    pageSide->addWidget(caption_);
    pageSide->addLayout(buttons);
    pageSide->addWidget(scroll_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(strip_);
    layout->addLayout(pageSide, 1);
    setFocusPolicy(Qt::StrongFocus);

    connect(strip_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != current_) showPage(row);
    });
    connect(fitButton_, &QPushButton::clicked, this, [this] { setFit(true); });
    connect(actualButton_, &QPushButton::clicked, this, [this] {
        zoom_ = 1.0;
        setFit(false);
    });
    connect(savePageButton_, &QPushButton::clicked, this, [this] {
        if (current_ >= 0) emit saveRequested(file_, current_);
    });
    connect(saveFaxButton_, &QPushButton::clicked, this, [this] {
        if (pages_ > 0) emit saveRequested(file_, -1);
    });
    loader_ = new QObject;
    loader_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, loader_, &QObject::deleteLater);
    thread_.start();
}

PageView::~PageView() {
    ++generation_;  // icons not yet made are not made
    thread_.quit();
    thread_.wait();
}

void PageView::onLoader(std::function<void()> work) {
    QMetaObject::invokeMethod(loader_, std::move(work), Qt::QueuedConnection);
}

void PageView::showFile(const QString& path) {
    const int generation = ++generation_;
    file_ = path;
    pages_ = 0;
    current_ = -1;
    shown_.reset();
    strip_->clear();
    image_->clear();
    caption_->setText("Opening " + path + " ...");
    onLoader([this, generation, path] {
        fax_ = std::make_unique<FaxPageImages>(path.toStdString());
        const int pages = fax_->pageCount();
        const QString problem = QString::fromStdString(fax_->problem());
        QMetaObject::invokeMethod(this, [=, this] { opened(generation, pages, problem); }, Qt::QueuedConnection);
        loadIcons(generation, 0);
    });
}

// On the view's thread: the next few icons, then the rest after whatever
// page was asked for meanwhile.
void PageView::loadIcons(int generation, int from) {
    if (generation_ != generation || !fax_) return;
    const int end = std::min<int>(fax_->pageCount(), from + kIconsAtOnce);
    for (int index = from; index < end; ++index) {
        PageImage page;
        if (!fax_->page(std::uint16_t(index), kIconSize, page)) return;
        const QImage icon =
            tintedImage(page, QSize(int(page.image.width), int(page.image.rows)), QImage::Format_RGB16);
        const PageState state = page.summary.state;
        QMetaObject::invokeMethod(
            this, [=, this] { iconLoaded(generation, index, icon, state); }, Qt::QueuedConnection);
    }
    if (end < fax_->pageCount()) onLoader([this, generation, end] { loadIcons(generation, end); });
}

void PageView::opened(int generation, int pages, const QString& problem) {
    if (generation != generation_) return;
    if (!problem.isEmpty()) {
        caption_->setText("No page to show: " + problem);
        return;
    }
    pages_ = pages;
    for (int index = 0; index < pages; ++index) strip_->addItem(QString::number(index + 1));
    showPage(0);
}

void PageView::showPage(int index) {
    if (index < 0 || index >= pages_) return;
    current_ = index;
    strip_->setCurrentRow(index);
    const int generation = generation_;
    onLoader([this, generation, index] {
        if (generation != generation_ || !fax_) return;
        auto page = std::make_shared<PageImage>();
        if (!fax_->page(std::uint16_t(index), kLargestPage, *page)) return;
        QMetaObject::invokeMethod(this, [=, this] { pageLoaded(generation, index, *page); }, Qt::QueuedConnection);
    });
}

void PageView::pageLoaded(int generation, int index, const PageImage& page) {
    if (generation != generation_ || index != current_) return;
    shown_ = page;
    caption_->setText(pageCaption(index, pages_, page));
    redraw();
    emit pageShown(index);
}

void PageView::iconLoaded(int generation, int index, const QImage& icon, PageState state) {
    if (generation != generation_) return;
    if (QListWidgetItem* item = strip_->item(index)) {
        // Kept as the image, not as a pixmap of the screen's 32 bits a pixel.
        item->setData(Qt::DecorationRole, icon);
        item->setText(QString::number(index + 1) + stateNote(state));
    }
}

void PageView::setFit(bool fit) {
    fit_ = fit;
    redraw();
}

void PageView::zoomBy(double factor) {
    if (fit_ && shown_) zoom_ = double(image_->pixmap().width()) / shown_->image.width;
    zoom_ = std::clamp(zoom_ * factor, 0.05, 8.0);
    setFit(false);
}

void PageView::redraw() {
    if (!shown_) return;
    const QSize full(int(shown_->image.width), int(shown_->image.rows));
    const QSize size = fit_ ? full.scaled(scroll_->viewport()->size(), Qt::KeepAspectRatio) : full * zoom_;
    image_->setPixmap(QPixmap::fromImage(tintedImage(*shown_, size.expandedTo(QSize(1, 1)), QImage::Format_RGB32)));
    image_->resize(image_->pixmap().size());
}

bool PageView::eventFilter(QObject* watched, QEvent* event) {
    // The wheel with Ctrl zooms; without it, it scrolls the page.
    if (watched == scroll_->viewport() && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            zoomBy(wheel->angleDelta().y() > 0 ? 1.25 : 0.8);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PageView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageUp: showPage(current_ - 1); break;
        case Qt::Key_PageDown: showPage(current_ + 1); break;
        case Qt::Key_Home: showPage(0); break;
        case Qt::Key_End: showPage(pages_ - 1); break;
        case Qt::Key_Plus:
        case Qt::Key_Equal: zoomBy(1.25); break;
        case Qt::Key_Minus: zoomBy(0.8); break;
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void PageView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (fit_) redraw();
}

}  // namespace quillon
