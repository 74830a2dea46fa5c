#pragma once

#include "Message.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

class CCompareDlg;
class CEditorSettings;
class CFieldEditor;
class CFieldPanel;
class CFieldTree;
class CFileCommands;
class CFilterBox;
class CTankDocument;
class CTemplateCommands;
class CUnusedLinesBar;
class CValueComboBox;
class IPrompts;
class QAction;
class QMenu;
class QSplitter;

// The editor's main window: the filter box and the definition tree of the document on the left;
// on the right the value box, the field panel and the group's logo; File, Edit, Template and
// Help menus above and the count of the file's unused lines below. It shows the document and
// follows its signals, and hands the menus' commands to the file and template commands and the
// value box's edits to the field editor. What it remembers between runs (recent files, its size
// and split, the comparison's, the templates, the tree's open groups and selection) it reads
// when initialised and writes when it closes.
class CEditorDlg : public QMainWindow {
    Q_OBJECT
public:
    // Every question and message goes through prompts, which must outlive the window. Core
    // messages shown while the window exists go there too. What is remembered goes to settings,
    // which must outlive the window too; without them nothing is read or written.
    explicit CEditorDlg(IPrompts& prompts, CEditorSettings* settings = nullptr);
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
    void OnFileNew();
    void OnFileOpen();
    void OnFileOpenRecent(const std::string& path);
    void OnFileClearRecent();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileRevert();
    void OnFileExit();

    void OnEditUndo();
    void OnEditRedo();
    void OnEditFind();

    void OnViewCompareUnits();
    // The comparison's current row moved to field.
    void OnCompareFieldChanged(int key);
    // The comparison's key of the field or other key selected in the tree; -1 for none.
    int SelectedCompareKey() const;
    // A dot of the field panel's strip was clicked: the template at position in the list.
    void OnStripTemplateClicked(int position);

    void OnTemplateLoadSet();
    void OnTemplateSaveSet();
    void OnTemplateEditSet();
    void OnTemplateClear();

    void OnHelpAbout();
    void OnHelpProgramWebSite();
    void OnHelpGroupWebSite();

    // The document's signals.
    void OnDocumentReplaced();
    void OnDocumentSaved();
    // Puts the document's file first in Open Recent.
    void RememberFile();
    void UpdateRecentMenu();
    void UpdateTitle();
    void UpdateUnusedLines();

    void CreateMenus();
    // Connects action to run command, unless a modal window is open over this one.
    void ConnectCommand(QAction* action, std::function<void()> command);
    // Adds an item named name (its object name) that runs handler.
    QAction* AddCommand(QMenu* menu, const char* name, const char* text,
                        void (CEditorDlg::*handler)());
    void CreateControls();
    void OnShowUnusedLines();
    void OnFilterFirstMatch();
    void UpdateUndoActions();
    // Reads and writes what the window remembers between runs.
    void RestoreSettings();
    void SaveSettings();

    IPrompts& m_prompts;
    std::unique_ptr<CEditorSettings> m_noSettings; // when none were given
    CEditorSettings& m_settings;
    MessageHandler m_previousHandler;

    CTankDocument* m_document;
    std::unique_ptr<CFileCommands> m_fileCommands;
    CTemplateCommands* m_templateCommands;
    CFieldEditor* m_fieldEditor = nullptr;
    CCompareDlg* m_compare = nullptr; // made when first asked for, then kept

    CFieldTree* m_tree = nullptr;
    CFilterBox* m_filter = nullptr;
    CFieldPanel* m_panel = nullptr;
    CValueComboBox* m_valueBox = nullptr;
    CUnusedLinesBar* m_unusedBar = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_revertAction = nullptr;
    QMenu* m_recentMenu = nullptr;
    QSplitter* m_split = nullptr;

    std::string m_strStartPath;
    std::string m_strStartSet;
    bool m_bInitialised = false;
};
