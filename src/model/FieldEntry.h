#pragma once

#include "FieldType.h"

#include <cstdint>
#include <string>

class CFieldGroup;

// One field of one group. Only the value slot of the field's type is meaningful, and only while
// the field is present.
class CFieldEntry {
public:
    CFieldEntry(std::string name, const CFieldGroup* group, FieldType type, std::string description)
        : m_strName(std::move(name)), m_pGroup(group), m_nType(type),
          m_strDescription(std::move(description)) {}

    std::string m_strName;          // the key before '='; case matters
    const CFieldGroup* m_pGroup;    // the group of the same tank file; not owned
    FieldType m_nType;
    int m_bPresent = 0;             // 1 when the file sets this field
    std::string m_strValue;         // String value, bytes as read or typed
    float m_fValue = 0.0f;          // Float value
    std::int32_t m_nValue = 0;      // Integer value
    std::string m_strDescription;   // shown in the field panel; may be empty
};
