#pragma once

#include "FieldMatcher.h"

#include <QFont>
#include <QIcon>
#include <QTreeWidget>

#include <array>
#include <string>
#include <vector>

class CFieldEntry;
class CTankFile;
struct COtherKey;

// The definition tree: a top-level item for each group of a document, under it an item for each
// field reading "name = value", in bold while the document sets the field (and a group while it
// sets any of its fields), with a dot before the name while it is changed since last saved. After
// a group's fields come the keys the document sets in it that the schema does not know (other
// keys, "key = raw value", in italic with an image of their own), and after the schema's groups
// the groups of other keys whose header selects no schema group. A filter can hide the fields
// and keys that do not match a text.
class CFieldTree : public QTreeWidget {
    Q_OBJECT
public:
    // Item data of every item: a group index for a schema group's item, a field index (the
    // position in the document's whole m_fields) for a field item, an other key's position in
    // the document's m_otherKeys for its item, -1 for a group of other keys alone.
    static constexpr int kItemIndexRole = Qt::UserRole;
    // What an item stands for.
    static constexpr int kItemKindRole = Qt::UserRole + 1;
    enum ItemKind { kGroupItem, kFieldItem, kOtherKeyItem, kOtherGroupItem };

    // Images of the tree, in the order items use them.
    enum Image {
        kFolderImage,
        kStringImage,
        kFloatImage,
        kIntegerImage,
        kOtherKeyImage,
        kImageCount
    };

    static ItemKind KindOf(const QTreeWidgetItem* item) {
        return static_cast<ItemKind>(item->data(0, kItemKindRole).toInt());
    }

    // What the user has opened and selected, by names, so that it can be found again in
    // another document (or another run).
    struct CViewState {
        std::vector<std::string> m_openGroups;
        // The selected group's name and, for a field, the field's; empty when none is selected.
        std::vector<std::string> m_selected;
    };

    explicit CFieldTree(QWidget* parent = nullptr);

    // Makes every item anew from document, which must outlive the tree or the next Build. The
    // filter, the open groups and the selected item stay, where the new items have them.
    void Build(const CTankFile& document);

    CViewState ViewState() const;
    // Opens the groups that state names (closing the others) and selects its item, if shown.
    void RestoreViewState(const CViewState& state);

    // Shows or takes away the mark of a field changed since last saved.
    void SetChanged(int fieldIndex, bool changed);
    // The same for the other key at index.
    void SetOtherKeyChanged(int index, bool changed);

    // Shows field's value and presence on its item and the bold of its group. A field just
    // emptied by typing reads "name =".
    void UpdateField(const CFieldEntry& field, bool erasedByTyping = false);

    // Shows the other key at index (its raw value and presence, the bold of its group); one just
    // emptied by typing reads "key =".
    void UpdateOtherKey(int index, bool erasedByTyping = false);

    QTreeWidgetItem* SelectedItem() const;
    // The selected field's index, or -1 when anything else or nothing is selected.
    int SelectedField() const;
    // The selected other key's position, or -1.
    int SelectedOtherKey() const;
    // Selects the field's item and scrolls to it; a filter that hides it is cleared first.
    void SelectField(int fieldIndex);
    // The same for the other key at index.
    void SelectOtherKey(int index);

    // Shows only the fields whose name, description or value contains text, ignoring case, under
    // their groups, which are opened; groups without a match are hidden. An empty text shows
    // every item again, each group opened or closed as before the filter began.
    void Filter(const QString& text);
    // The field item the filter's Enter goes to: the first shown field whose name is the
    // filter's text (ASCII case ignored), one the document sets first; else the first shown field
    // that the document sets, or the first shown field; nullptr when none is shown. Another
    // group's unset field of the same name must not win over the one the file has.
    QTreeWidgetItem* FirstMatch() const;

signals:
    // SelectField had to clear the filter.
    void FilterCleared();

private:
    QTreeWidgetItem* FieldItem(int fieldIndex) const;
    QTreeWidgetItem* OtherKeyItem(int index) const;
    void SelectItem(QTreeWidgetItem* item);
    // The name of what an item stands for, as the schema or the file spells it.
    std::string NameOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* ItemNamed(const std::vector<std::string>& names) const;
    QTreeWidgetItem* MakeFieldItem(const CFieldEntry& field) const;
    QTreeWidgetItem* MakeOtherKeyItem(int index, const COtherKey& key) const;
    // Whether item stands for something the filter's text matches.
    bool Matches(const QTreeWidgetItem* item) const;
    void SetItemBold(QTreeWidgetItem* item, bool bold) const;
    void UpdateGroupBold(QTreeWidgetItem* group) const;
    void ApplyFilter();

    const CTankFile* m_pDocument = nullptr;
    QFont m_boldFont;
    QFont m_italicFont; // other keys', bold too while the document sets them
    QFont m_boldItalicFont;
    std::vector<QTreeWidgetItem*> m_otherKeyItems; // each other key's, by its position
    std::array<QIcon, kImageCount> m_images;
    std::array<QIcon, kImageCount> m_changedImages; // with the dot
    QString m_strFilter;
    std::vector<bool> m_expandedBefore; // each group, while a filter is on
    CFieldMatcher m_matcher;
};
