#include "CliRunner.h"

#include "FileIo.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Opened when the tests start, so that a child that has dropped its privileges can still run
// the program when the build folder is closed to it (a checkout in a private temp folder).
const int kCliFd = open(TARNWICK_CLI, O_RDONLY | O_CLOEXEC);

struct TempFile {
    TempFile() : fd(mkstemp(name)) {}
    ~TempFile() {
        if (fd >= 0)
            close(fd);
        unlink(name);
    }
    std::string Read() const {
        std::string bytes;
        ReadWholeFile(name, bytes);
        return bytes;
    }
    char name[32] = "/tmp/tarnwick-cli-test-XXXXXX";
    int fd;
};

} // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& cwd,
                 const std::string& stdoutPath) {
    TempFile out, err;
    std::vector<char*> argv{const_cast<char*>(TARNWICK_CLI)};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        int stdoutFd = stdoutPath.empty() ? out.fd : open(stdoutPath.c_str(), O_WRONLY);
        int in = open("/dev/null", O_RDONLY);
        if (in < 0 || stdoutFd < 0 || dup2(in, 0) < 0 || dup2(stdoutFd, 1) < 0 ||
            dup2(err.fd, 2) < 0 || (!cwd.empty() && chdir(cwd.c_str()) != 0))
            _exit(127);
        if (kCliFd >= 0)
            fexecve(kCliFd, argv.data(), environ);
        execv(TARNWICK_CLI, argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return {-1, {}, {}};
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out.Read(), err.Read()};
}
