#pragma once

#include <QWidget>

class CFieldEntry;
class CFieldGroup;
class CValueComboBox;
class QLabel;

// The right side of the editor window: the value box, then what the selected field or group is
// (name, type, description), a note on why the value box refused an edit, and the logo.
class CFieldPanel : public QWidget {
    Q_OBJECT
public:
    explicit CFieldPanel(QWidget* parent = nullptr);

    CValueComboBox* ValueBox() const { return m_valueBox; }

    // Name, type and description of field, or of group; nothing at all.
    void ShowField(const CFieldEntry& field);
    void ShowGroup(const CFieldGroup& group);
    void ShowNothing();

    void SetNote(const QString& text);
    void ClearNote();

private:
    void ShowTexts(const QString& name, const QString& type, const QString& description);

    CValueComboBox* m_valueBox;
    QLabel* m_fieldText;
    QLabel* m_typeText;
    QLabel* m_descriptionText;
    QLabel* m_noteText;
};
