#pragma once

#include <QString>

#include <vector>

class CFieldEntry;

// The rule of the find boxes: a field matches a text when its name, its description or, when it
// is set, its value contains the text, ignoring case.
class CFieldMatcher {
public:
    CFieldMatcher();

    bool Matches(const CFieldEntry& field, const QString& text) const;

private:
    // The schema's names and descriptions as text, made once: a filter runs at every keystroke.
    std::vector<QString> m_names;
    std::vector<QString> m_descriptions;
};
