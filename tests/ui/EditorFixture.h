#pragma once

#include "EditorDlg.h"
#include "ScriptedPrompts.h"
#include "UiTestSupport.h"
#include "ValueComboBox.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// A real editor window in a scratch folder, with scripted prompts. The members go in reverse
// order: the window first, then the prompts (which check that every queued reply was used),
// then the folder.
class EditorTest : public ::testing::Test {
protected:
    // Shows the window, active as a user's window is, so that keys reach its shortcuts; the
    // folder holds an alias file unless the test removed it.
    void Start() {
        m_editor = std::make_unique<CEditorDlg>(m_prompts);
        m_editor->show();
        m_editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_editor.get()));
    }
    // Opens the file name of the scratch folder through File > Open.
    void Open(const std::string& name) {
        m_prompts.QueuePath(m_folder.Path(name));
        m_editor->OnFileOpen();
    }
    // Sets maxHealth as an edit would, so the document has unsaved changes.
    void Modify() {
        CTankFile& document = m_editor->Document();
        document.m_fields[6].m_bPresent = 1;
        document.m_fields[6].m_nValue = 99;
        document.m_bModified = 1;
        m_editor->UpdateTitle();
    }
    QString Title() const { return m_editor->windowTitle(); }
    std::string TitleOf(const std::string& name, bool modified = false) const {
        return "Tarnwick - [" + m_folder.Path(name) + (modified ? " *]" : "]");
    }
    // Starts on name, opened.
    void StartOn(const std::string& name) {
        Start();
        Open(name);
        m_prompts.TakeShown();
        m_box = ValueBoxOf(*m_editor);
    }
    // Clicks a field in the tree, then puts the caret in the value box.
    QTreeWidgetItem* Select(const char* group, const char* name) {
        QTreeWidgetItem* item = FieldItem(*m_editor, group, name);
        ClickItem(*m_editor, item);
        m_box->setFocus();
        return item;
    }
    bool Modified() const { return m_editor->Document().m_bModified != 0; }

    CScratchFolder m_folder;
    CScriptedPrompts m_prompts;
    std::unique_ptr<CEditorDlg> m_editor;
    CValueComboBox* m_box = nullptr;
};

using Shown = std::vector<std::string>;
using Paths = std::vector<std::string>;
using Answer = IPrompts::Answer;
