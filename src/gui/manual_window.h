#pragma once
// The user manual in a window of the program itself, from the copy compiled
// into the resources: Help shows it when no installed manual or no viewer is
// there, so Help never does nothing.

#include <QDialog>

namespace quillon {

class ManualWindow : public QDialog {
    Q_OBJECT

public:
    explicit ManualWindow(QWidget* parent = nullptr);
};

}  // namespace quillon
