#include "gui/manual_window.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace quillon {

ManualWindow::ManualWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Batch Quillon manual");
    auto* browser = new QTextBrowser;
    browser->setObjectName("manualBrowser");
    // Links to web pages go to the desktop's browser; the chapters stay here.
    browser->setOpenExternalLinks(true);
    browser->setSource(QUrl("qrc:/quillon/manual/manual.html"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    resize(760, 680);  // room for the screenshot at its own size
}

}  // namespace quillon
