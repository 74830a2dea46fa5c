#include "Commands.h"

#include "FolderLock.h"
#include "Message.h"
#include "TankFile.h"

#include <optional>

// Open then Save, as the editor does it: the file comes out in the program's layout.
int RunNormalize(const Args& args) {
    Args files;
    std::optional<std::string> output;
    if (!ParseOptions(args, {{"-o", nullptr, &output, "a file name"}}, files))
        return kExitFailure;
    if (files.empty())
        return CommandLineError("Usage: tarnwick-cli normalize [-o OUT] FILE...");
    if (output && files.size() != 1)
        return CommandLineError("Option -o takes a single FILE.");

    // One bad file does not stop the batch; it only decides the exit status.
    int status = kExitOk;
    for (const std::string& path : files) {
        CTankFile file;
        // Rewriting in place is a read-modify-write like set's, with the same lock.
        CFolderLock lock;
        bool saved = (output || LockFolders(lock, {path})) && LoadTankFile(file, path) &&
                     (output ? file.SaveAs(*output) : file.Save());
        if (!saved)
            status = kExitFailure;
    }
    return status;
}
