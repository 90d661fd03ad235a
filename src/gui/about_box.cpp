#include "gui/about_box.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "cli/exit_codes.h"

namespace quillon {

QIcon programIcon() { return QIcon(":/quillon/quillon.png"); }

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Batch Quillon");
    auto* icon = new QLabel;
    icon->setPixmap(programIcon().pixmap(48, 48));
    auto* version = new QLabel(kVersionText);
    version->setObjectName("versionText");
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* content = new QHBoxLayout;
    content->addWidget(icon);
    content->addWidget(version);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(content);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

}  // namespace quillon
