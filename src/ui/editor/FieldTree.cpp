#include "FieldTree.h"

#include "AsciiCase.h"
#include "ByteText.h"
#include "OtherKeys.h"
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

std::string OtherKeyItemText(const COtherKey& key, bool erasedByTyping = false) {
    std::string text(key.name);
    if (!key.present)
        return text + (erasedByTyping ? " =" : " = ");
    return text + " = " + std::string(key.value);
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
    m_italicFont = font();
    m_italicFont.setItalic(true);
    m_boldItalicFont = m_boldFont;
    m_boldItalicFont.setItalic(true);

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
    item->setData(0, kItemKindRole, kFieldItem);
    SetItemBold(item, field.m_bPresent);
    return item;
}

QTreeWidgetItem* CFieldTree::MakeOtherKeyItem(int index, const COtherKey& key) const {
    auto* item = new QTreeWidgetItem(QStringList(TextOfBytes(OtherKeyItemText(key))));
    item->setIcon(0, m_images[kOtherKeyImage]);
    item->setData(0, kItemIndexRole, index);
    item->setData(0, kItemKindRole, kOtherKeyItem);
    SetItemBold(item, key.present);
    return item;
}

void CFieldTree::SetItemBold(QTreeWidgetItem* item, bool bold) const {
    // What the schema does not know stands apart in italic.
    if (const ItemKind kind = KindOf(item); kind == kOtherKeyItem || kind == kOtherGroupItem)
        item->setFont(0, bold ? m_boldItalicFont : m_italicFont);
    else if (bold)
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
    auto makeGroup = [this, &groups](std::string_view name, int index, ItemKind kind) {
        auto* groupItem = new QTreeWidgetItem(QStringList(TextOfBytes(name)));
        groupItem->setIcon(0, m_images[kFolderImage]);
        groupItem->setData(0, kItemIndexRole, index);
        groupItem->setData(0, kItemKindRole, kind);
        SetItemBold(groupItem, false);
        groups.append(groupItem);
        return groupItem;
    };
    // Each other key under its group: a schema group's after its fields (children added in one
    // step, as the fields), a group of its own after the schema's, in the order first met.
    std::vector<QList<QTreeWidgetItem*>> schemaOthers(schemaGroups.size());
    std::vector<std::pair<std::string_view, QList<QTreeWidgetItem*>>> ownGroups;
    m_otherKeyItems.assign(document.m_otherKeys.Size(), nullptr);
    document.m_otherKeys.ForEach([&](std::size_t index, const COtherKey& key) {
        QTreeWidgetItem* item = MakeOtherKeyItem(static_cast<int>(index), key);
        m_otherKeyItems[index] = item;
        if (key.schemaGroup >= 0) {
            schemaOthers[static_cast<std::size_t>(key.schemaGroup)].append(item);
            return;
        }
        auto own = std::ranges::find_if(ownGroups, [&key](const auto& group) {
            return EqualIgnoringAsciiCase(group.first, key.group);
        });
        if (own == ownGroups.end())
            own = ownGroups.insert(ownGroups.end(), {key.group, {}});
        own->second.append(item);
    });
    for (const CFieldGroup& group : schemaGroups) {
        QTreeWidgetItem* groupItem = makeGroup(group.m_strName, group.m_nIndex, kGroupItem);
        QList<QTreeWidgetItem*> children;
        for (int j = group.m_nFirstField; j < group.m_nEndField; ++j)
            children.append(MakeFieldItem(document.m_fields[static_cast<std::size_t>(j)]));
        children.append(schemaOthers[static_cast<std::size_t>(group.m_nIndex)]);
        groupItem->addChildren(children);
    }
    for (const auto& [name, keys] : ownGroups)
        makeGroup(name, -1, kOtherGroupItem)->addChildren(keys);
    addTopLevelItems(groups);
    for (QTreeWidgetItem* group : groups)
        UpdateGroupBold(group);
    RestoreViewState(kept);
}

std::string CFieldTree::NameOf(const QTreeWidgetItem* item) const {
    const auto index = static_cast<std::size_t>(item->data(0, kItemIndexRole).toInt());
    switch (KindOf(item)) {
    case kFieldItem:
        return m_pDocument->m_fields[index].Name();
    case kGroupItem:
        return CSchema::Get().Groups()[index].m_strName;
    case kOtherKeyItem:
        return std::string(m_pDocument->m_otherKeys.At(index).name);
    case kOtherGroupItem:
        break;
    }
    return BytesOfText(item->text(0));
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
            if (EqualIgnoringAsciiCase(NameOf(item), name))
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

namespace {

// Shows or takes away the mark of a changed item, with image the item's picture.
void MarkChanged(QTreeWidgetItem* item, bool changed, const QIcon& plain, const QIcon& marked) {
    if (!item || item->toolTip(0).isEmpty() != changed)
        return;
    item->setIcon(0, changed ? marked : plain);
    item->setToolTip(0, changed ? QStringLiteral("Changed since last saved") : QString());
}

} // namespace

void CFieldTree::SetChanged(int fieldIndex, bool changed) {
    QTreeWidgetItem* item = FieldItem(fieldIndex);
    const auto image = static_cast<std::size_t>(
        item ? ImageOf(m_pDocument->m_fields[static_cast<std::size_t>(fieldIndex)].Type()) : 0);
    MarkChanged(item, changed, m_images[image], m_changedImages[image]);
}

void CFieldTree::SetOtherKeyChanged(int index, bool changed) {
    MarkChanged(OtherKeyItem(index), changed, m_images[kOtherKeyImage],
                m_changedImages[kOtherKeyImage]);
}

QTreeWidgetItem* CFieldTree::OtherKeyItem(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < m_otherKeyItems.size()
               ? m_otherKeyItems[static_cast<std::size_t>(index)]
               : nullptr;
}

void CFieldTree::UpdateOtherKey(int index, bool erasedByTyping) {
    QTreeWidgetItem* item = OtherKeyItem(index);
    if (!item)
        return;
    const COtherKey key = m_pDocument->m_otherKeys.At(static_cast<std::size_t>(index));
    item->setText(0, TextOfBytes(OtherKeyItemText(key, erasedByTyping)));
    if (item->font(0).bold() != key.present) {
        SetItemBold(item, key.present);
        UpdateGroupBold(item->parent());
    }
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
    return item && KindOf(item) == kFieldItem ? item->data(0, kItemIndexRole).toInt() : -1;
}

int CFieldTree::SelectedOtherKey() const {
    const QTreeWidgetItem* item = SelectedItem();
    return item && KindOf(item) == kOtherKeyItem ? item->data(0, kItemIndexRole).toInt() : -1;
}

void CFieldTree::SelectItem(QTreeWidgetItem* item) {
    if (!item)
        return;
    if (item->isHidden()) {
        Filter(QString());
        emit FilterCleared();
    }
    setCurrentItem(item);
    scrollToItem(item);
}

void CFieldTree::SelectField(int fieldIndex) {
    SelectItem(FieldItem(fieldIndex));
}

void CFieldTree::SelectOtherKey(int index) {
    SelectItem(OtherKeyItem(index));
}

bool CFieldTree::Matches(const QTreeWidgetItem* item) const {
    const auto index = static_cast<std::size_t>(item->data(0, kItemIndexRole).toInt());
    if (KindOf(item) == kFieldItem)
        return m_matcher.Matches(m_pDocument->m_fields[index], m_strFilter);
    const COtherKey key = m_pDocument->m_otherKeys.At(index);
    return m_matcher.MatchesText(key.name, key.present ? key.value : std::string_view(),
                                 m_strFilter);
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
            const bool shown = all || Matches(item);
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
            bool present = false;
            if (KindOf(item) == kFieldItem)
                present = m_pDocument->m_fields[index].m_bPresent;
            else
                present = m_pDocument->m_otherKeys.At(index).present;
            const bool named = EqualIgnoringAsciiCase(NameOf(item), typed);
            const int rank = 1 + (present ? 1 : 0) + (named ? 2 : 0);
            if (rank > bestRank) {
                best = item;
                bestRank = rank;
            }
        }
    }
    return best;
}
