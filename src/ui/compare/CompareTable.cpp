#include "CompareTable.h"

#include "CompareDelegate.h"
#include "CompareHeader.h"
#include "CompareModel.h"
#include "FixedColumns.h"
#include "TankFile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>

CCompareTable::CCompareTable(CCompareModel* model, QWidget* parent)
    : QTableView(parent), m_model(model) {
    setObjectName(QStringLiteral("compareTable"));
    // Clickable and marking the current cell's row and column, as a table's own headers are.
    auto header = [this, model](Qt::Orientation orientation) {
        auto* made = new CCompareHeader(orientation, this);
        made->setSectionsClickable(true);
        made->setHighlightSections(true);
        connect(model, &QAbstractItemModel::modelReset, made, &CCompareHeader::Forget);
        return made;
    };
    setHorizontalHeader(header(Qt::Horizontal));
    setVerticalHeader(header(Qt::Vertical));
    setModel(model);
    connect(model, &CCompareModel::Refused, this, &CCompareTable::Refused);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    // By the pixel, so that the templates slide under the fixed columns rather than jump.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Sizes are set, not measured: measuring every cell of a thousand templates would take longer
    // than the rest of opening the window.
    const QFontMetrics metrics(font());
    QFont bold = font();
    bold.setBold(true);
    // Wide enough for this file's value in bold as the editor writes most numbers.
    horizontalHeader()->setDefaultSectionSize(
        QFontMetrics(bold).horizontalAdvance(QStringLiteral("00000.000000")) +
        2 * metrics.averageCharWidth());
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    setColumnWidth(CCompareModel::kRank, metrics.horizontalAdvance(QStringLiteral("000 of 000")) +
                                             2 * metrics.averageCharWidth());
    for (int column = 0; column < CCompareModel::kFirstTemplate; ++column)
        m_fixedWidths.push_back(columnWidth(column));

    m_fixed = new CFixedColumns(this, CCompareModel::kFirstTemplate, header(Qt::Horizontal));
    for (QTableView* view : {static_cast<QTableView*>(this), static_cast<QTableView*>(m_fixed)}) {
        auto* delegate = new CCompareDelegate(view);
        if (view == this)
            delegate->SetCoveredColumns(CCompareModel::kFirstTemplate);
        connect(delegate, &CCompareDelegate::Refused, this, &CCompareTable::Refused);
        view->setItemDelegate(delegate);
        connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            if (index.column() != CCompareModel::kThisFile)
                Take(index);
        });
    }
    connect(m_fixed, &CFixedColumns::MenuRequested, this,
            [this](const QPoint& globalPos, const QModelIndex& index) {
                ShowMenu(globalPos, index.isValid() ? index.row() : -1);
            });

    m_ownFieldsOnly = new QAction(QStringLiteral("O&nly Fields This File Sets"), this);
    m_ownFieldsOnly->setObjectName(QStringLiteral("actionOwnFieldsOnly"));
    m_ownFieldsOnly->setCheckable(true);
    m_ownFieldsOnly->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H));
    addAction(m_ownFieldsOnly);
    connect(m_ownFieldsOnly, &QAction::toggled, model, &CCompareModel::SetOwnFieldsOnly);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (!m_bRestoring)
                    RememberWidth(column, size);
                m_fixed->Place();
            });
    connect(model, &QAbstractItemModel::modelReset, this, &CCompareTable::OnModelReset);
    // A row that comes back need not match the filter.
    connect(model, &QAbstractItemModel::rowsInserted, this, &CCompareTable::ApplyRowFilter);
}

void CCompareTable::Take(const QModelIndex& index) {
    std::string why;
    if (!m_model->Take(index, &why) && !why.empty())
        emit Refused(QString::fromUtf8(why));
}

QString CCompareTable::SelectedText(bool withNames) const {
    QModelIndexList cells = selectionModel()->selectedIndexes();
    cells.removeIf([this](const QModelIndex& index) { return isRowHidden(index.row()); });
    return m_model->TextOf(cells, withNames);
}

void CCompareTable::SetRowShown(int row, bool shown) {
    if (isRowHidden(row) == shown) {
        setRowHidden(row, !shown);
        m_fixed->setRowHidden(row, !shown);
    }
}

void CCompareTable::FilterRows(const QString& text) {
    m_strRowFilter = text;
    ApplyRowFilter();
}

void CCompareTable::ApplyRowFilter() {
    for (int row = 0; row < m_model->rowCount(); ++row)
        SetRowShown(row, m_strRowFilter.isEmpty() ||
                             m_model->RowMatches(row, m_matcher, m_strRowFilter));
}

bool CCompareTable::GoToCell(int field, int column, bool fallBack) {
    int row = field >= 0 ? m_model->RowOf(field) : -1;
    if (row < 0 || isRowHidden(row)) {
        if (!fallBack)
            return false;
        row = 0;
        while (row < m_model->rowCount() && isRowHidden(row))
            ++row;
    }
    if (row >= m_model->rowCount())
        return false;
    const QModelIndex index = m_model->index(row, column);
    setCurrentIndex(index);
    scrollTo(index);
    return true;
}

int CCompareTable::CurrentField() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? m_model->KeyAt(current.row()) : -1;
}

void CCompareTable::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    const int field = m_model->KeyAt(current.row());
    if (!m_bRestoring) {
        m_nCurrentField = field;
        m_nCurrentColumn = current.column();
        const CTankFile* tankFile = m_model->TemplateOf(current.column());
        m_strCurrentTemplate = tankFile ? tankFile->m_strPath : std::string();
    }
    if (field != m_nShownField) {
        m_nShownField = field;
        emit CurrentFieldChanged(field);
    }
}

void CCompareTable::OnModelReset() {
    m_bRestoring = true;
    ApplyRowFilter();
    RestoreWidths();
    int column = m_nCurrentColumn;
    if (!m_strCurrentTemplate.empty()) {
        // Its template may be gone, or hidden by the filter, for now.
        column = CCompareModel::kThisFile;
        for (int c = CCompareModel::kFirstTemplate; c < m_model->columnCount(); ++c) {
            if (m_model->TemplateOf(c)->m_strPath == m_strCurrentTemplate)
                column = c;
        }
    }
    if (m_nCurrentField >= 0)
        GoToCell(m_nCurrentField, column, true);
    m_bRestoring = false;
}

void CCompareTable::RememberWidth(int column, int width) {
    if (column < CCompareModel::kFirstTemplate)
        m_fixedWidths[static_cast<std::size_t>(column)] = width;
    else if (const CTankFile* tankFile = m_model->TemplateOf(column))
        m_templateWidths[tankFile->m_strPath] = width;
}

void CCompareTable::RestoreWidths() {
    // Qt keeps a column's width by its place, which another template may now have, and gives
    // the last column its first width again when columns go.
    for (int column = 0; column < CCompareModel::kFirstTemplate; ++column) {
        const int width = m_fixedWidths[static_cast<std::size_t>(column)];
        setColumnWidth(column, width);
        m_fixed->setColumnWidth(column, width);
    }
    if (m_templateWidths.empty())
        return;
    const int standard = horizontalHeader()->defaultSectionSize();
    for (int column = CCompareModel::kFirstTemplate; column < m_model->columnCount(); ++column) {
        const auto known = m_templateWidths.find(m_model->TemplateOf(column)->m_strPath);
        const int width = known == m_templateWidths.end() ? standard : known->second;
        if (columnWidth(column) != width)
            setColumnWidth(column, width);
    }
}

void CCompareTable::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QScrollBar* sideways = horizontalScrollBar();
    const int x = sideways->value();
    QTableView::scrollTo(index, hint);
    if (!index.isValid())
        return;
    if (index.column() < CCompareModel::kFirstTemplate) {
        // The fixed columns are always in view: only their row needs scrolling to.
        sideways->setValue(x);
        return;
    }
    const int covered = m_fixed->Width() - visualRect(index).left();
    if (covered > 0)
        sideways->setValue(sideways->value() - covered);
}

bool CCompareTable::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (index.isValid() && index.column() < CCompareModel::kFirstTemplate)
        return m_fixed->EditCell(index, trigger, event);
    return QTableView::edit(index, trigger, event);
}

void CCompareTable::updateGeometries() {
    QTableView::updateGeometries();
    // Also while the table is made, before its fixed columns are.
    if (m_fixed)
        m_fixed->Place();
}

void CCompareTable::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    m_fixed->Place();
}

void CCompareTable::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    m_fixed->viewport()->update();
}

void CCompareTable::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    m_fixed->viewport()->update();
}

void CCompareTable::ShowMenu(const QPoint& globalPos, int row) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    using Order = CCompareModel::Order;
    auto add = [this, menu, row](const char* text, Order order) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        action->setEnabled(row >= 0 || order == Order::List);
        connect(action, &QAction::triggered, this,
                [this, row, order] { m_model->OrderTemplates(row, order); });
    };
    add("&Order Templates by This Field", Order::LowestFirst);
    add("Order Templates by This Field, &Highest First", Order::HighestFirst);
    add("Template &List Order", Order::List);
    menu->addSeparator();
    menu->addAction(m_ownFieldsOnly);
    // Not exec(): the table goes on answering, and the menu closes with the window.
    menu->popup(globalPos);
}

void CCompareTable::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex index = event->reason() == QContextMenuEvent::Mouse
                                  ? indexAt(viewport()->mapFromGlobal(event->globalPos()))
                                  : currentIndex();
    ShowMenu(event->globalPos(), index.isValid() ? index.row() : -1);
}

void CCompareTable::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_C && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        QApplication::clipboard()->setText(SelectedText(true));
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(SelectedText(false));
        return;
    }
    if (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
        const QRect cell = visualRect(current);
        ShowMenu(viewport()->mapToGlobal(current.isValid() ? cell.center() : QPoint()),
                 current.isValid() ? current.row() : -1);
        return;
    }
    if (modifiers == Qt::NoModifier && current.isValid()) {
        const bool own = current.column() == CCompareModel::kThisFile;
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (own)
                QTableView::edit(current);
            else
                Take(current);
            return;
        case Qt::Key_Delete:
            if (own)
                m_model->Remove(current.row());
            return;
        default:
            break;
        }
    }
    if (event->key() == Qt::Key_Escape) {
        // Outside an edit, Escape is the window's: it closes.
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}
