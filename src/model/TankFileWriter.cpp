#include "TankFileWriter.h"

#include "FileLines.h"
#include "OtherKeys.h"
#include "Schema.h"
#include "TextEncoding.h"
#include "ValueText.h"

#include <algorithm>

std::string WriteTankText(const std::vector<CFieldEntry>& fields, bool crLf, bool byteOrderMark) {
    const char* eol = crLf ? "\r\n" : "\n";
    std::string text(byteOrderMark ? kUtf8ByteOrderMark : "");
    for (const CFieldGroup& group : CSchema::Get().Groups()) {
        text += '[';
        text += group.m_strName;
        text += ']';
        text += eol;
        text += eol;
        for (int i = group.m_nFirstField; i < group.m_nEndField; ++i) {
            const CFieldEntry& field = fields[static_cast<std::size_t>(i)];
            if (!field.m_bPresent)
                continue;
            text += FieldLine(field.Name(), field);
            text += eol;
        }
        text += eol;
    }
    return text;
}

namespace {

// The key of a key line as the file spells it: the text before the first '=', trailing blanks and
// tabs dropped.
std::string_view KeyText(std::string_view line) {
    std::string_view key = line.substr(0, line.find('='));
    return key.substr(0, key.find_last_not_of(" \t") + 1);
}

// A line that sets field under key, as a kept file gets it: a number as given.
std::string KeptLine(std::string_view key, const CFieldEntry& field) {
    std::string line(key);
    line += " = ";
    line += KeptValue(field);
    return line;
}

// The line of a changed field that stays: line with only its value's text replaced by the
// field's kept value, so that the key, the blanks, a comment beside the value and any other
// text stay; rewritten whole when it has no value's text.
std::string ChangedLine(std::string_view line, const CFileLines::Line& where,
                        const CFieldEntry& field) {
    if (!where.HasValueText())
        return KeptLine(KeyText(line), field);
    std::string changed(line.substr(0, where.valueBegin));
    changed += KeptValue(field);
    changed += line.substr(where.valueEnd);
    return changed;
}

} // namespace

std::string WriteKeptText(const CFileLines& lines, const std::vector<CFieldEntry>& fields,
                          const COtherKeys& otherKeys, bool crLf) {
    const std::string_view eol = crLf ? "\r\n" : "\n";
    const std::vector<CFieldEntry>& loaded = lines.Loaded();
    const auto& all = lines.Lines();
    const std::vector<CFieldGroup>& groups = CSchema::Get().Groups();

    std::vector<bool> changed(fields.size());
    // The fields to add, by the line they follow (-1: a section of their own at the end).
    std::vector<std::vector<int>> addedAfter(all.size());
    std::vector<std::vector<int>> addedSections(groups.size());
    for (const CFieldEntry& field : fields) {
        const int i = field.Index();
        changed[static_cast<std::size_t>(i)] =
            !field.SameValueAs(loaded[static_cast<std::size_t>(i)]);
        if (!changed[static_cast<std::size_t>(i)] || !field.m_bPresent || lines.LastLineOf(i) >= 0)
            continue;
        const int group = field.Group()->m_nIndex;
        if (int end = lines.SectionEndOf(group); end >= 0)
            addedAfter[static_cast<std::size_t>(end)].push_back(i);
        else
            addedSections[static_cast<std::size_t>(group)].push_back(i);
    }

    // The other keys now and as read, each once, for their lines to look up. A key that no line
    // sets (one brought back by undo after a save removed it) is added as a field is; one of a
    // group of its own, in a section of its group's name at the end.
    std::vector<COtherKey> others, loadedOthers;
    others.reserve(otherKeys.Size());
    otherKeys.ForEach([&others](std::size_t, const COtherKey& key) { others.push_back(key); });
    lines.LoadedOtherKeys().ForEach(
        [&loadedOthers](std::size_t, const COtherKey& key) { loadedOthers.push_back(key); });
    std::vector<std::vector<int>> othersAfter(all.size());
    std::vector<std::vector<int>> otherSections(groups.size());
    std::vector<int> ownGroups; // keys of groups of their own, by group as first met
    for (std::size_t k = 0; k < others.size(); ++k) {
        if (!others[k].present || lines.LastLineOfOtherKey(static_cast<int>(k)) >= 0)
            continue;
        const int group = others[k].schemaGroup;
        int end = group >= 0 ? lines.SectionEndOf(group) : -1;
        // A group of its own ends, as far as can be told, with the last line of its keys.
        for (std::size_t o = 0; group < 0 && o < others.size(); ++o) {
            if (others[o].schemaGroup < 0 && others[o].group == others[k].group)
                end = std::max(end, lines.LastLineOfOtherKey(static_cast<int>(o)));
        }
        if (end >= 0)
            othersAfter[static_cast<std::size_t>(end)].push_back(static_cast<int>(k));
        else if (group >= 0)
            otherSections[static_cast<std::size_t>(group)].push_back(static_cast<int>(k));
        else
            ownGroups.push_back(static_cast<int>(k));
    }

    // A byte order mark stands before the first line and stays there.
    const std::size_t lead =
        lines.Bytes().starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
    std::string text(lines.Bytes().substr(0, lead));
    text.reserve(lines.Bytes().size() + 256);
    auto addLine = [&](std::string_view line) {
        // A last line without a line end gets one before anything follows it. After a CR that
        // ends the line's text, a lone LF would join it and take it out of the text, so the
        // end is CR LF then.
        if (text.size() > lead && text.back() != '\n')
            text += text.back() == '\r' ? std::string_view("\r\n") : eol;
        text += line;
        text += eol;
    };
    auto addFields = [&](const std::vector<int>& added) {
        for (int i : added) {
            const CFieldEntry& field = fields[static_cast<std::size_t>(i)];
            addLine(KeptLine(field.Name(), field));
        }
    };
    auto addOthers = [&](const std::vector<int>& added) {
        for (int k : added) {
            const COtherKey& key = others[static_cast<std::size_t>(k)];
            addLine(std::string(key.name) + " = " + std::string(key.value));
        }
    };
    for (std::size_t n = 0; n < all.size(); ++n) {
        const CFileLines::Line& line = all[n];
        const bool ofField = SetsValue(line.kind) || line.kind == TankLineKind::NoValue;
        if (const int other = line.OtherKey();
            other >= 0 && static_cast<std::size_t>(other) < others.size()) {
            const COtherKey& now = others[static_cast<std::size_t>(other)];
            const COtherKey& read = loadedOthers[static_cast<std::size_t>(other)];
            const bool same = now.present == read.present && now.value == read.value;
            if (!now.present) {
                // A removed key loses every line that set it.
            } else if (same || lines.LastLineOfOtherKey(other) != static_cast<int>(n)) {
                text += lines.WithEnd(line);
            } else {
                const std::string_view old = lines.TextOf(line);
                if (line.HasValueText()) {
                    text += old.substr(0, line.valueBegin);
                    // A value given to a key whose '=' ends its line stands apart from it.
                    if (line.valueBegin == old.size() && old.ends_with('='))
                        text += ' ';
                    text += now.value;
                    text += old.substr(line.valueEnd);
                } else {
                    text += KeyText(old);
                    text += " = ";
                    text += now.value;
                }
                text += lines.Bytes().substr(line.start + line.size, line.endSize);
            }
        } else if (!ofField || !changed[static_cast<std::size_t>(line.index)]) {
            text += lines.WithEnd(line);
        } else if (const CFieldEntry& field = fields[static_cast<std::size_t>(line.index)];
                   !field.m_bPresent) {
            // A removed field loses every line that set it.
        } else if (lines.LastLineOf(line.index) == static_cast<int>(n)) {
            text += ChangedLine(lines.TextOf(line), line, field);
            text += lines.Bytes().substr(line.start + line.size, line.endSize);
        } else {
            text += lines.WithEnd(line);
        }
        addFields(addedAfter[n]);
        addOthers(othersAfter[n]);
    }
    const auto addSection = [&](std::string_view name) {
        if (text.size() > lead)
            addLine("");
        addLine('[' + std::string(name) + ']');
    };
    for (const CFieldGroup& group : groups) {
        const auto at = static_cast<std::size_t>(group.m_nIndex);
        if (addedSections[at].empty() && otherSections[at].empty())
            continue;
        addSection(group.m_strName);
        addFields(addedSections[at]);
        addOthers(otherSections[at]);
    }
    std::string_view section;
    for (int k : ownGroups) {
        const std::string_view group = others[static_cast<std::size_t>(k)].group;
        if (group != section)
            addSection(section = group);
        addOthers({k});
    }
    return text;
}
