#include "EditorFixture.h"
#include "FieldTree.h"

#include <QImage>
#include <QTreeWidgetItemIterator>

namespace {

// An item as a user sees it, with the field or group index it stands for and which of the
// strip's 12 by 12 pictures it shows, selected or not (-1: none of them).
std::string View(const QTreeWidgetItem* item) {
    static const QImage strip =
        QImage(QStringLiteral(":/tree-images.png")).convertToFormat(QImage::Format_ARGB32);
    auto shown = [item](QIcon::Mode mode) {
        // Left of the room for the changed mark.
        return item->icon(0)
            .pixmap(item->treeWidget()->iconSize(), mode)
            .toImage()
            .copy(0, 0, 12, 12)
            .convertToFormat(QImage::Format_ARGB32);
    };
    int image = -1;
    for (int i = 0; i < CFieldTree::kImageCount; ++i) {
        if (shown(QIcon::Normal) == strip.copy(i * 12, 0, 12, 12) &&
            shown(QIcon::Selected) == strip.copy(i * 12, 0, 12, 12))
            image = i;
    }
    return item->text(0).toStdString() + (item->font(0).bold() ? " (bold)" : "") + " #" +
           std::to_string(item->data(0, CFieldTree::kItemIndexRole).toInt()) + " image " +
           std::to_string(image);
}

Shown Views(QTreeWidget* tree) {
    Shown views;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        views.push_back(View(*it));
    return views;
}

} // namespace

TEST_F(EditorTest, TheTreeHoldsEveryGroupAndFieldAndShowsWhatTheDocumentSets) {
    m_folder.CopyUiTestData({"ALIAS.TXT", "tank.odf", "values.odf"});
    Start();
    // Every field of the schema under its group.
    int fields = 0;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        fields += (*it)->parent() != nullptr;
    EXPECT_EQ(fields, 173);
    EXPECT_EQ(m_tree->topLevelItemCount(), 9);

    Open("tank.odf");
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
    EXPECT_EQ(m_prompts.m_lastFilter, "Tank Files (*.odf);;All Files (*)");
    const std::pair<const char*, const char*> views[] = {
        {"GameObject", "baseName = \"tank01\" (bold) #0 image 1"},
        {"GameObject", "collisionRadius = 2.500000 (bold) #2 image 2"},
        {"GameObject", "maxHealth = 1500 (bold) #6 image 3"},
        {"GameObject", "unitName =  #8 image 1"},
        {"CraftClass", "rangeScan = -0.250000 (bold) #23 image 2"},
        {"ArmoryClass", "cannonItem1 = \"\" (bold) #132 image 1"},
        {"WingmanClass", "setAltitude =  #49 image 2"},
        {"HovercraftClass", "setAltitude =  #69 image 2"},
    };
    for (auto [group, view] : views) {
        const std::string name = std::string(view).substr(0, std::string(view).find(' '));
        EXPECT_EQ(View(FieldItem(*m_editor, group, QString::fromStdString(name))), view);
    }
    Shown groups;
    for (int i = 0; i < 9; ++i)
        groups.push_back(View(m_tree->topLevelItem(i)));
    EXPECT_EQ(groups, (Shown{"GameObject (bold) #0 image 0", "CraftClass (bold) #1 image 0",
                             "WingmanClass #2 image 0", "HovercraftClass #3 image 0",
                             "TurrettankClass #4 image 0", "WalkerClass #5 image 0",
                             "ProducerClass #6 image 0", "ArmoryClass (bold) #7 image 0",
                             "PersonClass #8 image 0"}));

    // Opening tank.odf again after another file shows it as before; New makes every item plain.
    const Shown opened = Views(m_tree);
    Open("values.odf");
    Open("tank.odf");
    EXPECT_EQ(Views(m_tree), opened);
    Command("actionFileNew");
    for (const std::string& view : Views(m_tree))
        EXPECT_EQ(view.find("bold"), std::string::npos) << view;

    // Keys the schema does not know follow their group's fields, with an image of their own; a
    // group of its own follows the schema's.
    m_folder.Write("others.odf", tarnwick_test::ReadData("model/others.odf"));
    Open("others.odf");
    const QTreeWidgetItem* hover = m_tree->topLevelItem(3);
    EXPECT_EQ(View(hover->child(hover->childCount() - 1)), "emptyKey =  (bold) #3 image 4");
    EXPECT_EQ(View(m_tree->topLevelItem(9)), "BuildingClass (bold) #-1 image 0");
}
