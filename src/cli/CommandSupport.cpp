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

bool ParseOptions(const Args& args, std::initializer_list<COption> options, Args& operands) {
    bool taking = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!taking || arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            taking = false;
            continue;
        }
        const COption* option = std::ranges::find(options, arg, &COption::name);
        if (option == options.end()) {
            CommandLineError(FormatText("Unknown option '%s'.", arg));
            return false;
        }
        if (option->flag) {
            *option->flag = true;
        } else if (i + 1 == args.size()) {
            CommandLineError(FormatText(FormatText("Option %s needs %s.", arg), option->valueName));
            return false;
        } else if (*option->value) {
            CommandLineError(FormatText("Option %s is given more than once.", arg));
            return false;
        } else {
            *option->value = args[++i];
        }
    }
    return true;
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

std::string ValueRefusal(FieldType type, std::string_view value) {
    std::string why = NumberRefusal(type, value);
    if (!why.empty() && IsNumberText(type, value))
        why += '.';
    return why;
}

void WriteOut(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}
