#pragma once
// The Options tab: source mode, naming and page options, automatic
// conversion and the output format with its text layer. Its values live in section "Options" of the INI file.

#include <optional>
#include <string>

#include <QWidget>

#include "engine/convert_options.h"
#include "gui/conversion_run.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace quillon {

struct OptionValues {
    int dirFile = 0;  // 0 "Convert Directory", 1 "Convert File(s)", -1 neither checked
    int subdir = 0;
    int hiberarchy = 0;
    int keepDate = 0;
    int keepExt = 1;
    int recaculate = 0;
    int resume = 0;  // "Resume": runs skip faxes whose outputs carry this run's record
    InputFormats formats;  // "InputFormats": what /formats= takes; WinFax when missing or not understood
    int cyclely = 0;
    int cycleMinutes = 60;
    OutputFormat outputFormat = OutputFormat::Tiff;  // "OutputFormat": TIFF or PDF
    int textLayer = 0;                  // "OcrTextLayer": 1 recognises the text of PDF pages
    std::string textLanguages = "eng";  // "OcrLanguages": Tesseract's names joined by '+'
    int turnPages = 1;                  // "OcrTurnPages": 0 reads every page as faxed (/norotate)
};

class OptionsPage : public QWidget {
    Q_OBJECT

public:
    // Reads section "Options"; the page mode goes into options at once, and
    // apply() writes page mode and recount lines into it later.
    OptionsPage(std::string iniFile, ConvertOptions& options, QWidget* parent = nullptr);

    // Takes the controls into the values and the engine options.
    void apply();
    // Switches automatic conversion after the check box (or a source-mode
    // click) and tells the Convert page through automaticConversionChanged.
    void updateAutomaticConversion();
    // Takes the controls and writes section "Options".
    void saveSettings();
    // Switches to folder or files mode as a click on its button would.
    void chooseSourceMode(bool filesMode);

    const OptionValues& values() const { return values_; }
    // The values the Convert page keeps copies of.
    PageOptions pageOptions() const;

signals:
    void automaticConversionChanged(int minutes, bool on);

private:
    void buildLayout();
    void read();
    void refresh();
    void sourceModeClicked();

    std::string iniFile_;
    ConvertOptions& options_;
    OptionValues values_;

    QButtonGroup* sourceMode_ = nullptr;
    QRadioButton* directoryButton_ = nullptr;
    QRadioButton* filesButton_ = nullptr;
    QCheckBox* subdirBox_ = nullptr;
    QCheckBox* keepDateBox_ = nullptr;
    QCheckBox* hiberarchyBox_ = nullptr;
    QCheckBox* keepExtBox_ = nullptr;
    QCheckBox* recaculateBox_ = nullptr;
    QCheckBox* resumeBox_ = nullptr;
    QCheckBox* automaticBox_ = nullptr;
    QLineEdit* minutesEdit_ = nullptr;
    QButtonGroup* outputFormat_ = nullptr;
    QCheckBox* textLayerBox_ = nullptr;
    QCheckBox* turnPagesBox_ = nullptr;
    QLineEdit* languagesEdit_ = nullptr;
    QLineEdit* formatsEdit_ = nullptr;
    QComboBox* pageModeList_ = nullptr;  // never shown: the page mode comes from the INI file only
};

// The minutes box: optional blanks, an optional sign and decimal digits that
// fit an int; anything else is no number.
std::optional<int> parseMinutes(const std::string& text);

}  // namespace quillon
