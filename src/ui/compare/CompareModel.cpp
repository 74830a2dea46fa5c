#include "CompareModel.h"

#include "AsciiCase.h"
#include "ByteText.h"
#include "FieldEditCommand.h"
#include "Schema.h"
#include "TankDocument.h"
#include "TemplateList.h"
#include "ValueText.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

int ClassLabelField() {
    static const int field = CSchema::Get().FindFieldPath("GameObject.classLabel");
    return field;
}

} // namespace

CCompareModel::CCompareModel(CTankDocument& document, const CTemplateList& templates,
                             QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_templates(templates),
      m_tint(QApplication::palette()) {
    m_bold = QApplication::font();
    m_bold.setBold(true);
    connect(&document, &CTankDocument::FieldChanged, this,
            [this](int field) { OnFieldChanged(field); });
    connect(&document, &CTankDocument::Replaced, this, &CCompareModel::Refresh);
    // Saved, no row is changed any more.
    connect(&document, &CTankDocument::Saved, this, [this] {
        if (rowCount() > 0)
            emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    });
    Refresh();
}

void CCompareModel::Refresh() {
    beginResetModel();
    m_templateFields.clear();
    for (std::size_t t = 0; t < m_templates.Size(); ++t)
        m_templateFields.push_back(m_templates.At(t).m_fields.data());
    Arrange();
    endResetModel();
}

void CCompareModel::ForgetTemplates() {
    beginResetModel();
    m_templateFields.clear();
    Arrange();
    endResetModel();
}

bool CCompareModel::Shows(const CTankFile& tankFile) const {
    if (m_strFilter.empty())
        return true;
    const CFieldEntry& label = tankFile.m_fields[static_cast<std::size_t>(ClassLabelField())];
    for (const std::string* name : {&tankFile.m_strAlias, &tankFile.m_strFileName,
                                    label.m_bPresent ? &label.m_strValue : nullptr}) {
        if (name && (ContainsIgnoringAsciiCase(*name, m_strFilter) ||
                     ContainsIgnoringAsciiCase(*name, m_strFilter1252)))
            return true;
    }
    return false;
}

bool CCompareModel::HasRow(int field) const {
    return m_document.Field(field).m_bPresent ||
           (!m_bOwnFieldsOnly && m_setByShown[static_cast<std::size_t>(field)]);
}

void CCompareModel::Arrange() {
    m_columns.clear();
    m_shownFields.clear();
    for (std::size_t t = 0; t < m_templateFields.size(); ++t) {
        if (Shows(m_templates.At(t))) {
            m_columns.push_back(static_cast<int>(t));
            m_shownFields.push_back(m_templateFields[t]);
        }
    }
    const auto fields = static_cast<std::size_t>(kSchemaFieldCount);
    m_setByShown.assign(fields, false);
    m_rows.clear();
    for (std::size_t i = 0; i < fields; ++i) {
        // Most fields are set by one of the first few templates.
        for (std::size_t t = 0; t < m_shownFields.size() && !m_setByShown[i]; ++t)
            m_setByShown[i] = m_shownFields[t][i].m_bPresent;
        if (HasRow(static_cast<int>(i)))
            m_rows.push_back({static_cast<int>(i)});
    }
    m_figures.assign(m_rows.size(), {});
    const int row = m_nOrder == Order::List ? -1 : RowOf(m_nOrderField);
    if (row >= 0)
        OrderColumns(row);
    else
        m_nOrder = Order::List;
}

void CCompareModel::SetTemplateFilter(const QString& text) {
    beginResetModel();
    m_strFilter = BytesOfText(text);
    m_strFilter1252 = BytesOfEdit(text, TextEncoding::Windows1252);
    Arrange();
    endResetModel();
}

void CCompareModel::SetOwnFieldsOnly(bool only) {
    beginResetModel();
    m_bOwnFieldsOnly = only;
    Arrange();
    endResetModel();
}

void CCompareModel::OrderTemplates(int row, Order order) {
    beginResetModel();
    m_nOrder = order;
    m_nOrderField = row >= 0 && row < rowCount() ? FieldAt(row) : -1;
    Arrange();
    endResetModel();
}

int CCompareModel::OrderRow() const {
    return m_nOrder == Order::List ? -1 : RowOf(m_nOrderField);
}

void CCompareModel::OrderColumns(int row) {
    const bool text = DocumentField(row).Type() == FieldType::String;
    std::vector<QString> texts(text ? m_templateFields.size() : 0);
    for (std::size_t t = 0; t < texts.size(); ++t)
        texts[t] = Text(TemplateField(t, row)).toString();
    const bool highest = m_nOrder == Order::HighestFirst;
    // Whether template a goes before template b, both having a value.
    auto before = [&](std::size_t a, std::size_t b) {
        if (text) {
            const int order = QString::compare(texts[a], texts[b], Qt::CaseInsensitive);
            return highest ? order > 0 : order < 0;
        }
        const double na = NumberOf(*TemplateField(a, row)), nb = NumberOf(*TemplateField(b, row));
        return highest ? na > nb : na < nb;
    };
    std::ranges::stable_sort(m_columns, [&](int a, int b) {
        const auto ta = static_cast<std::size_t>(a), tb = static_cast<std::size_t>(b);
        const bool hasA = TemplateField(ta, row), hasB = TemplateField(tb, row);
        if (!hasA || !hasB)
            return hasA && !hasB; // without a value, last
        return before(ta, tb);
    });
}

int CCompareModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CCompareModel::columnCount(const QModelIndex& parent) const {
    // The templates as last taken in: the list itself changes before the view is told.
    return parent.isValid() ? 0 : kFirstTemplate + static_cast<int>(m_columns.size());
}

const CFieldEntry& CCompareModel::DocumentField(int row) const {
    return m_document.Field(FieldAt(row));
}

TextEncoding CCompareModel::Encoding() const {
    return m_document.File().m_nEncoding;
}

int CCompareModel::RowOf(int field) const {
    const auto at = std::ranges::lower_bound(m_rows, field, {}, &CCompareRow::m_nField);
    return at != m_rows.end() && at->m_nField == field ? static_cast<int>(at - m_rows.begin()) : -1;
}

int CCompareModel::ColumnOf(int position) const {
    const auto at = std::ranges::find(m_columns, position);
    return at == m_columns.end() ? -1 : kFirstTemplate + static_cast<int>(at - m_columns.begin());
}

const CTankFile* CCompareModel::TemplateOf(int column) const {
    const auto at = static_cast<std::size_t>(column - kFirstTemplate);
    return column >= kFirstTemplate && at < m_columns.size()
               ? &m_templates.At(static_cast<std::size_t>(m_columns[at]))
               : nullptr;
}

const CValueStats& CCompareModel::StatsOf(int row) const {
    return *FiguresOf(row).m_stats;
}

const CCompareModel::CRowFigures& CCompareModel::FiguresOf(int row) const {
    CRowFigures& figures = m_figures[static_cast<std::size_t>(row)];
    if (!figures.m_stats || !figures.m_rank) {
        // Both from one reading of the values.
        std::vector<const CFieldEntry*> values = TemplateValues(m_shownFields, FieldAt(row));
        figures.m_rank = RankAmong(values, DocumentField(row));
        if (!figures.m_stats)
            figures.m_stats = ::StatsOf(std::move(values));
    }
    return figures;
}

const CFieldEntry* CCompareModel::TemplateField(std::size_t position, int row) const {
    if (position >= m_templateFields.size())
        return nullptr;
    const CFieldEntry& field = m_templateFields[position][static_cast<std::size_t>(FieldAt(row))];
    return field.m_bPresent ? &field : nullptr;
}

int CCompareModel::TemplateAt(const QModelIndex& index) const {
    if (!index.isValid() || index.column() == kThisFile || index.column() == kRank)
        return -1;
    if (index.column() >= kFirstTemplate) {
        const int position = m_columns[static_cast<std::size_t>(index.column() - kFirstTemplate)];
        return TemplateField(static_cast<std::size_t>(position), index.row()) ? position : -1;
    }
    const CValueStats& stats = StatsOf(index.row());
    const CFieldEntry* wanted = index.column() == kMin      ? stats.m_pMin
                                : index.column() == kMedian ? stats.m_pMedian
                                                            : stats.m_pMax;
    for (int position : m_columns) {
        if (wanted && TemplateField(static_cast<std::size_t>(position), index.row()) == wanted)
            return position;
    }
    return -1;
}

QVariant CCompareModel::Text(const CFieldEntry* field) const {
    return field ? QVariant(TextOfBytes(FormatValue(*field))) : QVariant();
}

QVariant CCompareModel::RankAmong(const std::vector<const CFieldEntry*>& values,
                                  const CFieldEntry& own) {
    if (!own.m_bPresent || own.Type() == FieldType::String)
        return {};
    const double mine = NumberOf(own);
    const auto above = std::ranges::count_if(
        values, [mine](const CFieldEntry* value) { return NumberOf(*value) > mine; });
    return QStringLiteral("%1 of %2").arg(above + 1).arg(values.size() + 1);
}

QVariant CCompareModel::TintOf(int row, const CFieldEntry& own, const CFieldEntry* value) const {
    if (!value || !own.m_bPresent)
        return {};
    if (own.Type() == FieldType::String)
        return value->SameValueAs(own) ? QVariant(m_tint.SameText()) : QVariant();
    const double mine = NumberOf(own), theirs = NumberOf(*value);
    if (theirs == mine)
        return {};
    // Against the row's range, this file's value within it: the furthest value is the strongest.
    const CValueStats& stats = StatsOf(row);
    const double low = std::min(mine, NumberOf(*stats.m_pMin));
    const double high = std::max(mine, NumberOf(*stats.m_pMax));
    const double distance = std::abs(theirs - mine) / (high - low);
    return theirs > mine ? m_tint.Above(distance) : m_tint.Below(distance);
}

QVariant CCompareModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row(), column = index.column();
    const CFieldEntry& own = DocumentField(row);
    const CFieldEntry* shown = nullptr;
    if (column == kThisFile) {
        shown = own.m_bPresent ? &own : nullptr;
        if (role == Qt::FontRole && shown)
            return m_bold;
    } else if (column == kRank) {
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return *FiguresOf(row).m_rank;
    } else if (column >= kFirstTemplate) {
        const int position = m_columns[static_cast<std::size_t>(column - kFirstTemplate)];
        shown = TemplateField(static_cast<std::size_t>(position), row);
        if (role == Qt::BackgroundRole)
            return TintOf(row, own, shown);
    } else {
        const CValueStats& stats = StatsOf(row);
        shown = column == kMin ? stats.m_pMin : column == kMedian ? stats.m_pMedian : stats.m_pMax;
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole: // the whole value, where the cell cuts it
        return Text(shown);
    case Qt::TextAlignmentRole:
        return own.Type() == FieldType::String ? QVariant()
                                               : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CCompareModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (section >= rowCount())
            return {};
        const bool changed = m_document.IsFieldChanged(FieldAt(section));
        const bool ordering = section == OrderRow();
        const bool highest = m_nOrder == Order::HighestFirst;
        if (role == Qt::DecorationRole && ordering)
            // Read when first shown: the style's pictures take as long to read as a table opens.
            return QApplication::style()->standardIcon(highest ? QStyle::SP_ArrowDown
                                                               : QStyle::SP_ArrowUp);
        if (role == Qt::ToolTipRole && ordering)
            return highest ? QStringLiteral("Templates ordered by this field, highest first")
                           : QStringLiteral("Templates ordered by this field, lowest first");
        if (role == Qt::ToolTipRole && changed)
            return QStringLiteral("Changed since last saved");
        if (role != Qt::DisplayRole)
            return {};
        const CFieldDefinition& field =
            CSchema::Get().Fields()[static_cast<std::size_t>(FieldAt(section))];
        return (changed ? kChangedMark : QString()) +
               TextOfBytes(field.m_pGroup->m_strName + '.' + field.m_strName);
    }
    static const char* const kTitles[] = {"This file", "Rank", "Min", "Median", "Max"};
    if (section < kFirstTemplate) {
        if (role == Qt::ToolTipRole && section == kThisFile)
            return m_tint.Legend();
        return role == Qt::DisplayRole ? QVariant(QString::fromLatin1(kTitles[section]))
                                       : QVariant();
    }
    const CTankFile* tankFile = TemplateOf(section);
    if (!tankFile)
        return {};
    if (role == Qt::DisplayRole)
        return TextOfBytes(tankFile->Label());
    if (role == Qt::ToolTipRole)
        return TextOfBytes(tankFile->m_strPath);
    return {};
}

QString CCompareModel::TextOf(const QModelIndexList& cells, bool withNames) const {
    std::map<int, std::map<int, QString>> rows; // row, column, text
    std::set<int> columns;
    for (const QModelIndex& index : cells) {
        rows[index.row()][index.column()] = index.data().toString();
        columns.insert(index.column());
    }
    QString text;
    if (withNames) {
        QStringList line{QStringLiteral("Field")};
        for (int column : columns)
            line.append(headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        text += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    for (const auto& [row, rowCells] : rows) {
        QStringList line;
        if (withNames)
            line.append(headerData(row, Qt::Vertical, Qt::DisplayRole).toString());
        for (int column : columns) {
            const auto cell = rowCells.find(column);
            line.append(cell == rowCells.end() ? QString() : cell->second);
        }
        text += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

Qt::ItemFlags CCompareModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == kThisFile)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CCompareModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != kThisFile || index.row() >= rowCount())
        return false;
    const CFieldEntry& field = m_document.Field(FieldAt(index.row()));
    const QString text = value.toString();
    // The text as shown and not edited stands for the field's own bytes, which need not be UTF-8.
    if (field.m_bPresent && text == Text(&field).toString())
        return true;
    // Typed here, a number is all there is, as on the command line: anything but a number of the
    // field's type changes nothing, and the user is told why.
    const std::string bytes = BytesOfEdit(text, Encoding());
    if (const std::string why = NumberRefusal(field.Type(), bytes); !why.empty()) {
        emit Refused(QString::fromUtf8(why));
        return false;
    }
    CFieldEntry changed = field;
    ApplyTypedValue(changed, bytes);
    if (!changed.SameAs(field))
        m_document.UndoStack()->push(
            new CFieldEditCommand(m_document, field, changed, CFieldEditCommand::Kind::Other, 0));
    return true;
}

bool CCompareModel::Take(const QModelIndex& index, std::string* why) {
    const int position = TemplateAt(index);
    if (position < 0)
        return false;
    CFieldEntry value = *TemplateField(static_cast<std::size_t>(position), index.row());
    char32_t refused = 0;
    if (value.Type() == FieldType::String &&
        !EncodeShownBytes(std::string(value.m_strValue), Encoding(), value.m_strValue, refused)) {
        if (why)
            *why = WhyStringCannotTake(Encoding(), refused);
        return false;
    }
    const CFieldEntry& field = m_document.Field(FieldAt(index.row()));
    if (value.SameValueAs(field))
        return false;
    const std::string name = "Take " + field.Name() + " from " +
                             m_templates.At(static_cast<std::size_t>(position)).Label();
    m_document.UndoStack()->push(new CFieldEditCommand(
        m_document, field, value, CFieldEditCommand::Kind::Other, 0, TextOfBytes(name)));
    return true;
}

bool CCompareModel::Remove(int row) {
    const CFieldEntry& field = m_document.Field(FieldAt(row));
    if (!field.m_bPresent)
        return false;
    CFieldEntry removed = field;
    removed.m_bPresent = false;
    m_document.UndoStack()->push(
        new CFieldEditCommand(m_document, field, removed, CFieldEditCommand::Kind::Other, 0));
    return true;
}

void CCompareModel::OnFieldChanged(int field) {
    const int row = RowOf(field);
    const bool shown = HasRow(field);
    if (row >= 0 && shown) {
        m_figures[static_cast<std::size_t>(row)].m_rank.reset();
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, row, row);
    } else if (row >= 0) {
        beginRemoveRows({}, row, row);
        m_rows.erase(m_rows.begin() + row);
        m_figures.erase(m_figures.begin() + row);
        endRemoveRows();
    } else if (shown) {
        const auto at =
            std::ranges::lower_bound(m_rows, field, {}, &CCompareRow::m_nField) - m_rows.begin();
        beginInsertRows({}, static_cast<int>(at), static_cast<int>(at));
        m_rows.insert(m_rows.begin() + at, CCompareRow{field});
        m_figures.insert(m_figures.begin() + at, CRowFigures{});
        endInsertRows();
    }
}
