#pragma once
// "About Batch Quillon": the program icon, the version text and "OK".

#include <QDialog>

namespace quillon {

class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};

// The program's icon, drawn for this program (window, tray and About box).
QIcon programIcon();

}  // namespace quillon
