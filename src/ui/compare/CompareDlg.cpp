#include "CompareDlg.h"

#include "ByteText.h"
#include "CompareModel.h"
#include "CompareTable.h"
#include "FilterBox.h"
#include "Message.h"
#include "Shortcuts.h"
#include "TankDocument.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QUndoStack>
#include <QVBoxLayout>

CCompareDlg::CCompareDlg(CTankDocument& document, const CTemplateList& templates, QWidget* parent)
    : QDialog(parent, Qt::Window), m_document(document),
      m_model(new CCompareModel(document, templates, this)), m_filter(new CFilterBox(this)),
      m_templateFilter(new CFilterBox(this)), m_table(new CCompareTable(m_model, this)),
      m_note(new QLabel(this)) {
    setObjectName(QStringLiteral("compareUnits"));
    m_filter->setObjectName(QStringLiteral("compareFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Find a field (Ctrl+F)"));
    m_templateFilter->setObjectName(QStringLiteral("templateFilter"));
    m_templateFilter->setPlaceholderText(QStringLiteral("Filter templates (Ctrl+Shift+F)"));
    m_note->setObjectName(QStringLiteral("compareNote"));
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(m_filter, 1);
    boxes->addWidget(m_templateFilter, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
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
    auto focus = [](CFilterBox* box) {
        return [box] {
            box->setFocus(Qt::ShortcutFocusReason);
            box->selectAll();
        };
    };
    addKeys(QKeySequence::keyBindings(QKeySequence::Find), focus(m_filter));
    addKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)}, focus(m_templateFilter));

    connect(m_table, &CCompareTable::Refused, this,
            [this](const QString& why) { m_note->setText(why + QLatin1Char('.')); });
    // A note holds until the next change or move.
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, m_note,
            &QLabel::clear);
    connect(&document, &CTankDocument::FieldChanged, m_note, &QLabel::clear);
    connect(m_table, &CCompareTable::CurrentFieldChanged, this, &CCompareDlg::CurrentFieldChanged);
    connect(m_filter, &QLineEdit::textChanged, m_table, &CCompareTable::FilterRows);
    connect(m_filter, &CFilterBox::FirstMatchRequested, this, &CCompareDlg::OnFirstMatch);
    connect(m_filter, &CFilterBox::Dismissed, m_table, qOverload<>(&QWidget::setFocus));
    connect(m_templateFilter, &QLineEdit::textChanged, m_model, &CCompareModel::SetTemplateFilter);
    connect(m_templateFilter, &CFilterBox::FirstMatchRequested, m_table,
            qOverload<>(&QWidget::setFocus));
    connect(m_templateFilter, &CFilterBox::Dismissed, m_table, qOverload<>(&QWidget::setFocus));
    // The count of templates shown follows the filter and the template list.
    connect(m_model, &QAbstractItemModel::modelReset, this, &CCompareDlg::UpdateTitle);
    connect(&document, &CTankDocument::PathChanged, this, &CCompareDlg::UpdateTitle);
    UpdateTitle();
    resize(fontMetrics().averageCharWidth() * 140, fontMetrics().height() * 36);
    m_table->setFocus();
}

void CCompareDlg::UpdateTitle() {
    std::string title = "Compare Units - %s";
    if (!m_templateFilter->text().isEmpty())
        title = FormatNumber(FormatNumber("Compare Units - %s (%d of %d templates)",
                                          static_cast<long long>(m_model->ShownTemplateCount())),
                             static_cast<long long>(m_model->TemplateCount()));
    setWindowTitle(TextOfBytes(FormatText(title, m_document.FileName())));
}

void CCompareDlg::GoToField(int field) {
    if (field < 0 ? m_table->currentIndex().isValid() : m_table->CurrentField() == field)
        return;
    m_table->GoToCell(field, CCompareModel::kThisFile, true);
}

void CCompareDlg::GoToTemplate(int field, int position) {
    const int column = m_model->ColumnOf(position);
    m_table->GoToCell(field, column >= 0 ? column : CCompareModel::kThisFile, false);
}

void CCompareDlg::OnFirstMatch() {
    m_table->GoToCell(-1, CCompareModel::kThisFile, true);
    m_table->setFocus();
}
