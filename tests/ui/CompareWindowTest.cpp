// View > Compare Units driven as a user drives it: keys to the active window, the main window and
// the comparison following each other.

#include "CompareDlg.h"
#include "EditorFixture.h"
#include "TemplateFilesDlg.h"
#include "ValueStrip.h"

#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

namespace {

// The templates of tests/data/ui: t1.odf (Alpha) maxHealth 10, t2.odf 9, t3.odf (Gamma) 10;
// t4.odf sets only rangeScan. doc.odf sets collisionRadius 2.5 and maxHealth 10.
class CompareWindowTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.CopyUiTestData({"t1.odf", "t2.odf", "t3.odf", "t4.odf"});
        m_folder.Write("set.txt", "t1.odf\nt2.odf\nt3.odf\n");
        StartOn("doc.odf");
        LoadSet("set.txt");
    }
    void LoadSet(const char* name) {
        m_prompts.Queue(m_folder.Path(name));
        Command("actionTemplateLoadSet");
        m_prompts.TakeShown();
    }
    // Ctrl+K from the main window; the comparison is then the active window.
    void OpenCompare() {
        m_editor->activateWindow();
        Key(Qt::Key_K, Qt::ControlModifier);
        m_compare = m_editor->findChild<CCompareDlg*>();
        ASSERT_NE(m_compare, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_compare));
        m_table = m_compare->findChild<QTableView*>("compareTable");
        ASSERT_EQ(QApplication::focusWidget(), m_table);
    }
    // The current cell as "Group.field/column title".
    std::string Current() const {
        const QModelIndex index = m_table->currentIndex();
        auto* model = m_table->model();
        return (model->headerData(index.row(), Qt::Vertical).toString() + "/" +
                model->headerData(index.column(), Qt::Horizontal).toString())
            .toStdString();
    }
    // A row of the table as shown, "|" between cells.
    std::string Row(const char* field) const {
        auto* model = m_table->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            // A changed field's row is marked before its name.
            const QString name = model->headerData(row, Qt::Vertical).toString();
            if (name != QLatin1String(field) && name != QStringLiteral("\u2022 ") + field)
                continue;
            QStringList cells;
            for (int visual = 0; visual < model->columnCount(); ++visual)
                cells << model->index(row, m_table->horizontalHeader()->logicalIndex(visual))
                             .data()
                             .toString();
            return cells.join('|').toStdString();
        }
        return "(no row)";
    }
    std::string Columns() const {
        QStringList titles;
        for (int visual = 0; visual < m_table->model()->columnCount(); ++visual)
            titles << m_table->model()
                          ->headerData(m_table->horizontalHeader()->logicalIndex(visual),
                                       Qt::Horizontal)
                          .toString();
        return titles.join('|').toStdString();
    }

    CCompareDlg* m_compare = nullptr;
    QTableView* m_table = nullptr;
};

} // namespace

TEST_F(CompareWindowTest, OpensOnTheSelectedFieldAndItsKeysChangeTheDocumentAsOneStepEach) {
    Select("GameObject", "maxHealth");
    OpenCompare();
    EXPECT_EQ(m_compare->windowTitle(), "Compare Units - doc.odf");
    EXPECT_FALSE(m_compare->isModal());
    EXPECT_EQ(Current(), "GameObject.maxHealth/This file");
    EXPECT_EQ(Columns(), "This file|Min|Median|Max|Alpha|t2.odf|Gamma");
    EXPECT_EQ(Row("GameObject.maxHealth"), "10|9|10|10|10|9|10");

    // Enter on a template's value takes it: the main window's tree, value box and title follow.
    Key(Qt::Key_Right);
    Key(Qt::Key_End);
    Key(Qt::Key_Left);
    EXPECT_EQ(Current(), "GameObject.maxHealth/t2.odf");
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 9");
    EXPECT_EQ(Edit(), "9");
    EXPECT_EQ(Title(), TitleOf("doc.odf", true));
    EXPECT_EQ(m_editor->findChild<QAction*>("actionEditUndo")->text(),
              "&Undo Take maxHealth from t2.odf\tCtrl+Z");

    // F2 on this file's value edits it in place: Escape cancels, Enter applies one step.
    Key(Qt::Key_Home);
    Key(Qt::Key_F2);
    Type(QStringLiteral("77"));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(m_compare->isVisible()) << "Escape in an edit only ends the edit";
    EXPECT_EQ(Row("GameObject.maxHealth").substr(0, 2), "9|");
    Key(Qt::Key_Return);
    Key(Qt::Key_A, Qt::ControlModifier);
    Type(QStringLiteral("42"));
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 42");
    EXPECT_EQ(Edit(), "42");
    // Only a number of the field's type goes in; anything else changes nothing, and says why.
    auto* note = m_compare->findChild<QLabel*>("compareNote");
    for (const auto& [typed, why] :
         {std::pair{"26o0", "'26o0' is not a number."},
          {"2147483648", "'2147483648' is out of range (an Integer holds -2147483648 to "
                         "2147483647)."}}) {
        Key(Qt::Key_F2);
        Key(Qt::Key_A, Qt::ControlModifier);
        Type(QString::fromLatin1(typed));
        Key(Qt::Key_Return);
        EXPECT_EQ(note->text().toStdString(), why);
        EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 42");
    }

    // Delete removes the field; Ctrl+Z and Ctrl+Y from here undo and redo the document's steps.
    Key(Qt::Key_Delete);
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = ");
    EXPECT_EQ(Row("GameObject.maxHealth"), "|9|10|10|10|9|10");
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 9");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Row("GameObject.maxHealth").substr(0, 3), "42|");
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Title(), TitleOf("doc.odf"));

    // Ctrl+C copies the selected cells a line a row, as a spreadsheet pastes them.
    Key(Qt::Key_Up);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "2.500000\t3.000000\n10\t9\n");

    // Escape closes the window; Ctrl+K brings it back.
    Key(Qt::Key_Escape);
    EXPECT_FALSE(m_compare->isVisible());
    EXPECT_TRUE(m_editor->isVisible());
    OpenCompare();
    EXPECT_TRUE(m_prompts.m_shown.empty());
}

TEST_F(CompareWindowTest, FindFiltersTheRowsAndTheMenuOrdersTheTemplates) {
    OpenCompare();
    EXPECT_EQ(Current(), "GameObject.baseName/This file") << "no field selected: the first row";
    Key(Qt::Key_F, Qt::ControlModifier);
    auto* find = m_compare->findChild<QLineEdit*>("compareFilter");
    EXPECT_EQ(QApplication::focusWidget(), find);
    Type(QStringLiteral("radius"));
    std::vector<std::string> shown;
    for (int row = 0; row < m_table->model()->rowCount(); ++row) {
        if (!m_table->isRowHidden(row))
            shown.push_back(
                m_table->model()->headerData(row, Qt::Vertical).toString().toStdString());
    }
    EXPECT_EQ(shown, std::vector<std::string>{"GameObject.collisionRadius"});
    Key(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), m_table);
    EXPECT_EQ(Current(), "GameObject.collisionRadius/This file");

    // Shift+F10 opens the row's menu: the templates by their values, then back in list order.
    Key(Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(Columns(), "This file|Min|Median|Max|Gamma|t2.odf|Alpha");
    Key(Qt::Key_F10, Qt::ShiftModifier);
    Key(Qt::Key_Up);
    Key(Qt::Key_Return);
    EXPECT_EQ(Columns(), "This file|Min|Median|Max|Alpha|t2.odf|Gamma");

    // Escape in the find box empties it and goes back to the table.
    Key(Qt::Key_F, Qt::ControlModifier);
    Key(Qt::Key_Escape);
    EXPECT_TRUE(find->text().isEmpty());
    EXPECT_FALSE(m_table->isRowHidden(0));
    EXPECT_TRUE(m_compare->isVisible());
}

TEST_F(CompareWindowTest, FollowsTheMainWindowAndClosesWithIt) {
    OpenCompare();
    // An edit in the value box.
    m_editor->activateWindow();
    Select("GameObject", "maxHealth");
    Key(Qt::Key_End);
    Type(QStringLiteral("5"));
    EXPECT_EQ(Row("GameObject.maxHealth"), "105|9|10|10|10|9|10");

    // Load Set, and Template Files' Delete and Add while the dialog is still open.
    LoadSet("set.txt");
    m_folder.Write("set4.txt", "t4.odf\nt1.odf\n");
    LoadSet("set4.txt");
    EXPECT_EQ(Columns(), "This file|Min|Median|Max|t4.odf|Alpha");
    EXPECT_EQ(Row("CraftClass.rangeScan"), "|1.000000|1.000000|1.000000|1.000000|");
    std::string during;
    WhenModalShows<CTemplateFilesDlg>([&](CTemplateFilesDlg* dialog) {
        auto* list = dialog->findChild<QListWidget*>();
        list->item(0)->setSelected(true);
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == "&Delete")
                QTest::mouseClick(button, Qt::LeftButton);
        }
        during = Columns();
        m_prompts.Queue(std::vector<std::string>{m_folder.Path("t2.odf")});
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == "&Add")
                QTest::mouseClick(button, Qt::LeftButton);
        }
        during += " / " + Columns();
        dialog->accept();
    });
    Command("actionTemplateEditSet");
    EXPECT_EQ(during, "This file|Min|Median|Max|Alpha / This file|Min|Median|Max|Alpha|t2.odf");
    EXPECT_EQ(Row("CraftClass.rangeScan"), "(no row)");

    // Open replaces the document; the title follows.
    m_prompts.Queue(Answer::No);
    m_folder.CopyUiTestData({"tank.odf"});
    Open("tank.odf");
    EXPECT_EQ(m_compare->windowTitle(), "Compare Units - tank.odf");

    m_editor->close();
    EXPECT_FALSE(m_compare->isVisible());
}

// The field panel's strip: a dot per template value, the file's own marked, and the figures.
TEST_F(CompareWindowTest, ThePanelShowsWhereTheFileStandsAmongTheTemplates) {
    auto* strip = m_editor->findChild<CValueStrip*>("valueStrip");
    auto* line = m_editor->findChild<QLabel*>("statsText");
    // The colour drawn across the middle of the strip at x.
    auto colourAt = [strip](int x) {
        const QImage image = strip->grab().toImage();
        return image.pixelColor(x * image.width() / strip->width(), image.height() / 2);
    };
    const QColor own = strip->palette().color(QPalette::Highlight);

    Select("GameObject", "maxHealth");
    ASSERT_TRUE(strip->isVisible());
    EXPECT_EQ(line->text(), "3 templates: min 9, median 10, max 10");
    EXPECT_LT(strip->XOf(9), strip->XOf(10));
    EXPECT_EQ(colourAt(strip->XOf(10)), own);
    EXPECT_NE(colourAt(strip->XOf(9)), own);
    EXPECT_NE(colourAt(strip->XOf(9)), colourAt((strip->XOf(9) + strip->XOf(10)) / 2));
    // Typing moves the mark; the axis takes it in.
    Key(Qt::Key_End);
    Type(QStringLiteral("5"));
    EXPECT_EQ(line->text(), "3 templates: min 9, median 10, max 10");
    EXPECT_EQ(colourAt(strip->XOf(105)), own);
    EXPECT_GT(strip->XOf(105), strip->XOf(10));

    // Strings, groups and fields that fewer than two templates set have none.
    for (const char* field : {"baseName", "unitName"}) {
        Select("GameObject", field);
        EXPECT_FALSE(strip->isVisible()) << field;
        EXPECT_FALSE(line->isVisible()) << field;
    }
    Select("CraftClass", "rangeScan");
    EXPECT_FALSE(strip->isVisible());
}

// A value longer than an edit field's usual 32767 characters, edited in place, stays whole.
TEST_F(CompareWindowTest, ALongValueEditedInPlaceStaysWhole) {
    const std::string value(40000, 'n');
    m_folder.Write("long.odf", "[GameObject]\nunitName = \"" + value + "\"\n");
    Open("long.odf");
    Select("GameObject", "unitName");
    OpenCompare();
    Key(Qt::Key_F2);
    Key(Qt::Key_End);
    Type(QStringLiteral("x"));
    Key(Qt::Key_Return);
    Command("actionFileSave");
    EXPECT_NE(m_folder.Read("long.odf").find("unitName = \"" + value + "x\"\n"), std::string::npos);
}

// doc.odf is Windows-1252: a UTF-8 template's text goes into it in that encoding, whether taken
// in the comparison, typed there or picked in the value box; what it cannot hold is refused.
TEST_F(CompareWindowTest, ATemplatesTextGoesIntoTheFileInItsEncoding) {
    m_folder.Write("u8.odf",
                   "[GameObject]\nbaseName = \"caf\xc3\xa9\"\nunitName = \"\xc5\x81\xc3\xb3"
                   "d\xc5\xba\"\n");
    m_folder.Write("u8.txt", "u8.odf\n");
    LoadSet("u8.txt");
    Select("GameObject", "baseName");
    OpenCompare();
    auto* note = m_compare->findChild<QLabel*>("compareNote");
    Key(Qt::Key_End);
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemText("GameObject", "baseName"), QStringLiteral("baseName = \"caf\u00e9\""));
    Key(Qt::Key_End, Qt::ControlModifier); // unitName, the last row
    Key(Qt::Key_Return);
    EXPECT_EQ(note->text().toStdString(),
              "Windows-1252, the file's encoding, has no '\xc5\x81' (U+0141).");
    EXPECT_EQ(ItemText("GameObject", "unitName"), "unitName = ");
    Key(Qt::Key_Home);
    Key(Qt::Key_F2);
    Type(QStringLiteral("\u0141x"));
    EXPECT_FALSE(note->text().isEmpty());
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemText("GameObject", "unitName"), "unitName = \"x\"");

    // The value box's pick, once the comparison's take is gone.
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    m_editor->activateWindow();
    Select("GameObject", "baseName");
    m_box->showPopup();
    Key(Qt::Key_Home);
    Key(Qt::Key_Return);
    Command("actionFileSave");
    const std::string saved = m_folder.Read("doc.odf");
    EXPECT_NE(saved.find("baseName = \"caf\xe9\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("unitName = \"x\""), std::string::npos) << saved;
}

// A number picked in the value box or taken in the comparison is written as its template's file
// writes it, not in the editor's six decimals.
TEST_F(CompareWindowTest, ANumberPickedOrTakenIsWrittenAsItsTemplateWritesIt) {
    Select("GameObject", "collisionRadius");
    m_box->showPopup();
    Key(Qt::Key_Down); // [Gamma] 3.000000, the least
    Key(Qt::Key_Return);
    EXPECT_EQ(Edit(), "3.000000");
    Command("actionFileSave");
    EXPECT_EQ(m_folder.Read("doc.odf"), "[GameObject]\ncollisionRadius = 3\nmaxHealth = 10\n");
    OpenCompare();
    Key(Qt::Key_End);
    Key(Qt::Key_Left); // t2.odf's 9.5
    Key(Qt::Key_Return);
    m_editor->activateWindow();
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(m_folder.Read("doc.odf"), "[GameObject]\ncollisionRadius = 9.5\nmaxHealth = 10\n");
}
