#include "TankFileReader.h"

#include "FileLines.h"
#include "Schema.h"
#include "TankFile.h"
#include "TextLines.h"
#include "ValueText.h"

namespace {

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// Stores the value of valueText in field. Returns false when the text holds no usable value;
// the slot is then emptied and the presence flag left as it was.
bool ApplyFileValue(CFieldEntry& field, FieldType type, std::string_view valueText) {
    switch (type) {
    case FieldType::String: {
        auto open = valueText.find('"');
        if (open == std::string_view::npos) {
            field.m_strValue.clear();
            return false;
        }
        std::string_view rest = valueText.substr(open + 1);
        field.m_strValue = rest.substr(0, rest.find('"'));
        break;
    }
    case FieldType::Float:
        if (!ReadFloatValue(valueText, field.m_fValue)) {
            field.m_fValue = 0.0f;
            return false;
        }
        break;
    case FieldType::Integer:
        if (!ReadIntegerValue(valueText, field.m_nValue)) {
            field.m_nValue = 0;
            return false;
        }
        break;
    }
    field.m_bPresent = true;
    return true;
}

} // namespace

std::vector<CFieldEntry> NewFieldList() {
    std::vector<CFieldEntry> fields;
    fields.reserve(kSchemaFieldCount);
    for (int i = 0; i < kSchemaFieldCount; ++i)
        fields.emplace_back(i);
    return fields;
}

void ReadTankText(std::string_view bytes, std::vector<CFieldEntry>& fields, CFileLines* lines) {
    for (CFieldEntry& field : fields) {
        field.m_bPresent = false;
        field.m_nValue = 0;
        field.m_strValue.clear();
    }
    const CSchema& schema = CSchema::Get();
    const CFieldGroup* current = nullptr;
    bool inUnknownSection = false;
    ForEachLineWithEnd(bytes, [&](std::string_view line, std::size_t endSize) {
        TankLineKind kind = TankLineKind::Other;
        int index = -1;
        if (auto open = line.find('['); open != std::string_view::npos) {
            std::string_view header = line.substr(open);
            std::string_view after;
            if (auto close = header.find(']'); close != std::string_view::npos) {
                after = header.substr(close + 1);
                header = header.substr(0, close + 1);
            }
            current = schema.FindGroup(header);
            inUnknownSection = !current;
            if (current) {
                index = current->m_nIndex;
                kind = IsBlank(line.substr(0, open)) && IsBlank(after)
                           ? TankLineKind::Header
                           : TankLineKind::HeaderAndText;
            } else {
                kind = TankLineKind::UnknownHeader;
            }
        } else if (auto equals = line.find('='); equals != std::string_view::npos) {
            std::string_view key = line.substr(0, equals);
            key = key.substr(0, key.find_last_not_of(" \t") + 1);
            if (!current) {
                kind = inUnknownSection ? TankLineKind::UnknownSection : TankLineKind::NoGroup;
            } else if (int field = schema.FindField(key, current); field >= 0) {
                index = field;
                const std::size_t at = static_cast<std::size_t>(field);
                kind =
                    ApplyFileValue(fields[at], schema.Fields()[at].m_nType, line.substr(equals + 1))
                        ? TankLineKind::Value
                        : TankLineKind::NoValue;
            } else {
                index = current->m_nIndex;
                kind = TankLineKind::UnknownKey;
            }
        } else if (IsBlank(line)) {
            kind = TankLineKind::Blank;
        }
        if (lines)
            lines->Add(line, endSize, kind, index);
    });
    if (lines)
        lines->Finish(fields);
}

void ReadTankText(std::string_view bytes, CTankFile& file) {
    ReadTankText(bytes, file.m_fields);
}
