#pragma once

#include "CompareTint.h"
#include "FieldMatcher.h"
#include "TextEncoding.h"
#include "ValueStats.h"

#include <QAbstractTableModel>
#include <QFont>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CFieldEntry;
class CTankDocument;
class CTankFile;
class CTemplateList;

// A row of the comparison: a field of the schema (its key is its position) or a key the schema
// does not know (its key is CCompareModel::kFirstOtherKey plus its place among those the model has
// met), and where it stands among the rows.
struct CCompareRow {
    int m_nKey = -1;
    long long m_nOrder = 0; // rows stand in this order: by group, fields first
    bool operator==(const CCompareRow&) const = default;
};

// The document beside the templates shown, a row per field that the document or a shown template
// sets (in schema order), each group's other keys (keys the schema does not know, as raw text)
// after its fields and groups the schema does not know last, a column for the document's value,
// its rank among the templates', the
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

    // Keys of rows from here on stand for other keys.
    static constexpr int kFirstOtherKey = 1 << 16;

    // The key of row (a field's schema position, or an other key's), and the row of a key (-1
    // when it has none).
    int KeyAt(int row) const { return m_rows[static_cast<std::size_t>(row)].m_nKey; }
    int RowOf(int key) const;
    static bool IsOtherKey(int key) { return key >= kFirstOtherKey; }
    bool IsOtherKeyRow(int row) const { return IsOtherKey(KeyAt(row)); }
    // The key of the other key group.name, -1 when the model has met none such.
    int KeyOfOther(std::string_view group, std::string_view name) const;
    // The group and name of the other key key.
    const std::string& OtherGroup(int key) const { return Other(key).m_strGroup; }
    const std::string& OtherName(int key) const { return Other(key).m_strName; }
    // The document's field of a field's row, and the encoding its text is in.
    const CFieldEntry& DocumentField(int row) const;
    TextEncoding Encoding() const;
    // Whether row's field or key matches a find box's text.
    bool RowMatches(int row, const CFieldMatcher& matcher, const QString& text) const;
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
    // An other key met in the document or a template, once for all of them, ASCII case ignored.
    struct COtherName {
        std::string m_strGroup;
        std::string m_strName;
        int m_nSchemaGroup;  // or -1
        int m_nOwnGroup = 0; // a group of its own: its place among those met
    };
    const COtherName& Other(int key) const {
        return m_otherNames[static_cast<std::size_t>(key - kFirstOtherKey)];
    }
    // Meets the other keys of tankFile, giving new ones keys of their own.
    void MeetOtherKeys(const CTankFile& tankFile);
    // Meets those of the document and of the templates taken in, whose values are read anew.
    void MeetTakenKeys();
    // The document's other key of row: its position there, or -1 when it does not set it.
    int DocumentOtherKey(int row) const;
    // The raw value of row's other key in the document (nullopt when it does not set it) and in
    // the template at position in the list.
    std::optional<std::string_view> DocumentRaw(int row) const;
    std::optional<std::string_view> TemplateRaw(std::size_t position, int row) const;
    QVariant OtherKeyData(const QModelIndex& index, int role) const;
    bool SetOtherKey(int row, const QString& text);
    long long OrderOf(int key) const;
    void OnFieldChanged(int field);
    void OnOtherKeyChanged(int index);
    void OnRowChanged(int key);
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
    std::vector<bool> m_setByShown;       // each field of the schema: does a shown template set it
    std::vector<COtherName> m_otherNames; // by key; only ever added to
    std::unordered_map<std::string, int> m_otherKeys; // key of each, by lower-cased group.name
    std::vector<std::string> m_ownGroups;             // lower-cased, in the order first met
    std::vector<bool> m_otherSetByShown;              // each other key: does a shown template
    // Each other key's place among every template's keys (-1 where it sets none), found once
    // asked for: a place rather than a view of the value, so that a thousand templates take a
    // quarter of the room.
    mutable std::unordered_map<int, std::vector<int>> m_otherValues;
    mutable std::vector<CRowFigures> m_figures;
    std::string m_strFilter;     // the filter's text as UTF-8
    std::string m_strFilter1252; // and as Windows-1252, the other encoding names are read in
    bool m_bOwnFieldsOnly = false;
    Order m_nOrder = Order::List;
    int m_nOrderField = -1;
    QFont m_bold;
    CCompareTint m_tint;
};
