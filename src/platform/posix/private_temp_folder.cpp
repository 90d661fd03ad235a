#include "platform/private_temp_folder.h"

#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/system_temp_folder.h"

namespace quillon::platform {

namespace {

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
    removeWhatTerminationLeaves();
    // End the process the way the signal would have, so the parent sees it.
    signal(sig, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
    _exit(128 + sig);
}

}  // namespace

std::string makeSystemTempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillon-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) return {};
    return std::string(buffer.data()) + "/";
}

const char* privateTempFolderPlace() { return "$TMPDIR or /tmp"; }

void removeOnTermination() {
    const sigset_t set = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(watchSignals).detach();
}

}  // namespace quillon::platform
