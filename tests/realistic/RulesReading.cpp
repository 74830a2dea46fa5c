#include "RulesReading.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <sstream>

namespace {

constexpr auto npos = std::string::npos;

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first == npos ? "" : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

bool IsName(const std::string& text) {
    return !text.empty() && !std::isdigit(static_cast<unsigned char>(text[0])) &&
           std::ranges::all_of(text, [](unsigned char c) { return std::isalnum(c) || c == '_'; });
}

// A number's value as its field stores it: a Float in single precision, out-of-range values at
// the largest of their sign.
double Number(const std::string& text, char type) {
    const double value = std::strtod(text.c_str(), nullptr);
    if (type == 'I')
        return std::trunc(std::clamp(value, -2147483648.0, 2147483647.0));
    return std::fabs(value) > FLT_MAX ? std::copysign(FLT_MAX, value) : static_cast<float>(value);
}

// As get prints it: "%d", or "%f" (which to_string uses).
std::string NumberText(const std::string& text, char type) {
    const double value = Number(text, type);
    return type == 'I' ? std::to_string(static_cast<long long>(value)) : std::to_string(value);
}

} // namespace

std::string Lower(std::string text) {
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

std::string ToWindows1252(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = utf8[i];
        out += (c == 0xC2 || c == 0xC3) ? static_cast<char>((utf8[++i] & 0x3F) | (c & 3) << 6)
                                        : static_cast<char>(c);
    }
    return out;
}

Schema ParseSchema(const std::string& text) {
    Schema schema;
    std::istringstream lines(text);
    for (std::string line, index, group, name, type; std::getline(lines, line);)
        if (std::istringstream(line) >> index >> group >> name >> type)
            schema.push_back({group, name, type[0]});
    return schema;
}

CRulesReading::CRulesReading(const Schema& schema, std::string bytes)
    : m_schema(schema), m_bytes(std::move(bytes)) {
    // Lines end at LF, less one CR before it; a byte order mark is no part of the first.
    for (std::size_t at = m_bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0; at < m_bytes.size();) {
        const std::size_t lf = m_bytes.find('\n', at), next = lf == npos ? m_bytes.size() : lf + 1;
        const std::size_t end = lf == npos ? next : lf - (lf > at && m_bytes[lf - 1] == '\r');
        m_lines.push_back({at, end, next, m_bytes.substr(at, end - at)});
        at = next;
    }
    std::string group; // the schema's group, or an unknown header's name for other keys
    bool bKnown = false, bHeader = false;
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const std::string& text = m_lines[i].text;
        auto note = [&](const std::string& reason) { m_notes.emplace_back(i, reason); };
        const std::size_t open = text.find('['), close = text.find(']', open), eq = text.find('=');
        if (Trim(text).empty())
            continue;
        if (open != npos) { // a header selects the group it begins with, ignoring case
            bHeader = true;
            const auto known = std::ranges::find_if(m_schema, [&](const SchemaField& field) {
                return Lower(text.substr(open)).starts_with("[" + Lower(field.group));
            });
            bKnown = known != m_schema.end();
            group = bKnown ? known->group : "";
            const std::string inner =
                close == npos ? "" : Trim(text.substr(open + 1, close - open - 1));
            if (!bKnown && IsName(inner))
                group = inner;
            if (!bKnown)
                note("header names no group");
            else if (close != npos && !Trim(text.substr(close + 1)).empty())
                note("text beside the header");
        } else if (eq == npos) {
            note("comment or other text");
        } else {
            const std::string key = text.substr(0, text.find_last_not_of(" \t", eq - 1) + 1);
            const auto field = std::ranges::find_if(m_schema, [&](const SchemaField& f) {
                return bKnown && f.group == group && Lower(f.name) == Lower(key);
            });
            if (field != m_schema.end()) {
                m_fieldLines[static_cast<int>(field - m_schema.begin())].push_back(i);
                continue;
            }
            note(bKnown    ? "key not in group " + group
                 : bHeader ? "under a header that names no group"
                           : "before any group");
            if (!group.empty() && IsName(key))
                m_otherLines[Lower(group + "." + key)].push_back(i);
        }
    }
    // The last line of a field sets it; its value may read unlike it looks.
    for (const auto& [index, lines] : m_fieldLines) {
        for (std::size_t n = 0; n + 1 < lines.size(); ++n)
            m_notes.emplace_back(lines[n],
                                 "overridden by line " + std::to_string(lines.back() + 1));
        const char type = m_schema[index].type;
        const Value value = Read(lines.back(), type);
        if (!value.bUsable)
            m_notes.emplace_back(lines.back(), "no value read");
        if (value.bComment)
            m_notes.emplace_back(lines.back(), "comment beside the value");
        if (value.bMisread)
            m_notes.emplace_back(lines.back(),
                                 "value read as " + (type != 'S' ? NumberText(value.text, type)
                                                     : value.text.empty() ? "\"\""
                                                                          : value.text));
    }
    for (const auto& [name, lines] : m_otherLines)
        for (std::size_t n = 0; n + 1 < lines.size(); ++n)
            std::ranges::find(m_notes, lines[n], &std::pair<int, std::string>::first)->second =
                "overridden by line " + std::to_string(lines.back() + 1);
    std::ranges::stable_sort(m_notes, {}, &std::pair<int, std::string>::first);
}

CRulesReading::Value CRulesReading::Read(int index, char type) const {
    const std::string& t = m_lines[index].text;
    const std::size_t from = t.find('=') + 1;
    auto digit = [&t](std::size_t i) { return i < t.size() && t[i] >= '0' && t[i] <= '9'; };
    auto is = [&t](std::size_t i, char c) { return i < t.size() && t[i] == c; };
    std::size_t begin = 0, end = 0, rest = 0;
    if (type == 'S') { // from the first quote to the next, or to the line's end
        const std::size_t open = t.find('"', from), close = t.find('"', open + 1);
        if (open == npos)
            return {};
        begin = open + 1;
        end = std::min(close, t.size());
        rest = close == npos ? t.size() : close + 1;
    } else { // from the first digit, with a point and a minus before it
        begin = t.find_first_of("0123456789", from);
        if (begin == npos)
            return {};
        begin -= type == 'F' && begin > from && is(begin - 1, '.');
        begin -= begin > from && is(begin - 1, '-');
        for (end = begin + is(begin, '-'); digit(end);)
            ++end;
        if (type == 'F' && is(end, '.'))
            for (++end; digit(end);)
                ++end;
        const std::size_t exponent = end + 1 + (is(end + 1, '+') || is(end + 1, '-'));
        if (type == 'F' && (is(end, 'e') || is(end, 'E')) && digit(exponent))
            for (end = exponent; digit(end);)
                ++end;
        rest = end + (is(end, 'f') || is(end, 'F')); // a C-style float
    }
    std::string after = Trim(t.substr(rest));
    if (type == 'S' && after.starts_with(';'))
        after = Trim(after.substr(1));
    const std::size_t at = m_lines[index].begin;
    return {true,
            t.find("//", rest) != npos,
            !after.empty() && !after.starts_with("//"),
            at + begin,
            at + end,
            t.substr(begin, end - begin)};
}

std::optional<std::string> CRulesReading::Get(int index) const {
    const auto it = m_fieldLines.find(index);
    const char type = m_schema[index].type;
    if (it == m_fieldLines.end() ||
        std::ranges::none_of(it->second, [&](int line) { return Read(line, type).bUsable; }))
        return std::nullopt;
    const std::string text = Read(it->second.back(), type).text; // empty: a last line of no value
    return type == 'S' ? text : NumberText(text.empty() ? "0" : text, type);
}

std::optional<std::string> CRulesReading::Given(int index) const {
    const auto it = m_fieldLines.find(index);
    const Value value =
        it == m_fieldLines.end() ? Value{} : Read(it->second.back(), m_schema[index].type);
    return value.bUsable ? std::optional(value.text) : std::nullopt;
}

std::string CRulesReading::Check(const std::string& file) const {
    std::string out;
    for (const auto& [line, reason] : m_notes)
        out += file + ":" + std::to_string(line + 1) + ": " + reason + ": " + m_lines[line].text +
               "\n";
    return out;
}

std::string CRulesReading::Removed(const std::vector<int>& lines) const {
    std::string out = m_bytes;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        out.erase(m_lines[*it].begin, m_lines[*it].next - m_lines[*it].begin);
    return out;
}

std::string CRulesReading::Set(int index, const std::string& given) const {
    const std::vector<int>& lines = m_fieldLines.at(index);
    const char type = m_schema[index].type;
    const Value old = Read(lines.back(), type);
    const std::string value = type == 'S' ? Encoded(given) : Trim(given);
    if (given.empty())
        return Removed(lines);
    if (type == 'S' ? value == old.text : Number(value, type) == Number(old.text, type))
        return m_bytes;
    // The value's text runs on to a blank, a tab or a comment: "5.0f" is replaced whole, and so
    // is "a"; from its first quote.
    std::size_t begin = old.begin - (type == 'S'), end = old.end;
    while (end < m_lines[lines.back()].end && !std::strchr(" \t", m_bytes[end]) &&
           m_bytes.compare(end, 2, "//") != 0)
        ++end;
    std::string out = m_bytes;
    return out.replace(begin, end - begin, type == 'S' ? "\"" + value + "\"" : value);
}

std::vector<std::string> CRulesReading::OtherKeys() const {
    std::vector<std::string> names;
    for (const auto& entry : m_otherLines)
        names.push_back(entry.first);
    return names;
}

// The raw value of an other key's line: after '=' up to a comment, blanks at both ends left out.
std::pair<std::size_t, std::size_t> CRulesReading::Raw(int index) const {
    const std::string& text = m_lines[index].text;
    const std::size_t from = text.find('=') + 1,
                      stop = std::min(text.find("//", from), text.size());
    const std::size_t begin = std::min(text.find_first_not_of(" \t", from), stop);
    return {begin, std::max(begin, text.find_last_not_of(" \t", stop - 1) + 1)};
}

std::optional<std::string> CRulesReading::GetOther(const std::string& name) const {
    const auto it = m_otherLines.find(Lower(name));
    if (it == m_otherLines.end())
        return std::nullopt;
    const auto [begin, end] = Raw(it->second.back());
    return m_lines[it->second.back()].text.substr(begin, end - begin);
}

std::string CRulesReading::SetOther(const std::string& name, const std::string& raw) const {
    const std::vector<int>& lines = m_otherLines.at(Lower(name));
    const auto [begin, end] = Raw(lines.back());
    std::string out = m_bytes;
    return raw.empty()
               ? Removed(lines)
               : out.replace(m_lines[lines.back()].begin + begin, end - begin, Encoded(raw));
}

// Text in the file's encoding: UTF-8 when its bytes beyond ASCII are all UTF-8, else
// Windows-1252 (ASCII-only files too).
std::string CRulesReading::Encoded(const std::string& utf8) const {
    bool bNonAscii = false;
    for (std::size_t i = 0; i < m_bytes.size(); ++i) {
        const unsigned char c = m_bytes[i];
        int more = c < 0x80 ? 0 : c < 0xC2 ? -1 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : c < 0xF5 ? 3 : -1;
        for (bNonAscii |= more != 0; more > 0; --more)
            if (++i >= m_bytes.size() || (m_bytes[i] & 0xC0) != 0x80)
                more = -1;
        if (more < 0)
            return ToWindows1252(utf8);
    }
    return bNonAscii ? utf8 : ToWindows1252(utf8);
}
