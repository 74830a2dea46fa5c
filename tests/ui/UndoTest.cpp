#include "EditorFixture.h"

#include <QAction>

class UndoTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.CopyUiTestData({"t1.odf", "t2.odf", "t3.odf"});
        StartOn("doc.odf");
    }
    // What undo and redo must restore, seen from outside: the selected item, its group's bold,
    // the value box, the title and the Edit menu.
    std::string Now() {
        const QTreeWidgetItem* item = m_tree->currentItem();
        return item->text(0).toStdString() + (item->parent()->font(0).bold() ? ", bold" : "") +
               ", edit " + Edit().toStdString() + (Modified() ? ", *, " : ", ") +
               ActionText("actionEditUndo") + ", " + ActionText("actionEditRedo");
    }
};

TEST_F(UndoTest, PicksEmptyingAndTypingAreOneStepEachUndoRestoresTheFieldAndOpenClearsIt) {
    LoadSet("t1.odf\nt2.odf\nt3.odf\n");

    Select("GameObject", "maxHealth");
    Key(Qt::Key_End);
    Type(QStringLiteral("0"));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Now(), "maxHealth = 10, bold, edit 10, -, -") << "typed back to where it began";

    Type(QStringLiteral("5"));
    m_box->showPopup();
    // The first item, 9 from t2.odf, then the field emptied.
    Keys({Qt::Key_Home, Qt::Key_Return, Qt::ControlModifier | Qt::Key_A, Qt::Key_Delete});
    Type(QStringLiteral("4"));
    Key(Qt::Key_Backspace);
    Type(QStringLiteral("7"));
    std::vector<std::string> items;
    while (ActionText("actionEditUndo") != "-") {
        items.push_back(m_tree->currentItem()->text(0).toStdString());
        Key(Qt::Key_Z, Qt::ControlModifier);
    }
    items.push_back(m_tree->currentItem()->text(0).toStdString());
    EXPECT_EQ(items, (Shown{"maxHealth = 7", "maxHealth = ", "maxHealth = 4",
                            "maxHealth = ", "maxHealth = 9", "maxHealth = 105", "maxHealth = 10"}));
    EXPECT_FALSE(Modified());

    // Typing in another field is a step of its own; undo and redo restore the field.
    Select("HovercraftClass", "setAltitude");
    Type(QStringLiteral("12"));
    Select("GameObject", "maxHealth");
    Key(Qt::Key_End);
    Type(QStringLiteral("05"));
    const std::string typed = "maxHealth = 1005, bold, edit 1005, *, &Undo maxHealth\tCtrl+Z, -";
    EXPECT_EQ(Now(), typed);

    // Undo from the value box, where the edit field's own undo must not take the key; undoing
    // selects the field and puts its group back to plain.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Now(), "maxHealth = 10, bold, edit 10, *, &Undo setAltitude\tCtrl+Z, "
                     "&Redo maxHealth\tCtrl+Shift+Z, Ctrl+Y");
    Key(Qt::Key_Z, Qt::ControlModifier);
    const std::string loaded = "setAltitude = , edit , -, &Redo setAltitude\tCtrl+Shift+Z, Ctrl+Y";
    EXPECT_EQ(Now(), loaded);
    // Both redo keys work, in the value box and in the tree.
    m_box->setFocus();
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Now(), "setAltitude = 12.000000, bold, edit 12.000000, *, &Undo setAltitude\tCtrl+Z, "
                     "&Redo maxHealth\tCtrl+Shift+Z, Ctrl+Y");
    m_tree->setFocus();
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Now(), typed);

    // Undone to the loaded state, the document has nothing to save: nothing is asked.
    Command("actionEditUndo");
    Command("actionEditUndo");
    EXPECT_EQ(Now(), loaded);
    Command("actionFileNew");
    EXPECT_TRUE(m_prompts.m_shown.empty());
    EXPECT_EQ(ActionText("actionEditRedo"), "-") << "New clears the history";
    EXPECT_EQ(m_editor->findChild<QAction*>("actionEditUndo")->text(), "&Undo\tCtrl+Z");

    // Whether undo or redo reaches the saved state is the document's test's (TankDocumentTest).
    Open("doc.odf");
    Select("GameObject", "baseName");
    Type(QStringLiteral("1"));
    Command("actionFileSave");
    // Typing after the save is a new step, whose undo goes back to the saved value.
    Type(QStringLiteral("2"));
    Command("actionEditUndo");
    EXPECT_EQ(ItemText("GameObject", "baseName"), "baseName = \"1\"");
    EXPECT_FALSE(Modified());

    Type(QStringLiteral("3"));
    m_prompts.Queue(Answer::No);
    Open("doc.odf");
    EXPECT_EQ(ActionText("actionEditUndo") + ActionText("actionEditRedo"), "--")
        << "Open clears the history";
}
