#include "Commands.h"

#include "FieldPath.h"
#include "JsonText.h"
#include "OtherKeys.h"
#include "TankFile.h"
#include "ValueText.h"

namespace {

// Takes a leading --json (or -- before a FILE that starts with a dash) off args.
bool TakeJsonOption(Args& args) {
    bool json = !args.empty() && args[0] == "--json";
    if (json)
        args.erase(args.begin());
    if (!args.empty() && args[0] == "--")
        args.erase(args.begin());
    return json;
}

int DumpJson(const Args& paths) {
    // One bad file does not stop the batch; it only decides the exit status.
    int status = kExitOk;
    for (const std::string& path : paths) {
        CTankFile file;
        if (LoadTankFile(file, path, CTankFile::Lines::Drop))
            WriteOut(JsonOfFile(path, file) + '\n');
        else
            status = kExitFailure;
    }
    return status;
}

} // namespace

int RunDump(const Args& given) {
    Args args = given;
    if (TakeJsonOption(args)) {
        if (args.empty())
            return CommandLineError("Usage: tarnwick-cli dump --json FILE...");
        return DumpJson(args);
    }
    if (!ExpectArgs(args, 1, "dump [--json] FILE"))
        return kExitFailure;
    CTankFile file;
    if (!LoadTankFile(file, args[0]))
        return kExitFailure;
    std::string text;
    for (const CFieldEntry& field : file.m_fields) {
        // The value as its file line shows it, so a String keeps its quotes here.
        if (field.m_bPresent)
            text += FieldLine(FieldPathOf(field), field) + '\n';
    }
    WriteOut(text);
    return kExitOk;
}

int RunGet(const Args& given) {
    Args args = given;
    const bool json = TakeJsonOption(args);
    if (!ExpectArgs(args, 2, "get [--json] FILE Group.field"))
        return kExitFailure;
    CKeyName name;
    const bool named = ParseKeyName(args[1], name);
    // A field is known without the file; an other key only from it.
    if (!named) {
        ShowUnknownField(args[1]);
        return kExitFailure;
    }
    CTankFile file;
    if (!LoadTankFile(file, args[0], CTankFile::Lines::Drop))
        return kExitFailure;
    if (name.IsField()) {
        const CFieldEntry& field = file.m_fields[static_cast<std::size_t>(name.field)];
        // An absent field is an answer, not an error: nothing is printed, as with an empty
        // result.
        if (!field.m_bPresent)
            return kExitNo;
        WriteOut((json ? JsonValue(field) : FormatValue(field)) + '\n');
        return kExitOk;
    }
    if (const int other = name.In(file.m_otherKeys); other >= 0) {
        const std::string_view raw = file.m_otherKeys.At(static_cast<std::size_t>(other)).value;
        WriteOut((json ? JsonString(raw) : std::string(raw)) + '\n');
        return kExitOk;
    }
    // A name of a field or key of another group is a slip; any other name of the form is a key
    // this file does not set.
    if (!FieldHint(args[1], &file.m_otherKeys).empty()) {
        ShowUnknownField(args[1], &file.m_otherKeys);
        return kExitFailure;
    }
    return kExitNo;
}
