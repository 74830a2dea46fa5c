#include "CompareModel.h"

#include "ByteText.h"
#include "FieldEditCommand.h"
#include "Schema.h"
#include "TankDocument.h"
#include "TemplateList.h"
#include "ValueText.h"

#include <QApplication>
#include <QPalette>
#include <QUndoStack>

#include <algorithm>

CCompareModel::CCompareModel(CTankDocument& document, const CTemplateList& templates,
                             QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_templates(templates) {
    m_bold = QApplication::font();
    m_bold.setBold(true);
    // The selection's colour, faint: a tinted cell still reads as a plain one.
    QColor tint = QApplication::palette().color(QPalette::Highlight);
    tint.setAlpha(64);
    m_tint = QBrush(tint);
    connect(&document, &CTankDocument::FieldChanged, this,
            [this](int field) { OnFieldChanged(field); });
    connect(&document, &CTankDocument::Replaced, this, &CCompareModel::Refresh);
    // Saved, no row is changed any more.
    connect(&document, &CTankDocument::Saved, this, [this] {
        if (rowCount() > 0)
            emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    });
    Rebuild();
}

void CCompareModel::Rebuild() {
    m_templateFields.clear();
    for (std::size_t t = 0; t < m_templates.Size(); ++t)
        m_templateFields.push_back(m_templates.At(t).m_fields.data());
    const auto fields = static_cast<std::size_t>(kSchemaFieldCount);
    m_setByTemplates.assign(fields, false);
    m_rows.clear();
    for (std::size_t i = 0; i < fields; ++i) {
        // Most fields are set by one of the first few templates.
        for (std::size_t t = 0; t < m_templateFields.size() && !m_setByTemplates[i]; ++t)
            m_setByTemplates[i] = m_templateFields[t][i].m_bPresent;
        if (m_setByTemplates[i] || m_document.File().m_fields[i].m_bPresent)
            m_rows.push_back(static_cast<int>(i));
    }
    m_stats.assign(m_rows.size(), std::nullopt);
}

void CCompareModel::Refresh() {
    beginResetModel();
    Rebuild();
    endResetModel();
}

void CCompareModel::ForgetTemplates() {
    beginResetModel();
    m_templateFields.clear();
    m_stats.assign(m_rows.size(), std::nullopt);
    endResetModel();
}

int CCompareModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CCompareModel::columnCount(const QModelIndex& parent) const {
    // The templates as last taken in: the list itself changes before the view is told.
    return parent.isValid() ? 0 : kFirstTemplate + static_cast<int>(m_templateFields.size());
}

const CFieldEntry& CCompareModel::DocumentField(int row) const {
    return m_document.Field(FieldAt(row));
}

TextEncoding CCompareModel::Encoding() const {
    return m_document.File().m_nEncoding;
}

int CCompareModel::RowOf(int field) const {
    const auto at = std::ranges::lower_bound(m_rows, field);
    return at != m_rows.end() && *at == field ? static_cast<int>(at - m_rows.begin()) : -1;
}

const CValueStats& CCompareModel::StatsOf(int row) const {
    std::optional<CValueStats>& stats = m_stats[static_cast<std::size_t>(row)];
    if (!stats)
        stats = ::StatsOf(TemplateValues(m_templateFields, FieldAt(row)));
    return *stats;
}

const CFieldEntry* CCompareModel::TemplateField(std::size_t position, int row) const {
    if (position >= m_templateFields.size())
        return nullptr;
    const CFieldEntry& field = m_templateFields[position][static_cast<std::size_t>(FieldAt(row))];
    return field.m_bPresent ? &field : nullptr;
}

int CCompareModel::TemplateAt(const QModelIndex& index) const {
    if (!index.isValid() || index.column() == kThisFile)
        return -1;
    if (index.column() >= kFirstTemplate) {
        const auto position = static_cast<std::size_t>(index.column() - kFirstTemplate);
        return TemplateField(position, index.row()) ? static_cast<int>(position) : -1;
    }
    const CValueStats& stats = StatsOf(index.row());
    const CFieldEntry* wanted = index.column() == kMin      ? stats.m_pMin
                                : index.column() == kMedian ? stats.m_pMedian
                                                            : stats.m_pMax;
    for (std::size_t t = 0; wanted && t < m_templates.Size(); ++t) {
        if (TemplateField(t, index.row()) == wanted)
            return static_cast<int>(t);
    }
    return -1;
}

QVariant CCompareModel::Text(const CFieldEntry* field) const {
    return field ? QVariant(TextOfBytes(FormatValue(*field))) : QVariant();
}

QVariant CCompareModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row(), column = index.column();
    const CFieldEntry& own = m_document.Field(FieldAt(row));
    const CFieldEntry* shown = nullptr;
    if (column == kThisFile) {
        shown = own.m_bPresent ? &own : nullptr;
        if (role == Qt::FontRole && shown)
            return m_bold;
    } else if (column >= kFirstTemplate) {
        shown = TemplateField(static_cast<std::size_t>(column - kFirstTemplate), row);
        if (role == Qt::BackgroundRole)
            return shown && !shown->SameValueAs(own) ? QVariant(m_tint) : QVariant();
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
        if (role == Qt::ToolTipRole && changed)
            return QStringLiteral("Changed since last saved");
        if (role != Qt::DisplayRole)
            return {};
        const CFieldDefinition& field =
            CSchema::Get().Fields()[static_cast<std::size_t>(FieldAt(section))];
        return (changed ? kChangedMark : QString()) +
               TextOfBytes(field.m_pGroup->m_strName + '.' + field.m_strName);
    }
    static const char* const kTitles[] = {"This file", "Min", "Median", "Max"};
    if (section < kFirstTemplate)
        return role == Qt::DisplayRole ? QVariant(QString::fromLatin1(kTitles[section]))
                                       : QVariant();
    const auto position = static_cast<std::size_t>(section - kFirstTemplate);
    if (position >= m_templateFields.size())
        return {};
    const CTankFile& tankFile = m_templates.At(position);
    if (role == Qt::DisplayRole)
        return TextOfBytes(tankFile.Label());
    if (role == Qt::ToolTipRole)
        return TextOfBytes(tankFile.m_strPath);
    return {};
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
    const bool shown =
        m_setByTemplates[static_cast<std::size_t>(field)] || m_document.Field(field).m_bPresent;
    if (row >= 0 && shown) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, row, row);
    } else if (row >= 0) {
        beginRemoveRows({}, row, row);
        m_rows.erase(m_rows.begin() + row);
        m_stats.erase(m_stats.begin() + row);
        endRemoveRows();
    } else if (shown) {
        const auto at = std::ranges::lower_bound(m_rows, field) - m_rows.begin();
        beginInsertRows({}, static_cast<int>(at), static_cast<int>(at));
        m_rows.insert(m_rows.begin() + at, field);
        m_stats.insert(m_stats.begin() + at, std::nullopt);
        endInsertRows();
    }
}

std::vector<int> CCompareModel::TemplateColumnsByValue(int row) const {
    const bool text = m_document.Field(FieldAt(row)).Type() == FieldType::String;
    std::vector<int> columns(m_templates.Size());
    std::vector<QString> texts(text ? columns.size() : 0);
    for (std::size_t t = 0; t < columns.size(); ++t) {
        columns[t] = kFirstTemplate + static_cast<int>(t);
        if (text)
            texts[t] = Text(TemplateField(t, row)).toString();
    }
    std::ranges::stable_sort(columns, [&](int a, int b) {
        const auto ta = static_cast<std::size_t>(a - kFirstTemplate);
        const auto tb = static_cast<std::size_t>(b - kFirstTemplate);
        const CFieldEntry* fa = TemplateField(ta, row);
        const CFieldEntry* fb = TemplateField(tb, row);
        if (!fa || !fb)
            return fa && !fb; // without a value, last
        if (text)
            return QString::compare(texts[ta], texts[tb], Qt::CaseInsensitive) < 0;
        return NumberOf(*fa) < NumberOf(*fb);
    });
    return columns;
}
