#include "CompareDlg.h"

#include "ByteText.h"
#include "CompareModel.h"
#include "CompareTable.h"
#include "FilterBox.h"
#include "Message.h"
#include "Shortcuts.h"
#include "TankDocument.h"

#include <QAction>
#include <QLabel>
#include <QUndoStack>
#include <QVBoxLayout>

CCompareDlg::CCompareDlg(CTankDocument& document, const CTemplateList& templates, QWidget* parent)
    : QDialog(parent, Qt::Window), m_document(document),
      m_model(new CCompareModel(document, templates, this)), m_filter(new CFilterBox(this)),
      m_table(new CCompareTable(m_model, this)), m_note(new QLabel(this)) {
    setObjectName(QStringLiteral("compareUnits"));
    m_filter->setObjectName(QStringLiteral("compareFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Find a field (Ctrl+F)"));
    m_note->setObjectName(QStringLiteral("compareNote"));
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_note);

    auto addKeys = [this](const QList<QKeySequence>& keys, auto slot) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        this->addAction(action);
    };
    QUndoStack* history = document.UndoStack();
    addKeys(QKeySequence::keyBindings(QKeySequence::Undo), [history] { history->undo(); });
    addKeys(ShortcutsOf(QKeySequence::Redo), [history] { history->redo(); });
    addKeys(QKeySequence::keyBindings(QKeySequence::Find), [this] {
        m_filter->setFocus(Qt::ShortcutFocusReason);
        m_filter->selectAll();
    });

    connect(m_table, &CCompareTable::Refused, this,
            [this](const QString& why) { m_note->setText(why + QLatin1Char('.')); });
    // A note holds until the next change or move.
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, m_note,
            &QLabel::clear);
    connect(&document, &CTankDocument::FieldChanged, m_note, &QLabel::clear);
    connect(m_filter, &QLineEdit::textChanged, this, &CCompareDlg::ApplyFilter);
    connect(m_filter, &CFilterBox::FirstMatchRequested, this, &CCompareDlg::OnFirstMatch);
    connect(m_filter, &CFilterBox::Dismissed, m_table, qOverload<>(&QWidget::setFocus));
    // Rows come and go with the document's fields and the templates; the filter holds for them.
    connect(m_model, &QAbstractItemModel::modelReset, this, &CCompareDlg::ApplyFilter);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &CCompareDlg::ApplyFilter);
    connect(&document, &CTankDocument::PathChanged, this, &CCompareDlg::UpdateTitle);
    connect(&document, &CTankDocument::Replaced, this, &CCompareDlg::UpdateTitle);
    UpdateTitle();
    resize(fontMetrics().averageCharWidth() * 140, fontMetrics().height() * 36);
    m_table->setFocus();
}

void CCompareDlg::UpdateTitle() {
    setWindowTitle(TextOfBytes(FormatText("Compare Units - %s", m_document.FileName())));
}

void CCompareDlg::RefreshTemplates() {
    const QModelIndex current = m_table->currentIndex();
    const int field = current.isValid() ? m_model->FieldAt(current.row()) : -1;
    m_model->Refresh();
    GoToField(field);
}

void CCompareDlg::GoToField(int field) {
    int row = field >= 0 ? m_model->RowOf(field) : -1;
    if (row < 0 || m_table->isRowHidden(row)) {
        row = 0;
        while (row < m_model->rowCount() && m_table->isRowHidden(row))
            ++row;
    }
    if (row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, CCompareModel::kThisFile);
    m_table->setCurrentIndex(index);
    m_table->scrollTo(index);
}

void CCompareDlg::ApplyFilter() {
    const QString text = m_filter->text();
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const bool shown =
            text.isEmpty() || m_matcher.Matches(m_document.Field(m_model->FieldAt(row)), text);
        if (m_table->isRowHidden(row) == shown)
            m_table->setRowHidden(row, !shown);
    }
}

void CCompareDlg::OnFirstMatch() {
    GoToField(-1);
    m_table->setFocus();
}
