// Any alias file text must read without fault, give tables of equal length, and every name
// read must be found again by Lookup.
#include "AliasTable.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CAliasTable table;
    table.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (table.m_names.size() != table.m_aliases.size())
        std::abort();
    for (const std::string& name : table.m_names) {
        if (name.empty() || !table.Lookup(name))
            std::abort();
    }
    return 0;
}
