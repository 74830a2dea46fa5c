#pragma once

#include "TankFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CAliasTable;

// The templates loaded beside the document, in load order. The list owns them; a template
// leaves the list only by being destroyed. Each CTankFile keeps its address while it is in the
// list, so pointers taken from it stay good until that template is removed.
class CTemplateList {
public:
    // Loads the tank file at path as a new last template, its alias looked up by file name.
    // On failure shows "Error loading tank file '%s'." (after Load's own message, if any) and
    // returns false with the list unchanged.
    bool LoadTemplate(const std::string& path, const CAliasTable& aliases);

    std::size_t Size() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }
    const CTankFile& At(std::size_t index) const { return *m_items[index]; }

    // Whether the file at path is one of the templates: the same file, however the path names
    // it (relative, absolute, through a link).
    bool Contains(const std::string& path) const;

    void RemoveAt(std::size_t index);
    void Clear() {
        m_items.clear();
        m_files.clear();
    }

    // Every template's m_strPath, in list order.
    std::vector<std::string> Paths() const;

private:
    // A file as the system knows it, whatever path names it: its device and inode.
    using FileId = std::pair<std::uint64_t, std::uint64_t>;
    static FileId IdOf(const std::string& path);

    std::vector<std::unique_ptr<CTankFile>> m_items;
    std::vector<FileId> m_files; // each template's, in the same order; {0, 0} when unknown
};
