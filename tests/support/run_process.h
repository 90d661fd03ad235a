#pragma once
#include <map>
#include <string>
#include <vector>

namespace quillon::test {

struct ProcessResult {
    int exitCode = -1;   // -1 when the process did not exit normally
    int signal = 0;      // the signal that ended it, if any
    long peakKilobytes = 0;  // its largest resident set (getrusage's ru_maxrss)
    std::string out;
    std::string err;
};

// Runs a program with the given arguments, no standard input, and collects its
// output. env adds or replaces variables; a name given with an empty value
// removes that variable.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env = {}, const std::string& workingFolder = {});

// Runs the built quillon executable with $QUILLON_HOME set to home and no display.
ProcessResult runQuillon(const std::vector<std::string>& args, const std::string& home,
                         std::map<std::string, std::string> env = {}, const std::string& workingFolder = {});

std::string quillonExe();

// Starts the built quillon as runQuillon does, its output discarded, without
// waiting for it: its process id.
int startQuillon(const std::vector<std::string>& args, const std::string& home);

// With QUILLON_WINE set (tests/windows/wine_test.sh), runQuillon runs the
// Windows program QUILLON_EXE under that Wine program, and its output reads
// as the Linux program's does: CR LF as LF, and '\' (the separators it
// writes) as '/'.
bool runsUnderWine();

}  // namespace quillon::test
