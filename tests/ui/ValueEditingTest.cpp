#include "EditorFixture.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>

namespace {

// values.odf: unitName is not UTF-8; imageSignature is too small for six decimals; aiName2 holds
// a lone CR, which reads back as it is; weaponName1 is present and empty.
class ValueEditingTest : public EditorTest {
protected:
    void SetUp() override { StartOn("values.odf"); }
    QString Note() const { return Label("noteText"); }
    // The tip of the warning sign in the value box, or "" while it is not shown.
    QString Warning() const {
        const auto* sign = m_edit->findChild<QAction*>("valueWarning");
        return sign && sign->isVisible() ? sign->toolTip() : QString();
    }
    // Empties the edit field as the user would.
    void Erase() { Keys({Qt::ControlModifier | Qt::Key_A, Qt::Key_Delete}); }
    // Saves and returns the file's bytes.
    std::string Saved() {
        Command("actionFileSave");
        return m_folder.Read("values.odf");
    }
};

} // namespace

TEST_F(ValueEditingTest, SelectingShowsTheFieldOrGroupAndChangesNothing) {
    // What is clicked (a field of GameObject or a group), then its name, type, description and
    // the value box's text.
    const QStringList cases[] = {
        {"maxHealth", "Integer Value", "maximum health possible", "1500"},
        {"collisionRadius", "Float Value", "", "2.500000"},
        {"unitName", "String Value", "", "\u20ac caf\u00e9"},
        {"baseName", "String Value", "defines the apperance", "caf\u00e9"},
        {"aiName", "String Value", "defines self-image of unit as AI", ""},
        {"GameObject", "Group Header", "This is the game object.", ""},
    };
    auto shown = [this] {
        QStringList texts;
        for (const char* name : {"fieldText", "typeText", "descriptionText"})
            texts << Label(name);
        return texts << Edit();
    };
    for (const QStringList& c : cases) {
        const bool group = c[1] == "Group Header";
        if (group)
            ClickItem(m_tree->findItems(c[0], Qt::MatchExactly).front());
        else
            Select("GameObject", c[0].toLatin1().constData());
        EXPECT_EQ(shown(), c);
        EXPECT_EQ(m_box->isEnabled(), !group);
    }
    EXPECT_EQ(Title(), TitleOf("values.odf"));
    // New keeps the group selected.
    Command("actionFileNew");
    EXPECT_EQ(shown(), cases[std::size(cases) - 1]);
    EXPECT_FALSE(m_box->isEnabled());
    EXPECT_TRUE(m_prompts.m_shown.empty());
}

TEST_F(ValueEditingTest,
       EnterAppliesTheEditTextAnUneditedValueStaysAndTypedTextIsAppliedByTheCoresRules) {
    // Strings keep their bytes (not UTF-8 too), an absent field stays absent, a present empty
    // String stays present, a Float too small for six decimals keeps its value.
    for (const char* field :
         {"unitName", "maxHealth", "aiName", "weaponName1", "baseName", "imageSignature"}) {
        const QString before = ItemText("GameObject", field);
        Select("GameObject", field);
        Key(Qt::Key_Return);
        EXPECT_EQ(ItemText("GameObject", field), before);
        EXPECT_FALSE(Modified()) << field;
    }
    // Text that reads as the value held changes nothing either.
    Select("GameObject", "maxHealth");
    Type(QStringLiteral("x"));
    EXPECT_FALSE(Modified());
    EXPECT_NE(Saved().find("imageSignature = 0.0000001\n"), std::string::npos);

    // Enter after typing applies the same text again (that it never closes the window nor asks
    // is the file commands' test's).
    Select("GameObject", "scrapCost");
    Type(QStringLiteral("30"));
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemText("GameObject", "scrapCost"), "scrapCost = 30");
    EXPECT_EQ(Edit(), "30");
    EXPECT_EQ(Listed(*m_box), Shown{}) << "what was typed is no template's value";

    // A value longer than a line edit's usual limit is applied whole, and stays whole when
    // it is shown again and applied unchanged.
    Select("GameObject", "weaponHard1");
    m_edit->insert(QString(40000, QLatin1Char('y')));
    Select("GameObject", "scrapCost");
    Select("GameObject", "weaponHard1");
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemText("GameObject", "weaponHard1").count('y'), 40000);
    const std::string saved = Saved();
    EXPECT_NE(saved.find("unitName = \"\x80 caf\xe9\"\n"), std::string::npos);
    EXPECT_NE(saved.find("weaponName1 = \"\"\n"), std::string::npos);
    EXPECT_NE(saved.find(std::string(40000, 'y') + "\"\n"), std::string::npos);

    // A String field refuses what would not read back, and says why.
    Select("GameObject", "aiName");
    Type(QStringLiteral("a"));
    for (QChar refused : {QChar('"'), QChar('[')}) {
        Type(refused);
        EXPECT_EQ(Edit(), "a");
        EXPECT_TRUE(Note().contains(refused)) << Note().toStdString();
        Type(QStringLiteral("b"));
        EXPECT_TRUE(Note().isEmpty());
        Key(Qt::Key_Backspace);
    }
    // A paste holding a line break or a bracket is refused whole.
    for (const char* pasted : {"x\ny", "x\ry", "x[y"}) {
        QApplication::clipboard()->setText(QString::fromLatin1(pasted));
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Edit(), "a") << pasted;
        EXPECT_FALSE(Note().isEmpty());
    }
    EXPECT_EQ(ItemText("GameObject", "aiName"), "aiName = \"a\"");

    // What the field already holds may stay, and the text around it can be edited; selecting
    // another field clears the note.
    Select("GameObject", "aiName2");
    Type(QStringLiteral("c"));
    Keys({Qt::Key_Backspace, Qt::Key_Backspace});
    EXPECT_TRUE(Note().isEmpty());
    Type(QStringLiteral("\""));
    EXPECT_TRUE(Note().contains('"'));
    Select("GameObject", "maxHealth");
    EXPECT_TRUE(Note().isEmpty());
    EXPECT_NE(Saved().find("aiName2 = \"a\r\"\n"), std::string::npos);

    // Every key is applied by the core's rules, and the tree shows what is stored.
    const struct {
        const char* group;
        const char* field;
        const char* typed; // over what the field held
        const char* item;
        const char* warning; // while the text is not a number
    } cases[] = {
        {"GameObject", "heatSignature", "16777217", "heatSignature = 16777216.000000", ""},
        {"GameObject", "maxAmmo", "12a.5", "maxAmmo = 12", "'12a.5' is read as 12."},
        {"GameObject", "maxAmmo", "4\"[", "maxAmmo = 4", "'4\"[' is read as 4."},
        {"GameObject", "scrapCost", "abc", "scrapCost = 0", "'abc' is read as 0."},
        {"CraftClass", "rangeScan", "-", "rangeScan = 0.000000", "'-' is read as 0.000000."},
        {"GameObject", "aiName", " x \u00e9", "aiName = \" x \u00e9\"", ""},
        {"CraftClass", "rangeScan", "", "rangeScan =", ""},
        {"GameObject", "collisionRadius", "", "collisionRadius =", ""},
    };
    for (const auto& c : cases) {
        Select(c.group, c.field);
        Erase();
        Type(QString::fromUtf8(c.typed));
        EXPECT_EQ(ItemText(c.group, c.field), QString::fromUtf8(c.item));
        EXPECT_EQ(Edit(), QString::fromUtf8(c.typed)) << "the box keeps what was typed";
        EXPECT_TRUE(Note().isEmpty());
        EXPECT_EQ(Warning(), QString::fromUtf8(c.warning));
    }
    // The sign goes as soon as the text is a number.
    Select("GameObject", "scrapCost");
    Type(QStringLiteral("abc"));
    EXPECT_EQ(Warning(), "'0abc' is read as 0.");
    Key(Qt::Key_A, Qt::ControlModifier);
    Type(QStringLiteral("12"));
    EXPECT_EQ(Warning(), "");
    EXPECT_EQ(ItemText("GameObject", "scrapCost"), "scrapCost = 12");
    // An emptied field is absent: its item is plain, and so is its group once it sets nothing.
    EXPECT_FALSE(FieldItem(*m_editor, "GameObject", "collisionRadius")->font(0).bold());
    EXPECT_TRUE(m_tree->topLevelItem(0)->font(0).bold());
    EXPECT_FALSE(m_tree->topLevelItem(1)->font(0).bold());
    Select("GameObject", "heatSignature");
    EXPECT_EQ(Edit(), "16777216.000000");

    // Alt or Meta with a letter is a menu key: it types nothing.
    Select("GameObject", "aiName");
    Keys({Qt::AltModifier | Qt::Key_S, Qt::AltModifier | Qt::Key_1, Qt::MetaModifier | Qt::Key_E});
    EXPECT_EQ(Edit(), QStringLiteral(" x \u00e9"));
    const std::string typed = Saved();
    EXPECT_NE(typed.find("aiName = \" x \xe9\"\n"), std::string::npos);     // as the file is
    EXPECT_NE(typed.find("heatSignature = 16777217\n"), std::string::npos); // as typed
    EXPECT_EQ(typed.find("rangeScan"), std::string::npos);
    EXPECT_EQ(typed.find("collisionRadius"), std::string::npos);

    // What is typed goes into each file in the file's encoding, as `set` writes it: Windows-1252
    // (for ASCII only too) or UTF-8; what Windows-1252 cannot hold does not go in, and the panel
    // says why.
    for (const std::string name : {"scout", "messy", "hunter"}) {
        SCOPED_TRACE(name);
        m_folder.Write(name + ".odf", tarnwick_test::ReadData("cli/" + name + ".odf"));
        Open(name + ".odf");
        Select("GameObject", "unitName");
        Key(Qt::Key_A, Qt::ControlModifier);
        Type(QStringLiteral("Sp\u00e4her\u0141"));
        if (name == "hunter") {
            EXPECT_EQ(Edit(), QStringLiteral("Sp\u00e4her\u0141"));
            Key(Qt::Key_Backspace);
        } else {
            EXPECT_EQ(Edit(), QStringLiteral("Sp\u00e4her"));
            EXPECT_EQ(Note(), QStringLiteral("Windows-1252, the file's encoding, has no "
                                             "'\u0141' (U+0141)."));
        }
        m_prompts.Queue(Answer::Yes); // keep the lines the editor does not know
        Command("actionFileSave");
        EXPECT_EQ(m_folder.Read(name + ".odf"),
                  tarnwick_test::ReadData("cli/" + name + ".spaeher.expected.odf"));
    }
}
