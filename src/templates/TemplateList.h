#pragma once

#include "TankFile.h"

#include <cstddef>
#include <memory>
#include <string>
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

    void RemoveAt(std::size_t index);
    void Clear() { m_items.clear(); }

    // Every template's m_strPath, in list order.
    std::vector<std::string> Paths() const;

private:
    std::vector<std::unique_ptr<CTankFile>> m_items;
};
