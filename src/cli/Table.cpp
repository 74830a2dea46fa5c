#include "Commands.h"

#include "CsvText.h"
#include "FieldPath.h"
#include "Message.h"
#include "ValueText.h"

#include <algorithm>
#include <utility>

namespace {

// The values one file sets, by field position, as `get` prints them.
using SetValues = std::vector<std::pair<int, std::string>>;

bool ParseFieldList(std::string_view list, std::vector<int>& columns) {
    CTankFile names;
    for (std::size_t at = 0; at <= list.size();) {
        std::size_t comma = std::min(list.find(',', at), list.size());
        std::string_view name = list.substr(at, comma - at);
        at = comma + 1;
        if (name.empty() && list.empty())
            break;
        CFieldEntry* field = ResolveFieldPath(names, name);
        if (!field)
            return false;
        // apply refuses a repeated column, so no table may have one.
        if (std::ranges::find(columns, field->Index()) != columns.end()) {
            CommandLineError(FormatText("Field '%s' is listed twice.", FieldPathOf(*field)));
            return false;
        }
        columns.push_back(field->Index());
    }
    return true;
}

} // namespace

bool MakeTable(const std::vector<std::string>& paths, const std::optional<std::vector<int>>& fields,
               std::string& csv) {
    bool ok = true;
    CTankFile file;
    std::vector<std::pair<const std::string*, SetValues>> rows;
    std::vector<bool> setAnywhere(file.m_fields.size());
    for (const std::string& path : paths) {
        if (!LoadTankFile(file, path, CTankFile::Lines::Drop)) {
            ok = false;
            continue;
        }
        SetValues values;
        for (const CFieldEntry& field : file.m_fields) {
            if (field.m_bPresent) {
                values.emplace_back(field.Index(), FormatValue(field));
                setAnywhere[static_cast<std::size_t>(field.Index())] = true;
            }
        }
        rows.emplace_back(&path, std::move(values));
    }

    std::vector<int> columns;
    if (fields) {
        columns = *fields;
    } else {
        for (std::size_t i = 0; i < setAnywhere.size(); ++i) {
            if (setAnywhere[i])
                columns.push_back(static_cast<int>(i));
        }
    }
    csv = "file";
    for (int column : columns)
        csv += ',' + CsvCell(FieldPathOf(file.m_fields[static_cast<std::size_t>(column)]));
    csv += "\r\n";
    for (const auto& [path, values] : rows) {
        csv += CsvCell(*path);
        for (int column : columns) {
            csv += ',';
            auto value =
                std::ranges::lower_bound(values, column, {}, &SetValues::value_type::first);
            if (value != values.end() && value->first == column)
                csv += CsvCell(value->second, true); // "" for a String set but empty
        }
        csv += "\r\n";
    }
    return ok;
}

int RunTable(const Args& args) {
    std::optional<std::vector<int>> fields;
    std::vector<std::string> paths;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--fields") {
            if (i + 1 == args.size())
                return CommandLineError("Option --fields needs a list of Group.field names.");
            if (fields)
                return CommandLineError("Option --fields is given more than once.");
            fields.emplace();
            if (!ParseFieldList(args[++i], *fields))
                return kExitFailure;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return CommandLineError(FormatText("Unknown option '%s'.", arg));
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty())
        return CommandLineError("Usage: tarnwick-cli table [--fields LIST] FILE...");
    std::string csv;
    // A file that cannot be read is named on stderr and left out; the others still make the table.
    bool ok = MakeTable(paths, fields, csv);
    WriteOut(csv);
    return ok ? kExitOk : kExitFailure;
}
