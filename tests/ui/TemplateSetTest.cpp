#include "EditorFixture.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QScrollBar>
#include <QWheelEvent>

using Listed = std::vector<ListedValue>;

// The templates of tests/data/ui: t1.odf (alias Alpha) and t3.odf (alias Gamma) set
// collisionRadius, maxHealth and baseName; t2.odf, without an alias, too, and an aiName with a
// lone CR; t1.odf a unitName that is not UTF-8; t4.odf sets only rangeScan. doc.odf sets
// collisionRadius 2.5 and maxHealth 10.
class TemplateSetTest : public EditorTest {
protected:
    void SetUp() override {
        CopyUiTestData(m_folder, {"ALIAS.TXT", "doc.odf", "t1.odf", "t2.odf", "t3.odf", "t4.odf"});
        StartOn("doc.odf");
        m_edit = m_box->lineEdit();
    }
    // Runs Load Set on a set file with text, returning what was shown after the dialog.
    Shown LoadSet(const std::string& text) {
        m_folder.Write("set.txt", text);
        m_prompts.QueuePath(m_folder.Path("set.txt"));
        m_editor->OnTemplateLoadSet();
        Shown shown = m_prompts.TakeShown();
        EXPECT_EQ(shown.at(0), "[Open]");
        EXPECT_EQ(m_prompts.m_lastFilter, "Text Files (*.txt);;All Files (*)");
        shown.erase(shown.begin());
        return shown;
    }
    QTreeWidgetItem* Select(const char* name) { return EditorTest::Select("GameObject", name); }
    // Loads a set of templates n0.odf, n1.odf... of the GameObject lines in lines, in order.
    void LoadMade(const std::vector<std::string>& lines) {
        std::string set;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string name = "n" + std::to_string(i) + ".odf";
            m_folder.Write(name, "[GameObject]\n" + lines[i]);
            set += name + "\n";
        }
        EXPECT_EQ(LoadSet(set), Shown{});
    }
    Paths TemplatePaths() const { return m_editor->Templates().Paths(); }
    std::string& StringOf(int field) { return m_editor->Document().m_fields[field].m_strValue; }
    // Runs Save Set with the dialog answering path, returning what was shown.
    Shown SaveSet(std::optional<std::string> path) {
        m_prompts.QueuePath(path);
        m_editor->OnTemplateSaveSet();
        return m_prompts.TakeShown();
    }

    QLineEdit* m_edit = nullptr;
};

TEST_F(TemplateSetTest, TheListOffersEachTemplatesValueSortedWithItsLabel) {
    EXPECT_EQ(LoadSet("t1.odf\nt2.odf\nt3.odf\nt4.odf\n"), Shown{});
    Select("maxHealth");
    EXPECT_EQ(ListedValues(*m_box), (Listed{{"9", "t2.odf"}, {"10", "Alpha"}, {"10", "Gamma"}}));
    EXPECT_EQ(m_box->currentIndex(), -1);
    EXPECT_EQ(m_edit->text(), "10");
    Select("collisionRadius");
    EXPECT_EQ(ListedValues(*m_box),
              (Listed{{"3.000000", "Gamma"}, {"9.500000", "t2.odf"}, {"10.000000", "Alpha"}}));
    EXPECT_EQ(m_edit->text(), "2.500000");
    Select("baseName");
    EXPECT_EQ(ListedValues(*m_box),
              (Listed{{"alpha", "t2.odf"}, {"Beta", "Gamma"}, {"Zeta", "Alpha"}}));
    EXPECT_EQ(m_edit->text(), "");
    Select("aiName2");
    EXPECT_EQ(m_box->count(), 0);
    EXPECT_FALSE(Modified());
}

TEST_F(TemplateSetTest, NumbersAreListedByValueEqualOnesInTemplateOrder) {
    // Ordered as text, 10000 would come before 2000 and -0.5 before -1.5; as floats, the last
    // two integers would be equal.
    LoadMade({"maxHealth = 10000\ncollisionRadius = 2.5",
              "maxHealth = 2000\ncollisionRadius = -1.5", "maxHealth = -30\ncollisionRadius = 10",
              "maxHealth = 90\ncollisionRadius = -.5", "maxHealth = 2000\ncollisionRadius = -1.5",
              "maxHealth = 16777217", "maxHealth = 16777216"});
    // Each field's templates in the order its list shows them.
    const std::pair<const char*, std::vector<int>> cases[] = {{"maxHealth", {2, 3, 1, 4, 0, 6, 5}},
                                                              {"collisionRadius", {1, 4, 3, 0, 2}}};
    for (const auto& [field, order] : cases) {
        Select(field);
        std::vector<std::string> labels, expected;
        for (const ListedValue& listed : ListedValues(*m_box))
            labels.push_back(listed.label.toStdString());
        for (int i : order)
            expected.push_back("n" + std::to_string(i) + ".odf");
        EXPECT_EQ(labels, expected) << field;
    }
}

TEST_F(TemplateSetTest, TheListOpensAtTheEditedValueOrElseAtItsTop) {
    // maxHealth 0, 10 ... 590; collisionRadius 100 ... 159, never doc.odf's 2.5.
    std::vector<std::string> lines;
    for (int i = 0; i < 60; ++i)
        lines.push_back("maxHealth = " + std::to_string(i * 10) +
                        "\ncollisionRadius = " + std::to_string(100 + i));
    LoadMade(lines);
    struct Case {
        const char* field;
        const char* typed; // replaces the edit text
        int row; // the current row the list opens at, among its neighbours, or -1: at the top
    };
    const Case cases[] = {{"maxHealth", nullptr, 1},
                          {"collisionRadius", nullptr, -1},
                          {"maxHealth", "100", 10},
                          {"maxHealth", "55", -1},
                          {"collisionRadius", "158.000000", 58}};
    QAbstractItemView* list = m_box->view();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + (c.typed ? c.typed : ""));
        Select(c.field);
        if (c.typed) {
            m_edit->selectAll();
            QTest::keyClicks(m_edit, QString::fromLatin1(c.typed));
        }
        m_box->showPopup();
        ASSERT_TRUE(list->isVisible());
        if (c.row == -1) {
            EXPECT_FALSE(list->currentIndex().isValid());
            EXPECT_EQ(list->verticalScrollBar()->value(), 0);
        } else {
            EXPECT_EQ(list->currentIndex().row(), c.row);
            for (int row : {c.row - 1, c.row, c.row + 1})
                EXPECT_TRUE(list->viewport()->rect().contains(
                    list->visualRect(m_box->model()->index(row, 0))))
                    << row;
        }
        // The next list must not open where this one was left.
        QTest::keyClick(list, Qt::Key_End);
        QTest::keyClick(list, Qt::Key_Escape);
        EXPECT_FALSE(list->isVisible());
    }
}

TEST_F(TemplateSetTest, PickingAValueAppliesExactlyItsText) {
    LoadSet("t1.odf\nt2.odf\nt3.odf\n");
    // maxHealth shows 10, as two templates give it: leaving the box applies nothing.
    Select("maxHealth");
    Select("collisionRadius");
    EXPECT_FALSE(Modified());
    EXPECT_TRUE(Title().endsWith("doc.odf]"));

    // Closing the list without a pick changes nothing.
    m_box->showPopup();
    QTest::keyClick(m_box->view(), Qt::Key_Escape);
    EXPECT_EQ(m_edit->text(), "2.500000");
    EXPECT_FALSE(Modified());

    QTreeWidgetItem* item = Select("collisionRadius");
    PickListItem(*m_box, 1);
    EXPECT_EQ(m_edit->text(), "9.500000");
    EXPECT_EQ(m_editor->Document().m_fields[2].m_fValue, 9.5f);
    EXPECT_EQ(TextOf(item), "collisionRadius = 9.500000");
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(Title().endsWith("doc.odf *]"));

    // An absent field takes the template's bytes, also when they are not UTF-8; Enter keeps
    // them.
    item = Select("unitName");
    ASSERT_EQ(ListedValues(*m_box), (Listed{{"\u00e9t\u00e9", "Alpha"}}));
    PickListItem(*m_box, 0);
    EXPECT_EQ(m_edit->text(), QStringLiteral("\u00e9t\u00e9"));
    EXPECT_EQ(StringOf(8), "\xe9t\xe9");
    EXPECT_TRUE(IsBold(item));
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_EQ(StringOf(8), "\xe9t\xe9");

    // A value that holds a lone CR is taken as it is, and can be edited further.
    item = Select("aiName");
    PickListItem(*m_box, 0);
    EXPECT_EQ(StringOf(9), "x\ry");
    EXPECT_TRUE(LabelOf(*m_editor, "noteText")->text().isEmpty());
    QTest::keyClicks(m_edit, QStringLiteral("z"));
    EXPECT_EQ(StringOf(9), "x\ryz");

    // After a pick, typing goes on from the picked text.
    item = Select("maxHealth");
    PickListItem(*m_box, 0);
    EXPECT_EQ(TextOf(item), "maxHealth = 9");
    QTest::keyClicks(m_edit, QStringLiteral("5"));
    EXPECT_EQ(TextOf(item), "maxHealth = 95");
    EXPECT_EQ(m_box->count(), 3);
    EXPECT_TRUE(m_prompts.m_shown.empty());

    // A list opened with no current item: Enter picks nothing.
    item = Select("maxHealth");
    QTest::keyClicks(m_edit, QStringLiteral("7"));
    Select("baseName");
    item = Select("maxHealth");
    m_box->showPopup();
    QTest::keyClick(m_box->view(), Qt::Key_Return);
    m_box->hidePopup();
    EXPECT_EQ(m_edit->text(), "957");
    EXPECT_EQ(TextOf(item), "maxHealth = 957");

    // Scrolling the wheel over the box picks nothing.
    m_editor->Document().m_bModified = 0;
    QWheelEvent wheel(QPointF(5, 5), m_box->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_box, &wheel);
    EXPECT_EQ(m_edit->text(), "957");
    EXPECT_EQ(TextOf(item), "maxHealth = 957");
    EXPECT_FALSE(Modified());
}

TEST_F(TemplateSetTest, LoadSetLoadsEveryLineInOrderAndReportsTheBadOnes) {
    Select("maxHealth");
    const std::string missing = "missing.odf";
    EXPECT_EQ(LoadSet("t1.odf\r\n" + missing + "\n\nt2.odf\nt1.odf"),
              (Shown{"Error opening tank file '" + missing + "'.",
                     "Error loading tank file '" + missing + "'.", "Error loading tank file ''."}));
    EXPECT_EQ(TemplatePaths(), (Paths{"t1.odf", "t2.odf", "t1.odf"}));
    EXPECT_EQ(ListedValues(*m_box), (Listed{{"9", "t2.odf"}, {"10", "Alpha"}, {"10", "Alpha"}}));

    // A new set replaces the old one whole, even when none of it loads; thousands of missing
    // files give their two messages each, in order.
    std::string many;
    for (int i = 0; i < 2000; ++i)
        many += "gone" + std::to_string(i) + ".odf\n";
    const Shown shown = LoadSet(many);
    ASSERT_EQ(shown.size(), 4000u);
    EXPECT_EQ(shown[3998], "Error opening tank file 'gone1999.odf'.");
    EXPECT_EQ(shown[3999], "Error loading tank file 'gone1999.odf'.");
    EXPECT_TRUE(TemplatePaths().empty());
    EXPECT_EQ(m_box->count(), 0);
    EXPECT_FALSE(Modified());
}

TEST_F(TemplateSetTest, OnlyALoadSetThatOpenedItsFileOrWasCancelledRefreshesTheValueBox) {
    LoadSet("t2.odf\n");
    Select("collisionRadius");
    QTest::keyClicks(m_edit, QStringLiteral("x"));
    EXPECT_EQ(m_edit->text(), "2.500000x");

    m_prompts.QueuePath(std::nullopt);
    m_editor->OnTemplateLoadSet();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
    EXPECT_EQ(m_edit->text(), "2.500000");
    EXPECT_EQ(TemplatePaths(), Paths{"t2.odf"});

    QTest::keyClicks(m_edit, QStringLiteral("x"));
    const std::string noSet = m_folder.Path("no-such-set.txt");
    m_prompts.QueuePath(noSet);
    m_editor->OnTemplateLoadSet();
    EXPECT_EQ(m_prompts.TakeShown(),
              (Shown{"[Open]", "Error opening template set file '" + noSet + "'"}));
    EXPECT_EQ(m_edit->text(), "2.500000x");
    EXPECT_EQ(TemplatePaths(), Paths{"t2.odf"});

    // Save Set leaves the box as it is too.
    EXPECT_EQ(SaveSet(m_folder.Path("saved.txt")), Shown{"[Save As .txt]"});
    EXPECT_EQ(m_edit->text(), "2.500000x");
    EXPECT_EQ(m_box->count(), 1);

    EXPECT_EQ(LoadSet(""), Shown{});
    EXPECT_TRUE(TemplatePaths().empty());
    EXPECT_EQ(m_edit->text(), "2.500000");
    EXPECT_EQ(m_box->count(), 0);

    // With a group selected the box stays empty and disabled.
    ClickItem(*m_editor, TreeOf(*m_editor)->topLevelItem(0));
    LoadSet("t1.odf\n");
    EXPECT_EQ(m_box->count(), 0);
    EXPECT_EQ(m_edit->text(), "");
    EXPECT_FALSE(m_box->isEnabled());
}

TEST_F(TemplateSetTest, SaveSetWritesOnePathALineThatLoadSetReadsBack) {
    const std::string absolute = m_folder.Path("t3.odf");
    LoadSet("t1.odf\n" + absolute + "\nt1.odf\n");
    EXPECT_EQ(SaveSet(m_folder.Path("saved.txt")), Shown{"[Save As .txt]"});
    EXPECT_EQ(m_prompts.m_lastFilter, "Text Files (*.txt);;All Files (*)");
    EXPECT_EQ(m_folder.Read("saved.txt"), "t1.odf\n" + absolute + "\nt1.odf\n");

    LoadSet("t2.odf\n");
    m_prompts.QueuePath(m_folder.Path("saved.txt"));
    m_editor->OnTemplateLoadSet();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
    EXPECT_EQ(TemplatePaths(), (Paths{"t1.odf", absolute, "t1.odf"}));
    Select("maxHealth");
    EXPECT_EQ(ListedValues(*m_box), (Listed{{"10", "Alpha"}, {"10", "Gamma"}, {"10", "Alpha"}}));

    // Cancelled: nothing written. No templates: an empty file. A folder that is not there: the
    // message, and nothing else changes.
    EXPECT_EQ(SaveSet(std::nullopt), Shown{"[Save As .txt]"});
    LoadSet("");
    SaveSet(m_folder.Path("saved.txt"));
    EXPECT_EQ(m_folder.Read("saved.txt"), "");
    const std::string nowhere = m_folder.Path("no-folder/set.txt");
    EXPECT_EQ(SaveSet(nowhere),
              (Shown{"[Save As .txt]", "Error writing template set file '" + nowhere + "'"}));
    EXPECT_FALSE(Modified());
}

TEST_F(TemplateSetTest, ASlowLoadShowsItsProgressAndCancelKeepsWhatLoaded) {
    Select("maxHealth");
    bool sawQuickLoad = false, sawProgress = false;
    m_prompts.m_onShow = [&](const std::string& shown) {
        auto* progress = m_editor->findChild<QProgressDialog*>(QStringLiteral("templateProgress"));
        if (shown == "Error loading tank file 'slow.odf'.") {
            // Half a second in, with files still to go, the progress must show.
            EXPECT_TRUE(!progress || !progress->isVisible());
            sawQuickLoad = true;
            QTest::qSleep(600);
        } else if (shown == "Error opening tank file 'stop.odf'.") {
            ASSERT_TRUE(progress && progress->isVisible());
            EXPECT_EQ(progress->labelText(), "stop.odf");
            sawProgress = true;
            progress->cancel();
        }
    };
    const Shown shown = LoadSet("slow.odf\nt1.odf\nstop.odf\nt2.odf\nt3.odf\n");
    m_prompts.m_onShow = nullptr;
    EXPECT_TRUE(sawQuickLoad);
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(
        shown,
        (Shown{"Error opening tank file 'slow.odf'.", "Error loading tank file 'slow.odf'.",
               "Error opening tank file 'stop.odf'.", "Error loading tank file 'stop.odf'."}));
    EXPECT_EQ(TemplatePaths(), Paths{"t1.odf"});
    EXPECT_EQ(ListedValues(*m_box), (Listed{{"10", "Alpha"}}));
    EXPECT_EQ(m_editor->findChild<QProgressDialog*>(), nullptr);
}
