#include "CliRunner.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Opened when the tests start, so that a child that has dropped its privileges can still run
// the program when the build folder is closed to it (a checkout in a private temp folder).
const int kCliFd = open(TARNWICK_CLI, O_RDONLY | O_CLOEXEC);

} // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& cwd,
                 const std::string& stdoutPath) {
    return RunProgram(TARNWICK_CLI, args, cwd, stdoutPath);
}

CliResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                     const std::string& cwd, const std::string& stdoutPath) {
    // Files without a name in any folder: nothing to clean up, nothing a fault can stop.
    const int out = memfd_create("out", MFD_CLOEXEC), err = memfd_create("err", MFD_CLOEXEC);
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        int stdoutFd = stdoutPath.empty() ? out : open(stdoutPath.c_str(), O_WRONLY);
        int in = open("/dev/null", O_RDONLY);
        if (in < 0 || stdoutFd < 0 || dup2(in, 0) < 0 || dup2(stdoutFd, 1) < 0 ||
            dup2(err, 2) < 0 || (!cwd.empty() && chdir(cwd.c_str()) != 0))
            _exit(127);
        if (kCliFd >= 0 && path == TARNWICK_CLI)
            fexecve(kCliFd, argv.data(), environ);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    const bool exited = pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status);
    auto text = [](int fd) {
        std::string bytes;
        char buffer[4096];
        for (ssize_t n; (n = pread(fd, buffer, sizeof buffer, bytes.size())) > 0;)
            bytes.append(buffer, static_cast<std::size_t>(n));
        close(fd);
        return bytes;
    };
    return {exited ? WEXITSTATUS(status) : -1, text(out), text(err)};
}
