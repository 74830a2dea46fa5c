#pragma once

#include "FieldMatcher.h"

#include <QDialog>

class CCompareModel;
class CCompareTable;
class CFilterBox;
class CTankDocument;
class CTemplateList;
class QLabel;

// View > Compare Units: the document beside every template in one table, so that a unit can be
// balanced against the others at a glance. It is not modal and stays in step with the main
// window: both change the one document through its history.
class CCompareDlg : public QDialog {
    Q_OBJECT
public:
    CCompareDlg(CTankDocument& document, const CTemplateList& templates, QWidget* parent);

    // Makes this file's cell of the field's row current, or the first row's when the field has
    // none.
    void GoToField(int field);
    // The templates changed: the table shows them anew.
    void RefreshTemplates();

    CCompareModel* Model() const { return m_model; }

private:
    void UpdateTitle();
    void ApplyFilter();
    void OnFirstMatch();

    CTankDocument& m_document;
    CCompareModel* m_model;
    CFilterBox* m_filter;
    CCompareTable* m_table;
    QLabel* m_note;
    CFieldMatcher m_matcher;
};
