#pragma once

// A unit file read by the written rules alone, without the program's reader: the lines that set
// each field, what get prints, the lines check lists and the bytes a set leaves. The real files
// check holds tarnwick-cli to it.

#include <map>
#include <optional>
#include <string>
#include <vector>

// A field the editor knows, as `tarnwick-cli schema` lists it; type is 'S', 'F' or 'I'.
struct SchemaField {
    std::string group, name;
    char type;
};
using Schema = std::vector<SchemaField>;

// The schema from the text `tarnwick-cli schema` prints.
Schema ParseSchema(const std::string& text);
std::string Lower(std::string text);
// UTF-8 text of Latin-1 letters in Windows-1252, which has them at the same code points.
std::string ToWindows1252(const std::string& utf8);

class CRulesReading {
public:
    // A key the schema lacks is overridden by a later line of it, as a field is.
    CRulesReading(const Schema& schema, std::string bytes);

    // What get prints for the field at index (no line end), nothing when the file does not set it.
    std::optional<std::string> Get(int index) const;
    // The value's text on the field's last line (a number as the file writes it, a String's
    // bytes), when that line holds a value: set of that text changes nothing.
    std::optional<std::string> Given(int index) const;
    // The lines check lists for the file, named file.
    std::string Check(const std::string& file) const;
    // The bytes after set of the field to given (UTF-8, empty removes it); only for a field
    // whose last line holds a value.
    std::string Set(int index, const std::string& given) const;

    // The other keys the file sets ("group.key", lower case), the raw value of one named in any
    // case, and the bytes after set of it (empty removes it).
    std::vector<std::string> OtherKeys() const;
    std::optional<std::string> GetOther(const std::string& name) const;
    std::string SetOther(const std::string& name, const std::string& raw) const;

private:
    struct Line {
        std::size_t begin, end, next; // the text's bytes, and where the next line starts
        std::string text;
    };
    struct Value {
        bool bUsable = false, bComment = false, bMisread = false;
        std::size_t begin = 0, end = 0; // the value as read, in the file's bytes
        std::string text;               // a number's text, a String's bytes
    };
    Value Read(int line, char type) const;
    std::pair<std::size_t, std::size_t> Raw(int line) const;
    std::string Removed(const std::vector<int>& lines) const;
    std::string Encoded(const std::string& utf8) const;

    const Schema& m_schema;
    std::string m_bytes;
    std::vector<Line> m_lines;
    std::map<int, std::vector<int>> m_fieldLines;         // field index -> the lines setting it
    std::map<std::string, std::vector<int>> m_otherLines; // "group.key" -> its lines
    std::vector<std::pair<int, std::string>> m_notes;     // line, check's reason
};
