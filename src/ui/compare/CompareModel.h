#pragma once

#include "CompareTint.h"
#include "TextEncoding.h"
#include "ValueStats.h"

#include <QAbstractTableModel>
#include <QFont>

#include <optional>
#include <string>
#include <vector>

class CFieldEntry;
class CTankDocument;
class CTankFile;
class CTemplateList;

// A row of the comparison: a field of the schema, by its position.
struct CCompareRow {
    int m_nField = -1;
    bool operator==(const CCompareRow&) const = default;
};

// The document beside the templates shown, a row per field that the document or a shown template
// sets (in schema order), a column for the document's value, its rank among the templates', the
// templates' least, median and greatest value, then each template's value. Which templates are
// shown, in which order, and whether only the document's fields have rows, is the model's to
// keep: it holds through the templates' and the document's changes. It reads the document and
// the templates where they are and copies none of their values; it changes the document only
// through undo steps, and follows it and the templates as they change.
class CCompareModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kThisFile, kRank, kMin, kMedian, kMax, kFirstTemplate };
    // How the template columns are ordered by a row's values.
    enum class Order { List, LowestFirst, HighestFirst };
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
    int FieldAt(int row) const { return m_rows[static_cast<std::size_t>(row)].m_nField; }
    int RowOf(int field) const;
    // The document's field of row, and the encoding its text is in.
    const CFieldEntry& DocumentField(int row) const;
    TextEncoding Encoding() const;
    // The position in the template list of the template whose value index shows (a template's
    // column, or the one that holds the least, median or greatest value); -1 for none.
    int TemplateAt(const QModelIndex& index) const;
    // The column of the template at position in the list; -1 when it is not shown.
    int ColumnOf(int position) const;
    // The template that column shows; nullptr for this file's and the figures' columns.
    const CTankFile* TemplateOf(int column) const;

    // Takes the value that index shows from its template into the document, as one undo step
    // named "Take maxHealth from ALIAS", a String in the document's encoding. False when there is
    // no value or nothing to change, or with why set when the document's encoding cannot hold it.
    bool Take(const QModelIndex& index, std::string* why = nullptr);
    // Removes the field of row from the document, as one undo step. False when it is not set.
    bool Remove(int row);

    // Shows the templates whose alias, file name or GameObject.classLabel contains text,
    // ignoring ASCII case; an empty text shows all.
    void SetTemplateFilter(const QString& text);
    std::size_t ShownTemplateCount() const { return m_columns.size(); }
    std::size_t TemplateCount() const { return m_templateFields.size(); }
    // Rows only for the fields the document sets, or also for those a shown template sets.
    void SetOwnFieldsOnly(bool only);
    bool OwnFieldsOnly() const { return m_bOwnFieldsOnly; }
    // Orders the template columns by their values in row: numbers by number, Strings ignoring
    // case, templates without a value last either way, equal ones in list order. The order holds
    // while its row is there.
    void OrderTemplates(int row, Order order);
    Order TemplateOrder() const { return m_nOrder; }
    // The row the templates are ordered by; -1 in list order.
    int OrderRow() const;

    // cells as text, in row and column order: a line per row, a tab between cells, empty where a
    // row has no cell in a column that another row has. withNames adds a first line "Field" and
    // the columns' titles, and puts each row's name first on its line.
    QString TextOf(const QModelIndexList& cells, bool withNames) const;

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
    // The shown templates, the rows and the order, from the templates taken in.
    void Arrange();
    bool Shows(const CTankFile& tankFile) const;
    bool HasRow(int field) const;
    void OrderColumns(int row);
    // What each row's figures are, worked out once asked for: a thousand templates' values of a
    // row are read from as many places in memory. The rank holds until this file's value changes.
    struct CRowFigures {
        std::optional<CValueStats> m_stats;
        std::optional<QVariant> m_rank;
    };
    const CRowFigures& FiguresOf(int row) const;
    const CValueStats& StatsOf(int row) const;
    // The field of row in the template at position in the list, or nullptr.
    const CFieldEntry* TemplateField(std::size_t position, int row) const;
    QVariant Text(const CFieldEntry* field) const;
    // The rank of own among values: "N of M", nothing for a String or a field own does not set.
    static QVariant RankAmong(const std::vector<const CFieldEntry*>& values,
                              const CFieldEntry& own);
    QVariant TintOf(int row, const CFieldEntry& own, const CFieldEntry* value) const;

    CTankDocument& m_document;
    const CTemplateList& m_templates;
    std::vector<CCompareRow> m_rows; // in schema order
    // Each template's fields, in list order, as last taken in: a thousand templates' values of
    // a row are read in half the time reached in one step.
    std::vector<const CFieldEntry*> m_templateFields;
    std::vector<int> m_columns; // the shown templates' positions, in column order
    std::vector<const CFieldEntry*> m_shownFields; // the shown templates' fields, in list order
    std::vector<bool> m_setByShown; // each field of the schema: does a shown template set it
    mutable std::vector<CRowFigures> m_figures;
    std::string m_strFilter;     // the filter's text as UTF-8
    std::string m_strFilter1252; // and as Windows-1252, the other encoding names are read in
    bool m_bOwnFieldsOnly = false;
    Order m_nOrder = Order::List;
    int m_nOrderField = -1;
    QFont m_bold;
    CCompareTint m_tint;
};
