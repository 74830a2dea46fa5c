#pragma once

#include "AliasTable.h"
#include "Message.h"
#include "Prompts.h"
#include "ShortcutFilter.h"
#include "TankFile.h"
#include "TemplateList.h"

#include <QDialog>
#include <QFont>
#include <QIcon>

#include <array>
#include <optional>
#include <string>

class CUnusedLinesBar;
class CValueComboBox;
class QLabel;
class QMenuBar;
class QTreeWidget;
class QTreeWidgetItem;

// The editor's one main window: the definition tree of the document on the left; on the right
// the value box, the field panel and the group's logo; File, Template and Help menus above.
// It owns the document, the aliases and the templates for the life of the program.
class CEditorDlg : public QDialog {
    Q_OBJECT
public:
    // Item data of every tree item: a group index for a top-level item, a field index (the
    // position in the document's whole m_fields) for a field item.
    static constexpr int kItemIndexRole = Qt::UserRole;

    // Images of the tree, in the order items use them.
    enum Image { kFolderImage, kStringImage, kFloatImage, kIntegerImage, kImageCount };

    // Every question and message goes through prompts, which must outlive the window. Core
    // messages shown while the window exists go there too.
    explicit CEditorDlg(IPrompts& prompts, QWidget* parent = nullptr);
    ~CEditorDlg() override;

    // A tank file to open once the window is initialised, as File > Open would.
    void SetStartPath(const std::string& path) { m_strStartPath = path; }

    // Reads the aliases, resets the document and fills the window. Runs once, before the
    // window first shows (showing it runs it when nobody has).
    void Initialise();
    bool IsInitialised() const { return m_bInitialised; }

    CTankFile& Document() { return m_document; }
    const CTankFile& Document() const { return m_document; }

    void UpdateTitle();
    void BuildTree();
    void UpdateGroupBold();

    // Asks whether to save a modified document. Returns non-zero to go on, 0 to stop (Cancel, a
    // cancelled Save As dialog or a failed save).
    int PromptSaveChanges();

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileExit();

    void OnTemplateLoadSet();
    void OnTemplateSaveSet();
    void OnTemplateEditSet();

    void OnHelpAbout();
    void OnHelpProgramWebSite();
    void OnHelpGroupWebSite();

    // The tree's selection changed: fills the field panel and the value box for the selected
    // field or group.
    void OnSelChangedTree();
    // Shows entry's value in the value box, listing the values the templates give the field.
    void FillValueBox(int fieldIndex, const CFieldEntry& entry);
    // Empties the value box's edit field and list.
    void ClearValueBox();
    // Refills the value box for the selected field, from the document and the templates.
    void RefreshValueBox();
    // Writes the value box's text into the selected field (every edit, a pick, Enter).
    void ApplyValue();
    // The user changed the edit text.
    void OnEditChangeValue();
    // The user picked the list item at index.
    void OnSelEndOkValue(int index);

    const CTemplateList& Templates() const { return m_templates; }

    // Every way of closing the window comes here (Escape, the close box, the window manager)
    // and goes through the save-changes question like File > Exit.
    void reject() override;
    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateMenus();
    void CreateControls();
    void OpenDocument(const std::string& path);
    // Saves to the document's own path, or through Save As while it has none. Returns 0 when
    // a question or the dialog was cancelled or the write failed.
    int SaveDocument();
    // How to save the document: when its file has lines the editor does not know, the user is
    // asked once per document whether to keep them. False when the user cancelled.
    bool ChooseSaveStyle(SaveStyle& style);
    // Shows or hides the line under the tree that counts the file's unused lines.
    void UpdateUnusedLines();
    void OnShowUnusedLines();
    QTreeWidgetItem* MakeFieldItem(int fieldIndex) const;
    QTreeWidgetItem* SelectedItem() const;
    // Puts bytes into the edit field as the program's own text (no apply).
    void SetShownValue(const std::string& bytes, bool present);
    void OnValueRefused(QChar c);
    void SetItemBold(QTreeWidgetItem* item, bool bold) const;
    int Dlu(int x) const;
    int DluY(int y) const;

    IPrompts& m_prompts;
    MessageHandler m_previousHandler;
    CShortcutFilter m_shortcuts;

    QMenuBar* m_menuBar = nullptr;
    CValueComboBox* m_valueBox = nullptr;
    QTreeWidget* m_tree = nullptr;
    QLabel* m_fieldCaption = nullptr;
    QLabel* m_typeCaption = nullptr;
    QLabel* m_descriptionCaption = nullptr;
    QLabel* m_fieldText = nullptr;
    QLabel* m_typeText = nullptr;
    QLabel* m_descriptionText = nullptr;
    QLabel* m_noteText = nullptr; // why the value box refused an edit
    QLabel* m_logo = nullptr;
    CUnusedLinesBar* m_unusedBar = nullptr;

    CTankFile m_document;
    CAliasTable m_aliasTable;
    CTemplateList m_templates;
    std::optional<SaveStyle> m_saveStyle; // the user's answer about unused lines, until New or Open
    QFont m_boldFont;                     // the captions
    QFont m_treeBoldFont;                 // present fields and their groups
    std::array<QIcon, kImageCount> m_imageList;

    // The edit text as the program last set it, and the bytes it shows: applying that text
    // unchanged stores these bytes, even when they are not UTF-8.
    QString m_shownText;
    std::string m_strShownBytes;
    bool m_bShownPresent = false; // the shown text is a present value (perhaps empty)

    int m_nBaseX = 0; // dialog base units of the window's font
    int m_nBaseY = 0;
    std::string m_strStartPath;
    bool m_bInitialised = false;
};
