#include "RulesReading.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

std::string NumberText(const std::string& text, char type) {
    char buffer[64];
    if (type == 'I')
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(Number(text, 'I')));
    else
        std::snprintf(buffer, sizeof buffer, "%f", Number(text, 'F'));
    return buffer;
}

} // namespace

std::string ToWindows1252(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = utf8[i];
        out += (c == 0xC2 || c == 0xC3) ? static_cast<char>((utf8[++i] & 0x3F) | (c & 3) << 6)
                                        : static_cast<char>(c);
    }
    return out;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

Schema ParseSchema(const std::string& text) {
    Schema schema;
    std::istringstream lines(text);
    for (std::string line, index, group, name, type; std::getline(lines, line);) {
        std::istringstream cells(line);
        std::getline(cells, index, '\t');
        std::getline(cells, group, '\t');
        std::getline(cells, name, '\t');
        std::getline(cells, type, '\t');
        schema.push_back({group, name, type.empty() ? '?' : type[0]});
    }
    return schema;
}

CRulesReading::CRulesReading(const Schema& schema, std::string bytes, bool bOtherKeys)
    : m_schema(schema), m_bytes(std::move(bytes)) {
    for (std::size_t at = m_bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0; at < m_bytes.size();) {
        const std::size_t lf = m_bytes.find('\n', at), next = lf == npos ? m_bytes.size() : lf + 1;
        std::size_t end = lf == npos ? next : lf;
        if (lf != npos && end > at && m_bytes[end - 1] == '\r')
            --end;
        m_lines.push_back({at, end, next, m_bytes.substr(at, end - at)});
        at = next;
    }
    std::string group; // the schema's group, or an unknown header's name (for other keys)
    bool bKnown = false, bHeader = false;
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const std::string& text = m_lines[i].text;
        auto note = [&](std::string reason) { m_notes.emplace_back(i, std::move(reason)); };
        if (Trim(text).empty())
            continue;
        if (const std::size_t open = text.find('['); open != npos) {
            const std::size_t close = text.find(']', open);
            bHeader = true;
            bKnown = false;
            group.clear();
            for (const SchemaField& field : m_schema)
                if (Lower(text.substr(open)).starts_with("[" + Lower(field.group))) {
                    group = field.group;
                    bKnown = true;
                    break;
                }
            if (bKnown && close != npos && !Trim(text.substr(close + 1)).empty())
                note("text beside the header");
            if (bKnown)
                continue;
            note("header names no group");
            if (close != npos && IsName(Trim(text.substr(open + 1, close - open - 1))))
                group = Trim(text.substr(open + 1, close - open - 1));
            continue;
        }
        const std::size_t eq = text.find('=');
        if (eq == npos) {
            note("comment or other text");
            continue;
        }
        const std::string key = text.substr(0, text.find_last_not_of(" \t", eq - 1) + 1);
        int index = -1;
        for (int f = 0; bKnown && f < static_cast<int>(m_schema.size()); ++f)
            if (m_schema[f].group == group && Lower(m_schema[f].name) == Lower(key))
                index = f;
        if (index >= 0) {
            m_fieldLines[index].push_back(i);
            continue;
        }
        note(bKnown ? "key not in group " + group
                    : (bHeader ? "under a header that names no group" : "before any group"));
        if (!group.empty() && IsName(key))
            m_otherLines[Lower(group + "." + key)].push_back(i);
    }
    for (const auto& [index, lines] : m_fieldLines) {
        const std::string last = std::to_string(lines.back() + 1);
        for (std::size_t n = 0; n + 1 < lines.size(); ++n)
            m_notes.emplace_back(lines[n], "overridden by line " + last);
        const Value value = Read(lines.back(), m_schema[index].type);
        if (!value.bUsable)
            m_notes.emplace_back(lines.back(), "no value read");
        if (value.bComment)
            m_notes.emplace_back(lines.back(), "comment beside the value");
        if (value.bMisread)
            m_notes.emplace_back(lines.back(),
                                 "value read as " + Shown(value, m_schema[index].type));
    }
    for (const auto& [name, lines] : m_otherLines)
        for (std::size_t n = 0; bOtherKeys && n + 1 < lines.size(); ++n)
            for (auto& [line, reason] : m_notes)
                if (line == lines[n])
                    reason = "overridden by line " + std::to_string(lines.back() + 1);
    std::ranges::stable_sort(m_notes, {}, &std::pair<int, std::string>::first);
}

CRulesReading::Value CRulesReading::Read(int index, char type) const {
    const Line& line = m_lines[index];
    const std::string& t = line.text;
    const std::size_t from = t.find('=') + 1;
    auto digit = [&t](std::size_t i) { return i < t.size() && t[i] >= '0' && t[i] <= '9'; };
    std::size_t begin = 0, end = 0, rest = 0;
    if (type == 'S') {
        const std::size_t open = t.find('"', from);
        if (open == npos)
            return {};
        const std::size_t close = t.find('"', open + 1);
        begin = open + 1;
        end = close == npos ? t.size() : close;
        rest = close == npos ? t.size() : close + 1;
    } else {
        begin = t.find_first_of("0123456789", from);
        if (begin == npos)
            return {};
        if (type == 'F' && begin > from && t[begin - 1] == '.')
            --begin;
        if (begin > from && t[begin - 1] == '-')
            --begin;
        for (end = begin + (t[begin] == '-'); digit(end);)
            ++end;
        if (type == 'F' && end < t.size() && t[end] == '.')
            for (++end; digit(end);)
                ++end;
        if (type == 'F' && end < t.size() && (t[end] == 'e' || t[end] == 'E')) {
            std::size_t x = end + 1;
            x += x < t.size() && (t[x] == '+' || t[x] == '-');
            if (digit(x))
                for (end = x; digit(end);)
                    ++end;
        }
        rest = end + (end < t.size() && t[end] == 'f'); // a C-style float
    }
    std::string after = Trim(t.substr(rest));
    if (type == 'S' && after.starts_with(';'))
        after = Trim(after.substr(1));
    return {true,
            t.find("//", rest) != npos,
            !after.empty() && !after.starts_with("//"),
            line.begin + begin,
            line.begin + end,
            t.substr(begin, end - begin)};
}

std::string CRulesReading::Shown(const Value& value, char type) const {
    if (type != 'S')
        return NumberText(value.text, type);
    return value.text.empty() ? "\"\"" : value.text;
}

std::optional<std::string> CRulesReading::Get(int index) const {
    const auto it = m_fieldLines.find(index);
    const char type = m_schema[index].type;
    if (it == m_fieldLines.end() ||
        std::ranges::none_of(it->second, [&](int line) { return Read(line, type).bUsable; }))
        return std::nullopt;
    const Value last = Read(it->second.back(), type);
    if (!last.bUsable) // an earlier line set it; this one emptied it
        return type == 'S' ? "" : NumberText("0", type);
    return type == 'S' ? last.text : NumberText(last.text, type);
}

std::optional<std::string> CRulesReading::Given(int index) const {
    const auto it = m_fieldLines.find(index);
    if (it == m_fieldLines.end())
        return std::nullopt;
    const Value last = Read(it->second.back(), m_schema[index].type);
    return last.bUsable ? std::optional(last.text) : std::nullopt;
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
    if (given.empty())
        return Removed(lines);
    const char type = m_schema[index].type;
    const Value old = Read(lines.back(), type);
    std::string value = Trim(given), out = m_bytes; // blanks around a number are no part of it
    if (type == 'S')
        value = Utf8() ? given : ToWindows1252(given);
    if (type == 'S' ? value == old.text : Number(value, type) == Number(old.text, type))
        return out;
    // The value's text runs on to a blank, a tab or a comment: "5.0f" is replaced whole, and so
    // is "a";, from its first quote.
    std::size_t begin = old.begin - (type == 'S'), end = old.end;
    while (end < m_lines[lines.back()].end && out[end] != ' ' && out[end] != '\t' &&
           out.compare(end, 2, "//") != 0)
        ++end;
    return out.replace(begin, end - begin, type == 'S' ? "\"" + value + "\"" : value);
}

std::optional<std::string> CRulesReading::GetOther(const std::string& name) const {
    const auto it = m_otherLines.find(Lower(name));
    if (it == m_otherLines.end())
        return std::nullopt;
    const std::string& text = m_lines[it->second.back()].text;
    const std::size_t from = text.find('=') + 1;
    return Trim(text.substr(from, text.find("//", from) - from));
}

std::string CRulesReading::SetOther(const std::string& name, const std::string& raw) const {
    const std::vector<int>& lines = m_otherLines.at(Lower(name));
    if (raw.empty())
        return Removed(lines);
    const Line& line = m_lines[lines.back()];
    const std::size_t from = line.text.find('=') + 1;
    const std::size_t stop = std::min(line.text.find("//", from), line.text.size());
    const std::size_t begin = std::min(line.text.find_first_not_of(" \t", from), stop);
    const std::size_t end = std::max(begin, line.text.find_last_not_of(" \t", stop - 1) + 1);
    std::string out = m_bytes;
    return out.replace(line.begin + begin, end - begin, Utf8() ? raw : ToWindows1252(raw));
}

std::vector<std::string> CRulesReading::OtherKeys() const {
    std::vector<std::string> names;
    for (const auto& entry : m_otherLines)
        names.push_back(entry.first);
    return names;
}

bool CRulesReading::Utf8() const {
    bool bNonAscii = false;
    for (std::size_t i = 0; i < m_bytes.size(); ++i) {
        const unsigned char c = m_bytes[i];
        int more = c < 0x80 ? 0 : c < 0xC2 ? -1 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : c < 0xF5 ? 3 : -1;
        if (more < 0)
            return false;
        bNonAscii |= more > 0;
        for (; more > 0; --more)
            if (++i >= m_bytes.size() || (m_bytes[i] & 0xC0) != 0x80)
                return false;
    }
    return bNonAscii;
}
