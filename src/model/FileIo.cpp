#include "FileIo.h"

#include "FileError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Closes a descriptor on every path out of a function.
class CFd {
public:
    explicit CFd(int fd) : m_nFd(fd) {}
    ~CFd() {
        if (m_nFd >= 0)
            ::close(m_nFd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_nFd; }
    int Release() { return std::exchange(m_nFd, -1); }

private:
    int m_nFd;
};

// The errno of the call that just failed, as an error code; false, so that a failing step reads
// return Failed(error).
bool Failed(std::error_code& error, int errnoValue = errno) {
    error = SystemError(errnoValue);
    return false;
}

bool WriteAll(int fd, std::string_view bytes, std::error_code& error) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Failed(error);
        }
        // A write that takes nothing, and says nothing, would loop for ever.
        if (n == 0)
            return Failed(error, EIO);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Why a path that is not a regular file cannot be read or replaced: a folder has the system's
// own word, the rest (devices, FIFOs, sockets) the program's.
std::error_code NotRegular(mode_t mode) {
    return S_ISDIR(mode) ? SystemError(EISDIR) : make_error_code(FileError::NotRegularFile);
}

// While alive, a write past the file size limit fails with EFBIG instead of killing the
// process with SIGXFSZ, which would take the user's unsaved work with it.
class CIgnoreFileSizeSignal {
public:
    CIgnoreFileSizeSignal() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        m_bRestore = ::sigaction(SIGXFSZ, &ignore, &m_previous) == 0;
    }
    ~CIgnoreFileSizeSignal() {
        if (m_bRestore)
            ::sigaction(SIGXFSZ, &m_previous, nullptr);
    }
    CIgnoreFileSizeSignal(const CIgnoreFileSizeSignal&) = delete;
    CIgnoreFileSizeSignal& operator=(const CIgnoreFileSizeSignal&) = delete;

private:
    struct sigaction m_previous {};
    bool m_bRestore;
};

mode_t NewFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::string FileNameOf(std::string_view path) {
    auto split = path.find_last_of("/\\");
    return std::string(split == std::string_view::npos ? path : path.substr(split + 1));
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows symbolic links by hand rather than with realpath(), because a link whose target does
// not exist yet must still be written through, and realpath() refuses those.
bool ResolveSaveTarget(std::string path, std::string& resolved, std::error_code& error) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            resolved = path;
            return true;
        }
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) +
                                 1);
        ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return Failed(error);
        // A link that grew since lstat, or one without a target, is not followed anywhere.
        if (static_cast<std::size_t>(n) >= buffer.size() || n == 0)
            return Failed(error, EINVAL);
        std::string target(buffer.data(), static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    return Failed(error, ELOOP);
}

CFileStamp StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {true, static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool ReadWholeFile(const std::string& path, std::string& out, std::error_code& error) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused right after as not regular.
    // Reads of a regular file do not heed it, so it stays (two system calls less a load).
    CFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0)
        return Failed(error);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        return Failed(error);
    if (!S_ISREG(st.st_mode)) {
        error = NotRegular(st.st_mode);
        return false;
    }
    // A file too large for memory fails like an unreadable one; the exception of an allocation
    // must not end the program with the user's unsaved work.
    try {
        // Read straight into the text, as much as the file held when it was looked at; a file
        // whose size is not known ahead (those of /proc say 0) is read to its end.
        const auto expected = static_cast<std::size_t>(st.st_size);
        std::string bytes(expected > 0 ? expected : 4096, '\0');
        std::size_t size = 0;
        bool blocking = false;
        while (expected == 0 || size < expected) {
            if (size == bytes.size())
                bytes.resize(bytes.size() * 2);
            ssize_t n = ::read(fd.Get(), bytes.data() + size, bytes.size() - size);
            if (n < 0 && errno == EAGAIN && !blocking) {
                // A file system that keeps to O_NONBLOCK for regular files: wait for it after all.
                const int flags = ::fcntl(fd.Get(), F_GETFL);
                if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) < 0)
                    return Failed(error);
                blocking = true;
                continue;
            }
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return Failed(error);
            }
            if (n == 0)
                break;
            size += static_cast<std::size_t>(n);
        }
        bytes.resize(size);
        out = std::move(bytes);
        return true;
    } catch (const std::exception&) {
        error = FileError::TooLarge;
        return false;
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::error_code& error) {
    if (path.empty())
        return Failed(error, ENOENT);
    std::string target;
    if (!ResolveSaveTarget(path, target, error))
        return false;

    struct stat existing {};
    bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        error = NotRegular(existing.st_mode); // never replace a folder, device or FIFO with a file
        return false;
    }
    // Renaming over a file needs no write permission on it, only on its folder; a file the
    // user may not write must still refuse the save, as writing it in place would.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return Failed(error);

    auto slash = target.rfind('/');
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    // The temporary name adds 17 bytes to the target's; shorten it so that a target name near
    // the file system's limit of 255 bytes can still be saved.
    base.resize(std::min<std::size_t>(base.size(), 200));
    std::string tempPath = FolderOf(target) + "/." + base + ".tarnwick-XXXXXX";
    CFd fd(::mkstemp(tempPath.data()));
    if (fd.Get() < 0)
        return Failed(error);

    mode_t mode = exists ? (existing.st_mode & 07777) : NewFileMode();
    CIgnoreFileSizeSignal ignoreFileSizeSignal;
    // The replacement keeps the old file's owner where we may set it (root saving someone
    // else's file); elsewhere it belongs to us, as a new file would, and the save goes on.
    if (exists && ::fchown(fd.Get(), existing.st_uid, existing.st_gid) != 0) {
    }
    bool ok = (::fchmod(fd.Get(), mode) == 0 || Failed(error)) &&
              WriteAll(fd.Get(), bytes, error) && (::fsync(fd.Get()) == 0 || Failed(error));
    // A failed close can be the first word of a full disk (on a network file system).
    if (::close(fd.Release()) != 0 && ok)
        ok = Failed(error);
    if (ok && ::rename(tempPath.c_str(), target.c_str()) != 0)
        ok = Failed(error);
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    // Make the rename itself durable; a failure here cannot undo the write, so it is not fatal.
    CFd dir(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
    return true;
}
