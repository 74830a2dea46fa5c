#pragma once

#include <string>

// One bracketed section of a tank file, such as [GameObject]. Groups belong to the schema: every
// tank file shares the same nine, so a group is compared by identity.
class CFieldGroup {
public:
    std::string m_strName;        // as the editor writes it in a header, without brackets
    std::string m_strDescription; // shown in the field panel; may be empty
    int m_nIndex = 0;             // position in the schema
    int m_nFirstField = 0;        // the group's fields are [m_nFirstField, m_nEndField)
    int m_nEndField = 0;
};
