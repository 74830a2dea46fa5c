#include "FieldPath.h"

#include "Message.h"
#include "TankFile.h"

#include <algorithm>

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, {}, lower, lower);
}

const CFieldGroup* FindGroupByName(const CTankFile& file, std::string_view name, bool ignoreCase) {
    for (const auto& group : file.m_groups) {
        if (ignoreCase ? EqualIgnoringCase(group->m_strName, name) : group->m_strName == name)
            return group.get();
    }
    return nullptr;
}

} // namespace

std::string FieldPathOf(const CFieldEntry& entry) {
    return entry.m_pGroup->m_strName + '.' + entry.m_strName;
}

CFieldEntry* ResolveFieldPath(const CTankFile& file, std::string_view path) {
    auto dot = path.find('.');
    std::string_view groupName = path.substr(0, dot);
    std::string_view key =
        dot == std::string_view::npos ? std::string_view{} : path.substr(dot + 1);
    if (CFieldEntry* field = file.FindField(key, FindGroupByName(file, groupName, false)))
        return field;

    std::string text = FormatText("Unknown field '%s'", path);
    if (const CFieldEntry* near =
            FindFieldIgnoringCase(file, key, FindGroupByName(file, groupName, true)))
        text += " (did you mean " + FieldPathOf(*near) + "?)";
    ShowMessage(text + '.');
    return nullptr;
}

const CFieldEntry* FindFieldIgnoringCase(const CTankFile& file, std::string_view key,
                                         const CFieldGroup* group) {
    for (const auto& field : file.m_fields) {
        if (field->m_pGroup == group && EqualIgnoringCase(field->m_strName, key))
            return field.get();
    }
    return nullptr;
}
