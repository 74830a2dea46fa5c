#include "Commands.h"

#include "TankFile.h"

namespace {

const char* TypeName(FieldType type) {
    switch (type) {
    case FieldType::String:
        return "String";
    case FieldType::Float:
        return "Float";
    case FieldType::Integer:
        return "Integer";
    }
    return "";
}

} // namespace

int RunSchema(const Args& args) {
    if (!ExpectArgs(args, 0, "schema"))
        return kExitFailure;
    CTankFile file;
    std::string text;
    for (std::size_t i = 0; i < file.m_fields.size(); ++i) {
        const CFieldEntry& field = *file.m_fields[i];
        text += std::to_string(i) + '\t' + field.m_pGroup->m_strName + '\t' + field.m_strName +
                '\t' + TypeName(field.m_nType) + '\t' + field.m_strDescription + '\n';
    }
    WriteOut(text);
    return kExitOk;
}
