// The comparison's table without its window: which rows and columns it has, what each cell
// shows, and the document's changes it makes and follows.

#include "EditorFixture.h"

#include "AliasTable.h"
#include "CompareModel.h"
#include "TankDocument.h"
#include "TemplateList.h"

#include <QFont>
#include <QIcon>
#include <QSignalSpy>
#include <QUndoStack>

namespace {

using Table = std::vector<std::string>;

// How a cell is tinted: "+2" above this file's value at the second step of four, "-1" below it
// at the first, "=" a text equal to it, "?" a tint of no kind; nothing when untinted.
std::string TintMark(const QVariant& tint) {
    if (!tint.isValid())
        return {};
    const CCompareTint tints(QApplication::palette());
    const QColor colour = tint.value<QBrush>().color();
    if (colour == tints.SameText().color())
        return "=";
    for (int step = 1; step <= CCompareTint::kSteps; ++step) {
        const double distance = double(step) / CCompareTint::kSteps;
        if (colour == tints.Above(distance).color())
            return "+" + std::to_string(step);
        if (colour == tints.Below(distance).color())
            return "-" + std::to_string(step);
    }
    return "?";
}

// The model as a user reads it: the header row, then a row per field, "|" between cells; this
// file's value in bold reads "*10*", a template value's tint follows it ("9-2").
Table Read(const CCompareModel& model) {
    Table table;
    std::string header = "field";
    for (int column = 0; column < model.columnCount(); ++column)
        header +=
            "|" +
            model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toStdString();
    table.push_back(header);
    for (int row = 0; row < model.rowCount(); ++row) {
        std::string line =
            model.headerData(row, Qt::Vertical, Qt::DisplayRole).toString().toStdString();
        for (int column = 0; column < model.columnCount(); ++column) {
            const QModelIndex index = model.index(row, column);
            std::string text = index.data().toString().toStdString();
            if (index.data(Qt::FontRole).value<QFont>().bold())
                text = "*" + text + "*";
            line += "|" + text + TintMark(index.data(Qt::BackgroundRole));
        }
        table.push_back(line);
    }
    return table;
}

class CompareModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder.Write("doc.odf", "[GameObject]\nmaxHealth = 10\nunitName = \"Tank\"\n"
                                  "aiName = \"own\"\n");
        m_folder.Write("t1.odf", "[GameObject]\nmaxHealth = 10\nscrapCost = 40\n"
                                 "unitName = \"tank\"\n");
        m_folder.Write("t2.odf", "[GameObject]\nmaxHealth = 9\nscrapCost = 30\n"
                                 "collisionRadius = 3\nclassLabel = \"hovertank\"\n");
        m_folder.Write("t3.odf", "[GameObject]\nmaxHealth = 12\nscrapCost = 35\n"
                                 "unitName = \"Abc\"\nclassLabel = \"Light Tank\"\n");
        m_folder.Write("t4.odf", "[GameObject]\nmaxHealth = 9\nunitName = \"Tank\"\n");
        m_aliases.LoadText("t1.odf A\nt3.odf C\n");
        ASSERT_TRUE(m_document.Load(m_folder.Path("doc.odf")));
    }
    void Load(std::initializer_list<const char*> names) {
        m_templates.Clear();
        for (const char* name : names)
            ASSERT_TRUE(m_templates.LoadTemplate(m_folder.Path(name), m_aliases));
        m_model.Refresh();
    }
    void LoadAll() { Load({"t1.odf", "t2.odf", "t3.odf", "t4.odf"}); }
    int Row(const char* field) const {
        return m_model.RowOf(static_cast<int>(tarnwick_test::FieldIndex(field)));
    }
    QModelIndex At(const char* field, int column) const {
        return m_model.index(Row(field), column);
    }
    std::string Cell(const char* field, int column) const {
        return At(field, column).data().toString().toStdString();
    }
    int Health() const {
        return tarnwick_test::Field(m_document.File(), "GameObject.maxHealth").m_nValue;
    }
    // The template columns' titles, "|" between them.
    std::string Templates() const {
        const std::string header = Read(m_model).front();
        return header.size() > 36 ? header.substr(36) : std::string();
    }

    CScratchFolder m_folder;
    CAliasTable m_aliases;
    CTemplateList m_templates;
    CTankDocument m_document;
    CCompareModel m_model{m_document, m_templates};
};

} // namespace

TEST_F(CompareModelTest, RowsColumnsRanksAndTheTemplatesOrderAndCopiedCells) {
    EXPECT_FALSE(m_model.data({}, Qt::DisplayRole).isValid());
    EXPECT_EQ(Read(m_model),
              (Table{"field|This file|Rank|Min|Median|Max", "GameObject.maxHealth|*10*|1 of 1|||",
                     "GameObject.unitName|*Tank*||||", "GameObject.aiName|*own*||||"}));
    // One template: its value is least, median and greatest.
    Load({"t1.odf"});
    EXPECT_EQ(Read(m_model),
              (Table{"field|This file|Rank|Min|Median|Max|A", "GameObject.scrapCost|||40|40|40|40",
                     "GameObject.maxHealth|*10*|1 of 2|10|10|10|10",
                     "GameObject.unitName|*Tank*|||||tank", "GameObject.aiName|*own*|||||"}));
    // Even counts take the lower middle value (9 of 9 9 10 12), odd ones the middle; Strings
    // have none; a template without an alias goes by its file name. A number above this file's
    // and one below are tinted apart, the further the stronger (12 is two thirds of the range
    // 9 to 12 away, 9 one third); an equal one is not, nor one where this file has none. Texts
    // are tinted only where equal, case counting.
    LoadAll();
    EXPECT_EQ(Read(m_model),
              (Table{"field|This file|Rank|Min|Median|Max|A|t2.odf|C|t4.odf",
                     "GameObject.classLabel|||||||hovertank|Light Tank|",
                     "GameObject.collisionRadius|||3.000000|3.000000|3.000000||3.000000||",
                     "GameObject.scrapCost|||30|35|40|40|30|35|",
                     "GameObject.maxHealth|*10*|2 of 5|9|9|12|10|9-2|12+3|9-2",
                     "GameObject.unitName|*Tank*|||||tank||Abc|Tank=",
                     "GameObject.aiName|*own*||||||||"}));
    EXPECT_EQ(m_model.headerData(6, Qt::Horizontal, Qt::ToolTipRole).toString().toStdString(),
              m_folder.Path("t2.odf"));
    // The legend of the tints is the tooltip of "This file" alone.
    EXPECT_TRUE(m_model.headerData(CCompareModel::kThisFile, Qt::Horizontal, Qt::ToolTipRole)
                    .toString()
                    .contains("a number above this file's"));
    EXPECT_FALSE(
        m_model.headerData(CCompareModel::kRank, Qt::Horizontal, Qt::ToolTipRole).isValid());

    // While a set loads in place of the templates, the view may paint before the table is
    // refreshed: the templates' cells and figures are then empty, never the old ones.
    m_model.ForgetTemplates();
    m_templates.Clear();
    EXPECT_EQ(Read(m_model)[1], "GameObject.maxHealth|*10*|1 of 1|||");

    // A rectangle of cells copied is the window's test's (Ctrl+C); cells given out of order and
    // apart fill the rectangle around them, in the table's order.
    LoadAll(); // maxHealth 10, 9, 12, 9
    const QModelIndexList scattered = {At("GameObject.aiName", CCompareModel::kFirstTemplate),
                                       At("GameObject.maxHealth", CCompareModel::kMin)};
    EXPECT_EQ(m_model.TextOf(scattered, true).toStdString(),
              "Field\tMin\tA\nGameObject.maxHealth\t9\t\nGameObject.aiName\t\t\n");
    EXPECT_EQ(m_model.TextOf(scattered, false).toStdString(), "9\t\n\t\n");

    // Rank: 1 and the templates with a greater value, of 1 and those that set the field.
    const struct {
        const char* typed;
        const char* rank;
    } ranks[] = {{"13", "1 of 5"}, {"12", "1 of 5"}, {"10", "2 of 5"},
                 {"9", "3 of 5"},  {"8", "5 of 5"},  {"", ""}};
    for (const auto& c : ranks) {
        m_model.setData(At("GameObject.maxHealth", CCompareModel::kThisFile), c.typed,
                        Qt::EditRole);
        EXPECT_EQ(Cell("GameObject.maxHealth", CCompareModel::kRank), c.rank) << c.typed;
    }
    // Strings and fields this file does not set have none.
    EXPECT_EQ(Cell("GameObject.unitName", CCompareModel::kRank), "");
    EXPECT_EQ(Cell("GameObject.scrapCost", CCompareModel::kRank), "");

    using Order = CCompareModel::Order;
    const struct {
        const char* field;
        Order order;
        const char* columns;
    } cases[] = {
        // Numbers by number, texts ignoring case, equal ones in list order, no value last.
        {"GameObject.maxHealth", Order::LowestFirst, "t2.odf|t4.odf|A|C"},
        {"GameObject.maxHealth", Order::HighestFirst, "C|A|t2.odf|t4.odf"},
        {"GameObject.unitName", Order::LowestFirst, "C|A|t4.odf|t2.odf"},
        {"GameObject.unitName", Order::HighestFirst, "A|t4.odf|C|t2.odf"},
        {"GameObject.collisionRadius", Order::HighestFirst, "t2.odf|A|C|t4.odf"},
        {"GameObject.maxHealth", Order::List, "A|t2.odf|C|t4.odf"},
    };
    for (const auto& c : cases) {
        m_model.OrderTemplates(Row(c.field), c.order);
        EXPECT_EQ(Templates(), c.columns) << c.field;
    }
    // The ordering row's name shows the direction.
    auto arrow = [this](Order order) {
        m_model.OrderTemplates(Row("GameObject.maxHealth"), order);
        const QVariant icon =
            m_model.headerData(m_model.OrderRow(), Qt::Vertical, Qt::DecorationRole);
        return icon.value<QIcon>().pixmap(16).toImage();
    };
    const QImage highest = arrow(Order::HighestFirst);
    EXPECT_FALSE(highest.isNull());
    EXPECT_NE(highest, arrow(Order::LowestFirst));
    EXPECT_FALSE(m_model.headerData(Row("GameObject.scrapCost"), Qt::Vertical, Qt::DecorationRole)
                     .isValid());

    // Through a new set, a filter and a document opened anew, while the row is there.
    Load({"t4.odf", "t3.odf", "t1.odf"});
    EXPECT_EQ(Templates(), "t4.odf|A|C");
    m_model.SetTemplateFilter(QStringLiteral("odf"));
    EXPECT_EQ(Templates(), "t4.odf|A|C");
    ASSERT_TRUE(m_document.Load(m_folder.Path("doc.odf")));
    EXPECT_EQ(m_model.OrderRow(), Row("GameObject.maxHealth"));
    // Ordered by a row that goes, the templates go back to list order.
    m_model.OrderTemplates(Row("GameObject.scrapCost"), Order::HighestFirst);
    EXPECT_EQ(Templates(), "A|C|t4.odf");
    Load({"t4.odf", "t2.odf"});
    EXPECT_EQ(Templates(), "t2.odf|t4.odf");
    Load({"t4.odf", "t1.odf"});
    EXPECT_EQ(Templates(), "A|t4.odf");
    Load({"t4.odf"});
    EXPECT_EQ(m_model.TemplateOrder(), Order::List);
    EXPECT_EQ(m_model.OrderRow(), -1);
}

// The filter chooses templates by alias, file name or classLabel, ignoring ASCII case; the
// figures, ranks, tints and rows are over those shown.
TEST_F(CompareModelTest, TheFilterChoosesTheTemplatesAndTakeEditAndDeleteAreUndoSteps) {
    LoadAll();
    const struct {
        const char* filter;
        const char* shown;
    } cases[] = {{"c", "C"},           {"T3", "C"},
                 {"TANK", "t2.odf|C"}, {"ODF", "A|t2.odf|C|t4.odf"},
                 {"zz", ""},           {"", "A|t2.odf|C|t4.odf"}};
    for (const auto& c : cases) {
        m_model.SetTemplateFilter(QString::fromLatin1(c.filter));
        EXPECT_EQ(Templates(), c.shown) << c.filter;
        EXPECT_EQ(m_model.ShownTemplateCount(),
                  std::ranges::count(std::string(c.shown), '|') + (*c.shown ? 1u : 0u));
        EXPECT_EQ(m_model.TemplateCount(), 4u);
    }
    m_model.SetTemplateFilter(QStringLiteral("tank"));
    EXPECT_EQ(Read(m_model),
              (Table{"field|This file|Rank|Min|Median|Max|t2.odf|C",
                     "GameObject.classLabel||||||hovertank|Light Tank",
                     "GameObject.collisionRadius|||3.000000|3.000000|3.000000|3.000000|",
                     "GameObject.scrapCost|||30|30|35|30|35",
                     "GameObject.maxHealth|*10*|2 of 3|9|9|12|9-2|12+3",
                     "GameObject.unitName|*Tank*||||||Abc", "GameObject.aiName|*own*||||||"}));
    // The figures' templates are among those shown.
    EXPECT_EQ(m_model.TemplateAt(At("GameObject.scrapCost", CCompareModel::kMax)), 2);
    EXPECT_EQ(m_model.ColumnOf(0), -1);
    EXPECT_EQ(m_model.ColumnOf(2), CCompareModel::kFirstTemplate + 1);

    // Only the fields this file sets.
    m_model.SetOwnFieldsOnly(true);
    EXPECT_EQ(m_model.rowCount(), 3);
    EXPECT_EQ(Read(m_model)[1], "GameObject.maxHealth|*10*|2 of 3|9|9|12|9-2|12+3");
    m_model.SetOwnFieldsOnly(false);
    EXPECT_EQ(m_model.rowCount(), 6);

    // Take, edit and Delete are undo steps of the document.
    m_model.SetTemplateFilter({});
    LoadAll();
    QUndoStack& history = *m_document.UndoStack();
    const int health = CCompareModel::kFirstTemplate + 2; // C's column

    EXPECT_TRUE(m_model.Take(At("GameObject.maxHealth", health)));
    EXPECT_EQ(Health(), 12);
    EXPECT_EQ(history.undoText(), "Take maxHealth from C");
    EXPECT_FALSE(m_model.Take(At("GameObject.maxHealth", health))) << "nothing to change";
    EXPECT_FALSE(m_model.Take(At("GameObject.collisionRadius", health))) << "no value";
    // The median is a template's value, and says whose.
    EXPECT_TRUE(m_model.Take(At("GameObject.maxHealth", CCompareModel::kMedian)));
    EXPECT_EQ(history.undoText(), "Take maxHealth from t2.odf");
    // Changed since last saved: marked.
    EXPECT_EQ(Read(m_model)[4], "\u2022 GameObject.maxHealth|*9*|3 of 5|9|9|12|10+2|9|12+4|9");

    // Typed as the command line takes it: a number of the field's type within its range,
    // written as given; anything else changes nothing and says why in the command line's words.
    QStringList refused;
    QObject::connect(&m_model, &CCompareModel::Refused,
                     [&refused](const QString& why) { refused << why; });
    // (The reasons are ValueText's; an out-of-range one is the window's test's.)
    for (const char* text : {"16\u0141", "1.5"})
        EXPECT_FALSE(
            m_model.setData(At("GameObject.maxHealth", 0), QString::fromUtf8(text), Qt::EditRole));
    EXPECT_EQ(refused, (QStringList{"'16\u0141' is not a number", "'1.5' is not a whole number"}));
    EXPECT_EQ(Health(), 9);
    EXPECT_TRUE(m_model.setData(At("GameObject.maxHealth", 0), " 015 ", Qt::EditRole));
    EXPECT_EQ(Health(), 15);
    EXPECT_EQ(m_document.Field(6).m_strValue, "015");
    EXPECT_EQ(history.undoText(), "maxHealth");
    // Shown as it is, the text changes nothing.
    EXPECT_TRUE(m_model.setData(At("GameObject.maxHealth", 0), "15", Qt::EditRole));
    EXPECT_FALSE(
        m_model.setData(At("GameObject.maxHealth", CCompareModel::kMin), "1", Qt::EditRole));
    EXPECT_EQ(history.count(), 3);
    EXPECT_EQ(refused.size(), 2);

    // A value typed into the first row keeps it.
    m_model.setData(m_model.index(0, CCompareModel::kThisFile), "light", Qt::EditRole);
    EXPECT_EQ(Read(m_model)[1], "\u2022 GameObject.classLabel|*light*||||||hovertank|Light Tank|");
    history.undo();

    // Deleting a field no template sets takes its row away; undoing brings it back.
    EXPECT_TRUE(m_model.Remove(At("GameObject.aiName", 0).row()));
    EXPECT_EQ(m_model.rowCount(), 5);
    EXPECT_TRUE(m_model.Remove(At("GameObject.maxHealth", 0).row()));
    EXPECT_FALSE(m_model.Remove(At("GameObject.maxHealth", 0).row())) << "already gone";
    EXPECT_EQ(Read(m_model)[4], "\u2022 GameObject.maxHealth|||9|9|12|10|9|12|9");
    history.undo();
    history.undo();
    EXPECT_EQ(m_model.rowCount(), 6);
    while (history.canUndo())
        history.undo();
    EXPECT_EQ(Health(), 10);
    EXPECT_FALSE(m_document.IsModified());
    history.redo();
    EXPECT_EQ(Health(), 12);
}

// Keys the schema does not know: a row each, a group of their own gathered whatever the case of
// its header, the row gone with the last value, and the views told when a save takes the changed
// marks from the rows' names.
TEST_F(CompareModelTest, OtherKeysHaveRowsInGroupsMetIgnoringCase) {
    m_folder.Write("own.odf", "[BuildingClass]\na = 1\n[PowerUpClass]\nc = 3\n");
    m_folder.Write("t5.odf", "[buildingclass]\nb = 2\n");
    ASSERT_TRUE(m_document.Load(m_folder.Path("own.odf")));
    Load({"t5.odf"});
    EXPECT_EQ(Read(m_model),
              (Table{"field|This file|Rank|Min|Median|Max|t5.odf", "BuildingClass.a|*1*|||||",
                     "buildingclass.b||||||2", "PowerUpClass.c|*3*|||||"}));
    m_document.ApplyOtherKey(1, "", false, false);
    EXPECT_EQ(m_model.rowCount(), 2);
    QSignalSpy told(&m_model, &QAbstractItemModel::headerDataChanged);
    ASSERT_TRUE(m_document.Save(SaveStyle::KeepFile));
    ASSERT_EQ(told.count(), 1);
    EXPECT_EQ(told[0][0].value<Qt::Orientation>(), Qt::Vertical);
    EXPECT_EQ(told[0][2].toInt(), 1);
}
