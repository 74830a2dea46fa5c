#include "FolderLock.h"

#include "FileIo.h"
#include "Message.h"
#include "ValueText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace {

struct CFolder {
    dev_t device;
    ino_t inode;
    int fd;
    std::string path;
};

// The folder as the user would look for it.
std::string ShownPath(const std::string& folder) {
    char resolved[PATH_MAX];
    return ::realpath(folder.c_str(), resolved) ? std::string(resolved) : folder;
}

} // namespace

bool CFolderLock::Lock(const std::vector<std::string>& paths, std::chrono::milliseconds wait) {
    Unlock();
    std::vector<CFolder> folders;
    auto closeAll = [&folders] {
        for (const CFolder& folder : folders)
            ::close(folder.fd);
    };
    for (const std::string& path : paths) {
        std::string target;
        std::error_code unresolved; // the write itself will say why
        if (!ResolveSaveTarget(path, target, unresolved))
            continue;
        std::string folder = FolderOf(target);
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            if (fd >= 0)
                ::close(fd);
            continue;
        }
        bool known = std::ranges::any_of(folders, [&](const CFolder& f) {
            return f.device == st.st_dev && f.inode == st.st_ino;
        });
        if (known)
            ::close(fd);
        else
            folders.push_back({st.st_dev, st.st_ino, fd, folder});
    }
    // The folder's identity, not its spelling, orders the locks: every run sorts alike.
    std::ranges::sort(folders, {}, [](const CFolder& f) { return std::tie(f.device, f.inode); });

    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        // flock() cannot wait with a time limit, so a refused try is retried a little later, at
        // most every 20 ms: a waiting run starts soon after the other ends.
        auto pause = std::chrono::milliseconds(1);
        for (;;) {
            if (::flock(folders[i].fd, LOCK_EX | LOCK_NB) == 0)
                break;
            const int error = errno;
            if (error == EINTR)
                continue;
            std::string text;
            if (error != EWOULDBLOCK) {
                text = "Cannot lock folder '%s' for writing: " + std::string(std::strerror(error)) +
                       ".";
            } else if (std::chrono::steady_clock::now() >= deadline) {
                text = "Folder '%s' stays locked by another run writing there; try again when it "
                       "has finished.";
            } else {
                std::this_thread::sleep_for(pause);
                pause = std::min(pause * 2, std::chrono::milliseconds(20));
                continue;
            }
            ShowMessage(FormatText(text, ShownPath(folders[i].path)));
            closeAll(); // closing releases the locks already taken
            return false;
        }
    }
    for (const CFolder& folder : folders)
        m_fds.push_back(folder.fd);
    return true;
}

void CFolderLock::Unlock() {
    for (int fd : m_fds)
        ::close(fd);
    m_fds.clear();
}

std::chrono::milliseconds DefaultLockWait() {
    const char* text = std::getenv("TARNWICK_LOCK_WAIT");
    double seconds = text && *text ? ParseTypedFloat(text) : 5.0;
    return std::chrono::milliseconds(
        static_cast<long long>(std::clamp(seconds, 0.0, 3600.0) * 1000));
}
