#include "CompareModel.h"

#include "AsciiCase.h"
#include "ByteText.h"
#include "FieldEditCommand.h"
#include "OtherKeyEditCommand.h"
#include "OtherKeys.h"
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
    connect(&document, &CTankDocument::OtherKeyChanged, this,
            [this](int index) { OnOtherKeyChanged(index); });
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
    MeetTakenKeys();
    Arrange();
    endResetModel();
}

void CCompareModel::MeetTakenKeys() {
    // Every template's other keys are met, so that a key keeps its key while templates come and
    // go, and once for all: the filter, the order and the rows shown do not change them.
    MeetOtherKeys(m_document.File());
    for (std::size_t t = 0; t < m_templateFields.size(); ++t)
        MeetOtherKeys(m_templates.At(t));
    m_otherValues.clear();
}

void CCompareModel::ForgetTemplates() {
    beginResetModel();
    m_templateFields.clear();
    MeetTakenKeys();
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

bool CCompareModel::HasRow(int key) const {
    if (IsOtherKey(key)) {
        const COtherName& other = Other(key);
        const int own = m_document.File().m_otherKeys.Find(other.m_strGroup, other.m_strName);
        return (own >= 0 && m_document.OtherKey(own).present) ||
               (!m_bOwnFieldsOnly &&
                m_otherSetByShown[static_cast<std::size_t>(key - kFirstOtherKey)]);
    }
    return m_document.Field(key).m_bPresent ||
           (!m_bOwnFieldsOnly && m_setByShown[static_cast<std::size_t>(key)]);
}

void CCompareModel::MeetOtherKeys(const CTankFile& tankFile) {
    tankFile.m_otherKeys.ForEach([this](std::size_t, const COtherKey& key) {
        std::string id = std::string(key.group) + '.' + std::string(key.name);
        LowerAsciiInPlace(id);
        const auto [at, added] = m_otherKeys.emplace(
            std::move(id), kFirstOtherKey + static_cast<int>(m_otherNames.size()));
        if (!added)
            return;
        COtherName name{std::string(key.group), std::string(key.name), key.schemaGroup};
        if (key.schemaGroup < 0) {
            std::string group(key.group);
            LowerAsciiInPlace(group);
            const auto own = std::ranges::find(m_ownGroups, group);
            name.m_nOwnGroup = static_cast<int>(own - m_ownGroups.begin());
            if (own == m_ownGroups.end())
                m_ownGroups.push_back(std::move(group));
        }
        m_otherNames.push_back(std::move(name));
    });
}

int CCompareModel::KeyOfOther(std::string_view group, std::string_view name) const {
    std::string id = std::string(group) + '.' + std::string(name);
    LowerAsciiInPlace(id);
    const auto at = m_otherKeys.find(id);
    return at == m_otherKeys.end() ? -1 : at->second;
}

long long CCompareModel::OrderOf(int key) const {
    // By group: a schema group's fields, then its other keys in the order first met; groups of
    // their own after the schema's.
    if (!IsOtherKey(key)) {
        const int group = CSchema::Get().Fields()[static_cast<std::size_t>(key)].m_pGroup->m_nIndex;
        return (static_cast<long long>(group) << 32) | key;
    }
    const COtherName& other = Other(key);
    const long long group =
        other.m_nSchemaGroup >= 0 ? other.m_nSchemaGroup : kSchemaGroupCount + other.m_nOwnGroup;
    return (group << 32) | (1LL << 31) | key;
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
            m_rows.push_back({static_cast<int>(i), OrderOf(static_cast<int>(i))});
    }
    // Rows are for the other keys the document or a shown template sets.
    m_otherSetByShown.assign(m_otherNames.size(), false);
    for (int position : m_columns) {
        m_templates.At(static_cast<std::size_t>(position))
            .m_otherKeys.ForEach([this](std::size_t, const COtherKey& key) {
                m_otherSetByShown[static_cast<std::size_t>(KeyOfOther(key.group, key.name) -
                                                           kFirstOtherKey)] = true;
            });
    }
    for (std::size_t k = 0; k < m_otherNames.size(); ++k) {
        const int key = kFirstOtherKey + static_cast<int>(k);
        if (HasRow(key))
            m_rows.push_back({key, OrderOf(key)});
    }
    std::ranges::stable_sort(m_rows, {}, &CCompareRow::m_nOrder);
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
    m_nOrderField = row >= 0 && row < rowCount() ? KeyAt(row) : -1;
    Arrange();
    endResetModel();
}

int CCompareModel::OrderRow() const {
    return m_nOrder == Order::List ? -1 : RowOf(m_nOrderField);
}

void CCompareModel::OrderColumns(int row) {
    const bool other = IsOtherKeyRow(row);
    const bool text = other || DocumentField(row).Type() == FieldType::String;
    std::vector<QString> texts(text ? m_templateFields.size() : 0);
    for (std::size_t t = 0; t < texts.size(); ++t)
        texts[t] = other ? TextOfBytes(TemplateRaw(t, row).value_or(""))
                         : Text(TemplateField(t, row)).toString();
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
    auto has = [&](std::size_t t) {
        return other ? TemplateRaw(t, row).has_value() : TemplateField(t, row) != nullptr;
    };
    std::ranges::stable_sort(m_columns, [&](int a, int b) {
        const auto ta = static_cast<std::size_t>(a), tb = static_cast<std::size_t>(b);
        const bool hasA = has(ta), hasB = has(tb);
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
    return m_document.Field(KeyAt(row));
}

int CCompareModel::DocumentOtherKey(int row) const {
    const COtherName& other = Other(KeyAt(row));
    return m_document.File().m_otherKeys.Find(other.m_strGroup, other.m_strName);
}

std::optional<std::string_view> CCompareModel::DocumentRaw(int row) const {
    const int own = DocumentOtherKey(row);
    if (own < 0)
        return std::nullopt;
    const COtherKey key = m_document.OtherKey(own);
    return key.present ? std::optional(key.value) : std::nullopt;
}

std::optional<std::string_view> CCompareModel::TemplateRaw(std::size_t position, int row) const {
    const int key = KeyAt(row);
    auto [at, added] = m_otherValues.try_emplace(key);
    if (added) {
        const COtherName& other = Other(key);
        at->second.resize(m_templateFields.size(), -1);
        for (std::size_t t = 0; t < m_templateFields.size(); ++t)
            at->second[t] = m_templates.At(t).m_otherKeys.Find(other.m_strGroup, other.m_strName);
    }
    if (position >= at->second.size() || at->second[position] < 0)
        return std::nullopt;
    const COtherKey found =
        m_templates.At(position).m_otherKeys.At(static_cast<std::size_t>(at->second[position]));
    return found.value;
}

bool CCompareModel::RowMatches(int row, const CFieldMatcher& matcher, const QString& text) const {
    if (!IsOtherKeyRow(row))
        return matcher.Matches(DocumentField(row), text);
    return CFieldMatcher::MatchesText(OtherName(KeyAt(row)), DocumentRaw(row).value_or(""), text);
}

TextEncoding CCompareModel::Encoding() const {
    return m_document.File().m_nEncoding;
}

int CCompareModel::RowOf(int key) const {
    const auto at = std::ranges::find(m_rows, key, &CCompareRow::m_nKey);
    return at != m_rows.end() ? static_cast<int>(at - m_rows.begin()) : -1;
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
        std::vector<const CFieldEntry*> values = TemplateValues(m_shownFields, KeyAt(row));
        figures.m_rank = RankAmong(values, DocumentField(row));
        if (!figures.m_stats)
            figures.m_stats = ::StatsOf(std::move(values));
    }
    return figures;
}

const CFieldEntry* CCompareModel::TemplateField(std::size_t position, int row) const {
    if (position >= m_templateFields.size())
        return nullptr;
    const CFieldEntry& field = m_templateFields[position][static_cast<std::size_t>(KeyAt(row))];
    return field.m_bPresent ? &field : nullptr;
}

int CCompareModel::TemplateAt(const QModelIndex& index) const {
    if (!index.isValid() || index.column() == kThisFile || index.column() == kRank)
        return -1;
    if (index.column() >= kFirstTemplate) {
        const int position = m_columns[static_cast<std::size_t>(index.column() - kFirstTemplate)];
        const auto at = static_cast<std::size_t>(position);
        const bool set = IsOtherKeyRow(index.row()) ? TemplateRaw(at, index.row()).has_value()
                                                    : TemplateField(at, index.row()) != nullptr;
        return set ? position : -1;
    }
    if (IsOtherKeyRow(index.row()))
        return -1; // an other key has no figures
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

QVariant CCompareModel::OtherKeyData(const QModelIndex& index, int role) const {
    const int row = index.row(), column = index.column();
    // As a String's row: no figures, and a template's value tinted only where it is this file's.
    const std::optional<std::string_view> own = DocumentRaw(row);
    std::optional<std::string_view> shown;
    if (column == kThisFile) {
        shown = own;
        if (role == Qt::FontRole && shown)
            return m_bold;
    } else if (column >= kFirstTemplate) {
        const int position = m_columns[static_cast<std::size_t>(column - kFirstTemplate)];
        shown = TemplateRaw(static_cast<std::size_t>(position), row);
        if (role == Qt::BackgroundRole)
            return shown && own && *shown == *own ? QVariant(m_tint.SameText()) : QVariant();
    }
    const bool text = role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole;
    return text && shown ? QVariant(TextOfBytes(*shown)) : QVariant();
}

QVariant CCompareModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (IsOtherKeyRow(index.row()))
        return OtherKeyData(index, role);
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
        const int key = KeyAt(section);
        const int own = IsOtherKey(key) ? DocumentOtherKey(section) : -1;
        const bool changed = IsOtherKey(key) ? own >= 0 && m_document.IsOtherKeyChanged(own)
                                             : m_document.IsFieldChanged(key);
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
        const std::string name =
            IsOtherKey(key)
                ? OtherGroup(key) + '.' + OtherName(key)
                : CSchema::Get().Fields()[static_cast<std::size_t>(key)].m_pGroup->m_strName + '.' +
                      CSchema::Get().Fields()[static_cast<std::size_t>(key)].m_strName;
        return (changed ? kChangedMark : QString()) + TextOfBytes(name);
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
    // A key the schema does not know is edited only where the file has it: nothing adds one.
    if (index.column() == kThisFile &&
        (!IsOtherKeyRow(index.row()) || DocumentOtherKey(index.row()) >= 0))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CCompareModel::SetOtherKey(int row, const QString& text) {
    const int own = DocumentOtherKey(row);
    if (own < 0)
        return false;
    const COtherKey key = m_document.OtherKey(own);
    // The text as shown and not edited stands for the key's own bytes.
    if (key.present && text == TextOfBytes(key.value))
        return true;
    const std::string bytes = BytesOfEdit(text, Encoding());
    const std::string_view raw = TrimmedRawValue(bytes);
    if (const std::string why = RawValueRefusal(raw); !why.empty()) {
        emit Refused(QStringLiteral("A raw value ") + QString::fromUtf8(why));
        return false;
    }
    const COtherKeyEditCommand::CValue before{std::string(key.value), key.present};
    const COtherKeyEditCommand::CValue after{std::string(raw), !raw.empty()};
    if (!(after == before))
        m_document.UndoStack()->push(
            new COtherKeyEditCommand(m_document, own, before, after, false, 0));
    return true;
}

bool CCompareModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != kThisFile || index.row() >= rowCount())
        return false;
    if (IsOtherKeyRow(index.row()))
        return SetOtherKey(index.row(), value.toString());
    const CFieldEntry& field = m_document.Field(KeyAt(index.row()));
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
    const std::string label = m_templates.At(static_cast<std::size_t>(position)).Label();
    if (IsOtherKeyRow(index.row())) {
        const int key = KeyAt(index.row());
        const int own = DocumentOtherKey(index.row());
        if (own < 0) {
            if (why)
                *why = "This file does not set " + OtherGroup(key) + '.' + OtherName(key) +
                       ", and a key the editor does not know is not added";
            return false;
        }
        std::string raw;
        char32_t refused = 0;
        if (!EncodeShownBytes(
                TemplateRaw(static_cast<std::size_t>(position), index.row()).value_or(""),
                Encoding(), raw, refused)) {
            if (why)
                *why = CannotHoldReason(Encoding(), refused);
            return false;
        }
        const COtherKey now = m_document.OtherKey(own);
        const COtherKeyEditCommand::CValue before{std::string(now.value), now.present};
        const COtherKeyEditCommand::CValue after{raw, true};
        if (after == before)
            return false;
        m_document.UndoStack()->push(new COtherKeyEditCommand(
            m_document, own, before, after, false, 0,
            TextOfBytes("Take " + std::string(now.name) + " from " + label)));
        return true;
    }
    CFieldEntry value = *TemplateField(static_cast<std::size_t>(position), index.row());
    char32_t refused = 0;
    if (value.Type() == FieldType::String &&
        !EncodeShownBytes(std::string(value.m_strValue), Encoding(), value.m_strValue, refused)) {
        if (why)
            *why = WhyStringCannotTake(Encoding(), refused);
        return false;
    }
    const CFieldEntry& field = m_document.Field(KeyAt(index.row()));
    if (value.SameValueAs(field))
        return false;
    const std::string name = "Take " + field.Name() + " from " + label;
    m_document.UndoStack()->push(new CFieldEditCommand(
        m_document, field, value, CFieldEditCommand::Kind::Other, 0, TextOfBytes(name)));
    return true;
}

bool CCompareModel::Remove(int row) {
    if (IsOtherKeyRow(row)) {
        const int own = DocumentOtherKey(row);
        if (own < 0 || !m_document.OtherKey(own).present)
            return false;
        m_document.UndoStack()->push(new COtherKeyEditCommand(
            m_document, own, {std::string(m_document.OtherKey(own).value), true}, {{}, false},
            false, 0));
        return true;
    }
    const CFieldEntry& field = m_document.Field(KeyAt(row));
    if (!field.m_bPresent)
        return false;
    CFieldEntry removed = field;
    removed.m_bPresent = false;
    m_document.UndoStack()->push(
        new CFieldEditCommand(m_document, field, removed, CFieldEditCommand::Kind::Other, 0));
    return true;
}

void CCompareModel::OnFieldChanged(int field) {
    OnRowChanged(field);
}

void CCompareModel::OnOtherKeyChanged(int index) {
    const COtherKey key = m_document.OtherKey(index);
    if (const int row = KeyOfOther(key.group, key.name); row >= 0)
        OnRowChanged(row);
}

void CCompareModel::OnRowChanged(int field) {
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
        const long long order = OrderOf(field);
        const auto at =
            std::ranges::lower_bound(m_rows, order, {}, &CCompareRow::m_nOrder) - m_rows.begin();
        beginInsertRows({}, static_cast<int>(at), static_cast<int>(at));
        m_rows.insert(m_rows.begin() + at, CCompareRow{field, order});
        m_figures.insert(m_figures.begin() + at, CRowFigures{});
        endInsertRows();
    }
}
