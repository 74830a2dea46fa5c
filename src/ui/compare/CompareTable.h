#pragma once

#include "FieldMatcher.h"

#include <QTableView>

#include <map>
#include <string>
#include <vector>

class CCompareModel;
class CFixedColumns;
class QAction;

// The comparison's table, driven by the keyboard as any table is, its row names and first
// columns (this file, rank, figures) kept in view while the templates scroll sideways, and:
// Enter (or a double click) on a template's value takes it into the document; Enter or F2 on this
// file's value edits it in place; Delete there removes the field; Ctrl+C copies the selected cells
// as a spreadsheet pastes them, Ctrl+Shift+C with their rows' and columns' names; the context menu
// (and Shift+F10) orders the template columns by a row's values and hides the rows of fields the
// document does not set (Ctrl+Shift+H).
//
// The current cell and the widths the user gave columns stay through everything that lays the
// table out anew (the templates, the document, the filters, the order), as long as their row and
// template are there.
class CCompareTable : public QTableView {
    Q_OBJECT
public:
    explicit CCompareTable(CCompareModel* model, QWidget* parent = nullptr);

    // The selected cells of the rows shown as text: a line per row, tab between cells; with
    // names, the columns' titles first and each row's name before its cells.
    QString SelectedText(bool withNames) const;
    // Shows only the rows whose field matches text, as the main window's find box does.
    void FilterRows(const QString& text);
    // Makes the cell of field's row in column current and scrolls to it; with fallBack, the first
    // shown row's when field's row is not shown. False when nothing was made current.
    bool GoToCell(int field, int column, bool fallBack);
    // The field of the current row, -1 for none.
    int CurrentField() const;
    // "Only Fields This File Sets", checkable.
    QAction* OwnFieldsOnlyAction() const { return m_ownFieldsOnly; }

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // A value was not taken or typed in; why is a sentence without its full stop.
    void Refused(const QString& why);
    // The current cell moved to another field's row.
    void CurrentFieldChanged(int field);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // A cell under the fixed columns is edited there.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void ShowMenu(const QPoint& globalPos, int row);
    void Take(const QModelIndex& index);
    void ApplyRowFilter();
    void SetRowShown(int row, bool shown);
    // The model was laid out anew: the rows filtered, the widths and the current cell put back.
    void OnModelReset();
    void RememberWidth(int column, int width);
    void RestoreWidths();

    CCompareModel* m_model;
    CFixedColumns* m_fixed = nullptr;
    QAction* m_ownFieldsOnly;
    CFieldMatcher m_matcher;
    QString m_strRowFilter;
    // The cell to keep current: its field, and its template's path or else its column.
    int m_nCurrentField = -1;
    int m_nCurrentColumn = 0;
    std::string m_strCurrentTemplate;
    int m_nShownField = -1; // the field last told as current
    // The fixed columns' widths, and those the user gave template columns by the template's path.
    std::vector<int> m_fixedWidths;
    std::map<std::string, int> m_templateWidths;
    bool m_bRestoring = false;
};
