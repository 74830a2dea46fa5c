// A real unit file in the window: the line that counts what the editor does not know, its list,
// and the question, once per document, whether a save keeps those lines.

#include "EditorFixture.h"
#include "TankFile.h"
#include "TestSupport.h"
#include "UnusedLinesDlg.h"

#include <QLabel>
#include <QPushButton>

namespace {

// hover.odf is written as a modder's file is: headers and keys in their own case, a comment, a
// trailing comment on a value, a section the editor does not know, CR LF line ends.
class UnusedLinesTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.CopyUiTestData({"tank.odf"});
        StartOn("hover.odf");
    }
    // Opens hover.odf as it was first written, dropping unsaved changes.
    void OpenFresh() {
        m_folder.Write("hover.odf", m_hover);
        if (Modified())
            m_prompts.Queue(Answer::No);
        Open("hover.odf");
        m_prompts.TakeShown();
    }
    // The count line's text, or "" while it is hidden.
    QString CountLine() const {
        auto* label = m_editor->findChild<QLabel*>("unusedLinesText");
        return label->isVisibleTo(m_editor.get()) ? label->text() : QString();
    }
    // The list that Show opens, clicked or by Alt+S, a line "line: reason: text" a row, as check
    // prints them.
    std::string ShownLines(const std::string& file, bool byKey = false) {
        std::string rows;
        bool shown = false;
        WhenModalShows<CUnusedLinesDlg>([&](CUnusedLinesDlg* dialog) {
            auto* list = dialog->findChild<QTreeWidget*>("unusedLines");
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = list->topLevelItem(i);
                rows += file + ":" +
                        (item->text(0) + ": " + item->text(1) + ": " + item->text(2) + "\n")
                            .toStdString();
            }
            QTest::keyClick(dialog, Qt::Key_Escape);
            shown = true;
        });
        if (byKey)
            Key(Qt::Key_S, Qt::AltModifier);
        else
            QTest::mouseClick(m_editor->findChild<QPushButton*>("unusedLinesShow"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&shown] { return shown; }));
        return rows;
    }
    // The file as each answer saves it with maxHealth = 99: as it was, kept, laid out anew.
    std::string Saved(Answer answer) const {
        std::string kept = m_hover;
        const std::string old = "maxHealth = 2200 // was 2000";
        if (answer != Answer::No)
            return answer == Answer::Cancel
                       ? m_hover
                       : kept.replace(kept.find(old), old.size(), "maxHealth = 99 // was 2000");
        CTankFile file;
        file.Load(m_folder.Path("hover.odf"));
        tarnwick_test::Field(file, "GameObject.maxHealth").m_nValue = 99;
        return file.Text();
    }
    const std::string m_hover = tarnwick_test::ReadBytes(tarnwick_test::DataPath("ui/hover.odf"));
    const std::string m_question = "'" + m_folder.Path("hover.odf") +
                                   "' has 5 lines that are not fields the editor knows (unknown "
                                   "groups and keys, comments).\nKeep them in the saved file?";
};

} // namespace

TEST_F(UnusedLinesTest, TheCountLineListsTheLinesAndEverySaveAsksOnceWhetherToKeepThem) {
    // A header in another case than the editor's is read; the unknown section after it sets
    // nothing.
    EXPECT_EQ(ItemText("HovercraftClass", "soundThrust"), "soundThrust = \"hvthrust.wav\"");
    EXPECT_EQ(CountLine(), "5 lines of this file are not fields the editor knows.");

    EXPECT_EQ(ShownLines("h"),
              "h:1: comment or other text: // Hover tank, balance pass 3\n"
              "h:4: comment beside the value: maxHealth = 2200 // was 2000\n"
              "h:11: header names no group: [APCClass]\n"
              "h:12: under a header that names no group: soundThrust = \"apc.wav\"\n"
              "h:13: under a header that names no group: soldierCount = 4\n");

    Command("actionFileNew");
    EXPECT_EQ(CountLine(), "");
    OpenFresh();
    EXPECT_NE(CountLine(), "");
    Open("tank.odf");
    EXPECT_EQ(CountLine(), "");
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});

    // Lines whose value is read unlike it looks are listed beside the unused lines, with the
    // reasons check gives, but counted apart: nothing drops them.
    m_folder.Write("misread.odf", tarnwick_test::ReadData("cli/misread.odf"));
    Open("misread.odf");
    EXPECT_EQ(CountLine(), "5 lines of this file are not fields the editor knows; 8 values are "
                           "read unlike they look.");
    // Tab goes round the window without stopping at Show; Alt+S shows the list from anywhere.
    auto* show = m_editor->findChild<QPushButton*>("unusedLinesShow");
    for (int i = 0; i < 5; ++i) {
        Key(Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), show) << i;
    }
    EXPECT_EQ(ShownLines("misread.odf", true),
              tarnwick_test::ReadData("cli/check_misread.expected"));
    // Only values misread: the line names them alone, in the singular for one.
    m_folder.Write("one.odf", "[GameObject]\nmaxHealth = 1x\n");
    Open("one.odf");
    EXPECT_EQ(CountLine(), "1 value of this file is read unlike it looks.");
    m_folder.Write("one.odf", "[GameObject]\nmaxHealth = 1\n// a\n");
    Open("one.odf");
    EXPECT_EQ(CountLine(), "1 line of this file is not a field the editor knows.");

    for (Answer answer : {Answer::Cancel, Answer::Yes, Answer::No}) {
        SCOPED_TRACE(static_cast<int>(answer));
        OpenFresh();
        const std::string saved = Saved(answer);
        Modify();
        m_prompts.Queue(answer);
        Command("actionFileSave");
        EXPECT_EQ(m_prompts.TakeShown(), Shown{m_question});
        EXPECT_EQ(Modified(), answer == Answer::Cancel);
        EXPECT_EQ(m_folder.Read("hover.odf"), saved);
        // A layout save leaves no unused line; a keeping save keeps all five.
        EXPECT_EQ(CountLine().isEmpty(), answer == Answer::No);
        // The answer holds for this document: the next save asks nothing.
        Type(QStringLiteral("8"));
        if (answer == Answer::Cancel)
            m_prompts.Queue(answer);
        Command("actionFileSave");
        EXPECT_EQ(m_prompts.TakeShown(), answer == Answer::Cancel ? Shown{m_question} : Shown{});
    }

    // Save As asks too, before its dialog; so does the save prompt of New, whose Cancel there
    // cancels New.
    OpenFresh();
    Modify();
    m_prompts.Queue(Answer::Cancel);
    Command("actionFileSaveAs");
    m_prompts.Queue(Answer::Yes);
    m_prompts.Queue(m_folder.Path("copy.odf"));
    Command("actionFileSaveAs");
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{m_question, m_question, "[Save As .odf]"}));
    EXPECT_EQ(m_folder.Read("copy.odf"), Saved(Answer::Yes));
    const std::string ask = "Save changes to '" + m_folder.Path("hover.odf") + "'?";
    OpenFresh();
    Modify();
    const std::string layout = Saved(Answer::No);
    for (Answer answer : {Answer::Cancel, Answer::No}) {
        m_prompts.Queue(Answer::Yes);
        m_prompts.Queue(answer);
        Command("actionFileNew");
        EXPECT_EQ(m_prompts.TakeShown(), (Shown{ask, m_question}));
        EXPECT_EQ(m_folder.Read("hover.odf"), answer == Answer::No ? layout : m_hover);
    }
    EXPECT_EQ(Title(), TitleOf("Untitled.odf"));

    // A file with no line the editor does not know is saved as it was but for the value typed,
    // without a question, by Save and Save As alike; a new document is written in the layout.
    const std::string one = tarnwick_test::ReadData("model/thunder.one.odf");
    m_folder.Write("thunder.odf", tarnwick_test::ReadData("model/thunder.odf"));
    Open("thunder.odf");
    EXPECT_EQ(CountLine(), "");
    Select("GameObject", "weaponmask");
    Key(Qt::Key_A, Qt::ControlModifier);
    Type(QStringLiteral("00111"));
    EXPECT_EQ(ItemText("GameObject", "weaponmask"), "weaponmask = 111");
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
    EXPECT_EQ(m_folder.Read("thunder.odf"), one);
    EXPECT_FALSE(Modified());
    m_prompts.Queue(m_folder.Path("copy.odf"));
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Save As .odf]"});
    EXPECT_EQ(m_folder.Read("copy.odf"), one);
    EXPECT_EQ(Title(), TitleOf("copy.odf"));

    Command("actionFileNew");
    Modify();
    m_prompts.Queue(m_folder.Path("new.odf"));
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(
        m_folder.Read("new.odf").starts_with("[GameObject]\n\nmaxHealth = 99\n\n[CraftClass]\n"));
}
