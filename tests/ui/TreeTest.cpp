#include "EditorFixture.h"

#include <QImage>
#include <QTreeWidget>

namespace {

struct ItemView {
    QString text;
    bool bold;
    int index;
    int image;
    bool operator==(const ItemView&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ItemView& item) {
    return out << item.text.toStdString() << (item.bold ? " (bold)" : "") << " #" << item.index
               << " image " << item.image;
}

// Which of the four 12 by 12 pictures an item shows, by comparing pixels with the strip.
int ImageOf(const QTreeWidgetItem* item) {
    static const QImage strip =
        QImage(QStringLiteral(":/tree-images.png")).convertToFormat(QImage::Format_ARGB32);
    const QImage shown =
        item->icon(0).pixmap(12, 12).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage selected = item->icon(0)
                                .pixmap(QSize(12, 12), QIcon::Selected)
                                .toImage()
                                .convertToFormat(QImage::Format_ARGB32);
    for (int i = 0; i < 4; ++i) {
        const QImage image = strip.copy(i * 12, 0, 12, 12);
        if (shown == image && selected == image)
            return i;
    }
    return -1;
}

ItemView View(const QTreeWidgetItem* item) {
    return {item->text(0), IsBold(item), ItemIndex(item), ImageOf(item)};
}

std::vector<ItemView> AllItems(CEditorDlg& editor) {
    std::vector<ItemView> items;
    QTreeWidget* tree = TreeOf(editor);
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = tree->topLevelItem(i);
        items.push_back(View(group));
        for (int j = 0; j < group->childCount(); ++j)
            items.push_back(View(group->child(j)));
    }
    return items;
}

} // namespace

TEST_F(EditorTest, NewDocumentTreeHoldsEveryGroupAndFieldPlain) {
    m_folder.Write("ALIAS.TXT", "");
    Start();
    QTreeWidget* tree = TreeOf(*m_editor);
    ASSERT_EQ(tree->topLevelItemCount(), 9);
    int nextFieldIndex = 0;
    for (int i = 0; i < 9; ++i) {
        QTreeWidgetItem* group = tree->topLevelItem(i);
        EXPECT_EQ(View(group), (ItemView{TextOf(group), false, i, 0}));
        for (int j = 0; j < group->childCount(); ++j) {
            QTreeWidgetItem* field = group->child(j);
            EXPECT_TRUE(field->text(0).endsWith(QStringLiteral(" = ")) && !IsBold(field))
                << TextOf(field).toStdString();
            EXPECT_EQ(ItemIndex(field), nextFieldIndex++);
            EXPECT_GE(ImageOf(field), 1);
        }
    }
    EXPECT_EQ(nextFieldIndex, 173);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 23);
    EXPECT_EQ(View(tree->topLevelItem(0)->child(0)), (ItemView{"baseName = ", false, 0, 1}));
    EXPECT_EQ(View(tree->topLevelItem(0)->child(6)), (ItemView{"maxHealth = ", false, 6, 3}));
    EXPECT_EQ(View(tree->topLevelItem(1)->child(0)), (ItemView{"rangeScan = ", false, 23, 2}));

    // A name used in two groups gives an item under each, with its own field index.
    EXPECT_NE(ItemIndex(FieldItem(*m_editor, "WingmanClass", "setAltitude")),
              ItemIndex(FieldItem(*m_editor, "HovercraftClass", "setAltitude")));
}

TEST_F(EditorTest, OpenedDocumentShowsValuesAndBoldForWhatItSets) {
    m_folder.Write("ALIAS.TXT", "");
    m_folder.Write("tank.odf", kSampleTank);
    Start();
    Open("tank.odf");
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
    EXPECT_EQ(m_prompts.m_lastFilter, "Tank Files (*.odf);;All Files (*)");

    EXPECT_EQ(View(FieldItem(*m_editor, "GameObject", "baseName")),
              (ItemView{"baseName = \"tank01\"", true, 0, 1}));
    EXPECT_EQ(View(FieldItem(*m_editor, "GameObject", "collisionRadius")),
              (ItemView{"collisionRadius = 2.500000", true, 2, 2}));
    EXPECT_EQ(View(FieldItem(*m_editor, "GameObject", "maxHealth")),
              (ItemView{"maxHealth = 1500", true, 6, 3}));
    EXPECT_EQ(View(FieldItem(*m_editor, "GameObject", "unitName")),
              (ItemView{"unitName = ", false, 8, 1}));
    EXPECT_EQ(View(FieldItem(*m_editor, "CraftClass", "rangeScan")),
              (ItemView{"rangeScan = -0.250000", true, 23, 2}));
    EXPECT_EQ(TextOf(FieldItem(*m_editor, "ArmoryClass", "cannonItem1")), "cannonItem1 = \"\"");

    std::vector<QString> boldGroups;
    QTreeWidget* tree = TreeOf(*m_editor);
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (IsBold(tree->topLevelItem(i)))
            boldGroups.push_back(TextOf(tree->topLevelItem(i)));
    }
    EXPECT_EQ(boldGroups, (std::vector<QString>{"GameObject", "CraftClass", "ArmoryClass"}));

    // Building again changes nothing; New makes every item plain again.
    const auto opened = AllItems(*m_editor);
    m_editor->BuildTree();
    EXPECT_EQ(AllItems(*m_editor), opened);
    m_editor->OnFileNew();
    for (const ItemView& item : AllItems(*m_editor))
        EXPECT_FALSE(item.bold) << item;
    EXPECT_EQ(TextOf(FieldItem(*m_editor, "GameObject", "maxHealth")), "maxHealth = ");
}
