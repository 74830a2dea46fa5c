#include "AliasTable.h"

#include "AsciiCase.h"
#include "FileError.h"
#include "FileIo.h"
#include "TextLines.h"

#include <algorithm>
#include <exception>

bool CAliasTable::Load(const std::string& path, std::error_code* error) {
    std::error_code failure;
    std::string bytes;
    if (ReadWholeFile(path, bytes, failure)) {
        try {
            LoadText(bytes);
            return true;
        } catch (const std::exception&) {
            // Memory ran out on a huge file: no aliases rather than the end of the program.
            failure = FileError::TooLarge;
        }
    }
    m_names.clear();
    m_aliases.clear();
    if (error)
        *error = failure;
    return false;
}

void CAliasTable::LoadText(std::string_view bytes) {
    m_names.clear();
    m_aliases.clear();
    ForEachLine(bytes, [this](std::string_view view) {
        // Tabs separate like blanks.
        std::string line(view);
        std::ranges::replace(line, '\t', ' ');
        // A comment or an indented line adds nothing; an empty line counts as indented.
        if (line.empty() || line[0] == '#' || line[0] == ' ')
            return;
        auto nameEnd = line.find(' ');
        if (nameEnd == std::string::npos)
            return;
        auto aliasStart = line.find_first_not_of(' ', nameEnd);
        if (aliasStart == std::string::npos)
            return;
        auto aliasEnd = line.find(' ', aliasStart);
        std::string name = line.substr(0, nameEnd);
        LowerAsciiInPlace(name);
        m_names.push_back(std::move(name));
        m_aliases.push_back(line.substr(aliasStart, aliasEnd - aliasStart));
    });
}

bool CAliasTable::LoadFromCurrentFolder(std::error_code* error) {
    // The name is upper case by custom, but on a case-sensitive file system users are as
    // likely to have written it in lower case.
    std::error_code upper, lower;
    if (Load("ALIAS.TXT", &upper) || Load("alias.txt", &lower))
        return true;
    // A file that is there but cannot be read tells the user more than one that is not there.
    if (error)
        *error = upper == std::errc::no_such_file_or_directory ? lower : upper;
    return false;
}

const std::string* CAliasTable::Lookup(const std::string& name) const {
    std::string key = name;
    LowerAsciiInPlace(key);
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == key)
            return &m_aliases[i];
    }
    return nullptr;
}
