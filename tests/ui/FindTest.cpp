// Finding a field with the filter box above the tree, driven by keys as a user presses them.

#include "EditorFixture.h"

#include <QTreeWidgetItemIterator>

namespace {

// The shown fields, "Group/field", while a filter is on: a group is shown, and opened, exactly
// while it has a shown field.
Shown ShownFields(QTreeWidget* tree) {
    Shown shown;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = tree->topLevelItem(i);
        const std::size_t before = shown.size();
        for (int j = 0; j < group->childCount(); ++j) {
            if (!group->child(j)->isHidden())
                shown.push_back(group->text(0).toStdString() + "/" +
                                group->child(j)->text(0).section(' ', 0, 0).toStdString());
        }
        const bool any = shown.size() > before;
        EXPECT_EQ(group->isHidden(), !any) << group->text(0).toStdString();
        EXPECT_EQ(group->isExpanded(), any) << group->text(0).toStdString();
    }
    return shown;
}

// Every item, whether it is hidden and opened.
std::vector<int> Rows(QTreeWidget* tree) {
    std::vector<int> rows;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        rows.push_back((*it)->isHidden() * 2 + (*it)->isExpanded());
    return rows;
}

class FindTest : public EditorTest {
protected:
    void SetUp() override {
        StartOn("tank.odf");
        m_filter = m_editor->findChild<QLineEdit*>(QStringLiteral("filter"));
    }
    // Ctrl+F from wherever the focus is, then text typed over what the box held.
    void Find(const char* text) {
        Key(Qt::Key_F, Qt::ControlModifier);
        ASSERT_EQ(QApplication::focusWidget(), m_filter);
        Type(QString::fromUtf8(text));
    }

    QLineEdit* m_filter = nullptr;
};

} // namespace

TEST_F(FindTest, ShowsTheFieldsThatHoldTheTextAndEscapeAndEnterLeaveTheBox) {
    const struct {
        const char* text;
        Shown shown;
    } cases[] = {
        {"HEALTH", {"GameObject/maxHealth", "ProducerClass/healthRepair"}}, // names
        {"missles", {"GameObject/heatSignature"}},                          // a description
        {"TANK0", {"GameObject/baseName"}},                                 // a value
        {"-0.25", {"CraftClass/rangeScan"}},                                // as shown
        {"1500", {"GameObject/maxHealth"}},                                 // a number
        {"no such text", {}},
    };
    for (const auto& c : cases) {
        Find(c.text);
        EXPECT_EQ(ShownFields(m_tree), c.shown) << c.text;
    }

    Key(Qt::Key_Escape);
    m_tree->topLevelItem(2)->setExpanded(true);
    ClickItem(FieldItem(*m_editor, "CraftClass", "rangeScan"));
    const std::vector<int> before = Rows(m_tree);

    // Escape empties the box and goes back to the tree: the same items as before, each shown
    // and opened as it was. The window stays open.
    Find("scan");
    EXPECT_EQ(ShownFields(m_tree), (Shown{"CraftClass/rangeScan", "CraftClass/periodScan"}));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(m_filter->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), m_tree);
    EXPECT_EQ(Rows(m_tree), before);
    EXPECT_EQ(m_tree->currentItem(), FieldItem(*m_editor, "CraftClass", "rangeScan"));
    EXPECT_TRUE(m_editor->isVisible());

    // Enter selects the first match, ready for its value; it applies nothing.
    Find("Signature");
    Key(Qt::Key_Return);
    EXPECT_EQ(m_tree->currentItem()->text(0), "heatSignature = ");
    EXPECT_EQ(QApplication::focusWidget(), m_box);
    EXPECT_FALSE(Modified());
    // Undo selects its field even where the filter hides it, clearing the filter.
    Type(QStringLiteral("3"));
    Find("maxhealth");
    m_tree->setFocus();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(m_filter->text().isEmpty());
    EXPECT_EQ(m_tree->currentItem()->text(0), "heatSignature = ");
    EXPECT_FALSE(m_tree->currentItem()->isHidden());
    EXPECT_FALSE(Modified());

    // A name typed whole goes to that field, set or not, before a longer name that holds it.
    m_folder.Write("craft.odf", "[CraftClass]\nselectFollowMsg = \"a.wav\"\n");
    Open("craft.odf");
    m_prompts.TakeShown();
    Find("FOLLOWmsg");
    Key(Qt::Key_Return);
    EXPECT_EQ(m_tree->currentItem()->text(0), "followMsg = ");
    Find("follow");
    Key(Qt::Key_Return);
    EXPECT_EQ(m_tree->currentItem()->text(0), "selectFollowMsg = \"a.wav\"");
    Find("");
    Key(Qt::Key_Escape);
    Open("tank.odf");
    m_prompts.TakeShown();

    // A group's first field is found as any other.
    const std::vector<int> unfiltered = Rows(m_tree);
    Find("TANK0");
    Key(Qt::Key_Return);
    EXPECT_EQ(m_tree->currentItem()->text(0).section(' ', 0, 0), "baseName");

    // A file opened while filtering is filtered too; once the filter goes, its groups are open as
    // they were before it.
    Find("range");
    Open("tank.odf");
    EXPECT_EQ(ShownFields(m_tree), Shown{"CraftClass/rangeScan"});
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
    Find("");
    Key(Qt::Key_Escape);
    EXPECT_EQ(Rows(m_tree), unfiltered);

    // Enter goes to the first match the file sets: a hovercraft's own velocForward, not the
    // unset one of WingmanClass above it, so what is typed next changes the hovercraft's and
    // the kept file gains no [WingmanClass].
    m_folder.Write("hover.odf", "// hover\n[HovercraftClass]\nvelocForward = 30\n");
    Open("hover.odf");
    Find("velocforward");
    Key(Qt::Key_Return);
    ASSERT_EQ(m_tree->currentItem()->text(0), "velocForward = 30.000000");
    EXPECT_EQ(m_tree->currentItem()->parent()->text(0), "HovercraftClass");
    Type(QStringLiteral("45")); // replaces the value found, which Enter left selected
    m_prompts.Queue(Answer::Yes);
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(m_folder.Read("hover.odf"), "// hover\n[HovercraftClass]\nvelocForward = 45\n");
}
