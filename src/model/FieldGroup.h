#pragma once

#include <string>

// One bracketed section of a tank file, such as [GameObject].
class CFieldGroup {
public:
    CFieldGroup(std::string name, std::string description)
        : m_strName(std::move(name)), m_strDescription(std::move(description)) {}

    std::string m_strName;        // as written in the header, without brackets
    std::string m_strDescription; // shown in the field panel; may be empty
};
