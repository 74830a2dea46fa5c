// Reading any bytes and saving them must settle and keep what the user did not touch:
// - writing the editor's layout and reading that again gives the same present fields with the
//   same written values, and writing it gives the same bytes;
// - a keeping save without an edit gives the bytes read;
// - a keeping save after one edit reads back with that field's new value and every other field
//   as it was; when the field keeps its line and that line has a value's text, the save is the
//   bytes read with only that text replaced by the written value;
// - a keeping save after an edit of an other key's raw value reads back with that value and every
//   other key and field as it was.
// Values are compared as written: six decimals may round a float once.
//
// The last bytes of an input describe the edit, so that the rest reads as a whole tank file:
// the very last byte is the value's length (0 to 31; 0 removes the field), the two before it
// pick the field, and the value's bytes stand right before them.
#include "FileLines.h"
#include "OtherKeys.h"
#include "Schema.h"
#include "TankFile.h"
#include "TankFileReader.h"
#include "TankFileWriter.h"
#include "TextLines.h"
#include "ValueText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Aborts unless every field of a and b has the same presence and, when present, the same
// written value; the field at skip is left out.
void ExpectSameFields(const std::vector<CFieldEntry>& a, const std::vector<CFieldEntry>& b,
                      int skip = -1) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (static_cast<int>(i) == skip)
            continue;
        if (a[i].m_bPresent != b[i].m_bPresent)
            std::abort();
        if (a[i].m_bPresent && FormatValue(a[i]) != FormatValue(b[i]))
            std::abort();
    }
}

void CheckLayoutSettles(std::string_view bytes, bool crLf) {
    CTankFile first;
    first.ReadText(bytes);
    first.m_bCrLf = crLf;
    std::string written = first.Text();

    CTankFile second;
    second.ReadText(written);
    second.m_bCrLf = crLf;
    ExpectSameFields(first.m_fields, second.m_fields);
    if (second.Text() != written)
        std::abort();
}

// An other key given value (made one the value box takes) reads back with it, and every other
// key and field as it was; an empty value removes it.
void CheckOtherKeyEdit(const CFileLines& lines, const std::vector<CFieldEntry>& fields,
                       const COtherKeys& keys, std::size_t index, std::string value) {
    // What the value box refuses, and quotes: a quote left open would take the rest of the line
    // (a comment beside the value) into the value when it is read again.
    for (char& c : value) {
        if (c == '[' || c == '\r' || c == '\n' || c == '/' || c == '"')
            c = '_';
    }
    const std::string raw(TrimmedRawValue(value));
    COtherKeys edited = keys;
    edited.SetValue(index, raw, !raw.empty());
    const std::string kept =
        WriteKeptText(lines, fields, edited, FirstLineEndsInCrLf(lines.Bytes()));
    std::vector<CFieldEntry> reread = NewFieldList();
    COtherKeys back;
    ReadTankText(kept, reread, nullptr, &back);
    ExpectSameFields(fields, reread);
    keys.ForEach([&](std::size_t i, const COtherKey& key) {
        const int found = back.Find(key.group, key.name);
        const std::string_view want = i == index ? std::string_view(raw) : key.value;
        if (i == index && raw.empty()
                ? found >= 0
                : found < 0 || back.At(static_cast<std::size_t>(found)).value != want)
            std::abort();
    });
}

void CheckKeepingSave(std::string_view bytes, int index, std::string value) {
    CFileLines lines{std::string(bytes)};
    std::vector<CFieldEntry> fields = NewFieldList();
    COtherKeys keys;
    ReadTankText(lines.Bytes(), fields, &lines, &keys);
    const bool crLf = FirstLineEndsInCrLf(bytes);
    if (WriteKeptText(lines, fields, keys, crLf) != bytes)
        std::abort();
    if (!keys.Empty())
        CheckOtherKeyEdit(lines, fields, keys, static_cast<std::size_t>(index) % keys.Size(),
                          value);

    std::vector<CFieldEntry> edited = fields;
    CFieldEntry& field = edited[static_cast<std::size_t>(index)];
    // The value box refuses what a String cannot hold.
    if (field.Type() == FieldType::String) {
        for (char& c : value) {
            if (FindUnstorableChar(std::string_view(&c, 1)))
                c = '_';
        }
    }
    ApplyTypedValue(field, value);
    const std::string kept = WriteKeptText(lines, edited, keys, crLf);
    if (const int last = lines.LastLineOf(index);
        last >= 0 && field.m_bPresent &&
        !field.SameValueAs(fields[static_cast<std::size_t>(index)])) {
        const CFileLines::Line& line = lines.Lines()[static_cast<std::size_t>(last)];
        if (line.HasValueText() &&
            kept != std::string(bytes.substr(0, line.start + line.valueBegin)) + KeptValue(field) +
                        std::string(bytes.substr(line.start + line.valueEnd)))
            std::abort();
    }

    std::vector<CFieldEntry> reread = NewFieldList();
    ReadTankText(kept, reread);
    ExpectSameFields(fields, reread, index);
    const CFieldEntry& back = reread[static_cast<std::size_t>(index)];
    if (back.m_bPresent != field.m_bPresent)
        std::abort();
    if (field.m_bPresent && FormatValue(back) != FormatValue(field))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckLayoutSettles(bytes, size > 0 && (data[0] & 1));

    int index = 0;
    std::string value;
    if (size >= 3) {
        const std::size_t length = data[size - 1] % 32;
        index = (data[size - 3] << 8 | data[size - 2]) % kSchemaFieldCount;
        bytes.remove_suffix(3);
        const std::size_t taken = length < bytes.size() ? length : bytes.size();
        value = bytes.substr(bytes.size() - taken);
        bytes.remove_suffix(taken);
    }
    CheckKeepingSave(bytes, index, value);
    return 0;
}
