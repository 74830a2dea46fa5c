#pragma once

#include "TextEncoding.h"
#include "ValueStats.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QFont>

#include <optional>
#include <string>
#include <vector>

class CTankDocument;
class CTemplateList;

// The document beside every template, a row per field that the document or any template sets
// (in schema order), a column for the document's value, the templates' least, median and
// greatest value, then each template's value in the list's order. It reads the document and the
// templates where they are and copies none of their values; it changes the document only
// through undo steps, and follows it and the templates as they change.
class CCompareModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kThisFile, kMin, kMedian, kMax, kFirstTemplate };
    // Before the name of a row whose field is changed since last saved.
    static inline const QString kChangedMark = QStringLiteral("\u2022 ");

    CCompareModel(CTankDocument& document, const CTemplateList& templates,
                  QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Text typed into this file's cell, applied as the value box applies it, as one undo step. A
    // number field takes only a number of its type within its range, written as given; anything
    // else changes nothing and is Refused.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The schema position of the field of row, and the row of a field (-1 when it has none).
    int FieldAt(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    // The document's field of row, and the encoding its text is in.
    const CFieldEntry& DocumentField(int row) const;
    TextEncoding Encoding() const;
    int RowOf(int field) const;
    // The position in the template list of the template whose value index shows (a template's
    // column, or the one that holds the least, median or greatest value); -1 for none.
    int TemplateAt(const QModelIndex& index) const;

    // Takes the value that index shows from its template into the document, as one undo step
    // named "Take maxHealth from ALIAS", a String in the document's encoding. False when there is
    // no value or nothing to change, or with why set when the document's encoding cannot hold it.
    bool Take(const QModelIndex& index, std::string* why = nullptr);
    // Removes the field of row from the document, as one undo step. False when it is not set.
    bool Remove(int row);

    // The template columns ordered by their values in row: numbers by number, Strings ignoring
    // case, templates without a value last; equal ones in list order.
    std::vector<int> TemplateColumnsByValue(int row) const;

    // Every row and column anew: the templates changed, or the whole document did.
    void Refresh();
    // Lets go of the templates, which are about to change, until the next Refresh: meanwhile
    // there are no template columns and the figures are empty.
    void ForgetTemplates();

signals:
    // Text typed into this file's cell was not taken; why is a sentence without its full stop.
    void Refused(const QString& why);

private:
    void OnFieldChanged(int field);
    void Rebuild();
    const CValueStats& StatsOf(int row) const;
    // The field of row in the template at position, or nullptr.
    const CFieldEntry* TemplateField(std::size_t position, int row) const;
    QVariant Text(const CFieldEntry* field) const;

    CTankDocument& m_document;
    const CTemplateList& m_templates;
    std::vector<int> m_rows; // the fields shown, in schema order
    // Each template's fields, in list order: reached in one step, a thousand templates' values
    // of a row are read in half the time.
    std::vector<const CFieldEntry*> m_templateFields;
    std::vector<bool> m_setByTemplates; // each field of the schema: does any template set it
    mutable std::vector<std::optional<CValueStats>> m_stats; // each row's, once asked for
    QFont m_bold;
    QBrush m_tint;
};
