#pragma once
// Putting what was written on stable storage, so that what a run said it
// wrote survives a power cut or a crashed machine.

#include <cstdio>
#include <string>

namespace quillon::platform {

// Puts what was written to the stream on stable storage (fflush and fsync;
// FlushFileBuffers on Windows).
bool syncStream(std::FILE* stream);
// Puts a folder's entries (files renamed or made in it) on stable storage.
// On Windows, where a folder cannot be synced, renames are made with
// MOVEFILE_WRITE_THROUGH instead and this does nothing.
bool syncFolder(const std::string& path);

}  // namespace quillon::platform
