#pragma once

#include <chrono>
#include <string>
#include <vector>

// Keeps two runs that edit the same file at once from losing one's change: each holds the lock
// of the folder that the file's save writes in, from before it reads the file until after the
// new one is in place, so the later run reads what the earlier one wrote.
//
// Why flock() on the folder: a save renames a new file over the old one, so a lock on the file
// itself would guard only the old inode, and a run that waited on it would then hold a lock on a
// file no longer there. A lock file beside the file (as git does it) needs write permission on
// the folder just to look, and one left by a killed run stays until someone judges it stale.
// The folder outlives every save, and the kernel drops a process's flock() locks however it
// ends, so a killed run never leaves a lock behind, and nothing is ever created beside a mod's
// files. The price is that runs on different files of one folder take turns too; they last
// milliseconds.
class CFolderLock {
public:
    CFolderLock() = default;
    ~CFolderLock() { Unlock(); }
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;

    // Locks the folder that a save of each of paths writes in (links followed as
    // WriteFileAtomically follows them), every folder once and all in one order, so that runs
    // over overlapping sets of folders cannot wait on each other forever. Waits at most wait in
    // all. When a lock cannot be had, shows a message naming the folder, holds nothing and
    // returns false. A path whose folder cannot be opened is passed over: reading or saving that
    // file fails on its own and says so.
    bool Lock(const std::vector<std::string>& paths, std::chrono::milliseconds wait);

    // Releases every lock held.
    void Unlock();

private:
    std::vector<int> m_fds;
};

// How long a save waits for another run to finish with a folder it writes in: 5 seconds, or the
// seconds that the environment variable TARNWICK_LOCK_WAIT gives (0 to 3600).
std::chrono::milliseconds DefaultLockWait();
