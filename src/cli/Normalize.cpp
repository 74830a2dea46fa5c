#include "Commands.h"

#include "FolderLock.h"
#include "Message.h"
#include "TankFile.h"

#include <optional>

// Open then Save, as the editor does it: the file comes out in the program's layout.
int RunNormalize(const Args& args) {
    std::vector<std::string> files;
    std::optional<std::string> output;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "-o") {
            if (i + 1 == args.size())
                return CommandLineError("Option -o needs a file name.");
            if (output)
                return CommandLineError("Option -o is given more than once.");
            output = args[++i];
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return CommandLineError(FormatText("Unknown option '%s'.", arg));
        } else {
            files.push_back(arg);
        }
    }
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
