#include "support/run_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace quillon::test {

namespace {

std::vector<std::string> mergedEnvironment(const std::map<std::string, std::string>& changes) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        if (eq) vars[std::string(*e, static_cast<std::size_t>(eq - *e))] = eq + 1;
    }
    for (const auto& [name, value] : changes) {
        if (value.empty()) vars.erase(name);
        else vars[name] = value;
    }
    std::vector<std::string> out;
    for (const auto& [name, value] : vars) out.push_back(name + "=" + value);
    return out;
}

}  // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env, const std::string& workingFolder) {
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
    std::vector<std::string> envText = mergedEnvironment(env);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        if (!workingFolder.empty() && chdir(workingFolder.c_str()) != 0) _exit(126);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    ProcessResult result;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    char buffer[4096];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    result.peakKilobytes = usage.ru_maxrss;
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

std::string quillonExe() {
    if (const char* exe = std::getenv("QUILLON_EXE")) return exe;
    return QUILLON_EXE;
}

int startQuillon(const std::vector<std::string>& args, const std::string& home) {
    std::vector<char*> argv{const_cast<char*>("quillon")};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const std::string exe = quillonExe();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QUILLON_HOME", home.c_str(), 1);
        unsetenv("DISPLAY");
        const int devNull = open("/dev/null", O_RDWR);
        for (int fd : {0, 1, 2}) dup2(devNull, fd);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

bool runsUnderWine() {
    const char* wine = std::getenv("QUILLON_WINE");
    return wine && *wine;
}

ProcessResult runQuillon(const std::vector<std::string>& args, const std::string& home,
                         std::map<std::string, std::string> env, const std::string& workingFolder) {
    env.emplace("QUILLON_HOME", home);
    if (runsUnderWine()) {
        // Wine keeps its server's socket under $TMPDIR: another one would
        // start a second Wine whose services hold the output pipes open. The
        // Windows program takes its temporary folder from %TEMP% instead.
        env.erase("TMPDIR");
        std::vector<std::string> wineArgs{quillonExe()};
        wineArgs.insert(wineArgs.end(), args.begin(), args.end());
        ProcessResult r = runProcess(std::getenv("QUILLON_WINE"), wineArgs, env, workingFolder);
        for (std::string* text : {&r.out, &r.err}) {
            std::erase(*text, '\r');
            std::replace(text->begin(), text->end(), '\\', '/');
        }
        return r;
    }
    env.emplace("DISPLAY", "");
    env.emplace("WAYLAND_DISPLAY", "");
    env.emplace("QT_QPA_PLATFORM", "");
    return runProcess(quillonExe(), args, env, workingFolder);
}

}  // namespace quillon::test
