#pragma once

#include <QString>

#include <string_view>

#include <vector>

class CFieldEntry;

// The rule of the find boxes: a field (or a key the schema does not know) matches a text when its
// name, its description or, when it is set, its value contains the text, ignoring case.
class CFieldMatcher {
public:
    CFieldMatcher();

    bool Matches(const CFieldEntry& field, const QString& text) const;
    // The same rule for a name and value of bytes (a key the schema does not know, which has
    // no description).
    static bool MatchesText(std::string_view name, std::string_view value, const QString& text);

private:
    // The schema's names and descriptions as text, made once: a filter runs at every keystroke.
    std::vector<QString> m_names;
    std::vector<QString> m_descriptions;
};
