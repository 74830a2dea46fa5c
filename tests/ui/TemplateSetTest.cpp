#include "EditorFixture.h"

#include <QAbstractItemView>

#include <cstring>

// The templates of tests/data/ui: t1.odf (alias Alpha) and t3.odf (alias Gamma) set
// collisionRadius, maxHealth and baseName; t2.odf, without an alias, too, and an aiName with a
// lone CR; t1.odf a unitName that is not UTF-8; t4.odf sets only rangeScan. doc.odf sets
// collisionRadius 2.5 and maxHealth 10.
class TemplateSetTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.CopyUiTestData({"doc.odf", "t1.odf", "t2.odf", "t3.odf", "t4.odf"});
        // The alias file is found under either spelling.
        m_folder.Write("alias.txt", tarnwick_test::ReadData("ui/ALIAS.TXT"));
        Start();
        Open("doc.odf");
        m_prompts.TakeShown();
    }
    QTreeWidgetItem* Select(const char* name) { return EditorTest::Select("GameObject", name); }
    // Opens the list and picks the item at index with the keys.
    void Pick(int index) {
        m_box->showPopup();
        Key(Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            Key(Qt::Key_Down);
        ASSERT_EQ(m_box->view()->currentIndex().row(), index);
        Key(Qt::Key_Return);
        EXPECT_FALSE(m_box->view()->isVisible());
    }
};

TEST_F(TemplateSetTest, TheListOffersEachTemplatesValueInOrderAndOpensAtTheEditedOne) {
    EXPECT_EQ(LoadSet("t1.odf\nt2.odf\nt3.odf\nt4.odf\n"), Shown{});
    const struct {
        const char* field;
        Shown listed;
        const char* edit;
    } lists[] = {{"maxHealth", {"[t2.odf] 9", "[Alpha] 10", "[Gamma] 10"}, "10"},
                 {"collisionRadius",
                  {"[Gamma] 3.000000", "[t2.odf] 9.500000", "[Alpha] 10.000000"},
                  "2.500000"},
                 {"baseName", {"[t2.odf] alpha", "[Gamma] Beta", "[Alpha] Zeta"}, ""},
                 {"aiName2", {}, ""}};
    for (const auto& c : lists) {
        Select(c.field);
        EXPECT_EQ(Listed(*m_box), c.listed) << c.field;
        EXPECT_EQ(m_box->currentIndex(), -1);
        EXPECT_EQ(Edit(), c.edit);
    }
    EXPECT_FALSE(Modified());

    // Numbers go by value (as text 10000 would come before 2000, as floats the last two
    // integers would be equal), texts ignoring case; equal ones in template order.
    LoadMade("n", {"maxHealth = 10000\nbaseName = \"b\"", "maxHealth = 2000\nbaseName = \"B\"",
                   "maxHealth = -30\nbaseName = \"a\"", "maxHealth = 2000", "maxHealth = 16777217",
                   "maxHealth = 16777216\ncollisionRadius = -.5"});
    Select("maxHealth");
    EXPECT_EQ(Listed(*m_box), (Shown{"[n2.odf] -30", "[n1.odf] 2000", "[n3.odf] 2000",
                                     "[n0.odf] 10000", "[n5.odf] 16777216", "[n4.odf] 16777217"}));
    Select("baseName");
    EXPECT_EQ(Listed(*m_box), (Shown{"[n2.odf] a", "[n0.odf] b", "[n1.odf] B"}));
    Select("collisionRadius");
    EXPECT_EQ(Listed(*m_box), (Shown{"[n5.odf] -0.500000"}));

    // The list opens at the edited value, or else at its top.
    // maxHealth 0, 10 ... 590; collisionRadius 100 ... 159, never doc.odf's 2.5.
    std::vector<std::string> lines;
    for (int i = 0; i < 60; ++i)
        lines.push_back("maxHealth = " + std::to_string(i * 10) +
                        "\ncollisionRadius = " + std::to_string(100 + i));
    LoadMade("n", lines);
    const struct {
        const char* field;
        const char* typed; // replaces the edit text
        int row; // the current row the list opens at, among its neighbours, or -1: at the top
    } cases[] = {{"maxHealth", nullptr, 1},
                 {"collisionRadius", nullptr, -1},
                 {"maxHealth", "100", 10},
                 {"maxHealth", "55", -1},
                 {"collisionRadius", "158.000000", 58}};
    // The keys that open the list and those that close it without a pick, taken in turn.
    const Qt::Key opening[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_F4};
    const std::pair<Qt::Key, Qt::KeyboardModifiers> closing[] = {{Qt::Key_Escape, {}},
                                                                 {Qt::Key_Up, Qt::AltModifier},
                                                                 {Qt::Key_Down, Qt::AltModifier},
                                                                 {Qt::Key_F4, {}}};
    QAbstractItemView* list = m_box->view();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(std::string(c.field) + " " + (c.typed ? c.typed : ""));
        Select(c.field);
        if (c.typed) {
            Key(Qt::Key_A, Qt::ControlModifier);
            Type(QString::fromLatin1(c.typed));
        }
        const QString edit = Edit();
        const Qt::Key open = opening[i % std::size(opening)];
        Key(open, open == Qt::Key_F4 ? Qt::NoModifier : Qt::AltModifier);
        ASSERT_TRUE(list->isVisible());
        EXPECT_EQ(list->currentIndex().row(), c.row);
        for (int row : {c.row - 1, c.row, c.row + 1}) {
            const QRect rect = list->visualRect(m_box->model()->index(std::max(row, 0), 0));
            EXPECT_TRUE(list->viewport()->rect().contains(rect)) << row;
        }
        // The next list must not open where this one was left.
        Key(Qt::Key_End);
        const auto [close, modifiers] = closing[i % std::size(closing)];
        Key(close, modifiers);
        EXPECT_FALSE(list->isVisible());
        EXPECT_EQ(Edit(), edit);
    }
}

TEST_F(TemplateSetTest, PickingAValueAppliesExactlyItsText) {
    LoadSet("t1.odf\nt2.odf\nt3.odf\n");
    // maxHealth shows 10, as two templates give it: leaving the box applies nothing, nor does
    // closing the list without a pick.
    Select("maxHealth");
    Select("collisionRadius");
    m_box->showPopup();
    Key(Qt::Key_Escape);
    EXPECT_EQ(Edit(), "2.500000");
    EXPECT_FALSE(Modified());

    Pick(1);
    EXPECT_EQ(Edit(), "9.500000");
    EXPECT_EQ(ItemText("GameObject", "collisionRadius"), "collisionRadius = 9.500000");
    EXPECT_TRUE(Modified());

    // An absent field takes the template's bytes, also when they are not UTF-8; Enter keeps
    // them. A value that holds a lone CR is taken as it is, and can be edited further.
    Select("unitName");
    ASSERT_EQ(Listed(*m_box), Shown{"[Alpha] \u00e9t\u00e9"});
    Pick(0);
    Key(Qt::Key_Return);
    Select("aiName");
    Pick(0);
    EXPECT_TRUE(Label("noteText").isEmpty());
    Type(QStringLiteral("z"));

    // After a pick, typing goes on from the picked text.
    Select("maxHealth");
    Pick(0);
    Type(QStringLiteral("5"));
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 95");

    // A list opened with no current item: Enter picks nothing. Nor does the wheel.
    Type(QStringLiteral("7"));
    Select("baseName");
    Select("maxHealth");
    m_box->showPopup();
    Key(Qt::Key_Return);
    m_box->hidePopup();
    Wheel(m_box, QPoint(0, 120));
    EXPECT_EQ(Edit(), "957");
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 957");
    EXPECT_TRUE(m_prompts.m_shown.empty());

    Command("actionFileSave");
    const std::string saved = m_folder.Read("doc.odf");
    for (const char* line :
         {"unitName = \"\xe9t\xe9\"\n", "aiName = \"x\ryz\"\n", "maxHealth = 957\n"})
        EXPECT_NE(saved.find(line), std::string::npos) << line;
}

TEST_F(TemplateSetTest, LoadSetAndSaveSetKeepTheSetsLinesInOrder) {
    const std::string t2 = m_folder.Path("t2.odf"), saved = m_folder.Path("saved.txt");
    Select("collisionRadius");
    // Blank lines name no file, and a file named twice is a template once.
    EXPECT_EQ(LoadSet("t1.odf\r\nmissing.odf\n\n \t\n" + t2 + "\n./t1.odf"),
              (Shown{"Error opening tank file 'missing.odf'.",
                     "Error loading tank file 'missing.odf'."}));
    const Shown listed{"[t2.odf] 9.500000", "[Alpha] 10.000000"};
    EXPECT_EQ(Listed(*m_box), listed);

    // Save Set writes a path a line and leaves the value box as it is; a cancelled Load Set
    // keeps the set and shows the field's value again, a set file that is not there changes
    // nothing.
    Type(QStringLiteral("x"));
    m_prompts.Queue(saved);
    Command("actionTemplateSaveSet");
    EXPECT_EQ(m_prompts.m_lastFilter, "Text Files (*.txt);;All Files (*)");
    EXPECT_EQ(m_folder.Read("saved.txt"), "t1.odf\n" + t2 + "\n");
    EXPECT_EQ(Edit(), "2.500000x");
    m_prompts.Queue(std::nullopt);
    Command("actionTemplateLoadSet");
    EXPECT_EQ(Edit(), "2.500000");
    Type(QStringLiteral("x"));
    m_prompts.Queue(m_folder.Path("no.txt"));
    Command("actionTemplateLoadSet");
    EXPECT_EQ(m_prompts.TakeShown(),
              (Shown{"[Save As .txt]", "[Open]", "[Open]",
                     "Error opening template set file '" + m_folder.Path("no.txt") + "'"}));
    // The failures' reasons stand below their messages.
    const std::string missing = std::strerror(ENOENT);
    EXPECT_EQ(m_prompts.m_details, (Shown{"Error opening tank file 'missing.odf'. | " + missing,
                                          "Error opening template set file '" +
                                              m_folder.Path("no.txt") + "' | " + missing}));
    EXPECT_EQ(Edit(), "2.500000x");

    // A new set replaces the old one whole, even when none of it loads: thousands of missing
    // files give their two messages each, in order, none held up by the progress dialog. The
    // saved set reads back.
    std::string many;
    for (int i = 0; i < 2000; ++i)
        many += "gone" + std::to_string(i) + ".odf\n";
    const Shown shown = LoadSet(many);
    ASSERT_EQ(shown.size(), 4000u);
    EXPECT_EQ(shown[3998], "Error opening tank file 'gone1999.odf'.");
    EXPECT_EQ(shown[3999], "Error loading tank file 'gone1999.odf'.");
    EXPECT_EQ(m_box->count(), 0);
    EXPECT_EQ(LoadSet(m_folder.Read("saved.txt")), Shown{});
    EXPECT_EQ(Listed(*m_box), listed);

    // Cancelled: nothing written. No templates: an empty file. A group selected empties the box
    // and disables it, and a new set leaves it so.
    for (const auto& path : {std::optional<std::string>(), std::optional(saved)}) {
        LoadSet(path ? "" : "t1.odf\n");
        m_prompts.Queue(path);
        Command("actionTemplateSaveSet");
        EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Save As .txt]"});
        EXPECT_EQ(m_folder.Read("saved.txt"), path ? "" : "t1.odf\n" + t2 + "\n");
    }
    LoadSet("t1.odf\n");
    Select("maxHealth");
    ASSERT_EQ(m_box->count(), 1);
    ClickItem(m_tree->topLevelItem(0));
    EXPECT_EQ(m_box->count(), 0);
    LoadSet("t1.odf\n");
    EXPECT_EQ(m_box->count(), 0);
    EXPECT_FALSE(m_box->isEnabled());
    EXPECT_FALSE(Modified());

    // A set written by hand in a folder of its own: a name that is not found from the current
    // folder is looked for beside the set file; one that is found here stays as it is.
    std::filesystem::create_directory(m_folder.Path("sets"));
    m_folder.Write("sets/s.odf", "[GameObject]\nmaxHealth = 77\n");
    m_folder.Write("sets/t1.odf", "[GameObject]\nmaxHealth = 66\n");
    m_folder.Write("sets/set.txt", "s.odf\nt1.odf\nnowhere.odf\n");
    m_prompts.Queue(m_folder.Path("sets/set.txt"));
    Command("actionTemplateLoadSet");
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{"[Open]", "Error opening tank file 'nowhere.odf'.",
                                            "Error loading tank file 'nowhere.odf'."}));
    Select("maxHealth");
    EXPECT_EQ(Listed(*m_box), (Shown{"[Alpha] 10", "[s.odf] 77"}));
    m_prompts.Queue(saved);
    Command("actionTemplateSaveSet");
    EXPECT_EQ(m_folder.Read("saved.txt"), m_folder.Path("sets/s.odf") + "\nt1.odf\n");
}
