// What the editor remembers: within a run (the selected field, the changed marks) and across
// runs, each test restarting the program in process on a settings folder of its own.

#include "EditorFixture.h"

#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QTableView>

#include <cstring>

namespace fs = std::filesystem;

namespace {

class RememberTest : public EditorTest {
protected:
    // File > Open Recent's items, "text | status tip".
    Shown Recent() const {
        Shown items;
        for (const QAction* item : RecentMenu()->actions())
            items.push_back(item->isSeparator() ? "|"
                            : item->statusTip().isEmpty()
                                ? item->text().toStdString()
                                : (item->text() + " | " + item->statusTip()).toStdString());
        return items;
    }
    QMenu* RecentMenu() const { return m_editor->findChild<QMenu*>("menuFileOpenRecent"); }
    // Alt+F, R, then keys: Open Recent from the keyboard.
    void OpenRecent(std::initializer_list<QKeyCombination> keys) {
        Keys({Qt::AltModifier | Qt::Key_F, Qt::Key_R});
        Keys(keys);
    }
    std::string Selected() const {
        const QList<QTreeWidgetItem*> items = m_tree->selectedItems();
        return items.size() == 1 ? items[0]->text(0).toStdString() : "";
    }
    bool Marked(QTreeWidgetItem* item) const {
        // The dot, right of the type's picture.
        const QImage image = item->icon(0).pixmap(m_tree->iconSize()).toImage();
        const bool dot = image.pixelColor(image.width() - 4, image.height() / 2).alpha() > 0;
        EXPECT_EQ(dot, item->toolTip(0) == "Changed since last saved");
        return dot;
    }
    QStringList OpenGroups() const {
        QStringList open;
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
            if (m_tree->topLevelItem(i)->isExpanded())
                open << m_tree->topLevelItem(i)->text(0);
        return open;
    }
};

} // namespace

TEST_F(RememberTest,
       OpenRecentListsTheLastTenFilesTheSelectedFieldAndOpenGroupsStayAndRevertReads) {
    m_folder.CopyUiTestData({"ALIAS.TXT"});
    for (int i = 0; i < 12; ++i)
        m_folder.Write("f" + std::to_string(i) + ".odf",
                       "[GameObject]\nmaxHealth = " + std::to_string(i) + "\n");
    Start();
    EXPECT_EQ(Recent(), (Shown{"|", "Clear Menu"}));
    EXPECT_FALSE(RecentMenu()->isEnabled());
    for (int i = 0; i < 11; ++i)
        Open("f" + std::to_string(i) + ".odf");
    Modify();
    m_prompts.Queue(m_folder.Path("a&b.odf"));
    Command("actionFileSaveAs");
    Open("f3.odf"); // again: to the top, once
    Shown expected{"&1 f3.odf | " + m_folder.Path("f3.odf"),
                   "&2 a&&b.odf | " + m_folder.Path("a&b.odf")};
    for (int i : {10, 9, 8, 7, 6, 5, 4, 2})
        expected.push_back("&" + std::to_string(expected.size() + 1) + " f" + std::to_string(i) +
                           ".odf | " + m_folder.Path("f" + std::to_string(i) + ".odf"));
    expected.back().replace(0, 4, "1&0 ");
    expected.insert(expected.end(), {"|", "Clear Menu"});
    EXPECT_EQ(Recent(), expected);
    m_prompts.TakeShown();

    // The list comes back; a file opens from it as Open does, after the question.
    Restart();
    EXPECT_EQ(Recent(), expected);
    OpenRecent({Qt::Key_2});
    EXPECT_EQ(Title(), TitleOf("a&b.odf"));
    Modify();
    Type("5");
    m_prompts.Queue(Answer::Cancel);
    OpenRecent({Qt::Key_3});
    m_prompts.Queue(Answer::No);
    OpenRecent({Qt::Key_3});
    EXPECT_EQ(Title(), TitleOf("f10.odf"));
    EXPECT_EQ(m_prompts.TakeShown(),
              Shown(2, "Save changes to '" + m_folder.Path("a&b.odf") + "'?"));

    // A file that no longer opens says so and leaves the list.
    fs::remove(m_folder.Path("f3.odf"));
    OpenRecent({Qt::Key_3});
    const std::string gone = m_folder.Path("f3.odf");
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{"Error opening tank file '" + gone + "'.",
                                            "Error loading tank file '" + gone + "'."}));
    EXPECT_EQ(Recent().size(), 11u);
    EXPECT_EQ(Recent()[2], "&3 f9.odf | " + m_folder.Path("f9.odf"));

    // Clear Menu, the last item, empties it for good.
    OpenRecent({Qt::Key_Up, Qt::Key_Return});
    EXPECT_EQ(Recent(), (Shown{"|", "Clear Menu"}));
    Restart();
    EXPECT_FALSE(RecentMenu()->isEnabled());

    m_folder.CopyUiTestData({"tank.odf", "doc.odf"});
    Open("tank.odf");
    ClickItem(m_tree->topLevelItem(2));
    Key(Qt::Key_Plus);
    Select("GameObject", "maxAmmo");
    const QStringList open = OpenGroups();
    ASSERT_EQ(open.size(), 2);
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Open", [this] { Open("doc.odf"); }},
        {"New", [this] { Key(Qt::Key_N, Qt::ControlModifier); }},
        {"Open Recent", [this] { OpenRecent({Qt::Key_2}); }},
        {"a drop", [this] { Drop(m_tree->viewport(), {m_folder.Path("doc.odf")}); }},
        {"a restart", [this] { Restart(); }}};
    for (const auto& [way, act] : ways) {
        act();
        EXPECT_EQ(Selected(), "maxAmmo = ") << way;
        EXPECT_EQ(OpenGroups(), open) << way;
    }
    // A group stays selected as well.
    ClickItem(m_tree->topLevelItem(2));
    Open("tank.odf");
    EXPECT_EQ(Selected(), m_tree->topLevelItem(2)->text(0).toStdString());

    // Revert asks, then reads the file again.
    m_prompts.TakeShown();
    Modify();
    m_folder.Write("tank.odf", "[GameObject]\nmaxHealth = 7\n");
    for (Answer answer : {Answer::Cancel, Answer::No, Answer::Yes}) {
        m_prompts.Queue(answer);
        Keys({Qt::AltModifier | Qt::Key_F, Qt::Key_V});
    }
    EXPECT_EQ(m_prompts.TakeShown(),
              Shown(3, "Lose the changes made to '" + m_folder.Path("tank.odf") +
                           "' and read it again from disk?"));
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 7");
    EXPECT_FALSE(Modified());
    EXPECT_FALSE(m_editor->findChild<QAction*>("actionEditUndo")->isEnabled());
    // Without changes, nothing is asked; a new document has no file to go back to.
    m_folder.Write("tank.odf", "[GameObject]\nmaxHealth = 8\n");
    Keys({Qt::AltModifier | Qt::Key_F, Qt::Key_V});
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 8");
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_FALSE(m_editor->findChild<QAction*>("actionFileRevert")->isEnabled());
}

TEST_F(RememberTest, TheWindowsComeBackAtTheirSizesAndTheTemplatesSaveThoseThatNoLongerOpen) {
    Start();
    m_editor->resize(640, 420);
    m_editor->move(30, 40);
    // The split's handle dragged 60 pixels left: the panel gains them.
    auto* split = m_editor->findChild<QSplitter*>("split");
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_editor->width() == 640; }));
    const QList<int> sizes = split->sizes();
    QWidget* handle = split->handle(1);
    const QPoint from = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, from);
    QTest::mouseMove(handle, from - QPoint(60, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, from - QPoint(60, 0));
    const QList<int> dragged = split->sizes();
    ASSERT_EQ(dragged, (QList<int>{sizes[0] - 60, sizes[1] + 60}));
    Key(Qt::Key_K, Qt::ControlModifier);
    auto* compare = m_editor->findChild<QDialog*>("compareUnits");
    compare->resize(500, 300);
    compare->move(60, 70);

    Restart();
    EXPECT_EQ(m_editor->size(), QSize(640, 420));
    EXPECT_EQ(m_editor->pos(), QPoint(30, 40));
    EXPECT_EQ(m_editor->findChild<QSplitter*>("split")->sizes(), dragged);
    Key(Qt::Key_K, Qt::ControlModifier);
    compare = m_editor->findChild<QDialog*>("compareUnits");
    EXPECT_EQ(QRect(compare->pos(), compare->size()), QRect(60, 70, 500, 300));

    // Off every screen, the window goes where a new one would; maximised, it shows so again.
    m_editor->move(5000, 40);
    Restart();
    EXPECT_NE(m_editor->pos(), QPoint(5000, 40));
    EXPECT_EQ(m_editor->size(), QSize(640, 420));
    // One whose title bar shows by 48 pixels can still be reached to move it: it stays there.
    const int right = QGuiApplication::primaryScreen()->availableGeometry().right() + 1;
    for (const auto& [shown, stays] : {std::pair{48, true}, std::pair{47, false}}) {
        m_editor->move(right - shown, 40);
        Restart();
        EXPECT_EQ(m_editor->pos() == QPoint(right - shown, 40), stays) << shown;
    }
    m_editor->showMaximized();
    Restart();
    EXPECT_TRUE(m_editor->isMaximized());

    m_folder.CopyUiTestData({"ALIAS.TXT", "doc.odf", "t1.odf", "t2.odf", "t3.odf"});
    LoadSet("t1.odf\nt2.odf\nt3.odf\n");
    Restart();
    Select("GameObject", "maxHealth");
    EXPECT_EQ(Listed(*m_box), (Shown{"[t2.odf] 9", "[Alpha] 10", "[Gamma] 10"}));
    EXPECT_EQ(m_prompts.TakeShown(), Shown{});

    // Run from another folder, with files gone: one message for all of them.
    const std::string missing = std::strerror(ENOENT);
    const std::string t1 = m_folder.Path("t1.odf"), t3 = m_folder.Path("t3.odf");
    fs::remove(t1);
    fs::remove(t3);
    fs::create_directory(m_folder.Path("sub"));
    fs::copy_file(m_folder.Path("ALIAS.TXT"), m_folder.Path("sub/ALIAS.TXT"));
    fs::current_path(m_folder.Path("sub"));
    Restart();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"2 templates of the last session could not be opened "
                                           "and were left out of the template list."});
    EXPECT_EQ(m_prompts.m_details.back().substr(m_prompts.m_details.back().find(" | ") + 3),
              t1 + " (" + missing + ")\n" + t3 + " (" + missing + ")");
    Select("GameObject", "maxHealth");
    EXPECT_EQ(Listed(*m_box), Shown{"[t2.odf] 9"});
    fs::remove(m_folder.Path("t2.odf"));
    Restart();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"A template of the last session could not be opened "
                                           "and was left out of the template list."});

    // A set named at start takes their place; Template > Clear empties the list for good.
    m_folder.CopyUiTestData({"t2.odf", "t3.odf"});
    m_editor->close();
    m_editor.reset();
    Start(m_folder.Path("set.txt"));
    m_prompts.TakeShown();
    Select("GameObject", "maxHealth");
    EXPECT_EQ(Listed(*m_box), (Shown{"[t2.odf] 9", "[Gamma] 10"}));
    Keys({Qt::AltModifier | Qt::Key_T, Qt::Key_C});
    EXPECT_EQ(m_box->count(), 0);
    Restart();
    Select("GameObject", "maxHealth");
    EXPECT_EQ(m_box->count(), 0);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{});
}

TEST_F(RememberTest, AChangedFieldIsMarkedUntilSavedOrUndone) {
    StartOn("tank.odf");
    Key(Qt::Key_K, Qt::ControlModifier);
    const QHeaderView* rows = m_editor->findChild<QTableView*>()->verticalHeader();
    auto rowName = [rows](int row) {
        const QAbstractItemModel* model = rows->model();
        return (model->headerData(row, Qt::Vertical).toString() + " " +
                model->headerData(row, Qt::Vertical, Qt::ToolTipRole).toString())
            .toStdString();
    };
    const std::string plain = "GameObject.maxHealth ";
    const std::string marked = "\u2022 GameObject.maxHealth Changed since last saved";
    m_editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_editor.get()));
    QTreeWidgetItem* item = Select("GameObject", "maxHealth");
    EXPECT_FALSE(Marked(item));
    const std::pair<std::function<void()>, bool> steps[] = {
        {[this] { Modify(); }, true},
        {[this] { Key(Qt::Key_Z, Qt::ControlModifier); }, false},
        {[this] { Key(Qt::Key_Y, Qt::ControlModifier); }, true},
        {[this] { Key(Qt::Key_S, Qt::ControlModifier); }, false},
        {[this] { Type("5"); }, true},
        {[this] { Key(Qt::Key_Backspace); }, false}};
    for (const auto& [step, changed] : steps) {
        step();
        EXPECT_EQ(Marked(item), changed);
        EXPECT_EQ(rowName(2), changed ? marked : plain);
    }
    EXPECT_FALSE(Marked(FieldItem(*m_editor, "GameObject", "baseName")));
}
