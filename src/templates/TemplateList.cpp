#include "TemplateList.h"

#include "AliasTable.h"
#include "Message.h"

#include <exception>

bool CTemplateList::LoadTemplate(const std::string& path, const CAliasTable& aliases) {
    try {
        // A template is only read from, never saved, so its lines are not kept.
        auto tankFile = std::make_unique<CTankFile>();
        if (tankFile->Load(path, CTankFile::Lines::Drop)) {
            const std::string* alias = aliases.Lookup(tankFile->m_strFileName);
            tankFile->m_strAlias = alias ? *alias : std::string();
            m_items.push_back(std::move(tankFile));
            return true;
        }
    } catch (const std::exception&) {
        // Memory ran out: this template is not loaded, the others stay.
    }
    ShowMessage(FormatText("Error loading tank file '%s'.", path));
    return false;
}

void CTemplateList::RemoveAt(std::size_t index) {
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
}

std::vector<std::string> CTemplateList::Paths() const {
    std::vector<std::string> paths;
    paths.reserve(m_items.size());
    for (const auto& item : m_items)
        paths.push_back(item->m_strPath);
    return paths;
}
