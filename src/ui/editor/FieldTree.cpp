#include "FieldTree.h"

#include "AsciiCase.h"
#include "ByteText.h"
#include "Schema.h"
#include "TankFile.h"
#include "ValueText.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

constexpr int kImageSize = 12;
// Right of each image, the room for the mark of a changed field.
constexpr int kMarkRoom = 7;
const QColor kMarkColour(0xe0, 0x8a, 0x00);

// The image, and the mark when changed, as one picture, shown the same when selected (the style
// would tint it otherwise).
QIcon MakeImage(const QPixmap& image, bool changed) {
    QPixmap picture(kImageSize + kMarkRoom, kImageSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, image);
    if (changed) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kMarkColour);
        painter.drawEllipse(QPointF(kImageSize + kMarkRoom / 2.0, kImageSize / 2.0), 2.5, 2.5);
    }
    painter.end();
    QIcon icon(picture);
    icon.addPixmap(picture, QIcon::Selected);
    return icon;
}

std::string FieldItemText(const CFieldEntry& field) {
    return field.m_bPresent ? FieldLine(field.Name(), field) : field.Name() + " = ";
}

int ImageOf(FieldType type) {
    switch (type) {
    case FieldType::Float:
        return CFieldTree::kFloatImage;
    case FieldType::Integer:
        return CFieldTree::kIntegerImage;
    case FieldType::String:
        break;
    }
    return CFieldTree::kStringImage;
}

} // namespace

CFieldTree::CFieldTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setIconSize(QSize(kImageSize + kMarkRoom, kImageSize));
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Long values scroll sideways instead of being shortened with an ellipsis.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_boldFont = font();
    m_boldFont.setBold(true);

    const QPixmap strip(QStringLiteral(":/tree-images.png"));
    for (std::size_t i = 0; i < kImageCount; ++i) {
        const QPixmap image =
            strip.copy(static_cast<int>(i) * kImageSize, 0, kImageSize, kImageSize);
        m_images[i] = MakeImage(image, false);
        m_changedImages[i] = MakeImage(image, true);
    }
}

QTreeWidgetItem* CFieldTree::MakeFieldItem(const CFieldEntry& field) const {
    auto* item = new QTreeWidgetItem(QStringList(TextOfBytes(FieldItemText(field))));
    item->setIcon(0, m_images[static_cast<std::size_t>(ImageOf(field.Type()))]);
    item->setData(0, kItemIndexRole, field.Index());
    SetItemBold(item, field.m_bPresent);
    return item;
}

void CFieldTree::SetItemBold(QTreeWidgetItem* item, bool bold) const {
    if (bold)
        item->setFont(0, m_boldFont);
    else
        item->setData(0, Qt::FontRole, QVariant());
}

void CFieldTree::UpdateGroupBold(QTreeWidgetItem* group) const {
    bool bold = false;
    for (int j = 0; j < group->childCount() && !bold; ++j)
        bold = group->child(j)->font(0).bold();
    if (group->font(0).bold() != bold)
        SetItemBold(group, bold);
}

void CFieldTree::Build(const CTankFile& document) {
    const CViewState kept = ViewState();
    m_pDocument = &document;
    clear();
    // Items are made apart from the tree and handed over in one step, which spares the view
    // an update for each of them.
    QList<QTreeWidgetItem*> groups;
    const std::vector<CFieldGroup>& schemaGroups = CSchema::Get().Groups();
    groups.reserve(static_cast<qsizetype>(schemaGroups.size()));
    for (const CFieldGroup& group : schemaGroups) {
        auto* groupItem = new QTreeWidgetItem(QStringList(TextOfBytes(group.m_strName)));
        groupItem->setIcon(0, m_images[kFolderImage]);
        groupItem->setData(0, kItemIndexRole, group.m_nIndex);
        QList<QTreeWidgetItem*> fields;
        for (int j = group.m_nFirstField; j < group.m_nEndField; ++j)
            fields.append(MakeFieldItem(document.m_fields[static_cast<std::size_t>(j)]));
        groupItem->addChildren(fields);
        groups.append(groupItem);
    }
    addTopLevelItems(groups);
    for (QTreeWidgetItem* group : groups)
        UpdateGroupBold(group);
    RestoreViewState(kept);
}

const std::string& CFieldTree::NameOf(const QTreeWidgetItem* item) const {
    const auto index = static_cast<std::size_t>(item->data(0, kItemIndexRole).toInt());
    return item->parent() ? m_pDocument->m_fields[index].Name()
                          : CSchema::Get().Groups()[index].m_strName;
}

CFieldTree::CViewState CFieldTree::ViewState() const {
    CViewState state;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        // While a filter opens groups, they are open as the user left them before it.
        const bool open = m_strFilter.isEmpty() ? topLevelItem(i)->isExpanded()
                                                : m_expandedBefore[static_cast<std::size_t>(i)];
        if (open)
            state.m_openGroups.push_back(NameOf(topLevelItem(i)));
    }
    if (const QTreeWidgetItem* item = SelectedItem()) {
        if (item->parent())
            state.m_selected.push_back(NameOf(item->parent()));
        state.m_selected.push_back(NameOf(item));
    }
    return state;
}

QTreeWidgetItem* CFieldTree::ItemNamed(const std::vector<std::string>& names) const {
    QTreeWidgetItem* found = nullptr;
    for (const std::string& name : names) {
        QTreeWidgetItem* parent = found;
        found = nullptr;
        const int count = parent ? parent->childCount() : topLevelItemCount();
        for (int i = 0; i < count && !found; ++i) {
            QTreeWidgetItem* item = parent ? parent->child(i) : topLevelItem(i);
            if (NameOf(item) == name)
                found = item;
        }
        if (!found)
            return nullptr;
    }
    return found;
}

void CFieldTree::RestoreViewState(const CViewState& state) {
    const int groups = topLevelItemCount();
    std::vector<bool> open(static_cast<std::size_t>(groups));
    for (int i = 0; i < groups; ++i)
        open[static_cast<std::size_t>(i)] =
            std::ranges::find(state.m_openGroups, NameOf(topLevelItem(i))) !=
            state.m_openGroups.end();
    if (m_strFilter.isEmpty()) {
        for (int i = 0; i < groups; ++i)
            topLevelItem(i)->setExpanded(open[static_cast<std::size_t>(i)]);
    } else {
        // The filter opens what it shows; the groups return to these when it is cleared.
        m_expandedBefore = std::move(open);
        ApplyFilter();
    }
    QTreeWidgetItem* item = ItemNamed(state.m_selected);
    if (item && !item->isHidden() && !(item->parent() && item->parent()->isHidden())) {
        setCurrentItem(item);
        scrollToItem(item);
    }
}

void CFieldTree::SetChanged(int fieldIndex, bool changed) {
    QTreeWidgetItem* item = FieldItem(fieldIndex);
    if (!item || item->toolTip(0).isEmpty() != changed)
        return;
    const auto image = static_cast<std::size_t>(
        ImageOf(m_pDocument->m_fields[static_cast<std::size_t>(fieldIndex)].Type()));
    item->setIcon(0, changed ? m_changedImages[image] : m_images[image]);
    item->setToolTip(0, changed ? QStringLiteral("Changed since last saved") : QString());
}

QTreeWidgetItem* CFieldTree::FieldItem(int fieldIndex) const {
    if (!m_pDocument || fieldIndex < 0 ||
        fieldIndex >= static_cast<int>(m_pDocument->m_fields.size()))
        return nullptr;
    const CFieldGroup* group = m_pDocument->m_fields[static_cast<std::size_t>(fieldIndex)].Group();
    QTreeWidgetItem* groupItem = topLevelItem(group->m_nIndex);
    return groupItem ? groupItem->child(fieldIndex - group->m_nFirstField) : nullptr;
}

void CFieldTree::UpdateField(const CFieldEntry& field, bool erasedByTyping) {
    QTreeWidgetItem* item = FieldItem(field.Index());
    if (!item)
        return;
    // The item shows the value as stored (a Float rounded to single precision), so it never
    // shows what will not be saved.
    const std::string text =
        !field.m_bPresent && erasedByTyping ? field.Name() + " =" : FieldItemText(field);
    item->setText(0, TextOfBytes(text));
    if (item->font(0).bold() != field.m_bPresent) {
        SetItemBold(item, field.m_bPresent);
        UpdateGroupBold(item->parent());
    }
}

QTreeWidgetItem* CFieldTree::SelectedItem() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

int CFieldTree::SelectedField() const {
    const QTreeWidgetItem* item = SelectedItem();
    return item && item->parent() ? item->data(0, kItemIndexRole).toInt() : -1;
}

void CFieldTree::SelectField(int fieldIndex) {
    QTreeWidgetItem* item = FieldItem(fieldIndex);
    if (!item)
        return;
    if (item->isHidden()) {
        Filter(QString());
        emit FilterCleared();
    }
    setCurrentItem(item);
    scrollToItem(item);
}

void CFieldTree::Filter(const QString& text) {
    if (text == m_strFilter)
        return;
    const int groups = topLevelItemCount();
    if (m_strFilter.isEmpty()) {
        m_expandedBefore.resize(static_cast<std::size_t>(groups));
        for (int i = 0; i < groups; ++i)
            m_expandedBefore[static_cast<std::size_t>(i)] = topLevelItem(i)->isExpanded();
    }
    m_strFilter = text;
    ApplyFilter();
}

void CFieldTree::ApplyFilter() {
    const bool all = m_strFilter.isEmpty();
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = topLevelItem(i);
        bool any = false;
        for (int j = 0; j < group->childCount(); ++j) {
            QTreeWidgetItem* item = group->child(j);
            const int index = item->data(0, kItemIndexRole).toInt();
            const bool shown =
                all || m_matcher.Matches(m_pDocument->m_fields[static_cast<std::size_t>(index)],
                                         m_strFilter);
            // Only changes reach the view: each one costs it a layout.
            if (item->isHidden() == shown)
                item->setHidden(!shown);
            any = any || shown;
        }
        if (group->isHidden() == any)
            group->setHidden(!any);
        const bool expanded = all ? m_expandedBefore[static_cast<std::size_t>(i)] : any;
        if (group->isExpanded() != expanded)
            group->setExpanded(expanded);
    }
    if (all) {
        m_expandedBefore.clear();
        if (QTreeWidgetItem* item = SelectedItem())
            scrollToItem(item);
    }
}

QTreeWidgetItem* CFieldTree::FirstMatch() const {
    // The best of the shown fields: one named as typed that the file sets, one named as typed,
    // one the file sets, the first. A name typed whole means that field, even when another
    // field's name holds it too and comes first (followMsg in selectFollowMsg).
    const std::string typed = BytesOfText(m_strFilter);
    QTreeWidgetItem* best = nullptr;
    int bestRank = 0;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem* group = topLevelItem(i);
        for (int j = 0; j < group->childCount(); ++j) {
            QTreeWidgetItem* item = group->child(j);
            if (item->isHidden())
                continue;
            const auto index = static_cast<std::size_t>(item->data(0, kItemIndexRole).toInt());
            const CFieldEntry& field = m_pDocument->m_fields[index];
            const bool named = EqualIgnoringAsciiCase(field.Name(), typed);
            const int rank = 1 + (field.m_bPresent ? 1 : 0) + (named ? 2 : 0);
            if (rank > bestRank) {
                best = item;
                bestRank = rank;
            }
        }
    }
    return best;
}
