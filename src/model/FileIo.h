#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

// What a file looked like when it was read or written, to tell later whether another program
// has changed it since.
struct CFileStamp {
    bool m_bExists = false;
    std::uint64_t m_nSize = 0;
    std::int64_t m_nModified = 0; // modification time in nanoseconds
    bool operator==(const CFileStamp&) const = default;
};

// The stamp of the file at path, following symbolic links; m_bExists is false when there is no
// such file or it cannot be examined.
CFileStamp StampOf(const std::string& path);

// Reads the whole regular file at path into out. Fails, leaving out untouched, when the path
// is not a readable regular file (a folder, a device, a FIFO: none of them is waited on), a
// read error happens part-way or the file does not fit in memory. error then says why: the
// system's errno (EISDIR for a folder), or a FileError.
bool ReadWholeFile(const std::string& path, std::string& out, std::error_code& error);

// Replaces the file at path with bytes, or leaves it exactly as it was. The bytes go to a new
// file in the same folder, every write checked, flushed to disk, then renamed over the target.
// A symbolic link keeps pointing where it did (its target is replaced) and an existing file
// keeps its permissions; a new one gets the usual 0666 less the umask. On failure the
// temporary file is removed and error says why (as ReadWholeFile's does). Reports nothing:
// callers choose the message.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::error_code& error);

// The file that WriteFileAtomically(path) replaces: path with the symbolic links of its last part
// followed, even to a target that does not exist yet. Fails on a loop of links (ELOOP) or an
// unreadable link.
bool ResolveSaveTarget(std::string path, std::string& target, std::error_code& error);

// The folder part of path: "." for a bare name, "/" for a name right under the root.
std::string FolderOf(const std::string& path);

// The part of a path after its last slash or backslash; the whole path when it has neither.
std::string FileNameOf(std::string_view path);

// path made absolute from the current folder, so that titles, messages and the settings show the
// whole path; path as it is when that cannot be done.
std::string AbsolutePath(const std::string& path);
