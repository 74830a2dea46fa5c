// The comparison's table without its window: which rows and columns it has, what each cell
// shows, and the document's changes it makes and follows.

#include "EditorFixture.h"

#include "AliasTable.h"
#include "CompareModel.h"
#include "TankDocument.h"
#include "TemplateList.h"

#include <QFont>
#include <QUndoStack>

namespace {

using Table = std::vector<std::string>;

// The model as a user reads it: the header row, then a row per field, "|" between cells; this
// file's value in bold reads "*10*", a tinted template value "9~".
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
            if (index.data(Qt::BackgroundRole).isValid())
                text += "~";
            line += "|" + text;
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
                                 "collisionRadius = 3\n");
        m_folder.Write("t3.odf", "[GameObject]\nmaxHealth = 12\nscrapCost = 35\n"
                                 "unitName = \"Abc\"\n");
        m_folder.Write("t4.odf", "[GameObject]\nmaxHealth = 9\n");
        m_aliases.LoadText("t1.odf A\nt3.odf C\n");
        ASSERT_TRUE(m_document.Load(m_folder.Path("doc.odf")));
    }
    void Load(std::initializer_list<const char*> names) {
        m_templates.Clear();
        for (const char* name : names)
            ASSERT_TRUE(m_templates.LoadTemplate(m_folder.Path(name), m_aliases));
        m_model.Refresh();
    }
    QModelIndex At(const char* field, int column) const {
        const int row = m_model.RowOf(static_cast<int>(tarnwick_test::FieldIndex(field)));
        return m_model.index(row, column);
    }
    int Health() const {
        return tarnwick_test::Field(m_document.File(), "GameObject.maxHealth").m_nValue;
    }

    CScratchFolder m_folder;
    CAliasTable m_aliases;
    CTemplateList m_templates;
    CTankDocument m_document;
    CCompareModel m_model{m_document, m_templates};
};

} // namespace

TEST_F(CompareModelTest, ARowPerFieldSetAnywhereAColumnPerTemplateAndWhereTheFileStands) {
    EXPECT_EQ(Read(m_model),
              (Table{"field|This file|Min|Median|Max", "GameObject.maxHealth|*10*|||",
                     "GameObject.unitName|*Tank*|||", "GameObject.aiName|*own*|||"}));
    // One template: its value is least, median and greatest; equal values are not tinted.
    Load({"t1.odf"});
    EXPECT_EQ(Read(m_model),
              (Table{"field|This file|Min|Median|Max|A", "GameObject.scrapCost||40|40|40|40~",
                     "GameObject.maxHealth|*10*|10|10|10|10", "GameObject.unitName|*Tank*||||tank~",
                     "GameObject.aiName|*own*||||"}));
    // Even counts take the lower middle value (9 of 9 9 10 12), odd ones the middle; Strings
    // have none; a template without an alias goes by its file name.
    Load({"t1.odf", "t2.odf", "t3.odf", "t4.odf"});
    EXPECT_EQ(
        Read(m_model),
        (Table{"field|This file|Min|Median|Max|A|t2.odf|C|t4.odf",
               "GameObject.collisionRadius||3.000000|3.000000|3.000000||3.000000~||",
               "GameObject.scrapCost||30|35|40|40~|30~|35~|",
               "GameObject.maxHealth|*10*|9|9|12|10|9~|12~|9~",
               "GameObject.unitName|*Tank*||||tank~||Abc~|", "GameObject.aiName|*own*|||||||"}));
    EXPECT_EQ(m_model.headerData(5, Qt::Horizontal, Qt::ToolTipRole).toString().toStdString(),
              m_folder.Path("t2.odf"));

    // Ordered by a row: numbers by number, Strings ignoring case, no value last.
    auto order = [this](const char* field) {
        return m_model.TemplateColumnsByValue(At(field, 0).row());
    };
    EXPECT_EQ(order("GameObject.maxHealth"), (std::vector<int>{5, 7, 4, 6}));
    EXPECT_EQ(order("GameObject.unitName"), (std::vector<int>{6, 4, 5, 7}));
    EXPECT_EQ(order("GameObject.collisionRadius"), (std::vector<int>{5, 4, 6, 7}));

    // While a set loads in place of the templates, the view may paint before the table is
    // refreshed: the templates' cells and figures are then empty, never the old ones.
    m_model.ForgetTemplates();
    m_templates.Clear();
    EXPECT_EQ(Read(m_model)[3], "GameObject.maxHealth|*10*|||");
}

TEST_F(CompareModelTest, TakeEditAndDeleteAreUndoStepsOfTheDocument) {
    Load({"t1.odf", "t2.odf", "t3.odf", "t4.odf"});
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
    EXPECT_EQ(Read(m_model)[3], "\u2022 GameObject.maxHealth|*9*|9|9|12|10~|9|12~|9");

    // Typed as the command line takes it: a number of the field's type within its range,
    // written as given; anything else changes nothing and says why in the command line's words.
    QStringList refused;
    QObject::connect(&m_model, &CCompareModel::Refused, [&refused](const QString& why) { refused << why; });
    for (const char* text : {"15x", "16\u0141", "1.5", "2147483648"})
        EXPECT_FALSE(
            m_model.setData(At("GameObject.maxHealth", 0), QString::fromUtf8(text), Qt::EditRole));
    EXPECT_EQ(refused, (QStringList{"'15x' is not a number", "'16\u0141' is not a number",
                                    "'1.5' is not a whole number",
                                    "'2147483648' is out of range (an Integer holds -2147483648 to "
                                    "2147483647)"}));
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
    EXPECT_EQ(refused.size(), 4);

    // Deleting a field no template sets takes its row away; undoing brings it back.
    EXPECT_TRUE(m_model.Remove(At("GameObject.aiName", 0).row()));
    EXPECT_EQ(m_model.rowCount(), 4);
    EXPECT_TRUE(m_model.Remove(At("GameObject.maxHealth", 0).row()));
    EXPECT_FALSE(m_model.Remove(At("GameObject.maxHealth", 0).row())) << "already gone";
    EXPECT_EQ(Read(m_model)[3], "\u2022 GameObject.maxHealth||9|9|12|10~|9~|12~|9~");
    history.undo();
    history.undo();
    EXPECT_EQ(m_model.rowCount(), 5);
    while (history.canUndo())
        history.undo();
    EXPECT_EQ(Health(), 10);
    EXPECT_FALSE(m_document.IsModified());
    history.redo();
    EXPECT_EQ(Health(), 12);
}
