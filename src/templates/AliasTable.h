#pragma once

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// Short names for templates, read from the alias file: lines of a tank file name and its alias
// separated by blanks or tabs. Names are matched ignoring the case of A to Z.
class CAliasTable {
public:
    CAliasTable() = default;
    virtual ~CAliasTable() = default;

    // Empties the table, then reads the alias file at path. True when the file could be read
    // (whatever it holds); false otherwise, with the table left empty and, when given, error set
    // to why. Reports nothing.
    bool Load(const std::string& path, std::error_code* error = nullptr);

    // Empties the table, then reads the entries of alias file text.
    void LoadText(std::string_view bytes);

    // Load() from "ALIAS.TXT", then, when that fails, from "alias.txt", in the current folder.
    // On failure error tells why the file that is there could not be read, or that neither is
    // (std::errc::no_such_file_or_directory).
    bool LoadFromCurrentFolder(std::error_code* error = nullptr);

    // The alias of the first entry named name (ignoring A-Z case), or nullptr. The pointer
    // stays valid while the table is unchanged.
    const std::string* Lookup(const std::string& name) const;

    std::vector<std::string> m_names;   // lower-cased, file order
    std::vector<std::string> m_aliases; // as written, same positions
};
