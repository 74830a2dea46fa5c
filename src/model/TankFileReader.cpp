#include "TankFileReader.h"

#include "FileLines.h"
#include "Schema.h"
#include "TextEncoding.h"
#include "TextLines.h"
#include "ValueText.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// The kind of a line that set a value read from line up to read, and where the value's text
// stands in it: from begin up to the first blank, tab or "//" from read on, or the line's end.
// A C-style "f" after a number or stray quotes after a String are part of it, so that a new
// value takes their place; a "//" is a comment beside the value.
TankLineKind ValueLineKind(std::string_view line, FieldType type, std::size_t begin,
                           std::size_t read, CTextSpan& text) {
    // By hand: what follows a value is mostly nothing or a few bytes, too short for the
    // library's searches to pay for their calls.
    std::size_t end = line.size(), comment = std::string_view::npos;
    for (std::size_t i = read; i < line.size(); ++i) {
        if (line[i] == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            comment = i;
            end = std::min(end, i);
            break;
        }
        if (end == line.size() && (line[i] == ' ' || line[i] == '\t'))
            end = i;
    }
    text = {begin, end};
    // A number right after a stray minus ("--5"), or a Float right after a point (".-5"), would
    // take that character in once a value without a sign stands there ("-3", ".3"): such a line
    // is rewritten whole.
    const char before = line[begin - 1];
    if ((type != FieldType::String && before == '-') || (type == FieldType::Float && before == '.'))
        text = {};
    return comment == std::string_view::npos ? TankLineKind::Value : TankLineKind::ValueAndComment;
}

// Stores the value of valueText in field. Returns false when the text holds no usable value;
// the slot is then emptied and the presence flag left as it was. Otherwise span learns where
// the value as read stands: a String from its opening quote through its closing one (or to the
// end), a number from its first character to its last.
bool ReadLineValue(CFieldEntry& field, FieldType type, std::string_view valueText,
                   CTextSpan& span) {
    switch (type) {
    case FieldType::String: {
        auto open = valueText.find('"');
        if (open == std::string_view::npos) {
            field.m_strValue.clear();
            return false;
        }
        std::string_view rest = valueText.substr(open + 1);
        const auto close = rest.find('"');
        field.m_strValue = rest.substr(0, close);
        span = {open, close == std::string_view::npos ? valueText.size() : open + close + 2};
        break;
    }
    case FieldType::Float:
    case FieldType::Integer: {
        const bool read = type == FieldType::Float
                              ? ReadFloatValue(valueText, field.m_fValue, &span)
                              : ReadIntegerValue(valueText, field.m_nValue, &span);
        if (!read) {
            if (type == FieldType::Float)
                field.m_fValue = 0.0f;
            else
                field.m_nValue = 0;
            field.m_strValue.clear();
            return false;
        }
        // The number as the file writes it, so that taking it into another file writes it so.
        field.m_strValue.assign(valueText.substr(span.begin, span.end - span.begin));
        break;
    }
    }
    field.m_bPresent = true;
    return true;
}

} // namespace

void ReadTankText(std::string_view bytes, std::vector<CFieldEntry>& fields, CFileLines* lines) {
    if (bytes.starts_with(kUtf8ByteOrderMark))
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    for (CFieldEntry& field : fields)
        field.Clear();
    const CSchema& schema = CSchema::Get();
    const CFieldGroup* current = nullptr;
    bool inUnknownSection = false;
    int next = -1; // the field after the one last found: most often the next key's
    // The next '[' of the text from the line at hand on, looked for once for all the lines up to
    // it: only headers hold one, and a search of each line costs more than the rest of its
    // reading.
    const char* const end = bytes.data() + bytes.size();
    const char* bracket = nullptr;
    ForEachLineWithEnd(bytes, [&](std::string_view line, std::size_t endSize) {
        TankLineKind kind = TankLineKind::Other;
        int index = -1;
        CTextSpan value;
        std::size_t readEnd = 0; // where the value as read ends in the line
        if (!bracket || bracket < line.data()) {
            const void* found =
                std::memchr(line.data(), '[', static_cast<std::size_t>(end - line.data()));
            bracket = found ? static_cast<const char*>(found) : end;
        }
        if (bracket < line.data() + line.size()) {
            const auto open = static_cast<std::size_t>(bracket - line.data());
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
            } else if (int field = schema.FindField(key, current, next); field >= 0) {
                index = field;
                next = field + 1;
                kind = TankLineKind::NoValue;
                const auto at = static_cast<std::size_t>(field);
                const FieldType type = schema.Fields()[at].m_nType;
                // Only a document's lines need to know where the value's text stands.
                if (ReadLineValue(fields[at], type, line.substr(equals + 1), value)) {
                    readEnd = equals + 1 + value.end;
                    kind = !lines ? TankLineKind::Value
                                  : ValueLineKind(line, type, equals + 1 + value.begin, readEnd,
                                                  value);
                }
            } else {
                index = current->m_nIndex;
                kind = TankLineKind::UnknownKey;
            }
        } else if (IsBlank(line)) {
            kind = TankLineKind::Blank;
        }
        if (lines)
            lines->Add(line, endSize, kind, index, value, readEnd);
    });
    if (lines)
        lines->Finish(fields);
}
