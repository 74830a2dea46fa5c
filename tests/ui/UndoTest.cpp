// The undo history as a user drives it: keys sent to the focused widget reach the window's
// shortcuts, as real keyboard input does.

#include "EditorFixture.h"
#include "ValueText.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>

#include <optional>

namespace {

// What undo and redo must restore, seen from outside: the selected field's item, its value as
// the document holds it, the box, the title and the Edit menu.
struct State {
    QString selected; // the selected item's text
    std::optional<std::string> value;
    bool groupBold;
    QString edit;
    bool star;
    QString undo; // the menu items' texts, "-" while disabled
    QString redo;
    bool operator==(const State&) const = default;
};

void PrintTo(const State& s, std::ostream* out) {
    *out << "{" << s.selected.toStdString() << ", " << (s.value ? *s.value : "absent")
         << (s.groupBold ? ", group bold" : ", group plain") << ", edit \"" << s.edit.toStdString()
         << "\"" << (s.star ? ", *" : "") << ", " << s.undo.toStdString() << ", "
         << s.redo.toStdString() << "}";
}

} // namespace

class UndoTest : public EditorTest {
protected:
    void SetUp() override {
        CopyUiTestData(m_folder, {"ALIAS.TXT", "doc.odf", "t1.odf", "t2.odf", "t3.odf"});
        StartOn("doc.odf");
        m_edit = m_box->lineEdit();
    }
    QAction* EditItem(int row) {
        QMenu* edit = m_editor->menuBar()->actions().at(1)->menu();
        return edit->actions().at(row);
    }
    static QString MenuText(QAction* action) {
        return action->isEnabled() ? action->text() : QStringLiteral("-");
    }
    State Now() {
        QTreeWidgetItem* item = TreeOf(*m_editor)->currentItem();
        const CFieldEntry& field =
            m_editor->Document().m_fields[static_cast<std::size_t>(ItemIndex(item))];
        const std::optional<std::string> value =
            field.m_bPresent ? std::optional(FormatValue(field)) : std::nullopt;
        const bool star = Title().endsWith(QStringLiteral(" *]"));
        EXPECT_EQ(star, Modified()) << "the title's star is the save prompt's";
        return {TextOf(item),         value, IsBold(item->parent()),
                m_edit->text(),       star,  MenuText(EditItem(0)),
                MenuText(EditItem(1))};
    }
    // A key as the user presses it: to whatever has the focus.
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    void Type(const char* text) { QTest::keyClicks(m_edit, QString::fromUtf8(text)); }

    QLineEdit* m_edit = nullptr;
};

TEST_F(UndoTest, TypingIsOneStepPerFieldAndUndoRedoRestoreField) {
    EXPECT_FALSE(EditItem(0)->isEnabled());
    Select("HovercraftClass", "setAltitude");
    Type("12");
    Select("GameObject", "maxHealth");
    m_edit->end(false);
    Type("05");
    const State typed{"maxHealth = 1005",        "1005", true, "1005", true,
                      "&Undo maxHealth\tCtrl+Z", "-"};
    EXPECT_EQ(Now(), typed);

    // Undo from the value box, where the edit field's own undo must not take the key.
    Key(Qt::Key_Z);
    EXPECT_EQ(Now(), (State{"maxHealth = 10", "10", true, "10", true, "&Undo setAltitude\tCtrl+Z",
                            "&Redo maxHealth\tCtrl+Shift+Z"}));
    // Undoing selects the field and puts its group back to plain.
    Key(Qt::Key_Z);
    const State loaded{
        "setAltitude = ", std::nullopt, false, "", false, "-", "&Redo setAltitude\tCtrl+Shift+Z"};
    EXPECT_EQ(Now(), loaded);
    // Both redo keys work, from the tree too.
    TreeOf(*m_editor)->setFocus();
    Key(Qt::Key_Y);
    EXPECT_EQ(Now(), (State{"setAltitude = 12.000000", "12.000000", true, "12.000000", true,
                            "&Undo setAltitude\tCtrl+Z", "&Redo maxHealth\tCtrl+Shift+Z"}));
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Now(), typed);

    // Undone to the loaded state, the document has nothing to save: nothing is asked.
    m_editor->OnEditUndo();
    m_editor->OnEditUndo();
    EXPECT_EQ(Now(), loaded);
    m_editor->OnFileNew();
    EXPECT_TRUE(m_prompts.m_shown.empty());
    EXPECT_FALSE(EditItem(1)->isEnabled()) << "New clears the history";
}

TEST_F(UndoTest, PicksAndEmptyingAreStepsOfTheirOwnAndTypingBackIsNone) {
    m_folder.Write("set.txt", "t1.odf\nt2.odf\nt3.odf\n");
    m_prompts.QueuePath(m_folder.Path("set.txt"));
    m_editor->OnTemplateLoadSet();
    m_prompts.TakeShown();

    Select("GameObject", "maxHealth");
    Type("0");
    Key(Qt::Key_Backspace, Qt::NoModifier);
    EXPECT_FALSE(Modified()) << "typed back to where it began";
    EXPECT_EQ(Now().undo, "-");

    Type("5");
    PickListItem(*m_box, m_box->findText(QStringLiteral("9"))); // from t2.odf
    QTest::keyClick(m_edit, Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Delete, Qt::NoModifier);
    Type("4");
    QTest::keyClick(m_edit, Qt::Key_Backspace);
    Type("7");
    std::vector<std::optional<std::string>> values;
    while (EditItem(0)->isEnabled()) {
        values.push_back(Now().value);
        Key(Qt::Key_Z);
    }
    values.push_back(Now().value);
    EXPECT_EQ(values, (std::vector<std::optional<std::string>>{"7", std::nullopt, "4", std::nullopt,
                                                               "9", "105", "10"}));
    EXPECT_FALSE(Modified());
}

TEST_F(UndoTest, TheStarFollowsTheSavedStateAndOpenClearsTheHistory) {
    Select("GameObject", "baseName");
    Type("1");
    m_editor->OnFileSave();
    EXPECT_EQ(Title(), QString::fromStdString(TitleOf("doc.odf")));
    m_editor->OnEditUndo();
    EXPECT_EQ(Title(), QString::fromStdString(TitleOf("doc.odf", true)));
    m_editor->OnEditRedo();
    EXPECT_EQ(Title(), QString::fromStdString(TitleOf("doc.odf")));
    // Typing after the save is a new step, whose undo goes back to the saved value.
    Type("2");
    m_editor->OnEditUndo();
    EXPECT_EQ(Now().value, "1");
    EXPECT_FALSE(Modified());

    Type("3");
    m_prompts.QueueAnswer(Answer::No);
    Open("doc.odf");
    EXPECT_EQ(m_prompts.TakeShown().size(), 2u);
    EXPECT_FALSE(EditItem(0)->isEnabled());
    EXPECT_FALSE(EditItem(1)->isEnabled());
    EXPECT_EQ(EditItem(0)->text(), "&Undo\tCtrl+Z");
}
