// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchprocess.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::vector<char *> pointers(std::vector<std::string> &strings)
{
    std::vector<char *> result;
    for (std::string &s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

} // namespace

double benchprocess::nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

std::vector<std::string> benchprocess::environment(const std::vector<std::string> &overrides)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string &o : overrides)
            replaced = replaced || o.substr(0, o.find('=')) == name;
        if (!replaced)
            env.push_back(entry);
    }
    for (const std::string &o : overrides)
        if (o.find('=') != std::string::npos)
            env.push_back(o);
    return env;
}

std::vector<std::string> benchprocess::programEnvironment(const std::string &display,
                                                          const std::string &runtimeDir)
{
    return environment({
        "DISPLAY=" + display,
        "QT_QPA_PLATFORM=xcb",
        "XDG_RUNTIME_DIR=" + runtimeDir,
        "DBUS_SESSION_BUS_ADDRESS=disabled:",
        "SESSION_MANAGER",
    });
}

double benchprocess::runToExit(const std::vector<std::string> &args,
                               const std::vector<std::string> &env, int *exitStatus)
{
    std::vector<std::string> a = args, e = env;
    std::vector<char *> argv = pointers(a), envp = pointers(e);
    const double start = nowMs();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double elapsed = nowMs() - start;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (exitStatus) {
        *exitStatus = code;
        return elapsed;
    }
    return code == 0 ? elapsed : -1;
}

double benchprocess::runToFirstFrame(const std::vector<std::string> &args,
                                     std::vector<std::string> env, int timeoutMs)
{
    int pid = 0;
    const double elapsed = launchToFirstFrame(args, std::move(env), &pid, timeoutMs);
    stop(pid);
    return elapsed;
}

double benchprocess::launchToFirstFrame(const std::vector<std::string> &args,
                                        std::vector<std::string> env, int *pid, int timeoutMs)
{
    *pid = 0;
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    env.push_back("TAVRINT_FIRST_FRAME_FD=3");
    std::vector<std::string> a = args;
    std::vector<char *> argv = pointers(a), envp = pointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    const double start = nowMs();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        return -1;
    }
    *pid = child;
    double elapsed = -1;
    pollfd p{fds[0], POLLIN, 0};
    char buffer[64];
    if (poll(&p, 1, timeoutMs) == 1 && read(fds[0], buffer, sizeof buffer) > 0)
        elapsed = nowMs() - start;
    close(fds[0]);
    return elapsed;
}

void benchprocess::stop(int pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
}
