#include "EditorFixture.h"
#include "FieldTree.h"

#include <QImage>

namespace {

// An item as a user sees it, with the field or group index it stands for and which of the
// strip's 12 by 12 pictures it shows, selected or not (-1: none of them).
std::string View(const QTreeWidgetItem* item) {
    static const QImage strip =
        QImage(QStringLiteral(":/tree-images.png")).convertToFormat(QImage::Format_ARGB32);
    auto shown = [item](QIcon::Mode mode) {
        return item->icon(0)
            .pixmap(QSize(12, 12), mode)
            .toImage()
            .convertToFormat(QImage::Format_ARGB32);
    };
    int image = -1;
    for (int i = 0; i < 4; ++i) {
        const QImage picture = strip.copy(i * 12, 0, 12, 12);
        if (shown(QIcon::Normal) == picture && shown(QIcon::Selected) == picture)
            image = i;
    }
    return item->text(0).toStdString() + (item->font(0).bold() ? " (bold)" : "") + " #" +
           std::to_string(item->data(0, CFieldTree::kItemIndexRole).toInt()) + " image " +
           std::to_string(image);
}

std::vector<std::string> Views(QTreeWidget* tree) {
    std::vector<std::string> views;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        views.push_back(View(tree->topLevelItem(i)));
        for (int j = 0; j < tree->topLevelItem(i)->childCount(); ++j)
            views.push_back(View(tree->topLevelItem(i)->child(j)));
    }
    return views;
}

} // namespace

TEST_F(EditorTest, TheTreeHoldsEveryGroupAndFieldAndShowsWhatTheDocumentSets) {
    m_folder.CopyUiTestData({"ALIAS.TXT", "tank.odf"});
    Start();
    ASSERT_EQ(m_tree->topLevelItemCount(), 9);
    int fields = 0;
    for (int i = 0; i < 9; ++i) {
        QTreeWidgetItem* group = m_tree->topLevelItem(i);
        EXPECT_EQ(View(group),
                  group->text(0).toStdString() + " #" + std::to_string(i) + " image 0");
        for (int j = 0; j < group->childCount(); ++j, ++fields) {
            // "name = ", plain, its index, and the picture of its type.
            const std::string view = View(group->child(j));
            EXPECT_TRUE(view.find(" =  #" + std::to_string(fields) + " image ") !=
                            std::string::npos &&
                        view.back() >= '1' && view.back() <= '3')
                << view;
        }
    }
    EXPECT_EQ(fields, 173);
    EXPECT_EQ(m_tree->topLevelItem(0)->childCount(), 23);
    // A name used in two groups gives an item under each, each its own field.
    EXPECT_NE(View(FieldItem(*m_editor, "WingmanClass", "setAltitude")),
              View(FieldItem(*m_editor, "HovercraftClass", "setAltitude")));

    Open("tank.odf");
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
    EXPECT_EQ(m_prompts.m_lastFilter, "Tank Files (*.odf);;All Files (*)");
    const std::pair<const char*, const char*> fieldsShown[] = {
        {"GameObject", "baseName = \"tank01\" (bold) #0 image 1"},
        {"GameObject", "collisionRadius = 2.500000 (bold) #2 image 2"},
        {"GameObject", "maxHealth = 1500 (bold) #6 image 3"},
        {"GameObject", "unitName =  #8 image 1"},
        {"CraftClass", "rangeScan = -0.250000 (bold) #23 image 2"},
        {"ArmoryClass", "cannonItem1 = \"\" (bold) #132 image 1"},
    };
    for (auto [group, view] : fieldsShown) {
        const std::string name = std::string(view).substr(0, std::string(view).find(' '));
        EXPECT_EQ(View(FieldItem(*m_editor, group, QString::fromStdString(name))), view);
    }
    std::vector<std::string> boldGroups;
    for (int i = 0; i < 9; ++i) {
        if (m_tree->topLevelItem(i)->font(0).bold())
            boldGroups.push_back(m_tree->topLevelItem(i)->text(0).toStdString());
    }
    EXPECT_EQ(boldGroups, (Shown{"GameObject", "CraftClass", "ArmoryClass"}));

    // Opening again changes nothing; New makes every item plain again.
    const auto opened = Views(m_tree);
    Open("tank.odf");
    EXPECT_EQ(Views(m_tree), opened);
    Command("File", "New");
    for (const std::string& view : Views(m_tree))
        EXPECT_EQ(view.find("bold"), std::string::npos) << view;
}
