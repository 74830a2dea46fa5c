#pragma once

#include "Message.h"

#include <QMainWindow>

#include <memory>
#include <string>

class CCompareDlg;
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

// The editor's main window: the filter box and the definition tree of the document on the left;
// on the right the value box, the field panel and the group's logo; File, Edit, Template and
// Help menus above and the count of the file's unused lines below. It shows the document and
// follows its signals, and hands the menus' commands to the file and template commands and the
// value box's edits to the field editor.
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
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileExit();

    void OnEditUndo();
    void OnEditRedo();
    void OnEditFind();

    void OnViewCompareUnits();
    // The comparison's current row moved to field.
    void OnCompareFieldChanged(int field);
    // A dot of the field panel's strip was clicked: the template at position in the list.
    void OnStripTemplateClicked(int position);

    void OnTemplateLoadSet();
    void OnTemplateSaveSet();
    void OnTemplateEditSet();

    void OnHelpAbout();
    void OnHelpProgramWebSite();
    void OnHelpGroupWebSite();

    // The document's signals.
    void OnDocumentReplaced();
    void UpdateTitle();
    void UpdateUnusedLines();

    void CreateMenus();
    // Adds an item named name (its object name) that runs handler, unless a modal window is
    // open over this one.
    QAction* AddCommand(QMenu* menu, const char* name, const char* text,
                        void (CEditorDlg::*handler)());
    void CreateControls();
    void OnShowUnusedLines();
    void OnFilterFirstMatch();
    void UpdateUndoActions();

    IPrompts& m_prompts;
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

    std::string m_strStartPath;
    std::string m_strStartSet;
    bool m_bInitialised = false;
};
