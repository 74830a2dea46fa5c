#include "TankFileReader.h"

#include "AsciiCase.h"
#include "FileLines.h"
#include "OtherKeys.h"
#include "Schema.h"
#include "TextEncoding.h"
#include "TextLines.h"
#include "ValueText.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

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

// The name a header gives the keys under it when it selects no group: its text between the
// brackets, blanks around it dropped, when that is a name; empty when it is not.
std::string_view HeaderName(std::string_view header) {
    header.remove_prefix(1); // the '['
    if (header.ends_with(']'))
        header.remove_suffix(1);
    header = TrimBlanks(header);
    return IsKeyName(header) ? header : std::string_view();
}

// Where the raw value of a key line stands, from just after its '=' on: past the blanks, up to a
// "//" comment (one inside double quotes is part of the value) and the blanks before it.
CTextSpan RawValueSpan(std::string_view line, std::size_t from) {
    std::size_t end = line.size();
    bool quoted = false;
    for (std::size_t i = from; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (!quoted && line[i] == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            end = i;
            break;
        }
    }
    while (end > from && (line[end - 1] == ' ' || line[end - 1] == '\t'))
        --end;
    std::size_t begin = from;
    while (begin < end && (line[begin] == ' ' || line[begin] == '\t'))
        ++begin;
    // An empty value stands after the blanks that follow the '='.
    if (begin == end)
        begin = end = std::min(line.find_first_not_of(" \t", from), line.size());
    return {begin, end};
}

// The other keys of a text as it is read: the later line of a key gives its value, the first its
// spelling and place. Views into the text, made into a COtherKeys once it is read.
class COtherKeyReader {
public:
    // The key's position.
    int Add(int schemaGroup, std::string_view group, std::string_view name,
            std::string_view value) {
        std::string id = schemaGroup >= 0 ? std::string(1, static_cast<char>(schemaGroup))
                                          : '\n' + std::string(group);
        LowerAsciiInPlace(id);
        // A group of its own goes by its name as first met, whatever the case of a later header.
        if (schemaGroup < 0)
            group = m_groups.emplace(id, group).first->second;
        id += '.';
        id += name;
        LowerAsciiInPlace(id);
        const auto [known, added] = m_positions.emplace(std::move(id), m_keys.size());
        if (added)
            m_keys.push_back({schemaGroup, group, name, value});
        else
            m_keys[known->second].value = value;
        return static_cast<int>(known->second);
    }
    void Fill(COtherKeys& keys) const {
        keys.Clear();
        for (const COtherKey& key : m_keys)
            keys.Append(key.schemaGroup, key.group, key.name, key.value);
        keys.Shrink();
    }

private:
    std::vector<COtherKey> m_keys;
    std::unordered_map<std::string, std::size_t> m_positions;
    std::unordered_map<std::string, std::string_view> m_groups;
};

} // namespace

void ReadTankText(std::string_view bytes, std::vector<CFieldEntry>& fields, CFileLines* lines,
                  COtherKeys* otherKeys) {
    if (bytes.starts_with(kUtf8ByteOrderMark))
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    for (CFieldEntry& field : fields)
        field.Clear();
    const CSchema& schema = CSchema::Get();
    const CFieldGroup* current = nullptr;
    bool inUnknownSection = false;
    std::string_view unknownGroup; // the name of the section's own group, under an unknown header
    COtherKeyReader others;
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
            unknownGroup = current ? std::string_view() : HeaderName(header);
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
            // A key the schema does not know, under a header that gives it a group.
            const auto other = [&](int schemaGroup, std::string_view group) {
                if (!IsKeyName(key))
                    return;
                value = RawValueSpan(line, equals + 1);
                readEnd = 1 + static_cast<std::size_t>(
                                  others.Add(schemaGroup, group, key,
                                             line.substr(value.begin, value.end - value.begin)));
            };
            if (!current) {
                kind = inUnknownSection ? TankLineKind::UnknownSection : TankLineKind::NoGroup;
                if (!unknownGroup.empty())
                    other(-1, unknownGroup);
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
                other(index, current->m_strName);
            }
        } else if (IsBlank(line)) {
            kind = TankLineKind::Blank;
        }
        if (lines)
            lines->Add(line, endSize, kind, index, value, readEnd);
    });
    COtherKeys read;
    others.Fill(otherKeys ? *otherKeys : read);
    if (lines)
        lines->Finish(fields, otherKeys ? *otherKeys : read);
}
