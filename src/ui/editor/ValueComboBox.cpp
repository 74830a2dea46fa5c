#include "ValueComboBox.h"

#include "ByteText.h"
#include "FieldEntry.h"
#include "RefusingValidator.h"
#include "Shortcuts.h"
#include "ValueText.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace {

// Undo and redo belong to the window's history of the document: the edit field's own would take
// back its text and apply that as a new edit. Ignored by the box, the keys go on to the window's
// shortcuts.
bool IsHistoryKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    return IsWindowCommandKey(static_cast<QKeyEvent*>(event));
}

// Alt or Meta with a key that types (a letter, a digit) is a menu key, never text: the edit
// field would otherwise type it, and since every edit applies at once, change the document.
// Ctrl+Alt is left alone, as some keyboards type characters with it, and so is Alt with a key
// that types nothing: Alt+Down and Alt+Up open and close the list.
bool IsMenuKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const auto modifiers = key->modifiers();
    const bool types = (key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) ||
                       (!key->text().isEmpty() && key->text().front().isPrint());
    return types && (modifiers & (Qt::AltModifier | Qt::MetaModifier)) &&
           !(modifiers & Qt::ControlModifier);
}

// Alt+Down and Alt+Up open the list and close it again, as F4 does; Qt's box knows only
// Alt+Down, and would take Alt+Up for Up, which picks the item above.
bool IsListKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
}

} // namespace

CValueComboBox::CValueComboBox(QWidget* parent) : QComboBox(parent) {
    // Typed text is applied as it stands, so the edit field must not complete it from the
    // list. A combo box gives a new edit field a completer over its list unless the field has
    // one; a bare one costs far less to make, and the field deletes it when it is unset.
    auto* edit = new QLineEdit(this);
    edit->setCompleter(new QCompleter(edit));
    setLineEdit(edit);
    // A value read from a file may be longer than a line edit's usual 32767 characters, and
    // applying it unchanged must not cut it.
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setCompleter(nullptr);
    // When editing finishes (the focus leaves, Enter) a combo box makes the item whose text
    // equals the edit text current and reports it as picked, which would apply a value the
    // user never chose, and mark an untouched document modified. Only real picks count.
    disconnect(edit, SIGNAL(editingFinished()), this, nullptr);
    // A list of hundreds of values is read more than a few rows at a time.
    setMaxVisibleItems(kVisibleRows);
    // Enter applies the value; it must not add the text to the list.
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    const QPalette colours = palette();
    // A list's plain rows are painted like the white of an edit field (Base and Text); Qt's
    // Window is the grey of the dialog behind them.
    m_colours = {colours.color(QPalette::Highlight), colours.color(QPalette::Text),
                 colours.color(QPalette::HighlightedText), colours.color(QPalette::Base)};
    connect(lineEdit(), &QLineEdit::textEdited, this, &CValueComboBox::EditChanged);
    lineEdit()->installEventFilter(this);
}

void CValueComboBox::EnsureDelegate() {
    // The list and its delegate are made when first needed: most boxes start empty, and
    // making the list costs as much as the rest of the box.
    if (!m_delegate) {
        m_delegate = new CValueItemDelegate(m_colours, kLabelRole, this);
        setItemDelegate(m_delegate);
        // While the list is open, its keys go to the list.
        view()->installEventFilter(this);
    }
}

bool CValueComboBox::event(QEvent* event) {
    // Keys come to the box, which is its edit field's focus proxy, and it hands those it does not
    // use to the field directly, past any filter on the field: they are sorted out here.
    if (IsHistoryKey(event)) {
        event->ignore();
        return true;
    }
    if (IsMenuKey(event))
        return true;
    if (IsListKey(event)) {
        showPopup();
        return true;
    }
    return QComboBox::event(event);
}

bool CValueComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view() && IsListKey(event)) {
        hidePopup();
        return true;
    }
    // A file dragged over the box is for the window to open, not text to type: ignored here,
    // the drag goes on to the window.
    if (watched == lineEdit() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop) &&
        static_cast<QDropEvent*>(event)->mimeData()->hasUrls()) {
        event->ignore();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void CValueComboBox::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void CValueComboBox::showPopup() {
    EnsureDelegate();
    FitListWidth();
    QComboBox::showPopup();
    // The list opens at the value being edited, or at its top: the view would otherwise stay
    // where the list of another field was scrolled. With no such row the list has no current
    // one, so Enter picks nothing the user did not choose.
    const QString edit = EditText();
    int row = currentIndex();
    if (row == -1 || itemText(row) != edit)
        row = findText(edit, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (row == -1) {
        view()->selectionModel()->clear();
        view()->setCurrentIndex(QModelIndex());
        view()->scrollToTop();
    } else {
        const QModelIndex index = model()->index(row, modelColumn(), rootModelIndex());
        view()->setCurrentIndex(index);
        view()->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
}

void CValueComboBox::FitListWidth() {
    // Measured only as the list opens: a field's list is filled at every selection and
    // seldom opened.
    const QFont font = view()->font();
    int width = 0;
    for (int row = 0; row < count(); ++row)
        width = std::max(width, m_delegate->WholeWidth(
                                    font, model()->index(row, modelColumn(), rootModelIndex())));
    width += 2 * view()->frameWidth();
    if (count() > maxVisibleItems())
        width += view()->verticalScrollBar()->sizeHint().width();
    // The frame the box puts around the view takes a little more; no wider than the screen.
    int around = 0;
    if (const QWidget* frame = view()->parentWidget()) {
        around += frame->contentsMargins().left() + frame->contentsMargins().right();
        if (const QLayout* layout = frame->layout())
            around += layout->contentsMargins().left() + layout->contentsMargins().right();
    }
    view()->setMinimumWidth(std::min(width, screen()->availableGeometry().width() - around));
}

void CValueComboBox::SetItems(std::vector<Item> items, Order order) {
    if (order == Order::Number)
        std::stable_sort(items.begin(), items.end(),
                         [](const Item& a, const Item& b) { return a.number < b.number; });
    else
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
            return QString::compare(a.text, b.text, Qt::CaseInsensitive) < 0;
        });
    QList<QStandardItem*> rows;
    rows.reserve(static_cast<qsizetype>(items.size()));
    for (Item& item : items) {
        auto* row = new QStandardItem(item.text);
        if (!item.label.isNull())
            row->setData(item.label, kLabelRole);
        row->setData(item.source, kSourceRole);
        rows.append(row);
    }
    EnsureDelegate();
    const QString edit = lineEdit()->text();
    {
        const QSignalBlocker quiet(this);
        clear();
        // One insertion for the whole list: a row at a time costs the box an update each. The
        // box keeps the standard model it was made with.
        if (!rows.empty())
            static_cast<QStandardItemModel*>(model())->invisibleRootItem()->appendRows(rows);
        if (currentIndex() != -1)
            setCurrentIndex(-1);
    }
    if (lineEdit()->text() != edit)
        SetEditText(edit);
}

void CValueComboBox::RefuseCharacters(std::function<bool(char32_t)> refuses,
                                      std::function<void(char32_t)> onRefused) {
    if (!m_validator)
        m_validator = new CRefusingValidator(lineEdit());
    const bool any = static_cast<bool>(refuses);
    m_validator->Set(std::move(refuses), std::move(onRefused));
    lineEdit()->setValidator(any ? m_validator : nullptr);
}

void CValueComboBox::SetWarning(const QString& toolTip) {
    if (!m_warning) {
        if (toolTip.isEmpty())
            return;
        m_warning = lineEdit()->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                                          QLineEdit::TrailingPosition);
        m_warning->setObjectName(QStringLiteral("valueWarning"));
    }
    m_warning->setToolTip(toolTip);
    m_warning->setVisible(!toolTip.isEmpty());
}

void CValueComboBox::ResetContent() {
    const QString edit = lineEdit()->text();
    {
        const QSignalBlocker quiet(this);
        clear();
    }
    if (lineEdit()->text() != edit)
        SetEditText(edit);
}

QString CValueComboBox::EditText() const {
    return lineEdit()->text();
}

void CValueComboBox::SetEditText(const QString& text) {
    if (m_validator)
        m_validator->Accept(text);
    lineEdit()->setText(text);
}

void CValueComboBox::SetShownValue(const CFieldEntry& field) {
    m_shown = field;
    m_strShownBytes = field.m_bPresent ? FormatValue(field) : std::string();
    m_shownText = TextOfBytes(m_strShownBytes);
    SetEditText(m_shownText);
}

void CValueComboBox::ClearShownValue() {
    SetShownText({});
}

void CValueComboBox::SetShownText(const std::string& bytes) {
    m_shown.reset();
    m_strShownBytes = bytes;
    m_shownText = TextOfBytes(bytes);
    SetEditText(m_shownText);
}

std::string CValueComboBox::EditBytes() const {
    const QString text = EditText();
    return text == m_shownText ? m_strShownBytes : BytesOfEdit(text, m_nEncoding);
}

void CValueComboBox::ApplyTo(CFieldEntry& field) const {
    const QString text = EditText();
    // The text as shown stands for the field shown: an empty String stays present, bytes that
    // are not UTF-8 stay as they are, a number keeps the text its file gives it.
    if (text == m_shownText && m_shown && m_shown->Index() == field.Index()) {
        field = *m_shown;
        return;
    }
    ApplyTypedValue(field, BytesOfEdit(text, m_nEncoding));
}
