#include "TemplateList.h"

#include "AliasTable.h"
#include "Message.h"

#include <algorithm>
#include <exception>
#include <sys/stat.h>

bool CTemplateList::LoadTemplate(const std::string& path, const CAliasTable& aliases) {
    try {
        // A template is only read from, never saved, so its lines are not kept.
        auto tankFile = std::make_unique<CTankFile>();
        if (tankFile->Load(path, CTankFile::Lines::Drop)) {
            const std::string* alias = aliases.Lookup(tankFile->m_strFileName);
            tankFile->m_strAlias = alias ? *alias : std::string();
            m_files.push_back(IdOf(path));
            m_items.push_back(std::move(tankFile));
            return true;
        }
    } catch (const std::exception&) {
        // Memory ran out: this template is not loaded, the others stay.
    }
    ShowMessage(FormatText("Error loading tank file '%s'.", path));
    return false;
}

CTemplateList::FileId CTemplateList::IdOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {0, 0};
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool CTemplateList::Contains(const std::string& path) const {
    // Compared by what the paths lead to, looked up once for each template: comparing path
    // texts would miss "./a.odf" beside "a.odf", and resolving every template's path again for
    // each file of a set of hundreds would take seconds.
    const FileId id = IdOf(path);
    return id != FileId{0, 0} && std::ranges::find(m_files, id) != m_files.end();
}

void CTemplateList::RemoveAt(std::size_t index) {
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    m_files.erase(m_files.begin() + static_cast<std::ptrdiff_t>(index));
}

std::vector<std::string> CTemplateList::Paths() const {
    std::vector<std::string> paths;
    paths.reserve(m_items.size());
    for (const auto& item : m_items)
        paths.push_back(item->m_strPath);
    return paths;
}
