#pragma once
// The process's private folder for intermediate files, and removing files a
// run leaves in progress when the process is ended.

#include <string>

namespace quillon::platform {

// The process's own folder for intermediate files: made with mkdtemp (mode
// 0700) under $TMPDIR or /tmp on first use (on Windows, a new folder under
// the user's %TEMP%), and removed with its content when the process exits
// normally or is ended by SIGINT, SIGTERM or SIGHUP (on Windows Ctrl+C, a
// closed console, log-off), once removeOnTermination() has been called.
// Returned with a trailing separator.
// Fixed names in a shared folder would let other users read the faxes or
// plant links that the program then overwrites.
// Returns an empty text when no folder can be made.
const std::string& privateTempFolder();

// Where the folder is made, in words: "$TMPDIR or /tmp", "%TEMP%".
const char* privateTempFolderPlace();

// Removes the folder now (also done at normal exit).
void removePrivateTempFolder();

// Blocks SIGINT, SIGTERM and SIGHUP in the calling thread (and so in every
// thread it starts later) and hands them to a watcher thread that removes the
// private folder and then ends the process with the same signal. Call it early
// in main, before other threads exist.
void removeOnTermination();

// Files outside the private folder that are also removed when a signal ends
// the process: outputs still being written under a temporary name. It makes
// the file (empty), so that none is made that a termination would not find:
// open it without creating it; false when it cannot be made.
bool removeOnTerminationToo(const std::string& path);
void keepOnTermination(const std::string& path);
// Renames such a file to its final name (synced first when asked), which a
// termination then leaves. A termination that has begun is never raced: the
// call waits for the process's end instead, so that no file it removed is
// reported as failed.
bool putInPlace(const std::string& path, const std::string& finalPath, bool syncFirst);

}  // namespace quillon::platform
