#include "ValueComboBox.h"

#include "ValueItemDelegate.h"

#include <QLineEdit>
#include <QSignalBlocker>

CValueComboBox::CValueComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // Enter applies the value; it must not add the text to the list.
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    setCompleter(nullptr);
    const QPalette colours = palette();
    setItemDelegate(new CValueItemDelegate(
        {colours.color(QPalette::Highlight), colours.color(QPalette::WindowText),
         colours.color(QPalette::HighlightedText), colours.color(QPalette::Window)},
        kLabelRole, this));
    connect(lineEdit(), &QLineEdit::textEdited, this, &CValueComboBox::EditChanged);
}

int CValueComboBox::AddString(const QString& text, const QString& label) {
    int low = 0;
    int high = count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (QString::compare(itemText(mid), text, Qt::CaseInsensitive) <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    // A combo box makes the first item of an empty list current, which would replace the edit
    // text; the list only offers values, so the edit text is put back.
    const QString edit = lineEdit()->text();
    {
        const QSignalBlocker quiet(this);
        insertItem(low, text);
        if (!label.isNull())
            setItemData(low, label, kLabelRole);
        if (currentIndex() != -1)
            setCurrentIndex(-1);
    }
    if (lineEdit()->text() != edit)
        lineEdit()->setText(edit);
    return low;
}

QString CValueComboBox::Label(int index) const {
    return itemData(index, kLabelRole).toString();
}

void CValueComboBox::ResetContent() {
    const QString edit = lineEdit()->text();
    {
        const QSignalBlocker quiet(this);
        clear();
    }
    if (lineEdit()->text() != edit)
        lineEdit()->setText(edit);
}

QString CValueComboBox::EditText() const {
    return lineEdit()->text();
}

void CValueComboBox::SetEditText(const QString& text) {
    lineEdit()->setText(text);
}
