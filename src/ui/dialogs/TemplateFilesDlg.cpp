#include "TemplateFilesDlg.h"

#include "ByteText.h"
#include "FileFilters.h"
#include "Message.h"
#include "Prompts.h"
#include "TemplateList.h"
#include "TemplateLoading.h"

#include <QBoxLayout>
#include <QListWidget>
#include <QPushButton>

CTemplateFilesDlg::CTemplateFilesDlg(QWidget* parent, CTemplateList* templates,
                                     const CAliasTable* aliasTable, IPrompts& prompts)
    : QDialog(parent), m_pTemplates(templates), m_pAliasTable(aliasTable), m_prompts(prompts),
      m_pList(new QListWidget(this)) {
    setWindowTitle("Template Files");
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const std::string& path : m_pTemplates->Paths())
        m_pList->addItem(TextOfBytes(path));

    auto* close = new QPushButton("Close", this);
    auto* add = new QPushButton("&Add", this);
    auto* remove = new QPushButton("&Delete", this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(add, &QPushButton::clicked, this, &CTemplateFilesDlg::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CTemplateFilesDlg::OnDelete);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pList, 1);
    layout->addLayout(buttons);
    resize(540, 240);
    m_pList->setFocus();
}

void CTemplateFilesDlg::OnAdd() {
    std::vector<std::string> paths = m_prompts.OpenPaths("Load template(s)", kTankFilter);
    std::erase(paths, std::string());
    std::erase_if(paths, [this](const std::string& path) {
        if (!m_pTemplates->Contains(path))
            return false;
        m_prompts.Message(FormatText("'%s' is already a template.", path));
        return true;
    });
    if (LoadTemplatesWithProgress(
            this, *m_pTemplates, *m_pAliasTable, paths,
            [this](const std::string& path) { m_pList->addItem(TextOfBytes(path)); }) > 0)
        emit ListChanged();
}

void CTemplateFilesDlg::OnDelete() {
    if (m_pList->selectedItems().isEmpty())
        return;
    emit ListAboutToChange();
    bool deleted = false;
    // From the last line to the first, so that the lines still to visit keep their positions.
    for (int row = m_pList->count() - 1; row >= 0; --row) {
        if (!m_pList->item(row)->isSelected())
            continue;
        m_pTemplates->RemoveAt(static_cast<std::size_t>(row));
        delete m_pList->takeItem(row);
        deleted = true;
    }
    if (deleted)
        emit ListChanged();
}
