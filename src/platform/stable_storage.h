#pragma once
// Putting what was written on stable storage, so that what a run said it
// wrote survives a power cut or a crashed machine.

#include <cstdio>
#include <string>
#include <vector>

namespace quillon::platform {

// Puts what was written to the stream on stable storage (fflush and fsync;
// FlushFileBuffers on Windows).
bool syncStream(std::FILE* stream);
// The same for a closed file, opened again by its name.
bool syncFile(const std::string& path);
// The same for many closed files at once: one syncfs for each file system
// they are on (on Windows, each file flushed in turn).
bool syncFiles(const std::vector<std::string>& paths);
// Puts a folder's entries (files renamed or made in it) on stable storage.
// On Windows, where a folder cannot be synced, renames are made with
// MOVEFILE_WRITE_THROUGH instead and this does nothing.
bool syncFolder(const std::string& path);

}  // namespace quillon::platform
