#include "FieldPath.h"

#include "AsciiCase.h"
#include "FieldGroup.h"
#include "Message.h"
#include "TankFile.h"

std::string FieldPathOf(const CFieldEntry& entry) {
    return entry.Group()->m_strName + '.' + entry.Name();
}

CFieldEntry* FindFieldPath(CTankFile& file, std::string_view path) {
    auto dot = path.find('.');
    if (dot != std::string_view::npos) {
        for (const CFieldGroup& group : file.m_groups) {
            if (!EqualIgnoringAsciiCase(group.m_strName, path.substr(0, dot)))
                continue;
            if (CFieldEntry* field = file.FindField(path.substr(dot + 1), &group))
                return field;
        }
    }
    return nullptr;
}

CFieldEntry* ResolveFieldPath(CTankFile& file, std::string_view path) {
    CFieldEntry* field = FindFieldPath(file, path);
    if (!field)
        ShowMessage(FormatText("Unknown field '%s'.", path));
    return field;
}
