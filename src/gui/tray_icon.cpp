#include "gui/tray_icon.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

#include "gui/about_box.h"

namespace quillon {

TrayIcon::TrayIcon(QObject* parent)
    : QObject(parent), menu_(new QMenu), icon_(new QSystemTrayIcon(programIcon(), this)) {
    open_ = menu_->addAction("&Open...");
    about_ = menu_->addAction("&About...");
    exit_ = menu_->addAction("E&xit");
    QFont bold = open_->font();
    bold.setBold(true);
    open_->setFont(bold);
    menu_->setDefaultAction(open_);

    icon_->setToolTip("Batch Quillon\nConvert WinFax fxd/fxm/fxr/fxs to tif");
    icon_->setContextMenu(menu_);
    connect(open_, &QAction::triggered, this, &TrayIcon::openRequested);
    connect(about_, &QAction::triggered, this, &TrayIcon::aboutRequested);
    connect(exit_, &QAction::triggered, this, &TrayIcon::exitRequested);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) emit openRequested();
    });
}

// The menu has no parent widget, so it is deleted here.
TrayIcon::~TrayIcon() { delete menu_; }

bool TrayIcon::available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::show() {
    if (available()) icon_->show();
}

void TrayIcon::hide() { icon_->hide(); }

QString TrayIcon::toolTip() const { return icon_->toolTip(); }

}  // namespace quillon
