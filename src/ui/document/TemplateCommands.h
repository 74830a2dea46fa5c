#pragma once

#include "AliasTable.h"
#include "TemplateList.h"

#include <QObject>

#include <string>

class IPrompts;
class QWidget;

// The templates beside the document and the Template commands on them: the alias table read at
// start, Load Set, Save Set, Edit Set and Clear. Views follow TemplatesChanged.
class CTemplateCommands : public QObject {
    Q_OBJECT
public:
    // window is the parent of the progress and Template Files dialogs.
    CTemplateCommands(QWidget* window, IPrompts& prompts);

    const CTemplateList& Templates() const { return m_templates; }
    const CAliasTable& Aliases() const { return m_aliasTable; }

    // Reads the alias file of the current folder, saying nothing when there is none; one that
    // cannot be read is reported, and no aliases are used.
    void LoadAliases();

    void LoadSet();
    // Loads the template set file at path in place of the templates, as Load Set does once its
    // dialog is answered. A set file that cannot be read changes nothing.
    void LoadSetFile(const std::string& path);
    void SaveSet();
    void EditSet();
    // Empties the template list.
    void Clear();
    // Loads the templates of the last run at paths in place of the templates. Those that no
    // longer open are left out and named together in one message rather than one each.
    void LoadRemembered(const std::vector<std::string>& paths);

signals:
    // Templates are about to go: views must drop what points into them before events are
    // handled again (a progress dialog handles them while a set loads).
    void TemplatesAboutToChange();
    // The templates may have changed: the values they offer are to be shown anew.
    void TemplatesChanged();

private:
    QWidget* m_pWindow;
    IPrompts& m_prompts;
    CAliasTable m_aliasTable;
    CTemplateList m_templates;
};
