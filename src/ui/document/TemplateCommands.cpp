#include "TemplateCommands.h"

#include "FileFilters.h"
#include "Message.h"
#include "Prompts.h"
#include "TemplateFilesDlg.h"
#include "TemplateLoading.h"
#include "TemplateSetFile.h"

namespace {

constexpr const char* kSetExtension = "txt";
// The most templates the message about those left out names one by one.
constexpr std::size_t kNamedLeftOut = 10;

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

void CTemplateCommands::Clear() {
    emit TemplatesAboutToChange();
    m_templates.Clear();
    emit TemplatesChanged();
}

void CTemplateCommands::LoadRemembered(const std::vector<std::string>& paths) {
    if (paths.empty())
        return;
    // Each failure's messages are held back to be told in one; the reason is the one a message
    // gave last, which is the file's own when it could not be opened.
    std::string reason;
    std::vector<std::string> lines;
    MessageHandler previous =
        SetMessageHandler([&reason](const std::string&, const std::string& why) {
            if (!why.empty())
                reason = why;
        });
    emit TemplatesAboutToChange();
    m_templates.Clear();
    LoadTemplatesWithProgress(m_pWindow, m_templates, m_aliasTable, paths, {},
                              [&reason, &lines](const std::string& path) {
                                  lines.push_back(reason.empty() ? path
                                                                 : MessageLine(path, reason));
                                  reason.clear();
                              });
    SetMessageHandler(std::move(previous));
    emit TemplatesChanged();

    if (lines.empty())
        return;
    if (lines.size() == 1) {
        m_prompts.Message("A template of the last session could not be opened and was left out "
                          "of the template list.",
                          lines.front());
        return;
    }
    std::string detail;
    for (std::size_t i = 0; i < lines.size() && i < kNamedLeftOut; ++i)
        detail += lines[i] + '\n';
    if (lines.size() > kNamedLeftOut)
        detail += FormatNumber("and %d more", static_cast<long long>(lines.size() - kNamedLeftOut));
    else
        detail.pop_back();
    m_prompts.Message(FormatNumber("%d templates of the last session could not be opened and were "
                                   "left out of the template list.",
                                   static_cast<long long>(lines.size())),
                      detail);
}
