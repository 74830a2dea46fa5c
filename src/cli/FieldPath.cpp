#include "FieldPath.h"

#include "AsciiCase.h"
#include "FieldEntry.h"
#include "Message.h"
#include "OtherKeys.h"
#include "Schema.h"

std::string FieldPathOf(int index) {
    const CFieldDefinition& field = CSchema::Get().Fields()[static_cast<std::size_t>(index)];
    return field.m_pGroup->m_strName + '.' + field.m_strName;
}

std::string FieldPathOf(const CFieldEntry& entry) {
    return FieldPathOf(entry.Index());
}

std::string KeyPathOf(const COtherKey& key) {
    return std::string(key.group) + '.' + std::string(key.name);
}

int CKeyName::In(const COtherKeys& keys) const {
    return IsField() ? -1 : keys.Find(group, key);
}

bool ParseKeyName(std::string_view path, CKeyName& name) {
    name = {};
    name.field = CSchema::Get().FindFieldPath(path);
    if (name.IsField())
        return true;
    const auto dot = path.find('.');
    if (dot == std::string_view::npos || !IsKeyName(path.substr(0, dot)) ||
        !IsKeyName(path.substr(dot + 1)))
        return false;
    name.group = path.substr(0, dot);
    name.key = path.substr(dot + 1);
    return true;
}

std::string FieldHint(std::string_view path, const COtherKeys* keys) {
    const auto dot = path.find('.');
    const std::string_view group = dot == std::string_view::npos ? "" : path.substr(0, dot);
    const std::string_view key = dot == std::string_view::npos ? path : path.substr(dot + 1);
    std::string hint;
    auto offer = [&](std::string_view where, std::string_view name) {
        if (!EqualIgnoringAsciiCase(name, key) || EqualIgnoringAsciiCase(where, group))
            return;
        hint += hint.empty() ? " (did you mean " : " or ";
        hint += std::string(where) + '.' + std::string(name);
    };
    for (const CFieldDefinition& field : CSchema::Get().Fields())
        offer(field.m_pGroup->m_strName, field.m_strName);
    if (keys)
        keys->ForEach([&](std::size_t, const COtherKey& other) { offer(other.group, other.name); });
    return hint.empty() ? hint : hint + "?)";
}

void ShowUnknownField(std::string_view path, const COtherKeys* keys) {
    const std::string hint = FieldHint(path, keys);
    ShowMessage(FormatText("Unknown field '%s'", path) + (hint.empty() ? "." : hint));
}
