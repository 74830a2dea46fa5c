#include "FixedColumns.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>

CFixedColumns::CFixedColumns(QTableView* table, int count, QHeaderView* header)
    : QTableView(table), m_table(table), m_nCount(count) {
    setObjectName(QStringLiteral("compareFixed"));
    setHorizontalHeader(header);
    // Hidden before the model comes: a shown header would measure its sections' labels.
    verticalHeader()->hide();
    setModel(table->model());
    setSelectionModel(table->selectionModel());
    setSelectionMode(table->selectionMode());
    setEditTriggers(table->editTriggers());
    setWordWrap(false);
    // A click here gives the focus to the table, and the current cell is drawn with the focus
    // while the table has it.
    setFocusProxy(table);
    setFocusPolicy(Qt::ClickFocus);
    // Never scrolled on its own: the table's rows scroll it, and sideways it stays.
    setAutoScroll(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(table->verticalHeader()->defaultSectionSize());
    horizontalHeader()->setDefaultSectionSize(table->horizontalHeader()->defaultSectionSize());
    horizontalHeader()->setHighlightSections(true);
    for (int column = 0; column < count; ++column)
        setColumnWidth(column, table->columnWidth(column));

    connect(table->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, table->verticalScrollBar(),
            &QScrollBar::setValue);
    // The user widens the fixed columns here, over the table's own header: the table follows.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (column < m_nCount) {
                    m_table->setColumnWidth(column, size);
                    Place();
                }
            });
}

int CFixedColumns::Width() const {
    int width = 0;
    for (int column = 0; column < m_nCount; ++column)
        width += columnWidth(column);
    return width;
}

void CFixedColumns::Place() {
    const int frame = m_table->frameWidth();
    const int header = m_table->horizontalHeader()->height();
    horizontalHeader()->setFixedHeight(header);
    setGeometry(frame + m_table->verticalHeader()->width(), frame, Width(),
                header + m_table->viewport()->height());
}

void CFixedColumns::wheelEvent(QWheelEvent* event) {
    QCoreApplication::sendEvent(m_table->viewport(), event);
}

void CFixedColumns::contextMenuEvent(QContextMenuEvent* event) {
    emit MenuRequested(event->globalPos(), indexAt(event->pos()));
}
