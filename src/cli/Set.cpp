#include "Commands.h"

#include "FieldPath.h"
#include "FolderLock.h"
#include "Message.h"
#include "OtherKeys.h"
#include "Schema.h"
#include "TankFile.h"
#include "TextEncoding.h"
#include "ValueText.h"

namespace {

struct Assignment {
    CKeyName name; // a field, or an other key of the file
    std::string path;
    std::string value;
};

} // namespace

int RunSet(const Args& given) {
    Args args = given;
    SaveStyle style = SaveStyle::KeepFile;
    if (!args.empty() && args[0] == "--layout") {
        style = SaveStyle::Layout;
        args.erase(args.begin());
    } else if (!args.empty() && args[0] == "--") {
        args.erase(args.begin());
    }
    if (args.size() < 2)
        return CommandLineError("Usage: tarnwick-cli set [--layout] FILE Group.field=VALUE...");

    // Every assignment is checked before the file is written, so a refused command changes
    // nothing at all; what the file itself holds (its other keys, its encoding) is checked once
    // it is read.
    std::vector<Assignment> assignments;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto equals = arg.find('=');
        if (equals == std::string::npos)
            return CommandLineError(FormatText("Expected Group.field=VALUE, got '%s'.", arg));
        Assignment assignment{{}, arg.substr(0, equals), arg.substr(equals + 1)};
        if (!ParseKeyName(assignment.path, assignment.name)) {
            ShowUnknownField(assignment.path);
            return kExitFailure;
        }
        const std::string& value = assignment.value;
        const int field = assignment.name.field;
        if (field < 0) {
            if (const std::string why = RawValueRefusal(value); !why.empty()) {
                ShowMessage("Cannot set " + assignment.path + ": a raw value " + why + ".");
                return kExitFailure;
            }
            assignments.push_back(std::move(assignment));
            continue;
        }
        const FieldType type = CSchema::Get().Fields()[static_cast<std::size_t>(field)].m_nType;
        if (char c = FindUnstorableChar(value); c && type == FieldType::String) {
            ShowMessage("Cannot set " + FieldPathOf(field) + ": a String value " +
                        UnstorableCharReason(c) + ".");
            return kExitFailure;
        }
        // Unlike the value box, where a number is typed a key at a time, a script's value is
        // all there is: text that is no number is a mistake, not a 0, and a number beyond the
        // field's range is not to be clamped in silence.
        if (const std::string why = ValueRefusal(type, value); !why.empty()) {
            ShowMessage(args[0] + ": " + FieldPathOf(field) + ": " + why);
            return kExitFailure;
        }
        assignments.push_back(std::move(assignment));
    }

    // Held from the read to the write, so that a run setting other fields at the same time
    // cannot save a copy read before this one's change.
    CFolderLock lock;
    CTankFile file;
    if (!LockFolders(lock, {args[0]}) || !LoadTankFile(file, args[0]))
        return kExitFailure;
    for (Assignment& assignment : assignments) {
        // Only keys the file has: adding keys the editor does not know is not its business.
        if (!assignment.name.IsField() && assignment.name.In(file.m_otherKeys) < 0) {
            ShowUnknownField(assignment.path, &file.m_otherKeys);
            return kExitFailure;
        }
        std::string bytes;
        char32_t refused = 0;
        if (!EncodeUserText(assignment.value, file.m_nEncoding, bytes, refused)) {
            const std::string path =
                assignment.name.IsField() ? FieldPathOf(assignment.name.field) : assignment.path;
            ShowMessage(args[0] + ": " + path + ": '" + assignment.value +
                        "': " + CannotHoldReason(file.m_nEncoding, refused));
            return kExitFailure;
        }
        assignment.value = std::move(bytes);
    }
    for (const Assignment& assignment : assignments) {
        if (assignment.name.IsField()) {
            ApplyTypedValue(file.m_fields[static_cast<std::size_t>(assignment.name.field)],
                            assignment.value);
        } else {
            const std::string_view raw = TrimmedRawValue(assignment.value);
            file.m_otherKeys.SetValue(
                static_cast<std::size_t>(assignment.name.In(file.m_otherKeys)), raw, !raw.empty());
        }
    }
    file.m_bModified = true;
    return file.Save(style) ? kExitOk : kExitFailure;
}
