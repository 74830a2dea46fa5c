#include "FieldPath.h"

#include "FieldEntry.h"
#include "Message.h"
#include "Schema.h"

std::string FieldPathOf(int index) {
    const CFieldDefinition& field = CSchema::Get().Fields()[static_cast<std::size_t>(index)];
    return field.m_pGroup->m_strName + '.' + field.m_strName;
}

std::string FieldPathOf(const CFieldEntry& entry) {
    return FieldPathOf(entry.Index());
}

int ResolveFieldPath(std::string_view path) {
    const int index = CSchema::Get().FindFieldPath(path);
    if (index < 0)
        ShowMessage(FormatText("Unknown field '%s'.", path));
    return index;
}
