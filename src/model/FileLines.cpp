#include "FileLines.h"

#include "Schema.h"
#include "ValueText.h"

#include <algorithm>
#include <limits>

namespace {

constexpr const char* kOverridden = "overridden by line ";

} // namespace

CFileLines::CFileLines(std::string bytes) : m_strBytes(std::move(bytes)) {
    m_lastLineOf.fill(-1);
    m_sectionEndOf.fill(-1);
    // Unit files' lines are some twenty bytes long: room for them all at once, mostly.
    m_lines.reserve(m_strBytes.size() / 20 + 8);
}

void CFileLines::Add(std::string_view line, std::size_t endSize, TankLineKind kind, int index,
                     CTextSpan value, std::size_t readEnd) {
    const int position = static_cast<int>(m_lines.size());
    if (value.end > std::numeric_limits<std::uint32_t>::max())
        value = {}; // a line of gigabytes: a change rewrites it whole
    if (readEnd > std::numeric_limits<std::uint32_t>::max())
        readEnd = 0; // and is not judged
    m_lines.push_back({static_cast<std::size_t>(line.data() - m_strBytes.data()),
                       line.size(),
                       static_cast<std::uint32_t>(value.begin),
                       static_cast<std::uint32_t>(value.end),
                       {static_cast<std::uint32_t>(readEnd)},
                       static_cast<std::uint8_t>(endSize),
                       kind,
                       static_cast<std::int16_t>(index)});
    switch (kind) {
    case TankLineKind::Blank:
        return;
    case TankLineKind::Header:
    case TankLineKind::HeaderAndText:
        m_nSection = index;
        break;
    case TankLineKind::UnknownHeader:
        m_nSection = -1;
        break;
    case TankLineKind::Value:
    case TankLineKind::ValueAndComment:
    case TankLineKind::NoValue:
        m_lastLineOf[static_cast<std::size_t>(index)] = position;
        break;
    default:
        if (const int other = m_lines.back().OtherKey(); other >= 0) {
            if (static_cast<std::size_t>(other) >= m_lastLineOfOther.size())
                m_lastLineOfOther.resize(static_cast<std::size_t>(other) + 1, -1);
            m_lastLineOfOther[static_cast<std::size_t>(other)] = position;
        }
        break;
    }
    if (m_nSection >= 0)
        m_sectionEndOf[static_cast<std::size_t>(m_nSection)] = position;
}

int CFileLines::LastLineFor(const Line& line) const {
    if (const int other = line.OtherKey(); other >= 0)
        return LastLineOfOtherKey(other);
    return SetsValue(line.kind) || line.kind == TankLineKind::NoValue ? LastLineOf(line.index) : -1;
}

const char* CFileLines::UnusedReason(std::size_t i) const {
    const Line& line = m_lines[i];
    switch (line.kind) {
    case TankLineKind::Blank:
    case TankLineKind::Header:
        return nullptr;
    case TankLineKind::Value:
    case TankLineKind::ValueAndComment:
    case TankLineKind::NoValue:
        // An overridden line is dropped whole, its comment with it: that says more than the
        // comment does, so it is the reason given.
        if (LastLineOf(line.index) != static_cast<int>(i))
            return kOverridden;
        // A last line without a usable value is kept by every save, and reported as read.
        return line.kind == TankLineKind::ValueAndComment ? "comment beside the value" : nullptr;
    case TankLineKind::HeaderAndText:
        return "text beside the header";
    case TankLineKind::UnknownHeader:
        return "header names no group";
    case TankLineKind::NoGroup:
        return "before any group";
    case TankLineKind::UnknownSection:
    case TankLineKind::UnknownKey:
        // An other key set again further on is dropped for that line, as a field is.
        if (line.OtherKey() >= 0 && LastLineFor(line) != static_cast<int>(i))
            return kOverridden;
        return line.kind == TankLineKind::UnknownKey ? "key not in group "
                                                     : "under a header that names no group";
    case TankLineKind::Other:
        break;
    }
    return "comment or other text";
}

std::size_t CFileLines::UnusedLineCount() const {
    std::size_t count = 0;
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        count += UnusedReason(i) != nullptr;
    return count;
}

std::string CFileLines::ReadUnlikeItLooks(std::size_t i) const {
    const Line& line = m_lines[i];
    const bool sets = SetsValue(line.kind) || line.kind == TankLineKind::NoValue;
    if (!sets || LastLineOf(line.index) != static_cast<int>(i))
        return {};
    if (line.kind == TankLineKind::NoValue)
        return "no value read";
    if (line.readEnd == 0)
        return {};
    const CFieldEntry& field = m_loaded[static_cast<std::size_t>(line.index)];
    std::string_view after = TextOf(line).substr(line.readEnd);
    // What C and scripts put after a value reads as no more than the value itself: a ';' after
    // a String, an 'f' right after a number.
    const auto skipBlanks = [&after] {
        after.remove_prefix(std::min(after.find_first_not_of(" \t"), after.size()));
    };
    if (field.Type() == FieldType::String) {
        skipBlanks();
        if (after.starts_with(';'))
            after.remove_prefix(1);
    } else if (after.starts_with('f') || after.starts_with('F')) {
        after.remove_prefix(1);
    }
    skipBlanks();
    if (after.empty() || after.starts_with("//"))
        return {};
    const bool emptyString = field.Type() == FieldType::String && field.m_strValue.empty();
    return "value read as " + (emptyString ? std::string("\"\"") : FormatValue(field));
}

std::vector<CUnusedLine> CFileLines::ReportedLines() const {
    std::vector<CUnusedLine> reported;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (const char* reason = UnusedReason(i)) {
            std::string why = reason;
            // Two reasons name what they refer to.
            if (reason == kOverridden)
                why += std::to_string(LastLineFor(line) + 1);
            else if (line.kind == TankLineKind::UnknownKey)
                why += CSchema::Get().Groups()[static_cast<std::size_t>(line.index)].m_strName;
            reported.push_back({i + 1, std::move(why), std::string(TextOf(line))});
        }
        if (std::string read = ReadUnlikeItLooks(i); !read.empty())
            reported.push_back({i + 1, std::move(read), std::string(TextOf(line)), false});
    }
    return reported;
}

void CFileLines::KeepOtherKeyPositions(const COtherKeys& document) {
    std::vector<int> positions; // in document, of each key as read
    m_loadedOtherKeys.ForEach([&](std::size_t, const COtherKey& key) {
        positions.push_back(document.Find(key.group, key.name));
    });
    m_lastLineOfOther.assign(document.Size(), -1);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        if (const int read = line.OtherKey(); read >= 0) {
            const int position = positions[static_cast<std::size_t>(read)];
            line.otherKey = static_cast<std::uint32_t>(position + 1);
            if (position >= 0)
                m_lastLineOfOther[static_cast<std::size_t>(position)] = static_cast<int>(i);
        }
    }
    m_loadedOtherKeys = document;
    document.ForEach([this](std::size_t index, const COtherKey& key) {
        if (m_lastLineOfOther[index] < 0 && key.present)
            m_loadedOtherKeys.SetValue(index, {}, false);
    });
}
