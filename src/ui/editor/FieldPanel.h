#pragma once

#include "TextEncoding.h"
#include "ValueComboBox.h"

#include <QWidget>

#include <string>
#include <string_view>

class CFieldEntry;
class CFieldGroup;
struct COtherKey;
class CTemplateList;
class CValueStrip;
class QLabel;

// The right side of the editor window: the value box, then what the selected field or group is
// (name, type, description), where its value stands among the templates', a note on why the
// value box refused an edit, and the logo. The box shows the field's value and lists the values
// the templates give it.
class CFieldPanel : public QWidget {
    Q_OBJECT
public:
    explicit CFieldPanel(QWidget* parent = nullptr);

    CValueComboBox* ValueBox() const { return m_valueBox; }

    // The field of a document in encoding in the value box (which refuses, for a String, what
    // would not read back and what encoding cannot hold) and its name, type and description.
    void ShowField(const CFieldEntry& field, const CTemplateList& templates, TextEncoding encoding);
    // The group's texts, with the value box emptied and disabled.
    void ShowGroup(const CFieldGroup& group);
    // The same for a group of keys the schema does not know, named name.
    void ShowOtherGroup(std::string_view name);
    // A key the schema does not know, of a document in encoding: its name, that it is text, its
    // raw value in the value box (which refuses what would not read back and what encoding
    // cannot hold), and the templates' raw values for the same key.
    void ShowOtherKey(const COtherKey& key, const CTemplateList& templates, TextEncoding encoding);
    // Shows key's raw value in the value box again, with the templates'; the rest stays.
    void ShowOtherKeyValue(const COtherKey& key, const CTemplateList& templates);
    // Nothing: every text and the value box empty, the box usable.
    void ShowNothing();
    // Shows field's value in the value box again, with the templates' values; the rest stays.
    void ShowValue(const CFieldEntry& field, const CTemplateList& templates);
    // Moves the strip's mark to field's value, which the user changed; the templates' side stays.
    void ShowOwnValue(const CFieldEntry& field);

    // Says why the value box did not take an edit (a sentence without its full stop, UTF-8).
    void ShowNote(const std::string& why);
    void ClearNote();

signals:
    // A dot of the strip was clicked: the template at position in the list.
    void TemplateClicked(int position);

private:
    void ShowTexts(const QString& name, const QString& type, const QString& description);
    void ClearValueBox();
    void HideStats();
    // For a Float or Integer field that two or more templates set, shows where field's value
    // stands among theirs: the strip and the line beneath it; otherwise hides both. items are
    // the value list's, one for each template that sets field.
    void ShowStats(const CFieldEntry& field, const CTemplateList& templates,
                   const std::vector<CValueComboBox::Item>& items);
    // The user changed the value box's text: a warning in the box while the text of a number
    // field is not wholly a number, saying what the field holds.
    void UpdateWarning(const QString& text);

    CValueComboBox* m_valueBox;
    QLabel* m_fieldText;
    QLabel* m_typeText;
    QLabel* m_descriptionText;
    CValueStrip* m_strip;
    QLabel* m_statsText;
    QLabel* m_noteText;
    int m_nFieldIndex = -1; // the field shown, or -1
};
