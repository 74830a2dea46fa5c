#pragma once

// Runs test code in a forked child, so that a fault (a file size limit, another user, a kill)
// touches only the child, and reports how the child ended.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarnwick_test {

// The child's exit status, or 128 + the signal that ended it.
inline int ExitStatusOf(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs body in a child and returns its result as the child's exit status.
inline int RunInChild(const std::function<int()>& body) {
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    return ExitStatusOf(pid);
}

// What a child returns when this machine cannot stage its case.
constexpr int kSkipped = 77;

// Runs body in a child as RunInChild does: a kSkipped is reported as such, anything but 0 fails
// the test.
inline void ExpectChildPasses(const std::function<int()>& body, const std::string& what) {
    const int status = RunInChild(body);
    if (status == kSkipped)
        std::printf("[ SKIPPED  ] %s: cannot be staged here\n", what.c_str());
    else
        EXPECT_EQ(status, 0) << what;
}

// In a child running as root: become the unprivileged user nobody, so that file permissions
// apply. Returns false when that is not possible.
inline bool BecomeNobody() {
    return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
}

} // namespace tarnwick_test
