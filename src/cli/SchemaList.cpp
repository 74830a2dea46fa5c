#include "Commands.h"

#include "FieldGroup.h"
#include "TankFile.h"

int RunSchema(const Args& args) {
    if (!ExpectArgs(args, 0, "schema"))
        return kExitFailure;
    CTankFile file;
    std::string text;
    for (std::size_t i = 0; i < file.m_fields.size(); ++i) {
        const CFieldEntry& field = file.m_fields[i];
        text += std::to_string(i) + '\t' + field.Group()->m_strName + '\t' + field.Name() + '\t' +
                TypeName(field.Type()) + '\t' + field.Description() + '\n';
    }
    WriteOut(text);
    return kExitOk;
}
