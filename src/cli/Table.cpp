#include "Commands.h"

#include "AsciiCase.h"
#include "CsvText.h"
#include "FieldPath.h"
#include "FileIo.h"
#include "Message.h"
#include "OtherKeys.h"
#include "Schema.h"
#include "ValueText.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t kNoCell = static_cast<std::size_t>(-1);

bool ParseFieldList(std::string_view list, std::vector<CKeyName>& columns) {
    for (std::size_t at = 0; at <= list.size();) {
        std::size_t comma = std::min(list.find(',', at), list.size());
        std::string_view name = list.substr(at, comma - at);
        at = comma + 1;
        // "A.x, B.y" is how people write lists.
        name.remove_prefix(std::min(name.find_first_not_of(" \t"), name.size()));
        name = name.substr(0, name.find_last_not_of(" \t") + 1);
        if (name.empty() && list.empty())
            break;
        CKeyName column;
        if (!ParseKeyName(name, column)) {
            ShowUnknownField(name);
            return false;
        }
        // apply refuses a repeated column, so no table may have one.
        const bool twice = std::ranges::any_of(columns, [&column](const CKeyName& other) {
            return column.IsField()
                       ? other.field == column.field
                       : !other.IsField() && EqualIgnoringAsciiCase(other.group, column.group) &&
                             EqualIgnoringAsciiCase(other.key, column.key);
        });
        if (twice) {
            CommandLineError(FormatText("Field '%s' is listed twice.",
                                        column.IsField() ? FieldPathOf(column.field)
                                                         : column.group + '.' + column.key));
            return false;
        }
        columns.push_back(std::move(column));
    }
    return true;
}

} // namespace

bool MakeTable(const std::vector<std::string>& paths,
               const std::optional<std::vector<CKeyName>>& fields, std::string& csv) {
    // Other keys listed take the cell numbers after the schema's fields; their headers are
    // spelled as the first file that sets them spells them.
    std::vector<const CKeyName*> others;
    if (fields) {
        for (const CKeyName& column : *fields) {
            if (!column.IsField())
                others.push_back(&column);
        }
    }
    std::vector<std::string> otherHeaders(others.size());
    // The columns are known only once every file is read, so the cells wait in one text, each
    // ready as CSV: "" for a String set but empty, where a field not set has no cell at all.
    struct CCell {
        int field;
        std::size_t end; // in cellText; the cell starts where the one before it ends
    };
    struct CRow {
        const std::string* path;
        std::size_t firstCell;
    };
    std::string cellText;
    std::vector<CCell> cells;
    std::vector<CRow> rows;
    rows.reserve(paths.size());

    bool ok = true;
    CTankFile file;
    std::vector<bool> setAnywhere(file.m_fields.size() + others.size());
    std::string bytes;
    std::error_code unread; // Load says why
    for (const std::string& path : paths) {
        // Only the values are needed, so one document takes every file in turn, read straight
        // into it; a file that cannot be read goes through Load, which says why.
        if (ReadWholeFile(path, bytes, unread)) {
            file.ReadText(bytes);
        } else if (!LoadTankFile(file, path, CTankFile::Lines::Drop)) {
            ok = false;
            continue;
        }
        rows.push_back({&path, cells.size()});
        if (rows.size() == 2) {
            // Files of a mod are much alike: room for all of them like the first, so that the
            // text is not copied again and again as it grows.
            cells.reserve(cells.size() * paths.size() * 5 / 4);
            cellText.reserve(cellText.size() * paths.size() * 5 / 4);
        }
        for (const CFieldEntry& field : file.m_fields) {
            if (field.m_bPresent) {
                // A String prints as it is stored; a number never needs quotes.
                if (field.Type() == FieldType::String)
                    AppendCsvCell(cellText, field.m_strValue, true);
                else
                    cellText += FormatValue(field);
                cells.push_back({field.Index(), cellText.size()});
                setAnywhere[static_cast<std::size_t>(field.Index())] = true;
            }
        }
        for (std::size_t o = 0; o < others.size(); ++o) {
            if (const int at = others[o]->In(file.m_otherKeys); at >= 0) {
                const COtherKey key = file.m_otherKeys.At(static_cast<std::size_t>(at));
                if (key.present) {
                    AppendCsvCell(cellText, key.value);
                    const auto cell = kSchemaFieldCount + o;
                    cells.push_back({static_cast<int>(cell), cellText.size()});
                    if (!setAnywhere[cell])
                        otherHeaders[o] = KeyPathOf(key);
                    setAnywhere[cell] = true;
                }
            }
        }
    }

    // An other key that no file sets is no key at all: most likely a name mistyped.
    for (std::size_t o = 0; o < others.size(); ++o) {
        if (!setAnywhere[kSchemaFieldCount + o]) {
            ShowUnknownField(others[o]->group + '.' + others[o]->key);
            csv.clear();
            return false;
        }
    }
    std::vector<int> columns;
    if (fields) {
        std::size_t other = 0;
        for (const CKeyName& column : *fields)
            columns.push_back(column.IsField() ? column.field
                                               : static_cast<int>(kSchemaFieldCount + other++));
    } else {
        for (std::size_t i = 0; i < setAnywhere.size(); ++i) {
            if (setAnywhere[i])
                columns.push_back(static_cast<int>(i));
        }
    }
    csv = "file";
    for (int column : columns) {
        csv += ',';
        AppendCsvCell(csv,
                      column < kSchemaFieldCount
                          ? FieldPathOf(column)
                          : otherHeaders[static_cast<std::size_t>(column - kSchemaFieldCount)]);
    }
    csv += "\r\n";
    csv.reserve(csv.size() + cellText.size() + rows.size() * (columns.size() + 32));
    std::vector<std::size_t> cellOf(setAnywhere.size(), kNoCell); // in the row at hand
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::size_t first = rows[r].firstCell;
        const std::size_t end = r + 1 < rows.size() ? rows[r + 1].firstCell : cells.size();
        for (std::size_t c = first; c < end; ++c)
            cellOf[static_cast<std::size_t>(cells[c].field)] = c;
        AppendCsvCell(csv, *rows[r].path);
        for (int column : columns) {
            csv += ',';
            if (std::size_t c = cellOf[static_cast<std::size_t>(column)]; c != kNoCell) {
                const std::size_t start = c == 0 ? 0 : cells[c - 1].end;
                csv.append(cellText, start, cells[c].end - start);
            }
        }
        csv += "\r\n";
        for (std::size_t c = first; c < end; ++c)
            cellOf[static_cast<std::size_t>(cells[c].field)] = kNoCell;
    }
    return ok;
}

int RunTable(const Args& args) {
    std::optional<std::string> list;
    Args paths;
    if (!ParseOptions(args, {{"--fields", nullptr, &list, "a list of Group.field names"}}, paths))
        return kExitFailure;
    std::optional<std::vector<CKeyName>> fields;
    if (list && !ParseFieldList(*list, fields.emplace()))
        return kExitFailure;
    if (paths.empty())
        return CommandLineError("Usage: tarnwick-cli table [--fields LIST] FILE...");
    std::string csv;
    // A file that cannot be read is named on stderr and left out; the others still make the table.
    bool ok = MakeTable(paths, fields, csv);
    WriteOut(csv);
    return ok ? kExitOk : kExitFailure;
}
