#include "FileCommands.h"

#include "FileFilters.h"
#include "FolderLock.h"
#include "Message.h"
#include "Prompts.h"
#include "TankDocument.h"

namespace {

constexpr const char* kTankExtension = "odf";

} // namespace

CFileCommands::CFileCommands(CTankDocument& document, IPrompts& prompts)
    : m_document(document), m_prompts(prompts) {}

bool CFileCommands::PromptSaveChanges() {
    if (!m_document.IsModified())
        return true;
    switch (m_prompts.YesNoCancel(FormatText("Save changes to '%s'?", m_document.Path()))) {
    case IPrompts::Answer::Yes:
        return SaveDocument();
    case IPrompts::Answer::No:
        return true;
    case IPrompts::Answer::Cancel:
        break;
    }
    return false;
}

void CFileCommands::New() {
    if (PromptSaveChanges())
        m_document.Reset();
}

bool CFileCommands::OpenDocument(const std::string& path) {
    // A failed open leaves the document as it was, with its history and the answer about its
    // lines; the core has said why, this says what failed.
    if (m_document.Load(path))
        return true;
    m_prompts.Message(FormatText("Error loading tank file '%s'.", path));
    return false;
}

void CFileCommands::Revert() {
    if (m_document.IsUntitled())
        return;
    if (m_document.IsModified() &&
        m_prompts.YesNoCancel(FormatText("Lose the changes made to '%s' and read it again from "
                                         "disk?",
                                         m_document.Path())) != IPrompts::Answer::Yes)
        return;
    // A copy: loading replaces the path it is given.
    OpenDocument(std::string(m_document.Path()));
}

void CFileCommands::Open() {
    if (!PromptSaveChanges())
        return;
    std::string path;
    if (m_prompts.OpenPath(kTankFilter, path))
        OpenDocument(path);
}

void CFileCommands::OpenFile(const std::string& path) {
    if (PromptSaveChanges())
        OpenDocument(path);
}

void CFileCommands::Save() {
    if (m_document.IsUntitled())
        SaveAs();
    else
        SaveInPlace();
}

void CFileCommands::SaveAs() {
    SaveStyle style = SaveStyle::Layout;
    std::string path;
    if (ChooseSaveStyle(style) && m_prompts.SavePath(kTankFilter, kTankExtension, path))
        SaveLocked(path, style, false);
}

bool CFileCommands::SaveDocument() {
    if (!m_document.IsUntitled())
        return SaveInPlace();
    std::string path;
    return m_prompts.SavePath(kTankFilter, kTankExtension, path) &&
           SaveLocked(path, SaveStyle::Layout, false);
}

bool CFileCommands::SaveInPlace() {
    return SaveLocked(m_document.Path(), SaveStyle::Layout, true);
}

bool CFileCommands::SaveLocked(const std::string& path, SaveStyle style, bool inPlace) {
    CFolderLock lock;
    if (!lock.Lock({path}, DefaultLockWait()))
        return false;
    if (!inPlace)
        return m_document.SaveAs(path, style);
    // Asked under the lock: no other run can change the file between the look and the write.
    if (m_document.ChangedOnDisk() &&
        m_prompts.YesNoCancel(FormatText("'%s' has been changed by another program since it was "
                                         "opened.\nSave your version over it?",
                                         m_document.Path())) != IPrompts::Answer::Yes)
        return false;
    return ChooseSaveStyle(style) && m_document.Save(style);
}

bool CFileCommands::ChooseSaveStyle(SaveStyle& style) {
    // A new document has no file of its own to keep: it is written in the editor's layout.
    if (!m_document.IsReadFromFile()) {
        style = SaveStyle::Layout;
        return true;
    }
    const std::size_t unused = m_document.UnusedLineCount();
    if (!m_document.SaveStyleAnswer() && unused > 0) {
        const std::string question =
            FormatText(FormatNumber("'%s' has %d lines that are not fields the editor knows "
                                    "(unknown groups and keys, comments).\nKeep them in the "
                                    "saved file?",
                                    static_cast<long long>(unused)),
                       m_document.Path());
        switch (m_prompts.YesNoCancel(question)) {
        case IPrompts::Answer::Yes:
            m_document.SetSaveStyleAnswer(SaveStyle::KeepFile);
            break;
        case IPrompts::Answer::No:
            m_document.SetSaveStyleAnswer(SaveStyle::Layout);
            break;
        case IPrompts::Answer::Cancel:
            return false;
        }
    }
    style = m_document.SaveStyleAnswer().value_or(SaveStyle::KeepFile);
    return true;
}
