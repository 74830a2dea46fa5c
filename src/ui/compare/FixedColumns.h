#pragma once

#include <QTableView>

// The first columns of a table kept in view while the others scroll sideways: a second view of
// the same model and selection laid over the table's left side, its rows scrolled with the
// table's. The table keeps the keyboard, so that moving across both is moving in one table; this
// part takes the focus only to give it to the table, and edits in place what lies over the
// table's own cells, which its editors would be hidden under.
class CFixedColumns : public QTableView {
    Q_OBJECT
public:
    // Over the first count columns of table, whose sizes it takes after, with header across.
    CFixedColumns(QTableView* table, int count, QHeaderView* header);

    // The width the fixed columns take.
    int Width() const;
    // Lays itself over the table's fixed columns, below its header's left end.
    void Place();
    // Opens the editor of a cell of the fixed columns, as the table's edit would.
    bool EditCell(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
        return edit(index, trigger, event);
    }

signals:
    // The context menu was asked for over index (invalid over no cell).
    void MenuRequested(const QPoint& globalPos, const QModelIndex& index);

protected:
    // The wheel scrolls the table, sideways too, as over any of its cells.
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QTableView* m_table;
    int m_nCount;
};
