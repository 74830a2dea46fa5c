#pragma once

#include <QDialog>

class CCompareModel;
class CCompareTable;
class CFilterBox;
class CTankDocument;
class CTemplateList;
class QLabel;

// View > Compare Units: the document beside the templates in one table, so that a unit can be
// balanced against the others at a glance. It is not modal and stays in step with the main
// window: both change the one document through its history. Above the table a box finds fields
// (Ctrl+F) and another chooses the templates shown (Ctrl+Shift+F).
class CCompareDlg : public QDialog {
    Q_OBJECT
public:
    CCompareDlg(CTankDocument& document, const CTemplateList& templates, QWidget* parent);

    // Makes this file's cell of the field's row current, or the first row's when the field has
    // none; a field of -1, or the current row's, leaves the current cell where it is.
    void GoToField(int field);
    // Makes the cell of field's row in the template's column current (this file's when the
    // template is not shown); nothing when the field's row is not shown.
    void GoToTemplate(int field, int position);

    CCompareModel* Model() const { return m_model; }

signals:
    // The current cell moved to the row of field.
    void CurrentFieldChanged(int field);

private:
    void UpdateTitle();
    void OnFirstMatch();

    CTankDocument& m_document;
    CCompareModel* m_model;
    CFilterBox* m_filter;
    CFilterBox* m_templateFilter;
    CCompareTable* m_table;
    QLabel* m_note;
};
