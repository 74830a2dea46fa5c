// View > Compare Units driven as a user drives it: keys to the active window, the main window and
// the comparison following each other.

#include "CompareDlg.h"
#include "CompareModel.h"
#include "EditorFixture.h"
#include "TemplateFilesDlg.h"
#include "ValueStrip.h"

#include <QClipboard>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>

namespace {

// The templates of tests/data/ui: t1.odf (Alpha) maxHealth 10, t2.odf 9, t3.odf (Gamma) 10;
// t4.odf sets only rangeScan. doc.odf sets collisionRadius 2.5 and maxHealth 10.
class CompareWindowTest : public EditorTest {
protected:
    static constexpr const char* kSet = "t1.odf\nt2.odf\nt3.odf\n";
    void SetUp() override {
        m_folder.CopyUiTestData({"t1.odf", "t2.odf", "t3.odf", "t4.odf"});
        StartOn("doc.odf");
        LoadSet(kSet);
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
    // A column's title or a row's name, a changed field's mark before it left out.
    QString Header(int section, Qt::Orientation orientation) const {
        return m_table->model()
            ->headerData(section, orientation)
            .toString()
            .remove(CCompareModel::kChangedMark);
    }
    // The current cell as "Group.field/column title".
    std::string Current() const {
        const QModelIndex index = m_table->currentIndex();
        return (Header(index.row(), Qt::Vertical) + "/" + Header(index.column(), Qt::Horizontal))
            .toStdString();
    }
    // A row of the table, "|" between cells.
    std::string Row(const char* field) const {
        for (int row = 0; row < m_table->model()->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < m_table->model()->columnCount(); ++column)
                cells << m_table->model()->index(row, column).data().toString();
            if (Header(row, Qt::Vertical) == QLatin1String(field))
                return cells.join('|').toStdString();
        }
        return "(no row)";
    }
    // The column titles, and the names of the rows shown, "|" between them.
    std::string Columns() const {
        QStringList titles;
        for (int column = 0; column < m_table->model()->columnCount(); ++column)
            titles << Header(column, Qt::Horizontal);
        return titles.join('|').toStdString();
    }
    std::string Rows() const {
        QStringList names;
        for (int row = 0; row < m_table->model()->rowCount(); ++row)
            if (!m_table->isRowHidden(row))
                names << Header(row, Qt::Vertical);
        return names.join('|').toStdString();
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
    EXPECT_EQ(Columns(), "This file|Rank|Min|Median|Max|Alpha|t2.odf|Gamma");
    EXPECT_EQ(Row("GameObject.maxHealth"), "10|1 of 4|9|10|10|10|9|10");
    EXPECT_GE(m_table->verticalHeader()->width(),
              m_table->fontMetrics().horizontalAdvance("GameObject.collisionRadius"));

    // The main window's tree, and so its field panel and value box, follow the current row while
    // the comparison keeps the focus.
    const struct {
        Qt::Key key;
        const char* field;
        const char* value;
    } steps[] = {{Qt::Key_Up, "collisionRadius", "2.500000"},
                 {Qt::Key_Down, "maxHealth", "10"},
                 {Qt::Key_Down, "unitName", ""},
                 {Qt::Key_Up, "maxHealth", "10"}};
    for (const auto& step : steps) {
        Key(step.key);
        EXPECT_EQ(m_tree->currentItem(), FieldItem(*m_editor, "GameObject", step.field));
        EXPECT_EQ(Edit(), step.value) << step.field;
        EXPECT_EQ(QApplication::focusWidget(), m_table) << step.field;
        EXPECT_EQ(QApplication::activeWindow(), m_compare) << step.field;
    }

    // Enter on a template's value takes it: the main window's tree, value box and title follow.
    Keys({Qt::Key_Right, Qt::Key_End, Qt::Key_Left});
    EXPECT_EQ(Current(), "GameObject.maxHealth/t2.odf");
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 9");
    EXPECT_EQ(Edit(), "9");
    EXPECT_EQ(Title(), TitleOf("doc.odf", true));
    EXPECT_EQ(ActionText("actionEditUndo"), "&Undo Take maxHealth from t2.odf\tCtrl+Z");

    // F2 on this file's value edits it in place: Escape cancels, Enter applies one step.
    Keys({Qt::Key_Home, Qt::Key_F2});
    Type(QStringLiteral("77"));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(m_compare->isVisible()) << "Escape in an edit only ends the edit";
    EXPECT_EQ(Row("GameObject.maxHealth").substr(0, 2), "9|");
    Keys({Qt::Key_Return, Qt::ControlModifier | Qt::Key_A});
    Type(QStringLiteral("42"));
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 42");
    EXPECT_EQ(Edit(), "42");
    // Only a number of the field's type goes in; anything else changes nothing, and the note
    // says why (the model's reasons are its own test's).
    Keys({Qt::Key_F2, Qt::ControlModifier | Qt::Key_A});
    Type(QStringLiteral("2147483648"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Label("compareNote"), "'2147483648' is out of range (an Integer holds -2147483648 to "
                                    "2147483647).");
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 42");

    // Delete removes the field; Ctrl+Z and Ctrl+Y from here undo and redo the document's steps.
    Key(Qt::Key_Delete);
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = ");
    EXPECT_EQ(Row("GameObject.maxHealth"), "||9|10|10|10|9|10");
    const QKeyCombination undo = Qt::ControlModifier | Qt::Key_Z;
    Keys({undo, undo});
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 9");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Row("GameObject.maxHealth").substr(0, 3), "42|");
    Keys({Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z, undo, undo, undo});
    EXPECT_EQ(Title(), TitleOf("doc.odf"));

    // Ctrl+C copies the selected cells a line a row, as a spreadsheet pastes them; Ctrl+Shift+C
    // with the names of their rows and columns.
    Keys({Qt::Key_Up, Qt::ShiftModifier | Qt::Key_Right, Qt::ShiftModifier | Qt::Key_Down,
          Qt::ControlModifier | Qt::Key_C});
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "2.500000\t4 of 4\n10\t1 of 4\n");
    Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Field\tThis file\tRank\nGameObject.collisionRadius\t2.500000\t4 of 4\n"
              "GameObject.maxHealth\t10\t1 of 4\n");

    // Escape closes the window; Ctrl+K brings it back.
    Key(Qt::Key_Escape);
    EXPECT_FALSE(m_compare->isVisible());
    EXPECT_TRUE(m_editor->isVisible());
    OpenCompare();
    EXPECT_TRUE(m_prompts.m_shown.empty());
}

TEST_F(CompareWindowTest, FindFiltersTheRowsAndTheMenuOrdersTheTemplatesThroughANewSetAndFile) {
    OpenCompare();
    EXPECT_EQ(Current(), "GameObject.baseName/This file") << "no field selected: the first row";
    Key(Qt::Key_F, Qt::ControlModifier);
    auto* find = m_compare->findChild<QLineEdit*>("compareFilter");
    EXPECT_EQ(QApplication::focusWidget(), find);
    Type(QStringLiteral("radius"));
    EXPECT_EQ(Rows(), "GameObject.collisionRadius");
    Key(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), m_table);
    EXPECT_EQ(Current(), "GameObject.collisionRadius/This file");

    // Shift+F10 opens the row's menu: the templates by their values, then back in list order.
    Key(Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* action : menu->actions())
        items << action->text();
    EXPECT_EQ(items.join('|').toStdString(),
              "&Order Templates by This Field|Order Templates by This Field, &Highest First|"
              "Template &List Order||O&nly Fields This File Sets");
    const QPointer<QMenu> used = menu;
    Keys({Qt::Key_Down, Qt::Key_Return});
    EXPECT_EQ(Columns(), "This file|Rank|Min|Median|Max|Gamma|t2.odf|Alpha");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(used.isNull()) << "a menu closed is gone";
    Keys({Qt::ShiftModifier | Qt::Key_F10, Qt::Key_Up, Qt::Key_Up, Qt::Key_Return});
    EXPECT_EQ(Columns(), "This file|Rank|Min|Median|Max|Alpha|t2.odf|Gamma");

    // Escape in the find box empties it and goes back to the table.
    Keys({Qt::ControlModifier | Qt::Key_F, Qt::Key_Escape});
    EXPECT_TRUE(find->text().isEmpty());
    EXPECT_FALSE(m_table->isRowHidden(0));
    EXPECT_TRUE(m_compare->isVisible());

    // Highest first, on maxHealth's row, holds through a new set and a new file.
    Keys({Qt::Key_Down, Qt::ShiftModifier | Qt::Key_F10, Qt::Key_Down, Qt::Key_Down,
          Qt::Key_Return});
    EXPECT_EQ(Columns(), "This file|Rank|Min|Median|Max|Alpha|Gamma|t2.odf");
    auto* model = m_table->model();
    const int row = m_table->currentIndex().row();
    EXPECT_FALSE(model->headerData(row, Qt::Vertical, Qt::DecorationRole).isNull());
    EXPECT_EQ(model->headerData(row, Qt::Vertical, Qt::ToolTipRole).toString(),
              "Templates ordered by this field, highest first");
    Keys({Qt::Key_End, Qt::Key_Left});
    EXPECT_EQ(Current(), "GameObject.maxHealth/Gamma");
    LoadSet("t3.odf\nt4.odf\nt2.odf\n");
    EXPECT_EQ(Columns(), "This file|Rank|Min|Median|Max|Gamma|t2.odf|t4.odf");
    EXPECT_EQ(Current(), "GameObject.maxHealth/Gamma");
    m_folder.CopyUiTestData({"tank.odf"});
    Open("tank.odf");
    EXPECT_EQ(Row("GameObject.maxHealth"), "1500|1 of 3|9|9|10|10|9|");
    EXPECT_EQ(Current(), "GameObject.maxHealth/Gamma");
}

// The field panel's strip: a dot per template value, the file's own marked, and the figures.
TEST_F(CompareWindowTest,
       ThePanelsStripShowsWhereTheFileStandsAndTheComparisonsFixedColumnsStayInView) {
    auto* strip = m_editor->findChild<CValueStrip*>("valueStrip");
    auto* line = m_editor->findChild<QLabel*>("statsText");
    const QColor own = strip->palette().color(QPalette::Highlight);

    Select("GameObject", "maxHealth"); // Alpha 10, t2.odf 9, Gamma 10; the file 10
    ASSERT_TRUE(strip->isVisible());
    EXPECT_EQ(line->text(), "3 templates: min 9, median 10, max 10");
    EXPECT_LT(strip->XOf(9), strip->XOf(10));
    // Equal values stack, one dot over the other; the file's mark crosses the axis.
    EXPECT_EQ(strip->DotRect(0).center().x(), strip->DotRect(2).center().x());
    EXPECT_FALSE(strip->DotRect(0).intersects(strip->DotRect(2)));
    const int axis = strip->DotRect(1).center().y(), stacked = strip->sizeHint().height();
    EXPECT_EQ(strip->grab().toImage().pixelColor(strip->XOf(10), axis), own);
    // Typing moves the mark; the axis takes it in.
    Key(Qt::Key_End);
    Type(QStringLiteral("5"));
    EXPECT_EQ(line->text(), "3 templates: min 9, median 10, max 10");
    EXPECT_GT(strip->XOf(105), strip->XOf(10));
    const QImage moved = strip->grab().toImage();
    EXPECT_EQ(moved.pixelColor(strip->XOf(105), axis), own);
    EXPECT_NE(moved.pixelColor(strip->XOf(10), axis), own);
    // Values that nowhere meet take a row of dots less.
    Select("GameObject", "collisionRadius"); // 10, 9.5, 3
    EXPECT_LT(strip->sizeHint().height(), stacked);

    // Strings, groups and fields that fewer than two templates set have none.
    for (const char* field : {"baseName", "unitName"}) {
        Select("GameObject", field);
        EXPECT_FALSE(strip->isVisible()) << field;
        EXPECT_FALSE(line->isVisible()) << field;
    }
    Select("CraftClass", "rangeScan");
    EXPECT_FALSE(strip->isVisible());

    // Twenty templates at 110 and two at 100 stack without hiding a dot; one far below and one far
    // above are counted at the ends rather than pressing the rest together.
    Shown healths(20, "maxHealth = 110");
    healths.insert(healths.end(),
                   {"maxHealth = 100", "maxHealth = 100", "maxHealth = 5", "maxHealth = 1000"});
    LoadMade("s", healths);
    Select("GameObject", "maxHealth");
    Key(Qt::Key_A, Qt::ControlModifier);
    Type(QStringLiteral("105"));
    const QImage image = strip->grab().toImage();
    const QColor ink = strip->palette().color(QPalette::WindowText);

    const QRect below = strip->ArrowRect(false), above = strip->ArrowRect(true);
    ASSERT_FALSE(below.isEmpty() || above.isEmpty());
    // Every dot drawn on the axis, where no other is.
    for (std::size_t i = 0; i < 22; ++i) {
        const QRect dot = strip->DotRect(i);
        EXPECT_TRUE(strip->rect().contains(dot)) << i;
        EXPECT_GE(dot.center().x() + 1, strip->XOf(100)) << i; // an even size centres low
        EXPECT_LE(dot.center().x(), strip->XOf(110)) << i;
        EXPECT_EQ(image.pixelColor(dot.center()), ink) << i;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(dot.intersects(strip->DotRect(j))) << i << " " << j;
    }
    EXPECT_GT(strip->DotRect(19).center().x(), strip->DotRect(20).center().x());
    // The two beyond: an arrow at each end, drawn, and their templates in its tooltip.
    for (std::size_t i : {22, 23})
        EXPECT_TRUE(strip->DotRect(i).isEmpty()) << i;
    EXPECT_LT(below.right(), strip->XOf(100));
    EXPECT_GT(above.left(), strip->XOf(110));
    EXPECT_EQ(ToolTipAt(strip, below.center()), "s22.odf: 5");
    EXPECT_EQ(ToolTipAt(strip, above.center()), "s23.odf: 1000");
    // Each end's arrow and count drawn: neither third of its place is blank.
    QImage blank(below.width() / 3, below.height(), image.format());
    blank.fill(image.pixelColor(0, 0));
    for (const QRect& arrow : {below, above}) {
        for (int x : {arrow.left(), arrow.right() + 1 - blank.width()})
            EXPECT_NE(image.copy(QRect(QPoint(x, arrow.top()), blank.size())), blank);
    }
    // A dot names every template of its value.
    std::string names;
    for (int i = 0; i < 20; ++i)
        names += (i ? ", s" : "s") + std::to_string(i) + ".odf";
    EXPECT_EQ(ToolTipAt(strip, strip->DotRect(7).center()), names + ": 110");
    EXPECT_EQ(ToolTipAt(strip, strip->DotRect(21).center()), "s20.odf, s21.odf: 100");

    // A click on a dot goes to its template's cell in the comparison, when it is open.
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->DotRect(21).center());
    OpenCompare();
    m_editor->activateWindow();
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->DotRect(21).center());
    EXPECT_EQ(Current(), "GameObject.maxHealth/s21.odf");

    // The comparison's fixed columns stay in view while the templates scroll sideways.
    LoadMade("u", Shown(30, "maxHealth = 7"));
    Select("GameObject", "maxHealth");
    OpenCompare();
    m_compare->resize(1000, 400); // room for a few templates beside the fixed part
    auto* fixed = m_compare->findChild<QTableView*>("compareFixed");
    QScrollBar* sideways = m_table->horizontalScrollBar();
    auto fixedPart = [&] { return m_table->grab(fixed->geometry()).toImage(); };
    for (int i = 0; i < CCompareModel::kFirstTemplate; ++i)
        Key(Qt::Key_Right);
    EXPECT_EQ(Current(), "GameObject.maxHealth/u0.odf");
    const QImage before = fixedPart();
    Key(Qt::Key_End);
    EXPECT_EQ(Current(), "GameObject.maxHealth/u29.odf");
    const int end = sideways->value();
    EXPECT_GT(end, 0);
    EXPECT_EQ(fixedPart(), before);
    // The row names stay drawn beside the fixed part, not under it.
    QHeaderView* rows = m_table->verticalHeader();
    EXPECT_EQ(m_table->grab(rows->geometry()).toImage(), rows->grab().toImage());
    // Back by the keyboard, one table: a template's cell in view, or a fixed one, scrolls
    // nothing; one under the fixed part comes out from under it.
    Keys({Qt::Key_Left, Qt::Key_Home});
    EXPECT_EQ(Current(), "GameObject.maxHealth/This file");
    EXPECT_EQ(sideways->value(), end);
    for (int i = 0; i < CCompareModel::kFirstTemplate; ++i)
        Key(Qt::Key_Right);
    EXPECT_EQ(m_table->visualRect(m_table->currentIndex()).left(), fixed->width());
    EXPECT_EQ(fixedPart(), before);
    // Rows keep their height, so that the fixed part's stay level with the templates'.
    const int height = m_table->rowHeight(0);
    const QPoint edge(rows->width() / 2, rows->sectionViewportPosition(0) + height - 1);
    QTest::mousePress(rows->viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(rows->viewport(), edge + QPoint(0, 20));
    QTest::mouseRelease(rows->viewport(), Qt::LeftButton, {}, edge + QPoint(0, 20));
    EXPECT_EQ(m_table->rowHeight(0), height);
    // A sideways turn of the wheel over the templates, or over the fixed part, moves the
    // templates alone.
    for (QWidget* over : {m_table->viewport(), fixed->viewport()}) {
        const int x = sideways->value();
        Wheel(over, QPoint(-120, 0));
        EXPECT_GT(sideways->value(), x);
        EXPECT_EQ(fixedPart(), before);
    }
}

TEST_F(CompareWindowTest,
       CtrlShiftFAndCtrlShiftHChooseTheTemplatesAndFieldsShownAndTheWindowKeepsItsState) {
    Select("GameObject", "maxHealth");
    OpenCompare();
    Key(Qt::Key_End);
    auto* filter = m_compare->findChild<QLineEdit*>("templateFilter");
    Key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), filter);
    Type(QStringLiteral("A")); // Alpha and Gamma by their aliases
    EXPECT_EQ(Columns(), "This file|Rank|Min|Median|Max|Alpha|Gamma");
    EXPECT_EQ(m_compare->windowTitle(), "Compare Units - doc.odf (2 of 3 templates)");
    Key(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), m_table);
    EXPECT_EQ(Current(), "GameObject.maxHealth/Gamma");
    // Hidden by the filter, the template's cell gives way to the row's own, and comes back with
    // the template; an empty text shows all.
    Key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    Type(QStringLiteral("t2"));
    EXPECT_EQ(Columns(), "This file|Rank|Min|Median|Max|t2.odf");
    EXPECT_EQ(Current(), "GameObject.maxHealth/This file");
    Keys({Qt::Key_Backspace, Qt::Key_Backspace});
    EXPECT_EQ(Columns(), "This file|Rank|Min|Median|Max|Alpha|t2.odf|Gamma");
    EXPECT_EQ(m_compare->windowTitle(), "Compare Units - doc.odf");
    EXPECT_EQ(Current(), "GameObject.maxHealth/Gamma");
    Key(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), m_table);

    // Ctrl+Shift+H shows only the fields this file sets; the window keeps its state.
    OpenCompare();
    const std::string all = "GameObject.baseName|GameObject.collisionRadius|"
                            "GameObject.maxHealth|GameObject.unitName|GameObject.aiName";
    EXPECT_EQ(Rows(), all);
    Key(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Rows(), "GameObject.collisionRadius|GameObject.maxHealth");
    auto* only = m_compare->findChild<QAction*>("actionOwnFieldsOnly");
    EXPECT_TRUE(only->isChecked());

    // Its size, its columns' widths and this stay for the next opening; a template's width
    // follows the template.
    m_compare->resize(700, 400);
    m_table->horizontalHeader()->resizeSection(CCompareModel::kFirstTemplate + 1, 150);
    auto* fixed = m_compare->findChild<QTableView*>("compareFixed");
    fixed->horizontalHeader()->resizeSection(CCompareModel::kMax, 90);
    Key(Qt::Key_Escape);
    OpenCompare();
    EXPECT_EQ(m_compare->size(), QSize(700, 400));
    EXPECT_EQ(m_table->columnWidth(CCompareModel::kFirstTemplate + 1), 150);
    EXPECT_EQ(m_table->columnWidth(CCompareModel::kMax), 90);
    EXPECT_EQ(Rows(), "GameObject.collisionRadius|GameObject.maxHealth");
    LoadSet("t2.odf\nt3.odf\n");
    EXPECT_EQ(m_table->columnWidth(CCompareModel::kFirstTemplate), 150);
    EXPECT_EQ(m_table->columnWidth(CCompareModel::kFirstTemplate + 1),
              m_table->horizontalHeader()->defaultSectionSize());
    EXPECT_EQ(m_table->columnWidth(CCompareModel::kMax), 90);
    Key(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Rows(), "GameObject.baseName|GameObject.collisionRadius|GameObject.maxHealth|"
                      "GameObject.aiName"); // unitName went with t1.odf

    // The window follows the main window, and closes with it.
    LoadSet(kSet);
    OpenCompare();
    // An edit in the value box.
    m_editor->activateWindow();
    Select("GameObject", "maxHealth");
    Key(Qt::Key_End);
    Type(QStringLiteral("5"));
    EXPECT_EQ(Row("GameObject.maxHealth"), "105|1 of 4|9|10|10|10|9|10");

    // Load Set, and Template Files' Delete and Add while the dialog is still open.
    LoadSet(kSet);
    LoadSet("t4.odf\nt1.odf\n");
    EXPECT_EQ(Columns(), "This file|Rank|Min|Median|Max|t4.odf|Alpha");
    EXPECT_EQ(Row("CraftClass.rangeScan"), "||1.000000|1.000000|1.000000|1.000000|");
    std::string during;
    WhenModalShows<CTemplateFilesDlg>([&](CTemplateFilesDlg* dialog) {
        dialog->findChild<QListWidget*>()->item(0)->setSelected(true);
        ClickButton(dialog, "&Delete");
        during = Columns();
        m_prompts.Queue(std::vector<std::string>{m_folder.Path("t2.odf")});
        ClickButton(dialog, "&Add");
        during += " / " + Columns();
        dialog->accept();
    });
    Command("actionTemplateEditSet");
    EXPECT_EQ(during, "This file|Rank|Min|Median|Max|Alpha / "
                      "This file|Rank|Min|Median|Max|Alpha|t2.odf");
    EXPECT_EQ(Row("CraftClass.rangeScan"), "(no row)");

    // Open replaces the document; the title follows.
    m_prompts.Queue(Answer::No);
    m_folder.CopyUiTestData({"tank.odf"});
    Open("tank.odf");
    EXPECT_EQ(m_compare->windowTitle(), "Compare Units - tank.odf");

    m_editor->close();
    EXPECT_FALSE(m_compare->isVisible());
}

// A number picked in the value box or taken in the comparison is written as its template's file
// writes it, not in the editor's six decimals.
TEST_F(CompareWindowTest,
       ANumberOrTextPickedOrTakenIsWrittenAsItsTemplateWritesItInTheFilesEncoding) {
    Select("GameObject", "collisionRadius");
    m_box->showPopup();
    Keys({Qt::Key_Down, Qt::Key_Return}); // [Gamma] 3.000000, the least
    EXPECT_EQ(Edit(), "3.000000");
    Command("actionFileSave");
    EXPECT_EQ(m_folder.Read("doc.odf"), "[GameObject]\ncollisionRadius = 3\nmaxHealth = 10\n");
    OpenCompare();
    Keys({Qt::Key_End, Qt::Key_Left, Qt::Key_Return}); // t2.odf's 9.5
    m_editor->activateWindow();
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(m_folder.Read("doc.odf"), "[GameObject]\ncollisionRadius = 9.5\nmaxHealth = 10\n");

    // doc.odf is Windows-1252: a UTF-8 template's text goes into it in that encoding, whether taken
    // in the comparison, typed there or picked in the value box; what it cannot hold is refused.
    m_folder.Write("u8.odf",
                   "[GameObject]\nbaseName = \"caf\xc3\xa9\"\nunitName = \"\xc5\x81\xc3\xb3"
                   "d\xc5\xba\"\n");
    LoadSet("u8.odf\n");
    Select("GameObject", "baseName");
    OpenCompare();
    Keys({Qt::Key_End, Qt::Key_Return});
    EXPECT_EQ(ItemText("GameObject", "baseName"), QStringLiteral("baseName = \"caf\u00e9\""));
    Keys({Qt::ControlModifier | Qt::Key_End, Qt::Key_Return}); // unitName, the last row
    EXPECT_EQ(Label("compareNote"),
              QStringLiteral("Windows-1252, the file's encoding, has no '\u0141' (U+0141)."));
    EXPECT_EQ(ItemText("GameObject", "unitName"), "unitName = ");
    Keys({Qt::Key_Home, Qt::Key_F2});
    Type(QStringLiteral("\u0141x"));
    EXPECT_FALSE(Label("compareNote").isEmpty());
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemText("GameObject", "unitName"), "unitName = \"x\"");

    // The value box's pick, once the comparison's take is gone.
    Keys({Qt::ControlModifier | Qt::Key_Home, Qt::Key_Delete});
    m_editor->activateWindow();
    Select("GameObject", "baseName");
    m_box->showPopup();
    Keys({Qt::Key_Home, Qt::Key_Return});
    Command("actionFileSave");
    const std::string saved = m_folder.Read("doc.odf");
    EXPECT_NE(saved.find("baseName = \"caf\xe9\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("unitName = \"x\""), std::string::npos) << saved;

    // A text wider than its cell ends in an ellipsis there, nothing of it drawn over the next cell:
    // a quick measure would take its letters (\u01C4) for ASCII ones, which are narrower.
    std::string wide;
    for (int i = 0; i < 7; ++i)
        wide += "\xc7\x84";
    m_folder.Write("wide.odf", "[GameObject]\nunitName = \"" + wide + "\"\n");
    LoadSet("wide.odf\nt2.odf\n");
    Select("GameObject", "unitName");
    OpenCompare();
    m_compare->resize(1000, 400);
    const QModelIndex next =
        m_table->model()->index(m_table->currentIndex().row(), CCompareModel::kFirstTemplate + 1);
    // The whole table drawn, as the wide cell's own painting is what would reach the next.
    const QImage cell = m_table->viewport()->grab().toImage().copy(
        m_table->visualRect(next).adjusted(1, 1, -1, -1));
    QImage blank(cell.size(), cell.format());
    blank.fill(cell.pixelColor(cell.width() - 1, 0));
    EXPECT_EQ(cell, blank);

    // A value longer than an edit field's usual 32767 characters, edited in place, stays whole.
    const std::string value(40000, 'n');
    m_folder.Write("long.odf", "[GameObject]\nunitName = \"" + value + "\"\n");
    Open("long.odf");
    Select("GameObject", "unitName");
    OpenCompare();
    Keys({Qt::Key_F2, Qt::Key_End});
    Type(QStringLiteral("x"));
    Key(Qt::Key_Return);
    Command("actionFileSave");
    EXPECT_NE(m_folder.Read("long.odf").find("unitName = \"" + value + "x\"\n"), std::string::npos);
}

// A text is drawn from its cell's left, a number up to its right, as a reader scans them.
TEST_F(CompareWindowTest, TextsStartAtTheirCellsLeftAndNumbersEndAtItsRight) {
    OpenCompare();
    m_compare->resize(1000, 400);
    auto* model = m_table->model();
    const QImage image = m_table->viewport()->grab().toImage();
    // Which halves of Alpha's cell in the row of field hold ink: "left", "right" or "both".
    auto inkOf = [&](const char* field) {
        int row = 0;
        while (row < model->rowCount() && model->headerData(row, Qt::Vertical) != field)
            ++row;
        const QRect cell = m_table->visualRect(model->index(row, CCompareModel::kFirstTemplate))
                               .adjusted(2, 2, -2, -2);
        const QColor ground = image.pixelColor(cell.topLeft());
        bool left = false, right = false;
        for (int x = cell.left(); x <= cell.right(); ++x) {
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                if (image.pixelColor(x, y) != ground)
                    (x < cell.center().x() ? left : right) = true;
            }
        }
        return std::string(left && right ? "both" : left ? "left" : right ? "right" : "none");
    };
    EXPECT_EQ(inkOf("GameObject.baseName"), "left");   // "Zeta", ASCII
    EXPECT_EQ(inkOf("GameObject.unitName"), "left");   // measured, being Windows-1252
    EXPECT_EQ(inkOf("GameObject.maxHealth"), "right"); // 10
}
