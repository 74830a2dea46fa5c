#include "Commands.h"

#include "AsciiCase.h"
#include "CsvText.h"
#include "FieldPath.h"
#include "FileIo.h"
#include "FolderLock.h"
#include "Message.h"
#include "OtherKeys.h"
#include "Schema.h"
#include "TextEncoding.h"
#include "ValueText.h"

#include <map>
#include <memory>
#include <sys/stat.h>

namespace {

constexpr int kFileColumn = -1;
constexpr int kUnnamedColumn = -2;  // a spreadsheet's trailing empty column
constexpr int kRepeatedColumn = -3; // refused
// An other key's column: kFirstOther - its position among them.
constexpr int kFirstOther = -4;

int OtherColumn(std::size_t position) {
    return kFirstOther - static_cast<int>(position);
}

// A spreadsheet that reads the table as UTF-8 turns each byte of a Windows-1252 value into this
// character, and would write that back over the value.
constexpr std::string_view kReplacementChar = "\xEF\xBF\xBD";

// A row of the table and the file it names, loaded, with the row's values applied.
struct CTableFile {
    const CCsvRow* row;
    std::unique_ptr<CTankFile> file;
    int changes = 0;
};

class CTableApply {
public:
    CTableApply(const std::string& tablePath, bool dryRun, std::string& report)
        : m_strTable(tablePath), m_bDryRun(dryRun), m_report(report) {}

    int Run() {
        std::string text;
        std::error_code unread;
        if (!ReadWholeFile(m_strTable, text, unread)) {
            ShowMessage(FormatText("Error opening table '%s'.", m_strTable), unread);
            return kExitFailure;
        }
        CCsvError error;
        if (!ReadCsv(text, m_rows, error)) {
            Refuse(error.line, error.reason);
            return kExitFailure;
        }
        if (!ReadHeader() || !CheckRows())
            return kExitFailure;
        // Every check passed: only now is anything written. A dry run first says what would be.
        if (m_bDryRun)
            m_report += m_strChanges;
        int status = kExitOk, values = 0, files = 0;
        for (CTableFile& entry : m_files) {
            if (entry.changes == 0)
                continue;
            const std::string& path = entry.row->cells[m_nFileColumn];
            entry.file->m_bModified = true;
            if (!m_bDryRun && !entry.file->Save(SaveStyle::KeepFile)) {
                status = kExitFailure; // reported by Save; the other files still go on
                continue;
            }
            m_report += path + ": " + Count(entry.changes) + '\n';
            values += entry.changes;
            ++files;
        }
        m_report += "Total: " + Count(values) + " in " + std::to_string(files) +
                    (files == 1 ? " file\n" : " files\n");
        return status;
    }

private:
    // A value as get prints it, "" for an empty String and "(absent)" for a field not set, so
    // that every change reads plainly on its line.
    static std::string Shown(const CFieldEntry& field) {
        if (!field.m_bPresent)
            return "(absent)";
        const bool emptyString = field.Type() == FieldType::String && field.m_strValue.empty();
        return emptyString ? "\"\"" : FormatValue(field);
    }

    static bool AsTablePrintsIt(std::string_view cell, const CFieldEntry& field) {
        return field.Type() == FieldType::Float && field.m_bPresent &&
               TrimmedRawValue(cell) == FormatValue(field);
    }

    static std::string Cells(std::size_t cells) {
        return std::to_string(cells) + (cells == 1 ? " cell" : " cells");
    }

    static std::string Count(int values) {
        return std::to_string(values) + (values == 1 ? " value changed" : " values changed");
    }

    void Refuse(std::size_t line, const std::string& reason) {
        ShowMessage(m_strTable + ':' + std::to_string(line) + ": " + reason);
    }

    bool ReadHeader() {
        if (m_rows.empty()) {
            Refuse(1, "the table has no header row");
            return false;
        }
        const CCsvRow& header = m_rows.front();
        // Spreadsheets in many languages export with semicolons, or tabs: one cell per row, then.
        if (header.cells.size() == 1) {
            for (const auto& [separator, name] : {std::pair(';', "semicolons"), {'\t', "tabs"}}) {
                if (header.cells[0].find(separator) != std::string::npos) {
                    Refuse(header.line, FormatText("the cells are separated by %s; save the table "
                                                   "with commas (CSV)",
                                                   name));
                    return false;
                }
            }
        }
        bool ok = true;
        for (const std::string& name : header.cells) {
            int column = kUnnamedColumn;
            if (EqualIgnoringAsciiCase(name, "file")) {
                column = kFileColumn;
            } else if (!name.empty()) {
                CKeyName key;
                if (!ParseKeyName(name, key)) {
                    Refuse(header.line, FormatText("unknown column '%s'", name));
                    ok = false;
                    continue;
                }
                column = key.field;
                if (!key.IsField()) {
                    // A key the schema does not know: the files tell whether it is one.
                    const bool twice = std::ranges::any_of(m_others, [&key](const COther& other) {
                        return EqualIgnoringAsciiCase(other.name.group, key.group) &&
                               EqualIgnoringAsciiCase(other.name.key, key.key);
                    });
                    column = twice ? kRepeatedColumn : OtherColumn(m_others.size());
                    m_others.push_back({std::move(key), name, false, {}});
                }
            }
            if (column == kRepeatedColumn ||
                (column != kUnnamedColumn &&
                 std::ranges::find(m_columns, column) != m_columns.end())) {
                Refuse(header.line, FormatText("repeated column '%s'", name));
                ok = false;
            }
            m_columns.push_back(column);
        }
        auto file = std::ranges::find(m_columns, kFileColumn);
        if (ok && file == m_columns.end()) {
            Refuse(header.line, "no 'file' column");
            ok = false;
        }
        m_nFileColumn = static_cast<std::size_t>(file - m_columns.begin());
        return ok;
    }

    // Loads the file of each row and applies its cells, reporting every refusal.
    bool CheckRows() {
        bool ok = true;
        std::vector<const CCsvRow*> rows;
        std::vector<std::string> paths;
        for (auto row = m_rows.begin() + 1; row != m_rows.end(); ++row) {
            // A trailing comma adds an empty cell that no column stands for: it is not there.
            while (row->cells.size() > m_columns.size() && row->cells.back().empty()) {
                row->cells.pop_back();
                row->quotedEmpty.pop_back();
            }
            if (row->cells.size() != m_columns.size()) {
                Refuse(row->line, Cells(row->cells.size()) + " where the header has " +
                                      std::to_string(m_columns.size()));
                ok = false;
                continue;
            }
            // A spreadsheet writes rows it holds no more as empty cells.
            if (std::ranges::all_of(row->cells, &std::string::empty))
                continue;
            if (row->cells[m_nFileColumn].empty()) {
                Refuse(row->line, "the row names no file");
                ok = false;
                continue;
            }
            rows.push_back(&*row);
            paths.push_back(row->cells[m_nFileColumn]);
        }
        // Held until the last file is written, so that no other run changes a file between
        // the read that this run's changes are judged by and the write.
        if (!m_bDryRun && !LockFolders(m_lock, paths))
            return false;
        std::map<std::pair<dev_t, ino_t>, std::size_t> seen;
        for (const CCsvRow* row : rows) {
            const std::string& path = row->cells[m_nFileColumn];
            struct stat st {};
            if (::stat(path.c_str(), &st) == 0) {
                auto [first, added] = seen.emplace(std::pair(st.st_dev, st.st_ino), row->line);
                if (!added) {
                    Refuse(row->line,
                           FormatNumber(FormatText("file '%s' is already on line %d", path),
                                        static_cast<long long>(first->second)));
                    ok = false;
                    continue;
                }
            }
            CTableFile entry{row, std::make_unique<CTankFile>()};
            ok = Load(*entry.file, path, row->line) && ApplyCells(entry) && ok;
            m_files.push_back(std::move(entry));
        }
        // A key that no file of the table sets is no key at all: most likely a name mistyped.
        for (const COther& other : m_others) {
            if (!other.set) {
                Refuse(m_rows.front().line, FormatText("unknown column '%s'", other.header));
                ok = false;
                continue;
            }
            for (const auto& [line, path] : other.missing)
                Refuse(line, path + ": " + FormatText("unknown field '%s'", other.header));
        }
        return ok;
    }

    bool Load(CTankFile& file, const std::string& path, std::size_t line) {
        std::string message;
        MessageHandler previous =
            SetMessageHandler([&message](const std::string& text, const std::string& reason) {
                message = MessageLine(text, reason);
            });
        const bool ok = LoadTankFile(file, path);
        SetMessageHandler(std::move(previous));
        if (!ok)
            Refuse(line, message);
        return ok;
    }

    // Applies cell, in the column of the other key at position, as set does: only a key that the
    // file sets, changed in place or removed by an empty cell.
    bool ApplyOtherCell(CTableFile& entry, std::size_t position, const std::string& cell) {
        COther& other = m_others[position];
        CTankFile& file = *entry.file;
        const std::string& path = entry.row->cells[m_nFileColumn];
        const int at = other.name.In(file.m_otherKeys);
        if (at < 0) {
            // Nothing to remove; a value to add is refused once it is known whether any file of
            // the table sets the key.
            if (!cell.empty())
                other.missing.push_back({entry.row->line, path});
            return cell.empty();
        }
        other.set = true;
        const COtherKey key = file.m_otherKeys.At(static_cast<std::size_t>(at));
        const std::string keyPath = KeyPathOf(key);
        std::string_view raw = TrimmedRawValue(cell);
        if (raw == key.value)
            return true;
        if (const std::string why = RawValueRefusal(raw); !why.empty()) {
            Refuse(entry.row->line, keyPath + ": a raw value " + why);
            return false;
        }
        std::string value;
        char32_t refused = 0;
        if (!EncodeUserText(raw, file.m_nEncoding, value, refused)) {
            Refuse(entry.row->line, path + ": " + keyPath + ": '" + cell +
                                        "': " + CannotHoldReason(file.m_nEncoding, refused));
            return false;
        }
        if (value == key.value)
            return true;
        m_strChanges += path + ": " + keyPath + ": " + std::string(key.value) + " -> " +
                        (value.empty() ? "(absent)" : value) + '\n';
        file.m_otherKeys.SetValue(static_cast<std::size_t>(at), value, !value.empty());
        ++entry.changes;
        return true;
    }

    bool ApplyCells(CTableFile& entry) {
        bool ok = true;
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            if (m_columns[i] <= kFirstOther) {
                const auto position = static_cast<std::size_t>(kFirstOther - m_columns[i]);
                ok = ApplyOtherCell(entry, position, entry.row->cells[i]) && ok;
                continue;
            }
            if (m_columns[i] < 0) {
                if (m_columns[i] == kUnnamedColumn && !entry.row->cells[i].empty()) {
                    Refuse(entry.row->line, "a cell stands in a column without a name");
                    ok = false;
                }
                continue;
            }
            const std::string& cell = entry.row->cells[i];
            CFieldEntry& field = entry.file->m_fields[static_cast<std::size_t>(m_columns[i])];
            if (char c = FindUnstorableChar(cell); c && field.Type() == FieldType::String) {
                Refuse(entry.row->line,
                       FieldPathOf(field) + ": a String value " + UnstorableCharReason(c));
                ok = false;
                continue;
            }
            if (const std::string why = ValueRefusal(field.Type(), cell); !why.empty()) {
                Refuse(entry.row->line, FieldPathOf(field) + ": " + why);
                ok = false;
                continue;
            }
            // Compared as values, so that a spreadsheet writing 12.5 for 12.500000 changes
            // nothing, and first as the bytes the table wrote, so that an unchanged cell changes
            // nothing either, even in a file that mixes encodings.
            CFieldEntry typed = field;
            ApplyTypedValue(typed, cell);
            // A spreadsheet reads "" as an empty cell and writes it back as nothing, so an
            // empty cell over an empty String is taken as the same value; "" sets one.
            const bool emptyString =
                field.Type() == FieldType::String && cell.empty() &&
                (entry.row->quotedEmpty[i] || (field.m_bPresent && field.m_strValue.empty()));
            if (emptyString) {
                typed.m_strValue.clear();
                typed.m_bPresent = true;
            }
            // A table shows a Float with six decimals: a value finer than that (0.0000004) comes
            // back as those six when the cell is left as it was, and is not to be lost to them.
            if (typed.SameValueAs(field) || AsTablePrintsIt(cell, field))
                continue;
            if (cell.find(kReplacementChar) != std::string::npos) {
                Refuse(entry.row->line,
                       FieldPathOf(field) +
                           ": the cell holds U+FFFD, the mark a spreadsheet leaves for bytes it "
                           "could not read; open and save the table as Windows-1252 instead");
                ok = false;
                continue;
            }
            // Tables are UTF-8 (a cell that is not is taken as the file's own bytes): a changed
            // cell goes into the file in the file's encoding.
            std::string value;
            char32_t refused = 0;
            if (!EncodeUserText(cell, entry.file->m_nEncoding, value, refused)) {
                Refuse(entry.row->line,
                       entry.row->cells[m_nFileColumn] + ": " + FieldPathOf(field) + ": '" + cell +
                           "': " + CannotHoldReason(entry.file->m_nEncoding, refused));
                ok = false;
                continue;
            }
            if (value != cell)
                ApplyTypedValue(typed, value);
            if (!typed.SameValueAs(field)) {
                m_strChanges += entry.row->cells[m_nFileColumn] + ": " + FieldPathOf(field) + ": " +
                                Shown(field) + " -> " + Shown(typed) + '\n';
                field = std::move(typed);
                ++entry.changes;
            }
        }
        return ok;
    }

    const std::string& m_strTable;
    bool m_bDryRun;
    std::string& m_report;
    std::vector<CCsvRow> m_rows;
    // An other key's column: its name, as the header gives it, and whether a file sets it.
    struct COther {
        CKeyName name;
        std::string header;
        bool set = false;
        std::vector<std::pair<std::size_t, std::string>> missing; // rows that would add it
    };
    std::vector<int> m_columns; // per column: a field position, kFileColumn, kUnnamedColumn or
                                // an other key's OtherColumn
    std::vector<COther> m_others;
    std::size_t m_nFileColumn = 0;
    std::vector<CTableFile> m_files;
    std::string m_strChanges; // a line for each value changed, in table order
    CFolderLock m_lock;
};

} // namespace

int ApplyTable(const std::string& tablePath, bool dryRun, std::string& report) {
    return CTableApply(tablePath, dryRun, report).Run();
}

int RunApply(const Args& args) {
    bool dryRun = false;
    Args tables;
    if (!ParseOptions(args, {{"--dry-run", &dryRun}}, tables))
        return kExitFailure;
    if (tables.size() != 1)
        return CommandLineError("Usage: tarnwick-cli apply [--dry-run] TABLE.csv");
    std::string report;
    int status = ApplyTable(tables[0], dryRun, report);
    WriteOut(report);
    return status;
}
