#include "ValueComboBox.h"

#include <QCompleter>
#include <QLineEdit>
#include <QSignalBlocker>

CValueComboBox::CValueComboBox(QWidget* parent) : QComboBox(parent) {
    // Typed text is applied as it stands, so the edit field must not complete it from the
    // list. A combo box gives a new edit field a completer over its list unless the field has
    // one; a bare one costs far less to make, and the field deletes it when it is unset.
    auto* edit = new QLineEdit(this);
    edit->setCompleter(new QCompleter(edit));
    setLineEdit(edit);
    edit->setCompleter(nullptr);
    // Enter applies the value; it must not add the text to the list.
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    const QPalette colours = palette();
    m_colours = {colours.color(QPalette::Highlight), colours.color(QPalette::WindowText),
                 colours.color(QPalette::HighlightedText), colours.color(QPalette::Window)};
    connect(lineEdit(), &QLineEdit::textEdited, this, &CValueComboBox::EditChanged);
}

void CValueComboBox::EnsureDelegate() {
    // The list and its delegate are made when first needed: most boxes start empty, and
    // making the list costs as much as the rest of the box.
    if (!m_delegate) {
        m_delegate = new CValueItemDelegate(m_colours, kLabelRole, this);
        setItemDelegate(m_delegate);
    }
}

void CValueComboBox::showPopup() {
    EnsureDelegate();
    QComboBox::showPopup();
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
    EnsureDelegate();
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
