#pragma once
// The notification-area icon with its menu: "&Open..." (the default, in
// bold), "&About..." and "E&xit". A double-click opens the window.

#include <QObject>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace quillon {

class TrayIcon : public QObject {
    Q_OBJECT

public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // Whether the desktop has a notification area; without one the window
    // must never hide, or nothing could bring it back.
    static bool available();

    void show();
    void hide();

    QMenu* menu() const { return menu_; }
    QAction* openAction() const { return open_; }
    QAction* aboutAction() const { return about_; }
    QAction* exitAction() const { return exit_; }
    QString toolTip() const;

signals:
    void openRequested();
    void aboutRequested();
    void exitRequested();

private:
    QMenu* menu_;
    QAction* open_;
    QAction* about_;
    QAction* exit_;
    QSystemTrayIcon* icon_;
};

}  // namespace quillon
