// Keys the schema does not know in the window, driven by keys as a user presses them: found,
// shown, typed over, undone, emptied, picked from a template and saved in place.

#include "EditorFixture.h"
#include "FieldTree.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QTableView>

namespace {

// others.odf sets soundTurbo under [HoverCraftClass] and whole sections the schema does not know;
// t5.odf, a template, sets soundTurbo too.
class OtherKeysTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.Write("others.odf", tarnwick_test::ReadData("model/others.odf"));
        m_folder.Write("t5.odf", "[HoverCraftClass]\nsoundTurbo = \"tmpl.wav\" // fast\n");
        m_folder.CopyUiTestData({"ALIAS.TXT"});
        Start();
        Open("others.odf");
        LoadSet("t5.odf\n");
    }
    QTreeWidgetItem* Current() const { return m_tree->currentItem(); }
};

} // namespace

TEST_F(OtherKeysTest, AreFoundTypedOverUndoneEmptiedPickedAndSavedInPlace) {
    // A group of its own comes after the schema's (the tree's test), with its keys, apart in
    // italic.
    ASSERT_EQ(m_tree->topLevelItemCount(), 10);
    QTreeWidgetItem* building = m_tree->topLevelItem(9);
    EXPECT_TRUE(building->font(0).italic());
    ASSERT_EQ(building->childCount(), 3);
    EXPECT_EQ(building->child(2)->text(0), "armor = 12");
    EXPECT_TRUE(building->child(2)->font(0).italic());
    ClickItem(building);
    EXPECT_EQ(Label("typeText"), "Group Header (a group the editor does not know)");
    EXPECT_FALSE(m_box->isEnabled());

    // Found by name and by value; Enter goes to it, its raw text selected.
    Key(Qt::Key_F, Qt::ControlModifier);
    Type(QStringLiteral("soundturbo"));
    Key(Qt::Key_Return);
    ASSERT_EQ(Current()->text(0), "soundTurbo = \"avtanke4.wav\"");
    EXPECT_EQ(Current()->parent()->text(0), "HovercraftClass");
    EXPECT_EQ(Label("fieldText"), "soundTurbo");
    EXPECT_EQ(Label("typeText"), "Text (a key the editor does not know)");
    EXPECT_EQ(Label("descriptionText"), "");
    EXPECT_EQ(Listed(*m_box), Shown{"[t5.odf] \"tmpl.wav\""});

    // Typed over as one step; '[' refused with the reason; undone and redone.
    Type(QStringLiteral("\"fast.wav\""));
    Type(QStringLiteral("["));
    EXPECT_TRUE(Label("noteText").contains("'['"));
    EXPECT_EQ(Current()->text(0), "soundTurbo = \"fast.wav\"");
    EXPECT_TRUE(Modified());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Current()->text(0), "soundTurbo = \"avtanke4.wav\"");
    EXPECT_FALSE(Modified());
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Edit(), "\"fast.wav\"");

    // Emptied, it is removed; a template's value picked brings it back as that file has it.
    Keys({Qt::ControlModifier | Qt::Key_A, Qt::Key_Backspace});
    EXPECT_EQ(Current()->text(0), "soundTurbo =");
    EXPECT_FALSE(Current()->font(0).bold());
    Keys({Qt::Key_F4, Qt::Key_Down, Qt::Key_Return});
    EXPECT_EQ(Current()->text(0), "soundTurbo = \"tmpl.wav\"");
    EXPECT_EQ(ActionText("actionEditUndo"), "&Undo soundTurbo\tCtrl+Z");

    // A "//" outside quotes would read back as a comment: not taken, and said.
    Keys({Qt::ControlModifier | Qt::Key_F, Qt::Key_Backspace, Qt::Key_Escape});
    building->setExpanded(true);
    ClickItem(building->child(2));
    m_box->setFocus();
    Key(Qt::Key_End);
    Type(QStringLiteral(" //x"));
    EXPECT_EQ(building->child(2)->text(0), "armor = 12 /");
    EXPECT_TRUE(Label("noteText").contains("'//'"));
    Keys({Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace});
    Type(QStringLiteral("0"));

    // Kept in place, the file's other lines as they were.
    m_prompts.Queue(Answer::Yes);
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(
        m_folder.Read("others.odf"),
        tarnwick_test::Replaced(tarnwick_test::Replaced(tarnwick_test::ReadData("model/others.odf"),
                                                        "\"avtanke4.wav\"", "\"tmpl.wav\""),
                                "armor = 12\n", "armor = 120\n"));
    EXPECT_FALSE(Modified());
}

// The comparison has a row for each: after its group's fields, groups of their own last, raw text
// as a String's, taken and edited as one, and refused where the file has no such key.
TEST_F(OtherKeysTest, HaveRowsInTheComparison) {
    m_folder.Write("t5.odf", "[HoverCraftClass]\nsoundTurbo = \"tmpl.wav\"\n[PowerUpClass]\n"
                             "healthAmount = 50\n");
    LoadSet("t5.odf\n");
    Key(Qt::Key_F, Qt::ControlModifier);
    Type(QStringLiteral("soundTurbo"));
    Keys({Qt::Key_Return, Qt::ControlModifier | Qt::Key_K});
    auto* table = m_editor->findChild<QTableView*>("compareTable");
    ASSERT_TRUE(table && QApplication::focusWidget() == table);
    QAbstractItemModel* model = table->model();
    auto row = [model](int at) {
        QStringList cells{model->headerData(at, Qt::Vertical).toString()};
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(at, column).data().toString();
        return cells.join('|').toStdString();
    };
    const int current = table->currentIndex().row();
    EXPECT_EQ(row(current), "HovercraftClass.soundTurbo|\"avtanke4.wav\"|||||\"tmpl.wav\"");
    EXPECT_EQ(row(current - 1), "HovercraftClass.velocForward|22.000000|1 of 1||||");
    EXPECT_EQ(row(model->rowCount() - 1), "PowerUpClass.healthAmount||||||50");
    EXPECT_EQ(row(model->rowCount() - 4), "BuildingClass.powerCost|0.75|||||");

    // Copied with its name; taken from the template as one step, which the tree shows.
    Keys({Qt::ShiftModifier | Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_C});
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Field\tThis file\tRank\tMin\tMedian\tMax\tt5.odf\n"
              "HovercraftClass.soundTurbo\t\"avtanke4.wav\"\t\t\t\t\t\"tmpl.wav\"\n");
    Keys({Qt::Key_End, Qt::Key_Return});
    EXPECT_EQ(Current()->text(0), "soundTurbo = \"tmpl.wav\"");
    EXPECT_EQ(ActionText("actionEditUndo"), "&Undo Take soundTurbo from t5.odf\tCtrl+Z");

    // Edited in place as raw text; what would not read back is refused with the reason.
    Keys({Qt::Key_Home, Qt::Key_F2, Qt::ControlModifier | Qt::Key_A});
    Type(QStringLiteral("x // y"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Label("compareNote"),
              "A raw value cannot hold '//' outside quotes: it would read as a "
              "comment.");
    Keys({Qt::Key_F2, Qt::ControlModifier | Qt::Key_A});
    Type(QStringLiteral(" \"edge.wav\" "));
    Key(Qt::Key_Return);
    EXPECT_EQ(Current()->text(0), "soundTurbo = \"edge.wav\"");

    // A key only a template sets is no key of this file's: not taken.
    Keys({Qt::ControlModifier | Qt::Key_End, Qt::Key_Return});
    EXPECT_EQ(Label("compareNote"),
              "This file does not set PowerUpClass.healthAmount, and a key the "
              "editor does not know is not added.");
    // Delete removes the file's key; its row stays while a template sets it.
    Keys({Qt::ControlModifier | Qt::Key_Up, Qt::Key_Home});
    table->setCurrentIndex(model->index(current, 0));
    Key(Qt::Key_Delete);
    EXPECT_EQ(row(current), "\u2022 HovercraftClass.soundTurbo||||||\"tmpl.wav\"");
    EXPECT_EQ(Current()->text(0), "soundTurbo = ");
}

// A group of its own shows no figures left from the field selected before it.
TEST_F(OtherKeysTest, AGroupOfItsOwnShowsNoFiguresOfTheFieldBefore) {
    LoadMade("h", {"maxHealth = 5", "maxHealth = 9"});
    auto* strip = m_editor->findChild<QWidget*>("valueStrip");
    Select("GameObject", "maxHealth");
    ASSERT_TRUE(strip->isVisible());
    ClickItem(m_tree->topLevelItem(9)); // BuildingClass
    EXPECT_FALSE(strip->isVisible());
    EXPECT_FALSE(m_editor->findChild<QLabel*>("statsText")->isVisible());
}
