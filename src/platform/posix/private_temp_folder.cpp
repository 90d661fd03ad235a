#include "platform/private_temp_folder.h"

#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace quillon::platform {

namespace {

std::mutex folderMutex;
std::string folder;  // empty until made, and again after removal
bool made = false;
std::set<std::string> filesInProgress;

std::string makeFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillon-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) return {};
    return std::string(buffer.data()) + "/";
}

void removeAtExit() { removePrivateTempFolder(); }

sigset_t terminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

void watchSignals() {
    const sigset_t set = terminationSignals();
    int sig = 0;
    if (sigwait(&set, &sig) != 0) return;
    removePrivateTempFolder();
    {
        std::lock_guard lock(folderMutex);
        for (const std::string& path : filesInProgress) unlink(path.c_str());
    }
    // End the process the way the signal would have, so the parent sees it.
    signal(sig, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
    _exit(128 + sig);
}

}  // namespace

const char* privateTempFolderPlace() { return "$TMPDIR or /tmp"; }

const std::string& privateTempFolder() {
    std::lock_guard lock(folderMutex);
    if (!made) {
        made = true;
        folder = makeFolder();
        if (!folder.empty()) std::atexit(removeAtExit);
    }
    return folder;
}

void removePrivateTempFolder() {
    std::lock_guard lock(folderMutex);
    if (folder.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    folder.clear();
}

void removeOnTerminationToo(const std::string& path) {
    std::lock_guard lock(folderMutex);
    filesInProgress.insert(path);
}

void keepOnTermination(const std::string& path) {
    std::lock_guard lock(folderMutex);
    filesInProgress.erase(path);
}

void removeOnTermination() {
    const sigset_t set = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(watchSignals).detach();
}

}  // namespace quillon::platform
