#pragma once

#include <QDialog>

class CAliasTable;
class CTemplateList;
class IPrompts;
class QListWidget;

// Edits the template list one template at a time: lists the templates' paths in list order,
// adds tank files chosen in a multiple-selection dialog and deletes the selected ones. Every
// change is made on the list at once; closing keeps them all.
class CTemplateFilesDlg : public QDialog {
    Q_OBJECT
public:
    CTemplateFilesDlg(QWidget* parent, CTemplateList* templates, const CAliasTable* aliasTable,
                      IPrompts& prompts);

signals:
    // Templates are about to be deleted from the list: what points into them must let go.
    void ListAboutToChange();
    // Templates were added to or deleted from the list.
    void ListChanged();

private:
    void OnAdd();
    void OnDelete();

    CTemplateList* m_pTemplates;      // the main window's list; not owned
    const CAliasTable* m_pAliasTable; // not owned
    IPrompts& m_prompts;
    QListWidget* m_pList;
};
