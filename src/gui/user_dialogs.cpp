#include "gui/user_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "gui/about_box.h"

namespace quillon {

void QtUserDialogs::message(QWidget* parent, const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, parent);
    box.exec();
}

std::optional<std::string> QtUserDialogs::pickFolder(QWidget* parent) {
    const QString folder = QFileDialog::getExistingDirectory(parent);
    if (folder.isEmpty()) return std::nullopt;
    return folder.toStdString();
}

std::optional<std::vector<std::string>> QtUserDialogs::pickFiles(QWidget* parent, const std::string& filter) {
    const QString pattern = QString::fromStdString(filter);
    const QStringList files = QFileDialog::getOpenFileNames(parent, {}, {}, pattern + " (" + pattern + ")");
    if (files.isEmpty()) return std::nullopt;
    std::vector<std::string> paths;
    for (const QString& file : files) paths.push_back(file.toStdString());
    return paths;
}

std::optional<std::string> QtUserDialogs::pickSaveFile(QWidget* parent, const std::string& suggested) {
    const QString file = QFileDialog::getSaveFileName(parent, {}, QString::fromStdString(suggested),
                                                      "TIFF files (*.tif);;PDF files (*.pdf)");
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

void QtUserDialogs::about(QWidget* parent) {
    AboutBox box(parent);
    box.exec();
}

bool QtUserDialogs::openDocument(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace quillon
