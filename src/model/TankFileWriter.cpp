#include "TankFileWriter.h"

#include "TankFile.h"
#include "ValueText.h"

std::string WriteTankText(const CTankFile& file) {
    const char* eol = file.m_bCrLf ? "\r\n" : "\n";
    std::string text;
    for (const auto& group : file.m_groups) {
        text += '[';
        text += group->m_strName;
        text += ']';
        text += eol;
        text += eol;
        for (const auto& field : file.m_fields) {
            if (field->m_pGroup != group.get() || !field->m_bPresent)
                continue;
            switch (field->m_nType) {
            case FieldType::String:
                text += field->m_strName + " = \"" + field->m_strValue + '"';
                break;
            case FieldType::Float:
            case FieldType::Integer:
                text += field->m_strName + " = " + FormatValue(*field);
                break;
            default:
                continue; // a type the format does not know writes nothing
            }
            text += eol;
        }
        text += eol;
    }
    return text;
}
