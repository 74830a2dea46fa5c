#pragma once

#include <QTableView>

class CCompareModel;

// The comparison's table, driven by the keyboard as any table is, and: Enter (or a double click)
// on a template's value takes it into the document; Enter or F2 on this file's value edits it in
// place; Delete there removes the field; Ctrl+C copies the selected cells as a spreadsheet pastes
// them; the context menu (and Shift+F10) orders the template columns by a row's values.
class CCompareTable : public QTableView {
    Q_OBJECT
public:
    explicit CCompareTable(CCompareModel* model, QWidget* parent = nullptr);

    // The selected cells as text, in the order shown: a line per row, tab between cells.
    QString SelectedText() const;
    // Orders the template columns by their values in row, or back in the template list's order.
    void OrderTemplatesBy(int row);
    void RestoreTemplateOrder();

signals:
    // A value was not taken or typed in; why is a sentence without its full stop.
    void Refused(const QString& why);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ShowMenu(const QPoint& globalPos, int row);
    void PlaceColumns(const std::vector<int>& templateColumns);
    void Take(const QModelIndex& index);

    CCompareModel* m_model;
};
