#pragma once
// Reading the command line into a BatchJob.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "run/request/batch_job.h"

namespace quillon {

// What a command line asks the program to do.
enum class CommandLineRequest {
    Convert,     // the conversion it describes (a folder or a file)
    Verify,      // "/verify=": the check of the outputs a report lists
    Absent,      // no command line was given: the window opens
    Empty,       // a command line without words: the window opens
    Incomplete,  // no conversion described: the usage or the save-folder error is written, the window opens
    Refused,     // a value that cannot be carried out: its error is written, nothing is done
};

// A command line read: what it asks for, and the request with its log path.
struct ParsedCommandLine {
    CommandLineRequest request = CommandLineRequest::Absent;
    BatchJob job;
    std::string logPath;
};

// The error of a destination option without a value: on standard error, and
// in a box captioned kSaveFolderCaption when the window opens.
constexpr const char* kSaveFolderMessage =
    "Please set save folder with '/sd=' or '/sf=', and be sure it is not the same as source folder";
constexpr const char* kSaveFolderCaption = "ERROR Save Folder";

// Longest log path that "/log=" accepts, in bytes.
constexpr std::size_t kMaxLogPathLength = 259;
// The most files "/j=" lets a run convert at once.
constexpr unsigned kMaxWorkers = 64;

// Reads the words of a command line (each word one argument; option names
// compared without regard to case, values kept as given) into a fresh job
// whose convertOptions start from options ("/raw" and "/relines" hold for
// one command line only: they start off), and whose log is defaultLog unless
// "/log=" names another. The usage text goes to out, the save-folder error
// and refused values to err.
ParsedCommandLine parseCommandLine(const std::optional<std::vector<std::string>>& words,
                                   const ConvertOptions& options, const std::string& defaultLog, std::ostream& out,
                                   std::ostream& err);

// The three lines that tell how to call the program, in three writes.
void writeUsage(std::ostream& out);

// The usage lines, then every option, the exit codes and where files live.
void writeHelp(std::ostream& out);

// The words that are no option the parser knows, as given: the files and
// folders a file manager passes, for the window to open.
std::vector<std::string> plainWords(const std::vector<std::string>& words);

// Splits one command-line text into words: words are separated by blanks
// (0x20 only), and the value of a "/d=", "/sd=", "/f=", "/sf=" or "/log="
// option that starts with a double quote runs to the closing quote, blanks
// included, and is given without its quotes. An opening quote that is never
// closed quotes only the rest of its own word, so the words after it are kept.
std::vector<std::string> splitCommandLine(const std::string& text);

}  // namespace quillon
