#include "CompareTable.h"

#include "CompareDelegate.h"
#include "CompareHeader.h"
#include "CompareModel.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include <map>
#include <set>

CCompareTable::CCompareTable(CCompareModel* model, QWidget* parent)
    : QTableView(parent), m_model(model) {
    setObjectName(QStringLiteral("compareTable"));
    // Clickable and marking the current cell's row and column, as a table's own headers are.
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        auto* header = new CCompareHeader(orientation, this);
        header->setSectionsClickable(true);
        header->setHighlightSections(true);
        connect(model, &QAbstractItemModel::modelReset, header, &CCompareHeader::Forget);
        if (orientation == Qt::Horizontal)
            setHorizontalHeader(header);
        else
            setVerticalHeader(header);
    }
    setModel(model);
    auto* delegate = new CCompareDelegate(this);
    connect(delegate, &CCompareDelegate::Refused, this, &CCompareTable::Refused);
    connect(model, &CCompareModel::Refused, this, &CCompareTable::Refused);
    setItemDelegate(delegate);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    // Sizes are set, not measured: measuring every cell of a thousand templates would take longer
    // than the rest of opening the window.
    const QFontMetrics metrics(font());
    QFont bold = font();
    bold.setBold(true);
    // Wide enough for this file's value in bold as the editor writes most numbers.
    horizontalHeader()->setDefaultSectionSize(
        QFontMetrics(bold).horizontalAdvance(QStringLiteral("00000.000000")) +
        2 * metrics.averageCharWidth());
    horizontalHeader()->setSectionsMovable(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() != CCompareModel::kThisFile)
            Take(index);
    });
}

void CCompareTable::Take(const QModelIndex& index) {
    std::string why;
    if (!m_model->Take(index, &why) && !why.empty())
        emit Refused(QString::fromUtf8(why));
}

QString CCompareTable::SelectedText() const {
    // By the order shown, which the user may have changed by moving columns.
    std::map<int, std::map<int, QString>> rows; // visual row, visual column, text
    std::set<int> columns;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        if (isRowHidden(index.row()))
            continue;
        const int column = horizontalHeader()->visualIndex(index.column());
        rows[verticalHeader()->visualIndex(index.row())][column] = index.data().toString();
        columns.insert(column);
    }
    QString text;
    for (const auto& [row, cells] : rows) {
        QStringList line;
        for (int column : columns) {
            const auto cell = cells.find(column);
            line.append(cell == cells.end() ? QString() : cell->second);
        }
        text += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void CCompareTable::PlaceColumns(const std::vector<int>& templateColumns) {
    QHeaderView* header = horizontalHeader();
    for (int to = 0; to < CCompareModel::kFirstTemplate; ++to)
        header->moveSection(header->visualIndex(to), to);
    int to = CCompareModel::kFirstTemplate;
    for (int column : templateColumns)
        header->moveSection(header->visualIndex(column), to++);
}

void CCompareTable::OrderTemplatesBy(int row) {
    PlaceColumns(m_model->TemplateColumnsByValue(row));
}

void CCompareTable::RestoreTemplateOrder() {
    std::vector<int> columns;
    for (int column = CCompareModel::kFirstTemplate; column < m_model->columnCount(); ++column)
        columns.push_back(column);
    PlaceColumns(columns);
}

void CCompareTable::ShowMenu(const QPoint& globalPos, int row) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("compareMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* order = menu->addAction(QStringLiteral("&Order Templates by This Field"));
    order->setEnabled(row >= 0);
    connect(order, &QAction::triggered, this, [this, row] { OrderTemplatesBy(row); });
    connect(menu->addAction(QStringLiteral("Template &List Order")), &QAction::triggered, this,
            &CCompareTable::RestoreTemplateOrder);
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
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(SelectedText());
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
                edit(current);
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
