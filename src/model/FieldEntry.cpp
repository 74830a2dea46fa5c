#include "FieldEntry.h"

#include "Schema.h"

#include <bit>

namespace {

const CFieldDefinition& DefinitionOf(int index) {
    return CSchema::Get().Fields()[static_cast<std::size_t>(index)];
}

} // namespace

const std::string& CFieldEntry::Name() const {
    return DefinitionOf(m_nIndex).m_strName;
}

const CFieldGroup* CFieldEntry::Group() const {
    return DefinitionOf(m_nIndex).m_pGroup;
}

FieldType CFieldEntry::Type() const {
    return DefinitionOf(m_nIndex).m_nType;
}

const std::string& CFieldEntry::Description() const {
    return DefinitionOf(m_nIndex).m_strDescription;
}

void CFieldEntry::Clear() {
    m_bPresent = false;
    m_nValue = 0;
    m_strValue.clear();
}

std::vector<CFieldEntry> NewFieldList() {
    std::vector<CFieldEntry> fields;
    fields.reserve(kSchemaFieldCount);
    for (int i = 0; i < kSchemaFieldCount; ++i)
        fields.emplace_back(i);
    return fields;
}

bool CFieldEntry::SameValueAs(const CFieldEntry& other) const {
    if (m_bPresent != other.m_bPresent)
        return false;
    if (!m_bPresent)
        return true;
    switch (Type()) {
    case FieldType::String:
        return m_strValue == other.m_strValue;
    case FieldType::Float:
        // Bit for bit: -0 is written "-0.000000" and must not pass for 0.
        return std::bit_cast<std::uint32_t>(m_fValue) ==
               std::bit_cast<std::uint32_t>(other.m_fValue);
    case FieldType::Integer:
        break;
    }
    return m_nValue == other.m_nValue;
}

bool CFieldEntry::SameAs(const CFieldEntry& other) const {
    return SameValueAs(other) &&
           (!m_bPresent || Type() == FieldType::String || m_strValue == other.m_strValue);
}
