#include "EditorFixture.h"
#include "ValueText.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>

#include <cfloat>
#include <optional>

namespace {

// baseName is UTF-8, unitName is not; imageSignature is too small for six decimals; aiName2 holds a
// lone CR, which reads back as it is; weaponName1 is present and empty.
const char* const kDocument = "[GameObject]\n"
                              "aiName2 = \"a\rb\"\n"
                              "baseName = \"caf\xc3\xa9\"\n"
                              "collisionRadius = 2.5\n"
                              "maxHealth = 1500\n"
                              "unitName = \"\x80 caf\xe9\"\n"
                              "imageSignature = 0.0000001\n"
                              "weaponName1 = \"\"\n"
                              "[CraftClass]\n"
                              "rangeScan = -0.25\n";

// What the user can see of one field, and what the document holds for it.
struct Seen {
    std::optional<std::string> value; // formatted as stored; none while absent
    QString item;
    bool bold;
    bool groupBold;
    bool modified;
    QString title;
    QString edit;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* out) {
    *out << "{" << (seen.value ? "\"" + *seen.value + "\"" : std::string("absent")) << ", item \""
         << seen.item.toStdString() << "\"" << (seen.bold ? " bold" : " plain") << ", group"
         << (seen.groupBold ? " bold" : " plain") << (seen.modified ? ", modified" : "")
         << ", title \"" << seen.title.toStdString() << "\", edit \"" << seen.edit.toStdString()
         << "\"}";
}

// One key (Backspace is '\b') and what the field must look like after it.
struct Step {
    QChar key;
    std::optional<std::string> value;
    QString item;
    bool groupBold = true;
};

} // namespace

class ValueEditingTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.Write("ALIAS.TXT", "");
        m_folder.Write("doc.odf", kDocument);
        StartOn("doc.odf");
        m_edit = m_box->lineEdit();
    }
    CFieldEntry& Field(const QTreeWidgetItem* item) {
        return m_editor->Document().m_fields[static_cast<std::size_t>(ItemIndex(item))];
    }
    QString DocTitle(bool modified) const {
        return QString::fromStdString(TitleOf("doc.odf", modified));
    }
    Seen Look(QTreeWidgetItem* item) {
        const CFieldEntry& field = Field(item);
        return {field.m_bPresent ? std::optional(FormatValue(field)) : std::nullopt,
                TextOf(item),
                IsBold(item),
                IsBold(item->parent()),
                m_editor->Document().m_bModified != 0,
                Title(),
                m_edit->text()};
    }
    void Press(QChar key) {
        if (key == '\b')
            QTest::keyClick(m_edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(m_edit, QString(key));
    }
    // Types the steps' keys one at a time, checking the field after each.
    void TypeChecking(QTreeWidgetItem* item, std::initializer_list<Step> steps) {
        QString typed = m_edit->text();
        for (const Step& step : steps) {
            Press(step.key);
            if (step.key == '\b')
                typed.chop(1);
            else
                typed += step.key;
            EXPECT_EQ(Look(item), (Seen{step.value, step.item, step.value.has_value(),
                                        step.groupBold, true, DocTitle(true), typed}))
                << "after " << typed.toStdString();
        }
    }
    // Empties the edit field as the user would: select all, delete.
    void Erase() {
        QTest::keyClick(m_edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(m_edit, Qt::Key_Delete);
    }

    QLineEdit* m_edit = nullptr;
};

TEST_F(ValueEditingTest, SelectingShowsTheFieldOrGroupAndNeverChangesTheDocument) {
    struct Panel {
        QString name, type, description, edit;
        bool enabled;
        bool operator==(const Panel&) const = default;
    };
    auto panel = [this] {
        return Panel{
            LabelOf(*m_editor, "fieldText")->text(), LabelOf(*m_editor, "typeText")->text(),
            LabelOf(*m_editor, "descriptionText")->text(), m_edit->text(), m_box->isEnabled()};
    };
    Select("GameObject", "maxHealth");
    EXPECT_EQ(panel(),
              (Panel{"maxHealth", "Integer Value", "maximum health possible", "1500", true}));
    Select("GameObject", "collisionRadius");
    EXPECT_EQ(panel(), (Panel{"collisionRadius", "Float Value", "", "2.500000", true}));
    Select("GameObject", "unitName");
    EXPECT_EQ(panel(),
              (Panel{"unitName", "String Value", "", QStringLiteral("\u20ac caf\u00e9"), true}));
    Select("GameObject", "aiName");
    EXPECT_EQ(panel(),
              (Panel{"aiName", "String Value", "defines self-image of unit as AI", "", true}));
    EXPECT_EQ(TextOf(FieldItem(*m_editor, "GameObject", "baseName")),
              QStringLiteral("baseName = \"caf\u00e9\""));

    ClickItem(*m_editor, TreeOf(*m_editor)->topLevelItem(0));
    EXPECT_EQ(panel(),
              (Panel{"GameObject", "Group Header", "This is the game object.", "", false}));
    EXPECT_EQ(m_box->count(), 0);
    ClickItem(*m_editor, TreeOf(*m_editor)->topLevelItem(1));
    EXPECT_EQ(panel(), (Panel{"CraftClass", "Group Header", "", "", false}));

    // Leaving the value box for the tree applies nothing either.
    Select("GameObject", "baseName");
    EXPECT_TRUE(m_box->hasFocus());
    Select("GameObject", "maxHealth");
    EXPECT_FALSE(Modified());
    EXPECT_EQ(Title(), DocTitle(false));

    // A rebuilt tree has no selection: the panel empties and the box is usable again.
    ClickItem(*m_editor, TreeOf(*m_editor)->topLevelItem(0));
    m_editor->OnFileNew();
    EXPECT_EQ(panel(), (Panel{"", "", "", "", true}));
    EXPECT_TRUE(m_prompts.m_shown.empty());
}

TEST_F(ValueEditingTest, EveryKeyInAFloatFieldIsAppliedAtOnce) {
    QTreeWidgetItem* item = Select("GameObject", "heatSignature");
    TypeChecking(item, {
                           {'2', "2.000000", "heatSignature = 2.000000"},
                           {'.', "2.000000", "heatSignature = 2.000000"},
                           {'5', "2.500000", "heatSignature = 2.500000"},
                           {'\b', "2.000000", "heatSignature = 2.000000"},
                           {'\b', "2.000000", "heatSignature = 2.000000"},
                           {'\b', std::nullopt, "heatSignature ="},
                           {'a', "0.000000", "heatSignature = 0.000000"},
                           {'b', "0.000000", "heatSignature = 0.000000"},
                           {'c', "0.000000", "heatSignature = 0.000000"},
                       });
    Erase();
    TypeChecking(item, {
                           {'-', "0.000000", "heatSignature = 0.000000"},
                           {'5', "-5.000000", "heatSignature = -5.000000"},
                       });
    Erase();
    TypeChecking(item, {
                           {'.', "0.000000", "heatSignature = 0.000000"},
                           {'5', "0.500000", "heatSignature = 0.500000"},
                       });
    Erase();
    EXPECT_FALSE(Field(item).m_bPresent);

    // The tree shows the stored value, rounded to single precision; the edit text stays.
    QTest::keyClicks(m_edit, QStringLiteral("16777217"));
    EXPECT_EQ(Look(item), (Seen{"16777216.000000", "heatSignature = 16777216.000000", true, true,
                                true, DocTitle(true), "16777217"}));
    EXPECT_EQ(Field(item).m_fValue, 16777216.0f);
    Select("GameObject", "imageSignature");
    Select("GameObject", "heatSignature");
    EXPECT_EQ(m_edit->text(), "16777216.000000");
    m_editor->BuildTree();
    EXPECT_EQ(TextOf(FieldItem(*m_editor, "GameObject", "heatSignature")),
              "heatSignature = 16777216.000000");

    // Beyond the float range: the largest float of the sign.
    item = Select("GameObject", "heatSignature");
    Erase();
    QTest::keyClicks(m_edit, QStringLiteral("-1e39"));
    EXPECT_EQ(Field(item).m_fValue, -FLT_MAX);
    EXPECT_EQ(TextOf(item).toStdString(), "heatSignature = " + FormatFloat(-FLT_MAX));
}

TEST_F(ValueEditingTest, ErasingAFieldMakesItAbsentAndItsGroupPlainWhenItWasTheLast) {
    QTreeWidgetItem* item = Select("CraftClass", "rangeScan");
    EXPECT_EQ(m_edit->text(), "-0.250000");
    m_edit->end(false);
    for (int i = 0; i < 8; ++i)
        Press('\b');
    EXPECT_EQ(Look(item),
              (Seen{"0.000000", "rangeScan = 0.000000", true, true, true, DocTitle(true), "-"}));
    TypeChecking(item, {
                           {'\b', std::nullopt, "rangeScan =", false},
                           {'7', "7.000000", "rangeScan = 7.000000", true},
                           {'\b', std::nullopt, "rangeScan =", false},
                       });
    // Another field of the group keeps it bold.
    item = Select("GameObject", "collisionRadius");
    Erase();
    EXPECT_EQ(Look(item),
              (Seen{std::nullopt, "collisionRadius =", false, true, true, DocTitle(true), ""}));

    // The saved file agrees with the tree.
    EXPECT_EQ(m_editor->Document().Save(), 1);
    const std::string saved = m_folder.Read("doc.odf");
    EXPECT_EQ(saved.find("collisionRadius"), std::string::npos);
    EXPECT_EQ(saved.find("rangeScan"), std::string::npos);
}

TEST_F(ValueEditingTest, IntegersAndStringsAreReadAsTyped) {
    QTreeWidgetItem* item = Select("GameObject", "maxAmmo");
    TypeChecking(item, {
                           {'1', "1", "maxAmmo = 1"},
                           {'2', "12", "maxAmmo = 12"},
                           {'a', "12", "maxAmmo = 12"},
                           {'.', "12", "maxAmmo = 12"},
                           {'5', "12", "maxAmmo = 12"},
                       });
    Erase();
    QTest::keyClicks(m_edit, QStringLiteral("-99999999999"));
    EXPECT_EQ(TextOf(item), "maxAmmo = -2147483648");
    Erase();
    QTest::keyClicks(m_edit, QStringLiteral(" +99999999999"));
    EXPECT_EQ(TextOf(item), "maxAmmo = 2147483647");

    // A String takes the text exactly, blanks included.
    item = Select("GameObject", "aiName");
    TypeChecking(item, {
                           {' ', " ", "aiName = \" \""},
                           {'x', " x", "aiName = \" x\""},
                           {' ', " x ", "aiName = \" x \""},
                       });
    QTest::sendKeyEvent(QTest::Click, m_edit, Qt::Key_Eacute, QStringLiteral("\u00e9"),
                        Qt::NoModifier);
    EXPECT_EQ(Field(item).m_strValue, " x \xc3\xa9");
    EXPECT_EQ(TextOf(item), QStringLiteral("aiName = \" x \u00e9\""));

    // Alt or Meta with a letter is a menu key: it types nothing and changes nothing.
    m_editor->Document().m_bModified = 0;
    QTest::keyClick(m_edit, Qt::Key_S, Qt::AltModifier);
    QTest::keyClick(m_edit, Qt::Key_1, Qt::AltModifier);
    QTest::keyClick(m_edit, Qt::Key_E, Qt::MetaModifier);
    EXPECT_EQ(m_edit->text(), QStringLiteral(" x \u00e9"));
    EXPECT_FALSE(Modified());
}

TEST_F(ValueEditingTest, AStringFieldRefusesWhatWouldNotReadBackAndSaysWhy) {
    QLabel* note = LabelOf(*m_editor, "noteText");
    QTreeWidgetItem* item = Select("GameObject", "aiName");
    QTest::keyClicks(m_edit, QStringLiteral("a"));
    const Seen before = Look(item);
    for (QChar refused : {QChar('"'), QChar('[')}) {
        Press(refused);
        EXPECT_EQ(Look(item), before);
        EXPECT_TRUE(note->text().contains(refused)) << note->text().toStdString();
        EXPECT_TRUE(note->isVisible());
        Press('b');
        EXPECT_TRUE(note->text().isEmpty());
        Press('\b');
    }

    // A paste holding a line break is refused whole.
    for (const char* pasted : {"x\ny", "x\ry", "x[y"}) {
        QApplication::clipboard()->setText(QString::fromLatin1(pasted));
        QTest::keyClick(m_edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Look(item), before) << pasted;
        EXPECT_FALSE(note->text().isEmpty());
    }
    EXPECT_EQ(Field(item).m_strValue, "a");

    // What the field already holds may stay, and the text around it can be edited.
    item = Select("GameObject", "aiName2");
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_TRUE(note->text().isEmpty());
    Press('c');
    EXPECT_EQ(Field(item).m_strValue, "a\rbc");
    Press('\b');
    Press('\b');
    EXPECT_EQ(Field(item).m_strValue, "a\r");
    EXPECT_TRUE(note->text().isEmpty());
    Press('"');
    EXPECT_EQ(Field(item).m_strValue, "a\r");
    EXPECT_TRUE(note->text().contains('"'));

    // Selecting another field clears the note; number fields take any character.
    item = Select("GameObject", "maxAmmo");
    EXPECT_TRUE(note->text().isEmpty());
    QTest::keyClicks(m_edit, QStringLiteral("4\"["));
    EXPECT_EQ(m_edit->text(), "4\"[");
    EXPECT_EQ(TextOf(item), "maxAmmo = 4");
    EXPECT_TRUE(note->text().isEmpty());
}

TEST_F(ValueEditingTest, EnterAppliesTheEditTextToTheSelectedFieldOnly) {
    CTankFile& document = m_editor->Document();
    // With nothing selected, or a group, Enter only refreshes the title.
    for (bool group : {false, false, true, true}) {
        if (group)
            ClickItem(*m_editor, TreeOf(*m_editor)->topLevelItem(0));
        document.m_bModified = !document.m_bModified;
        QTest::keyClick(group ? static_cast<QWidget*>(TreeOf(*m_editor)) : m_edit, Qt::Key_Return);
        EXPECT_EQ(Title(), DocTitle(document.m_bModified));
    }
    document.m_bModified = 0;
    EXPECT_TRUE(m_editor->isVisible());

    // Unedited values change nothing: Strings and Integers keep theirs (bytes that are not
    // UTF-8 too), an absent field stays absent. A Float takes its six-decimal text.
    QTreeWidgetItem* item = Select("GameObject", "unitName");
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_EQ(Look(item),
              (Seen{"\x80 caf\xe9", QStringLiteral("unitName = \"\u20ac caf\u00e9\""), true, true,
                    false, DocTitle(false), QStringLiteral("\u20ac caf\u00e9")}));
    item = Select("GameObject", "maxHealth");
    QTest::keyClick(TreeOf(*m_editor), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Look(item),
              (Seen{"1500", "maxHealth = 1500", true, true, false, DocTitle(false), "1500"}));
    item = Select("GameObject", "aiName");
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_EQ(Look(item),
              (Seen{std::nullopt, "aiName = ", false, true, false, DocTitle(false), ""}));
    item = Select("GameObject", "imageSignature");
    EXPECT_EQ(Field(item).m_fValue, 1e-7f);
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_EQ(Field(item).m_fValue, 0.0f);
    EXPECT_EQ(TextOf(item), "imageSignature = 0.000000");
    EXPECT_EQ(Title(), DocTitle(true));
    // A present empty String stays present.
    item = Select("GameObject", "weaponName1");
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_EQ(Look(item), (Seen{"", "weaponName1 = \"\"", true, true, true, DocTitle(true), ""}));

    // Enter after typing applies the same text again.
    item = Select("GameObject", "scrapCost");
    QTest::keyClicks(m_edit, QStringLiteral("30"));
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_EQ(Look(item), (Seen{"30", "scrapCost = 30", true, true, true, DocTitle(true), "30"}));
    EXPECT_TRUE(m_editor->isVisible());
    EXPECT_TRUE(m_prompts.m_shown.empty());
    EXPECT_EQ(m_box->count(), 0);

    // A value longer than a line edit's usual limit is applied whole, and stays whole when
    // it is shown again and applied unchanged.
    item = Select("GameObject", "weaponHard1");
    m_edit->insert(QString(40000, QLatin1Char('y')));
    EXPECT_EQ(Field(item).m_strValue.size(), 40000u);
    m_editor->RefreshValueBox();
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_TRUE(Field(item).m_strValue == std::string(40000, 'y'));
}
