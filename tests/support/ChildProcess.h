#pragma once

// Runs test code in a forked child, so that a fault (a file size limit, another user, a kill)
// touches only the child, and reports how the child ended.

#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarnwick_test {

// The child's exit status, or 128 + the signal that ended it.
inline int ExitStatusOf(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

// Runs body in a child and returns its result as the child's exit status.
inline int RunInChild(const std::function<int()>& body) {
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    return ExitStatusOf(pid);
}

// In a child running as root: become the unprivileged user nobody, so that file permissions
// apply. Returns false when that is not possible.
inline bool BecomeNobody() {
    if (::geteuid() != 0)
        return true;
    return ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

} // namespace tarnwick_test
