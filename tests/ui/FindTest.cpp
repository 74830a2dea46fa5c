// Finding a field with the filter box above the tree, driven by keys as a user presses them.

#include "EditorFixture.h"

#include <QApplication>
#include <QLineEdit>

namespace {

// Every item of the tree with what a user sees of it.
struct Row {
    QTreeWidgetItem* item;
    bool hidden;
    bool expanded;
    bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(QTreeWidget* tree) {
    std::vector<Row> rows;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = tree->topLevelItem(i);
        rows.push_back({group, group->isHidden(), group->isExpanded()});
        for (int j = 0; j < group->childCount(); ++j)
            rows.push_back({group->child(j), group->child(j)->isHidden(), false});
    }
    return rows;
}

// The shown fields, "Group/field", while a filter is on: a group is shown, and opened, exactly
// while it has a shown field.
std::vector<std::string> ShownFields(QTreeWidget* tree) {
    std::vector<std::string> shown;
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

} // namespace

class FindTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.Write("ALIAS.TXT", "");
        m_folder.Write("tank.odf", kSampleTank);
        StartOn("tank.odf");
        m_tree = TreeOf(*m_editor);
        m_filter = m_editor->findChild<QLineEdit*>(QStringLiteral("filter"));
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // Ctrl+F from wherever the focus is, then text typed over what the box held.
    void Find(const char* text) {
        Key(Qt::Key_F, Qt::ControlModifier);
        ASSERT_EQ(QApplication::focusWidget(), m_filter);
        QTest::keyClicks(m_filter, QString::fromUtf8(text));
    }

    QTreeWidget* m_tree = nullptr;
    QLineEdit* m_filter = nullptr;
};

TEST_F(FindTest, ShowsTheFieldsWhoseNameDescriptionOrValueHoldsTheText) {
    const struct {
        const char* text;
        std::vector<std::string> shown;
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
}

TEST_F(FindTest, EscapeAndEnterInTheBoxAndTheTreeAfterwards) {
    m_tree->topLevelItem(2)->setExpanded(true);
    ClickItem(*m_editor, FieldItem(*m_editor, "CraftClass", "rangeScan"));
    const std::vector<Row> before = Rows(m_tree);

    // Escape empties the box and goes back to the tree: the same items as before, each shown
    // and opened as it was. The window stays open.
    Find("scan");
    EXPECT_EQ(ShownFields(m_tree),
              (std::vector<std::string>{"CraftClass/rangeScan", "CraftClass/periodScan"}));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(m_filter->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), m_tree);
    EXPECT_EQ(Rows(m_tree), before);
    EXPECT_TRUE(m_editor->isVisible());
    EXPECT_TRUE(m_prompts.m_shown.empty());

    // Enter selects the first match, ready for its value; it applies nothing.
    Find("Signature");
    Key(Qt::Key_Return);
    EXPECT_EQ(TextOf(m_tree->currentItem()), "heatSignature = ");
    EXPECT_EQ(QApplication::focusWidget(), m_box);
    EXPECT_FALSE(Modified());
    // Undo selects its field even where the filter hides it, clearing the filter.
    QTest::keyClicks(m_box->lineEdit(), QStringLiteral("3"));
    Find("maxhealth");
    m_tree->setFocus();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(m_filter->text().isEmpty());
    EXPECT_EQ(TextOf(m_tree->currentItem()), "heatSignature = ");
    EXPECT_FALSE(m_tree->currentItem()->isHidden());
    EXPECT_FALSE(Modified());

    // A file opened while filtering is filtered too.
    Find("range");
    Open("tank.odf");
    EXPECT_EQ(ShownFields(m_tree), (std::vector<std::string>{"CraftClass/rangeScan"}));
    Key(Qt::Key_Escape);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
}
