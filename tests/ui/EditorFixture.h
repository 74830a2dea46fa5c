#pragma once

#include "EditorDlg.h"
#include "ScriptedPrompts.h"
#include "UiTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

using Shown = std::vector<std::string>;
using Paths = std::vector<std::string>;
using Answer = IPrompts::Answer;

// A small tank file that sets fields in three groups.
extern const char* const kSampleTank;

// A real editor window in a scratch folder with scripted prompts, driven as a user drives it:
// menu items, keys, clicks on the tree. The members go in reverse order: the window first, then
// the prompts (which check that every queued reply was used), then the folder.
class EditorTest : public ::testing::Test {
protected:
    // Makes and shows a new window, active as a user's window is. The folder holds an alias
    // file unless the test removed it.
    void Start();
    // Starts on name, opened; what opening it showed is forgotten.
    void StartOn(const std::string& name);
    // Runs the item of menu whose text, without its '&' and key, begins with item.
    void Command(const char* menu, const char* item);
    void Open(const std::string& name);
    // Keys as the keyboard sends them: to the active window (or the open list), whose shortcuts
    // see them before the focused widget does.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Type(const QString& text);
    // Clicks a field in the tree, then puts the caret in the value box.
    QTreeWidgetItem* Select(const char* group, const char* name);
    QString ItemText(const char* group, const char* name);
    // Types 99 over maxHealth, so the document has unsaved changes.
    void Modify();
    // The title as the window manager shows it.
    std::string Title() const;
    std::string TitleOf(const std::string& name, bool modified = false) const;
    bool Modified() const;
    QString Edit() const { return m_edit->text(); }

    void Send(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers);

    CScratchFolder m_folder;
    CScriptedPrompts m_prompts;
    std::unique_ptr<CEditorDlg> m_editor;
    QTreeWidget* m_tree = nullptr;
    QComboBox* m_box = nullptr;
    QLineEdit* m_edit = nullptr;
};
