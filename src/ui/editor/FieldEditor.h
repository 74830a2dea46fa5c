#pragma once

#include <QObject>

class CFieldPanel;
class CFieldTree;
class CTankDocument;
class CTankFile;
class CTemplateList;
class CValueComboBox;

// Edits the field selected in the tree: shows it (or its group) in the field panel, turns the
// value box's edits into undo steps of the document, and keeps the tree's items and the value
// box in step with every change of the document, wherever it was made.
class CFieldEditor : public QObject {
    Q_OBJECT
public:
    CFieldEditor(CTankDocument& document, const CTemplateList& templates, CFieldTree* tree,
                 CFieldPanel* panel, QObject* parent = nullptr);

    // The tree's selection changed: fills the field panel and the value box for the selected
    // field or group.
    void OnSelChangedTree();
    // Refills the value box for the selected field, from the document and the templates.
    void RefreshValueBox();
    // Records the change of the selected field to what the value box holds as an undo step:
    // the keystrokes typed into one field merge into one, anything else (Enter) is its own.
    void ApplyValue(bool typing = false);
    // The next keystrokes start a step of their own.
    void EndTypingRun() { ++m_nTypingRun; }

private:
    // The user changed the edit text.
    void OnEditChangeValue();
    // The user picked the list item at index.
    void OnSelEndOkValue(int index);
    void OnFieldChanged(int index, bool fromHistory);
    void OnOtherKeyChanged(int index, bool fromHistory);
    // ApplyValue for the other key at index: its raw text, trimmed; empty removes it.
    void ApplyOtherKey(int index, bool typing);
    // A template's raw value for the other key at index, picked in the list.
    void PickOtherKey(int index, const CTankFile& source);

    CTankDocument& m_document;
    const CTemplateList& m_templates;
    CFieldTree* m_tree;
    CFieldPanel* m_panel;
    CValueComboBox* m_valueBox;
    int m_nTypingRun = 0;
    bool m_bApplyingValue = false; // the value box's own edit is being recorded
};
