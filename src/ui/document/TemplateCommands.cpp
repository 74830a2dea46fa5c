#include "TemplateCommands.h"

#include "FileFilters.h"
#include "Prompts.h"
#include "TemplateFilesDlg.h"
#include "TemplateLoading.h"
#include "TemplateSetFile.h"

namespace {

constexpr const char* kSetExtension = "txt";

} // namespace

CTemplateCommands::CTemplateCommands(QWidget* window, IPrompts& prompts)
    : QObject(window), m_pWindow(window), m_prompts(prompts) {}

void CTemplateCommands::LoadAliases() {
    // The file is optional: only one that is there and cannot be read is worth a word.
    if (std::error_code error; !m_aliasTable.LoadFromCurrentFolder(&error) &&
                               error != std::errc::no_such_file_or_directory)
        m_prompts.Message("Error loading alias file 'alias.txt'.\nNo tank aliases will be used.",
                          error.message());
}

void CTemplateCommands::LoadSetFile(const std::string& path) {
    std::vector<std::string> paths;
    if (!ReadTemplateSetFile(path, paths))
        return;
    // The old set is gone from here on, even when no line of the new one loads.
    emit TemplatesAboutToChange();
    m_templates.Clear();
    LoadTemplatesWithProgress(m_pWindow, m_templates, m_aliasTable, paths);
    emit TemplatesChanged();
}

void CTemplateCommands::LoadSet() {
    std::string path;
    if (m_prompts.OpenPath(kSetFilter, path))
        LoadSetFile(path);
    else
        emit TemplatesChanged();
}

void CTemplateCommands::SaveSet() {
    std::string path;
    if (m_prompts.SavePath(kSetFilter, kSetExtension, path))
        WriteTemplateSetFile(path, m_templates.Paths());
}

void CTemplateCommands::EditSet() {
    CTemplateFilesDlg dialog(m_pWindow, &m_templates, &m_aliasTable, m_prompts);
    // The comparison shows each change as it is made, behind the dialog.
    connect(&dialog, &CTemplateFilesDlg::ListAboutToChange, this,
            &CTemplateCommands::TemplatesAboutToChange);
    connect(&dialog, &CTemplateFilesDlg::ListChanged, this, &CTemplateCommands::TemplatesChanged);
    dialog.exec();
    emit TemplatesChanged();
}
