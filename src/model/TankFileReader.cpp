#include "TankFileReader.h"

#include "TankFile.h"
#include "TextLines.h"
#include "ValueText.h"

namespace {

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

int IndexOf(const CTankFile& file, const CFieldGroup* group) {
    for (std::size_t i = 0; i < file.m_groups.size(); ++i) {
        if (file.m_groups[i].get() == group)
            return static_cast<int>(i);
    }
    return -1;
}

int IndexOf(const CTankFile& file, const CFieldEntry* field) {
    for (std::size_t i = 0; i < file.m_fields.size(); ++i) {
        if (file.m_fields[i].get() == field)
            return static_cast<int>(i);
    }
    return -1;
}

// Stores the value of valueText in field. Returns false when the text holds no usable value;
// the slot is then emptied and the presence flag left as it was.
bool ApplyFileValue(CFieldEntry& field, std::string_view valueText) {
    switch (field.m_nType) {
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
    default:
        return false;
    }
    field.m_bPresent = 1;
    return true;
}

} // namespace

void ReadTankText(std::string_view bytes, CTankFile& file, const TankLineObserver& observer) {
    for (auto& field : file.m_fields) {
        field->m_bPresent = 0;
        field->m_fValue = 0.0f;
        field->m_nValue = 0;
        field->m_strValue.clear();
    }
    const CFieldGroup* current = nullptr;
    std::size_t number = 0;
    ForEachLine(bytes, [&](std::string_view line) {
        TankLine report{++number, TankLineKind::Other, line, -1, -1};
        if (auto open = line.find('['); open != std::string_view::npos) {
            std::string_view header = line.substr(open);
            if (auto close = header.find(']'); close != std::string_view::npos)
                header = header.substr(0, close + 1);
            if (const CFieldGroup* group = file.FindGroup(header)) {
                current = group;
                report.kind = TankLineKind::Header;
            } else {
                report.kind = TankLineKind::UnknownHeader;
            }
        } else if (auto equals = line.find('='); equals != std::string_view::npos) {
            std::string_view key = line.substr(0, equals);
            if (auto last = key.find_last_not_of(" \t"); last != std::string_view::npos)
                key = key.substr(0, last + 1);
            else
                key = {};
            if (!current) {
                report.kind = TankLineKind::NoGroup;
            } else if (CFieldEntry* field = file.FindField(key, current)) {
                report.fieldIndex = IndexOf(file, field);
                report.kind = ApplyFileValue(*field, line.substr(equals + 1))
                                  ? TankLineKind::Value
                                  : TankLineKind::NoValue;
            } else {
                report.kind = TankLineKind::UnknownKey;
            }
        } else if (IsBlank(line)) {
            report.kind = TankLineKind::Blank;
        }
        if (observer) {
            report.groupIndex = IndexOf(file, current);
            observer(report);
        }
    });
}
