#include "FieldEditor.h"

#include "ByteText.h"
#include "FieldEditCommand.h"
#include "FieldPanel.h"
#include "FieldTree.h"
#include "OtherKeyEditCommand.h"
#include "OtherKeys.h"
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
    connect(&m_document, &CTankDocument::OtherKeyChanged, this, &CFieldEditor::OnOtherKeyChanged);
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
    const TextEncoding encoding = m_document.File().m_nEncoding;
    if (!item) {
        // Nothing is selected (the tree was rebuilt): the panel must not go on showing a field
        // of a document that may be gone.
        m_panel->ShowNothing();
        return;
    }
    switch (CFieldTree::KindOf(item)) {
    case CFieldTree::kFieldItem:
        m_panel->ShowField(m_document.Field(index), m_templates, encoding);
        break;
    case CFieldTree::kGroupItem:
        m_panel->ShowGroup(CSchema::Get().Groups()[static_cast<std::size_t>(index)]);
        break;
    case CFieldTree::kOtherKeyItem:
        m_panel->ShowOtherKey(m_document.OtherKey(index), m_templates, encoding);
        break;
    case CFieldTree::kOtherGroupItem:
        m_panel->ShowOtherGroup(BytesOfText(item->text(0)));
        break;
    }
}

void CFieldEditor::RefreshValueBox() {
    if (const int index = m_tree->SelectedField(); index >= 0)
        m_panel->ShowValue(m_document.Field(index), m_templates);
    else if (const int other = m_tree->SelectedOtherKey(); other >= 0)
        m_panel->ShowOtherKeyValue(m_document.OtherKey(other), m_templates);
}

void CFieldEditor::ApplyOtherKey(int index, bool typing) {
    const std::string bytes = m_valueBox->EditBytes();
    const std::string_view raw = TrimmedRawValue(bytes);
    // The box refused '[' and line breaks as they were typed; a "//" outside quotes would read
    // back as a comment, so that text is not taken, and the panel says why.
    if (const std::string why = RawValueRefusal(raw); !why.empty()) {
        m_panel->ShowNote("A raw value " + why);
        return;
    }
    const COtherKey key = m_document.OtherKey(index);
    const COtherKeyEditCommand::CValue before{std::string(key.value), key.present};
    const COtherKeyEditCommand::CValue after{std::string(raw), !raw.empty()};
    // Emptying the key removes it: a step of its own, as is anything but typing.
    const bool merging = typing && after.present;
    if (!(after == before)) {
        m_bApplyingValue = true;
        m_document.UndoStack()->push(
            new COtherKeyEditCommand(m_document, index, before, after, merging, m_nTypingRun));
        m_bApplyingValue = false;
    }
    if (!merging)
        EndTypingRun();
}

void CFieldEditor::ApplyValue(bool typing) {
    if (const int other = m_tree->SelectedOtherKey(); other >= 0)
        return ApplyOtherKey(other, typing);
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

void CFieldEditor::OnOtherKeyChanged(int index, bool fromHistory) {
    // The same as for a field, with the key's raw value.
    m_tree->UpdateOtherKey(index, m_bApplyingValue);
    m_tree->SetOtherKeyChanged(index, m_document.IsOtherKeyChanged(index));
    const bool selected = m_tree->SelectedOtherKey() == index;
    if (fromHistory) {
        if (selected)
            RefreshValueBox();
        else
            m_tree->SelectOtherKey(index);
        m_panel->ClearNote();
    } else if (!m_bApplyingValue && selected) {
        RefreshValueBox();
    }
}

void CFieldEditor::OnEditChangeValue() {
    m_panel->ClearNote();
    ApplyValue(true);
}

void CFieldEditor::PickOtherKey(int index, const CTankFile& source) {
    const COtherKey key = m_document.OtherKey(index);
    const int at = source.m_otherKeys.Find(key.group, key.name);
    if (at < 0)
        return;
    // In the document's encoding, as a file never mixes two.
    const TextEncoding encoding = m_document.File().m_nEncoding;
    std::string raw;
    char32_t refused = 0;
    if (!EncodeShownBytes(source.m_otherKeys.At(static_cast<std::size_t>(at)).value, encoding, raw,
                          refused)) {
        RefreshValueBox();
        m_panel->ShowNote(CannotHoldReason(encoding, refused));
        return;
    }
    m_valueBox->SetShownText(raw);
    ApplyValue(false);
}

void CFieldEditor::OnSelEndOkValue(int index) {
    const int field = m_tree->SelectedField();
    const int source =
        index < 0 ? -1 : m_valueBox->itemData(index, CValueComboBox::kSourceRole).toInt();
    if (source < 0 || static_cast<std::size_t>(source) >= m_templates.Size())
        return;
    m_panel->ClearNote();
    if (const int other = m_tree->SelectedOtherKey(); other >= 0)
        return PickOtherKey(other, m_templates.At(static_cast<std::size_t>(source)));
    if (field < 0)
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
