#include "game/audio/sdl/ambient_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace {

std::string directory_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

void reap(pid_t pid) {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// Waits up to `ms` for the process to end, without reaping it.
bool ends_within(pid_t pid, int ms) {
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0) return false;  // an old kernel: the caller makes sure
    pollfd p{pidfd, POLLIN, 0};
    int r;
    while ((r = poll(&p, 1, ms)) < 0 && errno == EINTR) {
    }
    close(pidfd);
    return r == 1;
}

}  // namespace

std::string locate_companion(const std::string& self, const std::string& name) {
    const std::string dir = directory_of(self);
    const std::string candidates[] = {dir + "/" + name, dir + "/../lib/plinkfield/" + name};
    for (const std::string& c : candidates)
        if (access(c.c_str(), X_OK) == 0) return c;
    return candidates[0];
}

bool spawn_companion(const std::string& program, CompanionProcess& child) {
    int fds[2];
    // Close-on-exec on both ends: the companion gets the reading end as its
    // standard input only, and no other companion ever holds our end.
    if (pipe2(fds, O_CLOEXEC) != 0) return false;

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, fds[0], STDIN_FILENO);
    // Nothing else of the game's: not its display connection, not its files.
    posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);

    // The game ignores SIGPIPE and SDL catches SIGINT and SIGTERM; the
    // companion starts with every one of them at its default, unblocked.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults, none;
    sigemptyset(&defaults);
    for (int s : {SIGTERM, SIGINT, SIGPIPE, SIGHUP, SIGQUIT, SIGCHLD}) sigaddset(&defaults, s);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t pid = -1;
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const int failed = posix_spawn(&pid, program.c_str(), &files, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&files);
    close(fds[0]);
    if (failed) {
        close(fds[1]);
        errno = failed;
        return false;
    }
    child.pid = pid;
    child.pipe = fds[1];
    return true;
}

void stop_companion(CompanionProcess& child) {
    if (child.pipe >= 0) close(child.pipe);
    child.pipe = -1;
    if (child.pid <= 0) return;
    kill(child.pid, SIGTERM);
    if (!ends_within(child.pid, 500)) kill(child.pid, SIGKILL);
    reap(child.pid);
    child.pid = -1;
}

bool tell_companion(const CompanionProcess& child, const std::string& line) {
    if (child.pipe < 0) return false;
    const std::string text = line + "\n";
    // A short line into an empty pipe never blocks; a gone reader gives
    // EPIPE (the game ignores SIGPIPE).
    return write(child.pipe, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

bool companion_ended(CompanionProcess& child) {
    if (child.pid <= 0) return true;
    if (waitpid(child.pid, nullptr, WNOHANG) != child.pid) return false;
    child.pid = -1;
    if (child.pipe >= 0) close(child.pipe);
    child.pipe = -1;
    return true;
}
