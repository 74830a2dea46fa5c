#include "FieldEditor.h"

#include "FieldEditCommand.h"
#include "FieldPanel.h"
#include "FieldTree.h"
#include "Schema.h"
#include "TankDocument.h"
#include "TemplateList.h"
#include "ValueComboBox.h"
#include "ValueText.h"

#include <QApplication>
#include <QLineEdit>
#include <QUndoStack>

CFieldEditor::CFieldEditor(CTankDocument& document, const CTemplateList& templates,
                           CFieldTree* tree, CFieldPanel* panel, QObject* parent)
    : QObject(parent), m_document(document), m_templates(templates), m_tree(tree), m_panel(panel),
      m_valueBox(panel->ValueBox()) {
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CFieldEditor::OnSelChangedTree);
    connect(m_valueBox, &CValueComboBox::EditChanged, this, &CFieldEditor::OnEditChangeValue);
    connect(m_valueBox, qOverload<int>(&QComboBox::activated), this,
            &CFieldEditor::OnSelEndOkValue);
    connect(&m_document, &CTankDocument::FieldChanged, this, &CFieldEditor::OnFieldChanged);
    // Typing into a field again after leaving it is a new step.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old) {
        if (old == m_valueBox->lineEdit())
            EndTypingRun();
    });
}

void CFieldEditor::OnSelChangedTree() {
    EndTypingRun();
    QTreeWidgetItem* item = m_tree->SelectedItem();
    const int index = item ? item->data(0, CFieldTree::kItemIndexRole).toInt() : 0;
    if (!item)
        // Nothing is selected (the tree was rebuilt): the panel must not go on showing a field
        // of a document that may be gone.
        m_panel->ShowNothing();
    else if (item->parent())
        m_panel->ShowField(m_document.Field(index), m_templates, m_document.File().m_nEncoding);
    else
        m_panel->ShowGroup(CSchema::Get().Groups()[static_cast<std::size_t>(index)]);
}

void CFieldEditor::RefreshValueBox() {
    const int index = m_tree->SelectedField();
    if (index >= 0)
        m_panel->ShowValue(m_document.Field(index), m_templates);
}

void CFieldEditor::ApplyValue(bool typing) {
    const int index = m_tree->SelectedField();
    if (index < 0)
        return;
    const CFieldEntry& field = m_document.Field(index);
    CFieldEntry changed = field;
    m_valueBox->ApplyTo(changed);
    // An edit that empties the field is a step of its own, as is anything but typing.
    const bool merging = typing && changed.m_bPresent;
    if (!changed.SameAs(field)) {
        m_bApplyingValue = true;
        m_document.UndoStack()->push(new CFieldEditCommand(m_document, field, changed,
                                                           merging ? CFieldEditCommand::Kind::Typing
                                                                   : CFieldEditCommand::Kind::Other,
                                                           m_nTypingRun));
        m_bApplyingValue = false;
    }
    if (!merging)
        EndTypingRun();
}

void CFieldEditor::OnFieldChanged(int index, bool fromHistory) {
    // Emptied by the user's own edit, the item reads "name =" until the tree is built again.
    m_tree->UpdateField(m_document.Field(index), m_bApplyingValue);
    m_tree->SetChanged(index, m_document.IsFieldChanged(index));
    if (m_tree->SelectedField() == index)
        m_panel->ShowOwnValue(m_document.Field(index));
    if (fromHistory) {
        if (m_tree->SelectedField() == index)
            RefreshValueBox();
        else
            m_tree->SelectField(index);
        m_panel->ClearNote();
    } else if (!m_bApplyingValue && m_tree->SelectedField() == index) {
        // Changed elsewhere: the value box shows the new value. The box's own edits stay as
        // typed.
        RefreshValueBox();
    }
}

void CFieldEditor::OnEditChangeValue() {
    m_panel->ClearNote();
    ApplyValue(true);
}

void CFieldEditor::OnSelEndOkValue(int index) {
    const int field = m_tree->SelectedField();
    const int source =
        index < 0 ? -1 : m_valueBox->itemData(index, CValueComboBox::kSourceRole).toInt();
    if (field < 0 || source < 0 || static_cast<std::size_t>(source) >= m_templates.Size())
        return;
    // The box checked the picked text as it took it; a template's value is not the user's
    // typing, so nothing was refused.
    m_panel->ClearNote();
    // The template's value as its file writes it; a String in the document's encoding, as a file
    // never mixes two.
    CFieldEntry value =
        m_templates.At(static_cast<std::size_t>(source)).m_fields[static_cast<std::size_t>(field)];
    const TextEncoding encoding = m_document.File().m_nEncoding;
    char32_t refused = 0;
    if (value.Type() == FieldType::String &&
        !EncodeShownBytes(std::string(value.m_strValue), encoding, value.m_strValue, refused)) {
        RefreshValueBox();
        m_panel->ShowNote(WhyStringCannotTake(encoding, refused));
        return;
    }
    m_valueBox->SetShownValue(value);
    ApplyValue(false);
}
