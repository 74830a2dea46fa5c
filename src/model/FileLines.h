#pragma once

#include "FieldEntry.h"
#include "OtherKeys.h"
#include "Schema.h"
#include "ValueText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What reading made of one line of a tank file.
enum class TankLineKind : std::uint8_t {
    Blank,           // empty or only blanks and tabs
    Header,          // a header that selected a group
    HeaderAndText,   // a header that selected a group, with other text beside it on its line
    UnknownHeader,   // a header that names no group; it ends the current group
    Value,           // a key line that set a field's value
    ValueAndComment, // a key line that set a field's value, with a "//" comment after it
    NoValue,         // a key line of a field without a usable value (no quote, no digit)
    NoGroup,         // a key line before any header
    UnknownSection,  // a key line under a header that names no group
    UnknownKey,      // a key that the current group does not have
    Other,           // neither header nor key line: comments, stray text
};

// True for the kinds of a line that set a field's value.
inline bool SetsValue(TankLineKind kind) {
    return kind == TankLineKind::Value || kind == TankLineKind::ValueAndComment;
}

// A line that `check` and the Unused Lines dialog list: a non-blank line that the editor's
// layout would drop, or the line that sets a field whose value is read unlike it looks (which
// nothing drops).
struct CUnusedLine {
    std::size_t number; // counted from 1
    std::string reason; // such as "comment or other text" or "value read as 1"
    std::string text;   // without its line end
    bool unused = true; // the layout drops it; false for a value read unlike it looks
};

// The file a document was loaded from or last saved to: its bytes, where each line stands with
// its own line end, what reading made of it, and the values it gave the fields. A save can then
// change only the lines of the fields that changed since.
class CFileLines {
public:
    struct Line {
        std::size_t start; // offset of its first byte
        std::size_t size;  // without the line end
        // Where the text of the value it set stands in it, as offsets from start (see
        // ReadTankText); both 0 when it set none or stands beyond 32-bit offsets. Lines are
        // kept for every line of a document, so these take no more room than they need.
        std::uint32_t valueBegin;
        std::uint32_t valueEnd;
        union {
            // Value lines: where the value as read ends (so that what follows it can be judged);
            // 0 for none.
            std::uint32_t readEnd;
            // Lines of an other key (UnknownKey, UnknownSection): its position plus one; 0 for a
            // line that sets none. Its raw value stands at valueBegin to valueEnd.
            std::uint32_t otherKey;
        };
        std::uint8_t endSize; // 0 (a last line without one), 1 (LF) or 2 (CR LF)
        TankLineKind kind;
        std::int16_t index; // the field (Value, ValueAndComment, NoValue), the group (headers
                            // that selected one, UnknownKey), or -1

        bool HasValueText() const { return valueEnd != 0; }
        // The other key the line sets, or -1.
        int OtherKey() const {
            const bool other =
                kind == TankLineKind::UnknownKey || kind == TankLineKind::UnknownSection;
            return other ? static_cast<int>(otherKey) - 1 : -1;
        }
    };

    explicit CFileLines(std::string bytes);

    std::string_view Bytes() const { return m_strBytes; }
    const std::vector<Line>& Lines() const { return m_lines; }
    std::string_view TextOf(const Line& line) const {
        return Bytes().substr(line.start, line.size);
    }
    std::string_view WithEnd(const Line& line) const {
        return Bytes().substr(line.start, line.size + line.endSize);
    }

    // The position in Lines() of the last line that set field (with or without a usable value),
    // or -1.
    int LastLineOf(int field) const { return m_lastLineOf[static_cast<std::size_t>(field)]; }
    // The position of the last non-blank line of the last section whose header selected group,
    // or -1 when no header selected it.
    int SectionEndOf(int group) const { return m_sectionEndOf[static_cast<std::size_t>(group)]; }
    // The position in Lines() of the last line that set the other key at index, or -1.
    int LastLineOfOtherKey(int index) const {
        return index < static_cast<int>(m_lastLineOfOther.size())
                   ? m_lastLineOfOther[static_cast<std::size_t>(index)]
                   : -1;
    }
    // The fields and other keys as the file set them.
    const std::vector<CFieldEntry>& Loaded() const { return m_loaded; }
    const COtherKeys& LoadedOtherKeys() const { return m_loadedOtherKeys; }

    // The lines the editor's layout would drop.
    std::size_t UnusedLineCount() const;
    // Those lines, and beside them, in line order, each field's last line whose value is read
    // unlike it looks: "value read as VALUE" when text other than a "//" comment follows the
    // value as read (a ';' after a String and an 'f' after a number aside), "no value read" when
    // it holds no usable value.
    std::vector<CUnusedLine> ReportedLines() const;

    // Reading calls these: Add for every line in order (line is a view into Bytes(), value
    // where the text of the value it set stands in it, readEnd where the value as read ends, or
    // for an other key's line its position plus one), Finish with the fields and other keys as
    // the whole file set them.
    void Add(std::string_view line, std::size_t endSize, TankLineKind kind, int index,
             CTextSpan value = {}, std::size_t readEnd = 0);
    void Finish(const std::vector<CFieldEntry>& fields, const COtherKeys& otherKeys) {
        m_loaded = fields;
        m_loadedOtherKeys = otherKeys;
    }
    // Makes the other keys read those of document, which wrote these lines: each line refers to
    // its key's position there, and a key of document that no line sets (one removed) is absent
    // as read too.
    void KeepOtherKeyPositions(const COtherKeys& document);

private:
    // The position of the last line that sets what line sets (a field, an other key), or -1.
    int LastLineFor(const Line& line) const;
    // Why line i is unused; nullptr when it is used or blank.
    const char* UnusedReason(std::size_t i) const;
    // Why the value of line i, a field's last line, is read unlike it looks; empty when it is not.
    std::string ReadUnlikeItLooks(std::size_t i) const;

    std::string m_strBytes;
    std::vector<Line> m_lines;
    std::array<int, kSchemaFieldCount> m_lastLineOf;
    std::array<int, kSchemaGroupCount> m_sectionEndOf;
    std::vector<int> m_lastLineOfOther; // each other key's
    std::vector<CFieldEntry> m_loaded;
    COtherKeys m_loadedOtherKeys;
    int m_nSection = -1; // while reading: the group the current section's header selected
};
