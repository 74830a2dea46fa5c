#include "JsonText.h"

#include "FieldGroup.h"
#include "Schema.h"
#include "TankFile.h"
#include "Utf8Text.h"
#include "ValueText.h"

#include <nlohmann/json.hpp>

std::string JsonString(std::string_view bytes) {
    return nlohmann::json(Utf8OfBytes(bytes)).dump();
}

std::string JsonValue(const CFieldEntry& field) {
    // nlohmann would write a Float by its shortest round trip as a double (0.1f as
    // 0.10000000149011612); the editor's six decimals are what the file says, and are a JSON
    // number too. So numbers are spelled here and only strings go through the library.
    return field.Type() == FieldType::String ? JsonString(field.m_strValue) : FormatValue(field);
}

std::string JsonOfFile(std::string_view path, const CTankFile& file) {
    std::string line = "{\"file\": " + JsonString(path) + ", \"fields\": {";
    const char* groupSeparator = "";
    for (const CFieldGroup& group : CSchema::Get().Groups()) {
        const char* fieldSeparator = "";
        for (int i = group.m_nFirstField; i < group.m_nEndField; ++i) {
            const CFieldEntry& field = file.m_fields[static_cast<std::size_t>(i)];
            if (!field.m_bPresent)
                continue;
            if (!*fieldSeparator) {
                line += groupSeparator;
                line += JsonString(group.m_strName) + ": {";
                groupSeparator = ", ";
            }
            line += fieldSeparator;
            line += JsonString(field.Name()) + ": " + JsonValue(field);
            fieldSeparator = ", ";
        }
        if (*fieldSeparator)
            line += '}';
    }
    return line + "}}";
}
