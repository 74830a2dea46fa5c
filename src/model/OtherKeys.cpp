#include "OtherKeys.h"

#include "AsciiCase.h"
#include "Schema.h"
#include "ValueText.h"

namespace {

constexpr unsigned char kSameGroup = 0xFE;
constexpr unsigned char kNamedGroup = 0xFF;

void AppendLength(std::string& out, std::size_t length) {
    do {
        const auto low = static_cast<unsigned char>(length & 0x7F);
        length >>= 7;
        out += static_cast<char>(length ? low | 0x80 : low);
    } while (length);
}

std::size_t ReadLength(std::string_view data, std::size_t& at) {
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(data[at++]);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return length;
    }
}

} // namespace

bool IsKeyName(std::string_view text) {
    if (text.empty() || (text[0] >= '0' && text[0] <= '9'))
        return false;
    for (char c : text) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9') && c != '_')
            return false;
    }
    return true;
}

std::string RawValueRefusal(std::string_view text) {
    if (text.find('[') != std::string_view::npos)
        return "cannot hold '[': the line would read as a group header";
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return "cannot hold a line break";
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (!quoted && text.substr(i).starts_with("//"))
            return "cannot hold '//' outside quotes: it would read as a comment";
    }
    return {};
}

bool RawValueCanTake(TextEncoding encoding, char32_t c) {
    return c != '[' && c != '\r' && c != '\n' && CanHold(encoding, c);
}

std::string WhyRawValueCannotTake(TextEncoding encoding, char32_t c) {
    return c < 0x80 ? "A raw value " + RawValueRefusal(std::string(1, static_cast<char>(c)))
                    : CannotHoldReason(encoding, c);
}

std::string_view TrimmedRawValue(std::string_view text) {
    return TrimBlanks(text);
}

std::size_t COtherKeys::Next(std::size_t at, COtherKey& key) const {
    const std::string_view data = m_strData;
    const auto group = static_cast<unsigned char>(data[at++]);
    if (group == kNamedGroup) {
        const std::size_t size = ReadLength(data, at);
        key.schemaGroup = -1;
        key.group = data.substr(at, size);
        at += size;
    } else if (group != kSameGroup) {
        key.schemaGroup = group;
        key.group = CSchema::Get().Groups()[group].m_strName;
    }
    const std::size_t nameSize = ReadLength(data, at);
    key.name = data.substr(at, nameSize);
    at += nameSize;
    const std::size_t valueCode = ReadLength(data, at);
    key.present = valueCode != 0;
    key.value = key.present ? data.substr(at, valueCode - 1) : std::string_view();
    return at + (key.present ? valueCode - 1 : 0);
}

COtherKey COtherKeys::At(std::size_t index) const {
    COtherKey key;
    std::size_t at = 0;
    for (std::size_t i = 0; i <= index && i < m_nCount; ++i)
        at = Next(at, key);
    return key;
}

int COtherKeys::Find(std::string_view group, std::string_view name) const {
    int found = -1;
    ForEach([&](std::size_t index, const COtherKey& key) {
        if (found < 0 && EqualIgnoringAsciiCase(key.name, name) &&
            EqualIgnoringAsciiCase(key.group, group))
            found = static_cast<int>(index);
    });
    return found;
}

void COtherKeys::Append(int schemaGroup, std::string_view group, std::string_view name,
                        std::string_view value) {
    const bool same = schemaGroup == m_nLastGroup &&
                      (schemaGroup >= 0 || std::string_view(m_strData).substr(
                                               m_nLastGroupName, m_nLastGroupSize) == group);
    if (same) {
        m_strData += static_cast<char>(kSameGroup);
    } else if (schemaGroup >= 0) {
        m_strData += static_cast<char>(schemaGroup);
    } else {
        m_strData += static_cast<char>(kNamedGroup);
        AppendLength(m_strData, group.size());
        m_nLastGroupName = m_strData.size();
        m_nLastGroupSize = group.size();
        m_strData += group;
    }
    m_nLastGroup = schemaGroup;
    AppendLength(m_strData, name.size());
    m_strData += name;
    AppendLength(m_strData, value.size() + 1);
    m_strData += value;
    ++m_nCount;
}

void COtherKeys::SetValue(std::size_t index, std::string_view value, bool present) {
    std::size_t at = 0;
    COtherKey key;
    for (std::size_t i = 0; i < index; ++i)
        at = Next(at, key);
    // Past the group and the name to the value's length, which is rewritten with the value.
    const std::size_t end = Next(at, key);
    std::size_t valueAt =
        static_cast<std::size_t>(key.name.data() - m_strData.data()) + key.name.size();
    std::string record;
    AppendLength(record, present ? value.size() + 1 : 0);
    if (present)
        record += value;
    m_strData.replace(valueAt, end - valueAt, record);
    // Offsets after the change have moved: the next key appended names its group again.
    m_nLastGroup = -2;
}
