#pragma once

#include "AliasTable.h"
#include "Message.h"
#include "Prompts.h"
#include "TankFile.h"
#include "TemplateList.h"

#include <QMainWindow>

#include <optional>
#include <string>

class CFieldEntry;
class CFieldPanel;
class CFieldTree;
class CFilterBox;
class CUnusedLinesBar;
class CValueComboBox;
class QAction;
class QUndoStack;

// The editor's one main window: the filter box and the definition tree of the document on the
// left; on the right the value box, the field panel and the group's logo; File, Edit, Template
// and Help menus above and the count of the file's unused lines below. It owns the document, its
// undo history, the aliases and the templates for the life of the program, and runs every
// command.
class CEditorDlg : public QMainWindow {
    Q_OBJECT
public:
    // Every question and message goes through prompts, which must outlive the window. Core
    // messages shown while the window exists go there too.
    explicit CEditorDlg(IPrompts& prompts, QWidget* parent = nullptr);
    ~CEditorDlg() override;

    // A tank file to open once the window is initialised, as File > Open would.
    void SetStartPath(const std::string& path) { m_strStartPath = path; }
    // A template set file to load after it, as Template > Load Set would.
    void SetStartTemplateSet(const std::string& path) { m_strStartSet = path; }

    // Reads the aliases, resets the document and fills the window. Runs once, before the
    // window first shows (showing it runs it when nobody has).
    void Initialise();

    void setVisible(bool visible) override;

protected:
    // Every way of closing the window (File > Exit, Escape, the close box, the window manager)
    // goes through the save-changes question.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void UpdateTitle();
    // Makes the tree's items anew from the document.
    void BuildTree();

    // Asks whether to save a modified document. Returns non-zero to go on, 0 to stop (Cancel, a
    // cancelled Save As dialog or a failed save).
    int PromptSaveChanges();

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileExit();

    void OnEditUndo();
    void OnEditRedo();
    void OnEditFind();

    void OnTemplateLoadSet();
    void OnTemplateSaveSet();
    void OnTemplateEditSet();

    void OnHelpAbout();
    void OnHelpProgramWebSite();
    void OnHelpGroupWebSite();

    // Opens the tank file at path as File > Open does once its dialog is answered, asking
    // about unsaved changes first (a file dropped on the window).
    void OpenFile(const std::string& path);

    // The tree's selection changed: fills the field panel and the value box for the selected
    // field or group.
    void OnSelChangedTree();
    // Refills the value box for the selected field, from the document and the templates.
    void RefreshValueBox();
    // Records the change of the selected field to what the value box holds as an undo step:
    // the keystrokes typed into one field merge into one, anything else (Enter) is its own.
    void ApplyValue(bool typing = false);
    // The user changed the edit text.
    void OnEditChangeValue();
    // The user picked the list item at index.
    void OnSelEndOkValue(int index);

    void CreateMenus();
    void CreateControls();
    void OpenDocument(const std::string& path);
    void LoadTemplateSet(const std::string& path);
    // Saves to the document's own path, or through Save As while it has none. Returns 0 when
    // a question or the dialog was cancelled or the write failed.
    int SaveDocument();
    // Saves to the document's own path, asking first when another program changed the file.
    int SaveInPlace();
    // After a save was tried: the history's clean state, the title, the count line.
    void AfterSave();
    // How to save the document: when its file has lines the editor does not know, the user is
    // asked once per document whether to keep them. False when the user cancelled.
    bool ChooseSaveStyle(SaveStyle& style);
    // The document was replaced (New, Open): no history, a new tree, title and count line.
    void ShowNewDocument();
    void UpdateUnusedLines();
    void OnShowUnusedLines();
    void OnFilterFirstMatch();
    // Puts value into the document's field of the same index (an undo step's Apply).
    void SetFieldValue(const CFieldEntry& value, bool fromHistory);
    // The next keystrokes start a step of their own.
    void EndTypingRun() { ++m_nTypingRun; }
    void UpdateUndoActions();

    IPrompts& m_prompts;
    MessageHandler m_previousHandler;

    CFieldTree* m_tree = nullptr;
    CFilterBox* m_filter = nullptr;
    CFieldPanel* m_panel = nullptr;
    CValueComboBox* m_valueBox = nullptr;
    CUnusedLinesBar* m_unusedBar = nullptr;
    QUndoStack* m_undoStack = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;

    CTankFile m_document;
    CAliasTable m_aliasTable;
    CTemplateList m_templates;
    std::optional<SaveStyle> m_saveStyle; // the user's answer about unused lines, until New or Open
    int m_nTypingRun = 0;

    std::string m_strStartPath;
    std::string m_strStartSet;
    bool m_bInitialised = false;
};
