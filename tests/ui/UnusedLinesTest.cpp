// A real unit file in the window: the line that counts what the editor does not know, its list,
// and the question, once per document, whether a save keeps those lines.

#include "EditorFixture.h"
#include "TankFile.h"
#include "TankFileWriter.h"
#include "UnusedLinesDlg.h"

#include <QLabel>
#include <QPushButton>

namespace {

// Written as a modder's file is: headers and keys in their own case, a comment, a trailing
// comment on a value, a section the editor does not know, CR LF line ends.
const std::string kHoverTank = "// Hover tank, balance pass 3\r\n"
                               "[GameObjectClass]\r\n"
                               "baseName = \"hvtank\"\r\n"
                               "maxHealth = 2200 // was 2000\r\n"
                               "weaponMask = 3\r\n"
                               "\r\n"
                               "[HoverCraftClass]\r\n"
                               "setAltitude = 2.5\r\n"
                               "soundThrust = \"hvthrust.wav\"\r\n"
                               "\r\n"
                               "[APCClass]\r\n"
                               "soundThrust = \"apc.wav\"\r\n"
                               "soldierCount = 4\r\n";

// The same file after a keeping save of maxHealth = 99.
std::string KeptWith99() {
    std::string kept = kHoverTank;
    const std::string old = "maxHealth = 2200 // was 2000";
    return kept.replace(kept.find(old), old.size(), "maxHealth = 99");
}

class UnusedLinesTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.Write("ALIAS.TXT", "");
        m_folder.Write("hover.odf", kHoverTank);
        m_folder.Write("plain.odf", kSampleTank);
        Start();
        OpenFresh();
    }
    // Opens hover.odf as it was first written, dropping unsaved changes.
    void OpenFresh() {
        m_folder.Write("hover.odf", kHoverTank);
        if (Modified())
            m_prompts.QueueAnswer(Answer::No);
        Open("hover.odf");
        m_prompts.TakeShown();
    }
    std::string Question() const {
        return "'" + m_folder.Path("hover.odf") +
               "' has 4 lines that are not fields the editor knows (unknown groups and keys, "
               "comments).\nKeep them in the saved file?";
    }
    std::string SaveHover() const { return "Save changes to '" + m_folder.Path("hover.odf") + "'?"; }
    // The count line's text, or "" while it is hidden.
    QString CountLine() const {
        auto* label = m_editor->findChild<QLabel*>("unusedLinesText");
        return label->isVisibleTo(m_editor.get()) ? label->text() : QString();
    }
    std::string Layout() const {
        CTankFile file;
        file.Load(m_folder.Path("hover.odf"));
        file.m_fields[6].m_nValue = 99;
        file.m_bCrLf = 1;
        return WriteTankText(file);
    }
};

TEST_F(UnusedLinesTest, TheCountLineListsTheLinesAndFollowsTheDocument) {
    // Headers and keys in another case than the editor's are read.
    EXPECT_EQ(TextOf(FieldItem(*m_editor, "GameObject", "maxHealth")), "maxHealth = 2200");
    EXPECT_EQ(TextOf(FieldItem(*m_editor, "GameObject", "weaponmask")), "weaponmask = 3");
    EXPECT_EQ(TextOf(FieldItem(*m_editor, "HovercraftClass", "soundThrust")),
              "soundThrust = \"hvthrust.wav\"");
    EXPECT_EQ(CountLine(), "4 lines of this file are not fields the editor knows.");

    using Row = std::vector<QString>;
    std::vector<Row> rows;
    WhenModalShows<CUnusedLinesDlg>([&](CUnusedLinesDlg* dialog) {
        auto* list = dialog->findChild<QTreeWidget*>("unusedLines");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows.push_back({item->text(0), item->text(1), item->text(2)});
        }
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::mouseClick(m_editor->findChild<QPushButton*>("unusedLinesShow"), Qt::LeftButton);
    EXPECT_EQ(rows, (std::vector<Row>{
                        {"1", "comment or other text", "// Hover tank, balance pass 3"},
                        {"11", "header names no group", "[APCClass]"},
                        {"12", "under a header that names no group", "soundThrust = \"apc.wav\""},
                        {"13", "under a header that names no group", "soldierCount = 4"},
                    }));

    m_editor->OnFileNew();
    EXPECT_EQ(CountLine(), "");
    OpenFresh();
    EXPECT_NE(CountLine(), "");
    Open("plain.odf");
    EXPECT_EQ(CountLine(), "");
    EXPECT_TRUE(m_prompts.TakeShown() == Shown{"[Open]"});
}

TEST_F(UnusedLinesTest, SaveAsksOncePerDocumentWhetherToKeepThem) {
    const struct {
        Answer answer;
        bool saved;
    } cases[] = {{Answer::Cancel, false}, {Answer::Yes, true}, {Answer::No, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        OpenFresh();
        const std::string layout = Layout();
        Modify();
        m_prompts.QueueAnswer(c.answer);
        m_editor->OnFileSave();
        EXPECT_EQ(m_prompts.TakeShown(), Shown{Question()});
        EXPECT_EQ(Modified(), !c.saved);
        const std::string expected =
            !c.saved ? kHoverTank : c.answer == Answer::Yes ? KeptWith99() : layout;
        EXPECT_EQ(m_folder.Read("hover.odf"), expected);
        // A layout save leaves no unused line; a keeping save keeps all four.
        EXPECT_EQ(CountLine().isEmpty(), c.answer == Answer::No);
        if (!c.saved)
            continue;
        // The answer holds for this document: the next save asks nothing.
        Modify();
        m_editor->OnFileSave();
        EXPECT_TRUE(m_prompts.TakeShown().empty());
        EXPECT_EQ(m_folder.Read("hover.odf"), expected);
    }
}

TEST_F(UnusedLinesTest, SaveAsAndTheSavePromptAskToo) {
    Modify();
    m_prompts.QueueAnswer(Answer::Cancel);
    m_editor->OnFileSaveAs();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{Question()}) << "no dialog after Cancel";

    m_prompts.QueueAnswer(Answer::Yes);
    m_prompts.QueuePath(m_folder.Path("copy.odf"));
    m_editor->OnFileSaveAs();
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{Question(), "[Save As .odf]"}));
    EXPECT_EQ(m_folder.Read("copy.odf"), KeptWith99());
    EXPECT_EQ(m_folder.Read("hover.odf"), kHoverTank);

    // Open asks anew. Cancel at the question cancels New; No lets it go on.
    OpenFresh();
    Modify();
    m_prompts.QueueAnswer(Answer::Yes);
    m_prompts.QueueAnswer(Answer::Cancel);
    m_editor->OnFileNew();
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{SaveHover(), Question()}));
    EXPECT_TRUE(Modified());
    EXPECT_EQ(m_folder.Read("hover.odf"), kHoverTank);

    const std::string layout = Layout();
    m_prompts.QueueAnswer(Answer::Yes);
    m_prompts.QueueAnswer(Answer::No);
    m_editor->OnFileNew();
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{SaveHover(), Question()}));
    EXPECT_EQ(Title(), "Tarnwick - [Untitled.odf]");
    EXPECT_EQ(m_folder.Read("hover.odf"), layout);
}

} // namespace
