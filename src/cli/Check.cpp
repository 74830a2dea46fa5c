#include "Commands.h"

#include "TankFile.h"

int RunCheck(const Args& args) {
    if (args.empty())
        return CommandLineError("Usage: tarnwick-cli check FILE...");
    bool listed = false, failed = false;
    for (const std::string& path : args) {
        CTankFile file;
        if (!LoadTankFile(file, path)) {
            failed = true;
            continue;
        }
        std::string text;
        for (const CUnusedLine& line : file.ReportedLines())
            text += path + ':' + std::to_string(line.number) + ": " + line.reason + ": " +
                    line.text + '\n';
        listed = listed || !text.empty();
        WriteOut(text);
    }
    return failed ? kExitFailure : listed ? kExitNo : kExitOk;
}
