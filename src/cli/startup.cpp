#include "cli/startup.h"

#include <iostream>

#include "cli/command_line.h"
#include "cli/convert_command.h"
#include "run/convert/loaded_modules.h"
#include "cli/verify_command.h"
#include "ocr/languages.h"
#include "platform/environment.h"
#include "platform/home_folder.h"
#include "platform/private_temp_folder.h"

namespace quillon {

namespace {

bool hasWord(const std::vector<std::string>& words, std::string_view a, std::string_view b = {}) {
    for (const std::string& word : words)
        if (word == a || (!b.empty() && word == b)) return true;
    return false;
}

// The window's own exit code, or NoWindow's.
int openMainWindow(ProgramContext& context, const MainWindowRunner& mainWindow) {
    if (!mainWindow) {
        std::cerr << "The main window is not available in this build; give a complete command line.\n";
        return exitStatus(ExitCode::NoWindow);
    }
    if (!platform::displayAvailable()) {
        std::cerr << "No display: the main window cannot be opened; give a complete command line.\n";
        return exitStatus(ExitCode::NoWindow);
    }
    return mainWindow(context).value_or(exitStatus(ExitCode::NoWindow));
}

// The conversion a command line describes. Asked for text, it is refused
// before any file when the text cannot be recognised: a run must not write
// PDF files without the text asked for.
ExitCode runConversion(const BatchJob& job, const std::string& logFile) {
    if (job.recognition.enabled) {
        if (std::string error; !pageRecognition(error)) {
            std::cerr << "quillon: text cannot be recognised: " << error << "; nothing converted\n";
            return ExitCode::Refused;
        }
        if (const std::string missing = missingLanguage(*splitLanguages(job.recognition.languages));
            !missing.empty()) {
            std::cerr << "quillon: " << missingLanguageMessage(missing) << "; nothing converted\n";
            return ExitCode::Refused;
        }
    }
    return runCommandLineMode(job, logFile, std::cout, std::cerr);
}

int run(int argc, char** argv, std::vector<std::string> commandWords, const MainWindowRunner& mainWindow,
        const HomePaths& paths) {
    const std::optional<std::vector<std::string>> words(std::move(commandWords));
    const ParsedCommandLine parsed = parseCommandLine(words, ConvertOptions{}, paths.logFile, std::cout, std::cerr);
    switch (parsed.request) {
        case CommandLineRequest::Refused: return exitStatus(ExitCode::Refused);
        case CommandLineRequest::Verify: return exitStatus(runVerifyMode(parsed.job, std::cout, std::cerr));
        case CommandLineRequest::Convert: return exitStatus(runConversion(parsed.job, parsed.logPath));
        case CommandLineRequest::Absent:
        case CommandLineRequest::Empty:
        case CommandLineRequest::Incomplete: break;
    }
    ProgramContext context;
    context.paths = paths;
    context.options = parsed.job.convertOptions;
    context.logFile = parsed.logPath;
    context.argc = argc;
    context.argv = argv;
    context.saveFolderMissing = parsed.job.mode != JobMode::None && parsed.job.destination.empty();
    context.openPaths = plainWords(*words);
    return openMainWindow(context, mainWindow);
}

}  // namespace

int runProgram(int argc, char** argv, const MainWindowRunner& mainWindow) {
    platform::setUpProcess();
    std::vector<std::string> words = platform::commandLineWords(argc, argv);
    if (hasWord(words, "--help", "-h")) {
        writeHelp(std::cout);
        return exitStatus(ExitCode::Success);
    }
    if (hasWord(words, "--version")) {
        std::cout << kVersionText << "\n";
        return exitStatus(ExitCode::Success);
    }
    platform::removeOnTermination();
    const std::string& tempFolder = platform::privateTempFolder();
    if (tempFolder.empty()) {
        // No file is at fault: the place for work files is.
        std::cerr << "No private temporary folder can be made under " << platform::privateTempFolderPlace() << ".\n";
        return exitStatus(ExitCode::CouldNotWork);
    }
    const HomePaths paths = formHomePaths(platform::homeFolder());
    const int exitCode = run(argc, argv, std::move(words), mainWindow, paths);
    platform::removePrivateTempFolder();
    return exitCode;
}

}  // namespace quillon
