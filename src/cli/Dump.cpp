#include "Commands.h"

#include "FieldPath.h"
#include "TankFile.h"
#include "ValueText.h"

int RunDump(const Args& args) {
    if (!ExpectArgs(args, 1, "dump FILE"))
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

int RunGet(const Args& args) {
    if (!ExpectArgs(args, 2, "get FILE Group.field"))
        return kExitFailure;
    CTankFile file;
    CFieldEntry* field = ResolveFieldPath(file, args[1]);
    if (!field || !LoadTankFile(file, args[0]))
        return kExitFailure;
    // An absent field is an answer, not an error: nothing is printed, as with an empty result.
    if (!field->m_bPresent)
        return kExitNo;
    WriteOut(FormatValue(*field) + '\n');
    return kExitOk;
}
