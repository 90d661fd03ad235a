#include "gui/gui_test_support.h"

#include "run/convert/file_conversion.h"


#include "cli/home_paths.h"
#include "support/winfax_writer.h"

namespace quillon::test {

void ScriptedDialogs::message(QWidget*, const std::string& text, const std::string& caption) {
    messages.push_back({text, caption});
}

std::optional<std::string> ScriptedDialogs::pickFolder(QWidget*) {
    if (folderAnswers.empty()) return std::nullopt;
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::optional<std::vector<std::string>> ScriptedDialogs::pickFiles(QWidget*, const std::string& filter) {
    fileFilters.push_back(filter);
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

FileConverter GatedConverter::converter() {
    return [this](const BatchJob& job, const FileTask& task, const FileRun& run) {
        std::unique_lock lock(mutex_);
        const int index = calls_++;
        if (index == holdAt_) {
            held_ = true;
            changed_.wait(lock, [this] { return released_; });
        }
        lock.unlock();
        return convertFile(job, task, run);
    };
}

bool GatedConverter::held() const {
    std::lock_guard lock(mutex_);
    return held_;
}

void GatedConverter::release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
}

int GatedConverter::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void writeWinFaxFile(const std::filesystem::path& path, int pages) {
    // A page of a few black bars, small enough to keep the tests fast.
    Bitmap bitmap;
    bitmap.width = 1728;
    bitmap.rows = 64;
    bitmap.bits.assign(bitmap.bytesPerRow() * bitmap.rows, 0);
    for (unsigned row = 8; row < 56; row += 4)
        for (std::size_t byte = 10; byte < 200; ++byte) bitmap.bits[row * bitmap.bytesPerRow() + byte] = 0xFF;
    std::vector<WinFaxPage> faxPages(pages, winFaxPageFromBitmap(bitmap, FaxPageCoding::T4OneDimensional));
    writeFile(path, buildWinFaxFile(faxPages));
}

ProgramContext testContext(const TempDir& home) {
    ProgramContext context;
    context.paths = formHomePaths(home.str());
    context.options = ConvertOptions{};
    context.logFile = context.paths.logFile;
    return context;
}

bool looksLikeTiff(const std::filesystem::path& path) {
    const std::string start = readFile(path).substr(0, 4);
    return start == std::string("II*\0", 4) || start == std::string("MM\0*", 4);
}

}  // namespace quillon::test
