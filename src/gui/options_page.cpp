#include "gui/options_page.h"

#include <strings.h>

#include <charconv>
#include <tuple>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/ini_file.h"

namespace quillon {

namespace {

constexpr const char* kSection = "Options";
constexpr const char* kOutputFormatKey = "OutputFormat";
constexpr const char* kPdfText = "PDF";
constexpr const char* kTextLayerKey = "OcrTextLayer";
constexpr const char* kLanguagesKey = "OcrLanguages";
constexpr const char* kTurnPagesKey = "OcrTurnPages";
constexpr const char* kFormatsKey = "InputFormats";

int readCheck(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

// A value outside 0 to 2 is taken as 0, in the value as well as in the box.
void refreshCheck(QCheckBox* box, int& value) {
    if (value < 0 || value > 2) value = 0;
    box->setTristate(value == 2);
    box->setCheckState(value == 2 ? Qt::PartiallyChecked : value == 1 ? Qt::Checked : Qt::Unchecked);
}

}  // namespace

std::optional<int> parseMinutes(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    if (start == std::string::npos) return std::nullopt;
    if (text[start] == '+') ++start;
    int value = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + end + 1;
    const auto [stop, error] = std::from_chars(first, last, value);
    if (error != std::errc() || stop != last) return std::nullopt;
    return value;
}

OptionsPage::OptionsPage(std::string iniFile, ConvertOptions& options, QWidget* parent)
    : QWidget(parent), iniFile_(std::move(iniFile)), options_(options) {
    auto readInt = [&](const char* key, int fallback) {
        return platform::getProfileInt(kSection, key, fallback, iniFile_);
    };
    values_.dirFile = readInt("DirFile", 0);
    values_.subdir = readInt("Subdir", 0);
    values_.hiberarchy = readInt("Hiberarchy", 0);
    values_.keepDate = readInt("KeepDate", 0);
    values_.keepExt = readInt("KeepExt", 1);
    values_.recaculate = readInt("Recaculate", options_.recountLines);
    values_.resume = readInt("Resume", 0) == 1 ? 1 : 0;
    values_.cyclely = readInt("Cyclely", 0);
    values_.cycleMinutes = readInt("CycleMinutes", 60);
    // Anything but PDF, a missing key too, keeps the TIFF outputs of old.
    const std::string format = platform::getProfileString(kSection, kOutputFormatKey, "TIFF", iniFile_);
    values_.outputFormat = strcasecmp(format.c_str(), kPdfText) == 0 ? OutputFormat::Pdf : OutputFormat::Tiff;
    values_.textLayer = readInt(kTextLayerKey, 0) == 1 ? 1 : 0;
    values_.textLanguages = platform::getProfileString(kSection, kLanguagesKey, "eng", iniFile_);
    if (values_.textLanguages.empty()) values_.textLanguages = "eng";
    values_.turnPages = readInt(kTurnPagesKey, 1) == 0 ? 0 : 1;
    values_.formats =
        InputFormats::parse(platform::getProfileString(kSection, kFormatsKey, "winfax", iniFile_)).value_or(InputFormats{});
    const int convertFlag = readInt("ConvertFlag", 0);
    options_.pageMode = static_cast<std::uint8_t>(convertFlag);

    buildLayout();
    const int listIndex = convertFlag & 255;
    pageModeList_->setCurrentIndex(listIndex <= 1 ? listIndex : -1);
    refresh();
    subdirBox_->setEnabled(directoryButton_->isChecked());
}

void OptionsPage::buildLayout() {
    directoryButton_ = new QRadioButton("Convert Directory");
    directoryButton_->setObjectName("directoryButton");
    filesButton_ = new QRadioButton("Convert File(s)");
    filesButton_->setObjectName("filesButton");
    sourceMode_ = new QButtonGroup(this);
    sourceMode_->addButton(directoryButton_, 0);
    sourceMode_->addButton(filesButton_, 1);
    auto makeCheck = [](const char* text, const char* name) {
        auto* box = new QCheckBox(text);
        box->setObjectName(name);
        return box;
    };
    subdirBox_ = makeCheck("Include subdir", "subdirBox");
    keepDateBox_ = makeCheck("Keep File Date and Time", "keepDateBox");
    hiberarchyBox_ = makeCheck("Keep Hiberarchy", "hiberarchyBox");
    keepExtBox_ = makeCheck("Include Source File Extention", "keepExtBox");
    recaculateBox_ = makeCheck("Re-caculate Scan Lines", "recaculateBox");
    resumeBox_ = makeCheck("Resume: skip faxes already converted with these settings", "resumeBox");
    resumeBox_->setToolTip("A fax is skipped when all its outputs were written from the same source bytes with the "
                           "same settings by a run with this option; see the manual");
    automaticBox_ = makeCheck("Enable Convertion Automatically", "automaticBox");
    minutesEdit_ = new QLineEdit;
    minutesEdit_->setObjectName("minutesEdit");
    minutesEdit_->setMaximumWidth(60);
    pageModeList_ = new QComboBox(this);
    pageModeList_->setObjectName("pageModeList");
    pageModeList_->addItems(
        {"Keep multiple pages in one tif file", "Split : a multi-page file to multiple tiff files"});
    pageModeList_->hide();
    pageModeList_->setEnabled(false);

    auto* sourceGroup = new QGroupBox("Source Options");
    auto* sourceLayout = new QVBoxLayout(sourceGroup);
    sourceLayout->addWidget(directoryButton_);
    auto* subdirRow = new QHBoxLayout;
    subdirRow->addSpacing(20);
    subdirRow->addWidget(subdirBox_);
    sourceLayout->addLayout(subdirRow);
    sourceLayout->addWidget(filesButton_);

    auto* destinationGroup = new QGroupBox("Destinaion Options");
    auto* destinationLayout = new QVBoxLayout(destinationGroup);
    for (QCheckBox* box : {keepDateBox_, hiberarchyBox_, keepExtBox_, recaculateBox_, resumeBox_})
        destinationLayout->addWidget(box);

    // The formats a run takes, in the words of /formats=.
    formatsEdit_ = new QLineEdit;
    formatsEdit_->setObjectName("formatsEdit");
    formatsEdit_->setToolTip(QString("The formats to convert: ") + kInputFormatNames +
                             ", joined by commas; winfax alone by default (see the manual)");
    auto* formatsRow = new QHBoxLayout;
    formatsRow->addWidget(new QLabel("Formats"));
    formatsRow->addWidget(formatsEdit_);
    sourceLayout->addLayout(formatsRow);

    auto* automaticGroup = new QGroupBox("Auto Convertion");
    auto* automaticLayout = new QVBoxLayout(automaticGroup);
    automaticLayout->addWidget(automaticBox_);
    auto* minutesRow = new QHBoxLayout;
    minutesRow->addWidget(new QLabel("Convert every"));
    minutesRow->addWidget(minutesEdit_);
    minutesRow->addWidget(new QLabel("minutes"));
    minutesRow->addStretch();
    automaticLayout->addLayout(minutesRow);

    // The output format in rows of its own, so that it sits beside the
    // automatic conversion and the page fits the window: the format, the
    // text layer with its languages, and (indented, an option of the text
    // layer) turning pages.
    auto* formatGroup = new QGroupBox("Output format");
    auto* formatRows = new QVBoxLayout(formatGroup);
    auto* formatLayout = new QHBoxLayout;
    formatRows->addLayout(formatLayout);
    outputFormat_ = new QButtonGroup(this);
    for (const auto& [text, name, format] : {std::tuple{"TIFF", "tiffButton", OutputFormat::Tiff},
                                             std::tuple{"PDF", "pdfButton", OutputFormat::Pdf}}) {
        auto* button = new QRadioButton(text);
        button->setObjectName(name);
        outputFormat_->addButton(button, static_cast<int>(format));
        formatLayout->addWidget(button);
    }
    formatLayout->addStretch();
    // A text layer is a PDF's: the box chooses PDF, and TIFF clears the box.
    textLayerBox_ = makeCheck("OCR text layer", "textLayerBox");
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(textLayerBox_);
    textRow->addSpacing(12);
    textRow->addWidget(new QLabel("Languages"));
    languagesEdit_ = new QLineEdit;
    languagesEdit_->setObjectName("languagesEdit");
    languagesEdit_->setMaximumWidth(100);
    languagesEdit_->setToolTip("Tesseract languages joined by +, such as eng+deu");
    textRow->addWidget(languagesEdit_);
    textRow->addStretch();
    formatRows->addLayout(textRow);
    turnPagesBox_ = makeCheck("Turn pages the right way up", "turnPagesBox");
    turnPagesBox_->setToolTip("A page fed upside down or on its side is read turned and shown turned; its image "
                              "keeps the fax's pixels (see the manual)");
    auto* turnRow = new QHBoxLayout;
    turnRow->addSpacing(20);
    turnRow->addWidget(turnPagesBox_);
    turnRow->addStretch();
    formatRows->addLayout(turnRow);
    connect(textLayerBox_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) outputFormat_->button(static_cast<int>(OutputFormat::Pdf))->setChecked(true);
    });
    connect(outputFormat_, &QButtonGroup::idClicked, this, [this](int format) {
        if (format == static_cast<int>(OutputFormat::Tiff)) textLayerBox_->setChecked(false);
    });

    automaticLayout->addStretch();
    auto* lastRow = new QHBoxLayout;
    lastRow->addWidget(automaticGroup);
    lastRow->addWidget(formatGroup);
    auto* page = new QVBoxLayout(this);
    page->addWidget(sourceGroup);
    page->addWidget(destinationGroup);
    page->addLayout(lastRow);
    page->addStretch();

    connect(directoryButton_, &QRadioButton::clicked, this, &OptionsPage::sourceModeClicked);
    connect(filesButton_, &QRadioButton::clicked, this, &OptionsPage::sourceModeClicked);
    connect(automaticBox_, &QCheckBox::clicked, this, &OptionsPage::updateAutomaticConversion);
}

void OptionsPage::read() {
    values_.dirFile = sourceMode_->checkedId();
    values_.subdir = readCheck(subdirBox_);
    values_.hiberarchy = readCheck(hiberarchyBox_);
    values_.keepDate = readCheck(keepDateBox_);
    values_.keepExt = readCheck(keepExtBox_);
    values_.recaculate = readCheck(recaculateBox_);
    values_.resume = resumeBox_->isChecked() ? 1 : 0;
    values_.cyclely = readCheck(automaticBox_);
    values_.outputFormat = static_cast<OutputFormat>(outputFormat_->checkedId());
    values_.textLayer = textLayerBox_->isChecked() ? 1 : 0;
    values_.textLanguages = languagesEdit_->text().trimmed().toStdString();
    if (values_.textLanguages.empty()) values_.textLanguages = "eng";
    values_.turnPages = turnPagesBox_->isChecked() ? 1 : 0;
    // A list that is not understood keeps the formats in force, and says so.
    if (const auto formats = InputFormats::parse(formatsEdit_->text().trimmed().toStdString())) {
        values_.formats = *formats;
    } else {
        QApplication::beep();
        formatsEdit_->setText(QString::fromStdString(values_.formats.names()));
    }
    if (const auto minutes = parseMinutes(minutesEdit_->text().toStdString())) {
        values_.cycleMinutes = *minutes;
    } else {
        QApplication::beep();
        if (minutesEdit_->isEnabled()) minutesEdit_->setFocus();
        values_.cycleMinutes = 0;
    }
}

void OptionsPage::refresh() {
    // A value other than 0 or 1 checks neither button.
    sourceMode_->setExclusive(false);
    directoryButton_->setChecked(values_.dirFile == 0);
    filesButton_->setChecked(values_.dirFile == 1);
    sourceMode_->setExclusive(true);
    refreshCheck(subdirBox_, values_.subdir);
    refreshCheck(hiberarchyBox_, values_.hiberarchy);
    refreshCheck(keepDateBox_, values_.keepDate);
    refreshCheck(keepExtBox_, values_.keepExt);
    refreshCheck(recaculateBox_, values_.recaculate);
    resumeBox_->setChecked(values_.resume == 1);
    refreshCheck(automaticBox_, values_.cyclely);
    minutesEdit_->setText(QString::number(values_.cycleMinutes));
    outputFormat_->button(static_cast<int>(values_.outputFormat))->setChecked(true);
    textLayerBox_->setChecked(values_.textLayer == 1);
    languagesEdit_->setText(QString::fromStdString(values_.textLanguages));
    turnPagesBox_->setChecked(values_.turnPages == 1);
    formatsEdit_->setText(QString::fromStdString(values_.formats.names()));
}

void OptionsPage::apply() {
    read();
    options_.recountLines = static_cast<std::uint8_t>(values_.recaculate);
    const int selection = pageModeList_->currentIndex();
    options_.pageMode = selection < 0 ? 255 : static_cast<std::uint8_t>(selection);
}

void OptionsPage::sourceModeClicked() {
    const bool directory = directoryButton_->isChecked();
    for (QCheckBox* box : {subdirBox_, hiberarchyBox_, automaticBox_}) {
        box->setTristate(false);
        box->setChecked(false);
        box->setEnabled(directory);
    }
    updateAutomaticConversion();
}

void OptionsPage::chooseSourceMode(bool filesMode) {
    QRadioButton* button = filesMode ? filesButton_ : directoryButton_;
    if (!button->isChecked()) button->click();
}

void OptionsPage::updateAutomaticConversion() {
    const bool on = automaticBox_->checkState() != Qt::Unchecked;
    minutesEdit_->setEnabled(!on);
    read();
    emit automaticConversionChanged(values_.cycleMinutes, on);
}

void OptionsPage::saveSettings() {
    read();
    const std::pair<const char*, int> entries[] = {
        {"DirFile", values_.dirFile},     {"Subdir", values_.subdir},         {"Hiberarchy", values_.hiberarchy},
        {"KeepDate", values_.keepDate},   {"KeepExt", values_.keepExt},       {"Recaculate", values_.recaculate},
        {"Cyclely", values_.cyclely},     {"CycleMinutes", values_.cycleMinutes},
        {"ConvertFlag", options_.pageMode}, {"Resume", values_.resume},
    };
    for (const auto& [key, value] : entries) platform::writeProfileString(kSection, key, std::to_string(value), iniFile_);
    platform::writeProfileString(kSection, kOutputFormatKey,
                                 values_.outputFormat == OutputFormat::Pdf ? kPdfText : "TIFF", iniFile_);
    platform::writeProfileString(kSection, kTextLayerKey, std::to_string(values_.textLayer), iniFile_);
    platform::writeProfileString(kSection, kLanguagesKey, values_.textLanguages, iniFile_);
    platform::writeProfileString(kSection, kTurnPagesKey, std::to_string(values_.turnPages), iniFile_);
    platform::writeProfileString(kSection, kFormatsKey, values_.formats.names(), iniFile_);
}

PageOptions OptionsPage::pageOptions() const {
    return {values_.dirFile,        values_.subdir,       values_.hiberarchy,     values_.keepDate,
            values_.keepExt,        values_.outputFormat, values_.textLayer == 1, values_.textLanguages,
            values_.turnPages == 1, values_.resume == 1,  values_.formats};
}

}  // namespace quillon
