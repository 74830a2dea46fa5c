#include "FieldMatcher.h"

#include "ByteText.h"
#include "FieldEntry.h"
#include "Schema.h"
#include "ValueText.h"

CFieldMatcher::CFieldMatcher() {
    for (const CFieldDefinition& field : CSchema::Get().Fields()) {
        m_names.push_back(TextOfBytes(field.m_strName));
        m_descriptions.push_back(TextOfBytes(field.m_strDescription));
    }
}

bool CFieldMatcher::Matches(const CFieldEntry& field, const QString& text) const {
    const auto index = static_cast<std::size_t>(field.Index());
    if (m_names[index].contains(text, Qt::CaseInsensitive) ||
        m_descriptions[index].contains(text, Qt::CaseInsensitive))
        return true;
    return field.m_bPresent && TextOfBytes(FormatValue(field)).contains(text, Qt::CaseInsensitive);
}

bool CFieldMatcher::MatchesText(std::string_view name, std::string_view value,
                                const QString& text) {
    return TextOfBytes(name).contains(text, Qt::CaseInsensitive) ||
           TextOfBytes(value).contains(text, Qt::CaseInsensitive);
}
