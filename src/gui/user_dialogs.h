#pragma once
// Every modal question the window asks the user goes through UserDialogs, so
// that tests can answer the boxes and pickers without a person.

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace quillon {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A message box with one OK button; returns when it is closed.
    virtual void message(QWidget* parent, const std::string& text, const std::string& caption) = 0;
    // A folder picker; nothing when the user cancels.
    virtual std::optional<std::string> pickFolder(QWidget* parent) = 0;
    // A picker for one or more files of one folder, offering the filter as the
    // only file type; full paths, or nothing when the user cancels.
    virtual std::optional<std::vector<std::string>> pickFiles(QWidget* parent, const std::string& filter) = 0;
    // A picker for the name of a file to write, offering TIFF and PDF files;
    // nothing when the user cancels.
    virtual std::optional<std::string> pickSaveFile(QWidget* parent, const std::string& suggested) = 0;
    // The About box; returns when it is closed.
    virtual void about(QWidget* parent) = 0;
    // Opens a document with the desktop's default viewer; false when none
    // could be started.
    virtual bool openDocument(const std::string& path) = 0;
};

// The real boxes and pickers of Qt.
class QtUserDialogs : public UserDialogs {
public:
    void message(QWidget* parent, const std::string& text, const std::string& caption) override;
    std::optional<std::string> pickFolder(QWidget* parent) override;
    std::optional<std::vector<std::string>> pickFiles(QWidget* parent, const std::string& filter) override;
    std::optional<std::string> pickSaveFile(QWidget* parent, const std::string& suggested) override;
    void about(QWidget* parent) override;
    bool openDocument(const std::string& path) override;
};

}  // namespace quillon
