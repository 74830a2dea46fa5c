#include "Commands.h"

#include "FileError.h"
#include "FolderLock.h"
#include "Message.h"
#include "ValueText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

int CommandLineError(const std::string& text) {
    ShowMessage(text + "\nTry 'tarnwick-cli --help'.");
    return kExitFailure;
}

bool ExpectArgs(const Args& args, std::size_t count, std::string_view usage) {
    if (args.size() == count)
        return true;
    CommandLineError(FormatText("Usage: tarnwick-cli %s", usage));
    return false;
}

bool LoadTankFile(CTankFile& file, const std::string& path, CTankFile::Lines lines) {
    if (path.empty()) {
        // The window passes over an empty path in silence; here the user typed it.
        ShowMessage(FormatText("Error opening tank file '%s'.", path), SystemError(ENOENT));
        return false;
    }
    return file.Load(path, lines);
}

bool LockFolders(CFolderLock& lock, const std::vector<std::string>& paths) {
    return lock.Lock(paths, DefaultLockWait());
}

void WriteOut(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}
