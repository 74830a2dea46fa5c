// A real unit file in the window: the line that counts what the editor does not know, its list,
// and the question, once per document, whether a save keeps those lines.

#include "EditorFixture.h"
#include "TankFile.h"
#include "TankFileWriter.h"
#include "UnusedLinesDlg.h"

#include <QHeaderView>
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

class UnusedLinesTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.Write("ALIAS.TXT", "");
        m_folder.Write("plain.odf", kSampleTank);
        Start();
        OpenFresh();
    }
    // Opens hover.odf as it was first written, dropping unsaved changes.
    void OpenFresh() {
        m_folder.Write("hover.odf", kHoverTank);
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
    // The file as the three answers save it with maxHealth = 99: as it was, kept, laid out anew.
    std::string Saved(Answer answer) const {
        std::string kept = kHoverTank;
        const std::string old = "maxHealth = 2200 // was 2000";
        if (answer == Answer::Yes)
            return kept.replace(kept.find(old), old.size(), "maxHealth = 99");
        if (answer == Answer::Cancel)
            return kHoverTank;
        CTankFile file;
        file.Load(m_folder.Path("hover.odf"));
        file.m_fields[6].m_nValue = 99;
        return WriteTankText(file);
    }
    const std::string m_question = "'" + m_folder.Path("hover.odf") +
                                   "' has 4 lines that are not fields the editor knows (unknown "
                                   "groups and keys, comments).\nKeep them in the saved file?";
    const std::string m_ask = "Save changes to '" + m_folder.Path("hover.odf") + "'?";
};

} // namespace

TEST_F(UnusedLinesTest, TheCountLineListsTheLinesAndFollowsTheDocument) {
    // Headers and keys in another case than the editor's are read.
    EXPECT_EQ(ItemText("GameObject", "maxHealth"), "maxHealth = 2200");
    EXPECT_EQ(ItemText("GameObject", "weaponmask"), "weaponmask = 3");
    EXPECT_EQ(ItemText("HovercraftClass", "soundThrust"), "soundThrust = \"hvthrust.wav\"");
    EXPECT_EQ(CountLine(), "4 lines of this file are not fields the editor knows.");

    std::vector<QStringList> rows;
    WhenModalShows<CUnusedLinesDlg>([&rows](CUnusedLinesDlg* dialog) {
        auto* list = dialog->findChild<QTreeWidget*>("unusedLines");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows.push_back({item->text(0), item->text(1), item->text(2)});
            // Each column is wide enough for its texts.
            for (int column = 0; column < 3; ++column)
                EXPECT_GE(list->header()->sectionSize(column),
                          list->fontMetrics().horizontalAdvance(item->text(column)));
        }
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::mouseClick(m_editor->findChild<QPushButton*>("unusedLinesShow"), Qt::LeftButton);
    EXPECT_EQ(rows, (std::vector<QStringList>{
                        {"1", "comment or other text", "// Hover tank, balance pass 3"},
                        {"11", "header names no group", "[APCClass]"},
                        {"12", "under a header that names no group", "soundThrust = \"apc.wav\""},
                        {"13", "under a header that names no group", "soldierCount = 4"},
                    }));

    Command("File", "New");
    EXPECT_EQ(CountLine(), "");
    OpenFresh();
    EXPECT_NE(CountLine(), "");
    Open("plain.odf");
    EXPECT_EQ(CountLine(), "");
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
}

TEST_F(UnusedLinesTest, SaveAsksOncePerDocumentWhetherToKeepThem) {
    for (Answer answer : {Answer::Cancel, Answer::Yes, Answer::No}) {
        SCOPED_TRACE(static_cast<int>(answer));
        OpenFresh();
        const std::string saved = Saved(answer);
        Modify();
        m_prompts.Queue(answer);
        Command("File", "Save");
        EXPECT_EQ(m_prompts.TakeShown(), Shown{m_question});
        EXPECT_EQ(Modified(), answer == Answer::Cancel);
        EXPECT_EQ(m_folder.Read("hover.odf"), saved);
        // A layout save leaves no unused line; a keeping save keeps all four.
        EXPECT_EQ(CountLine().isEmpty(), answer == Answer::No);
        if (answer == Answer::Cancel)
            continue;
        // The answer holds for this document: the next save asks nothing.
        Modify();
        Command("File", "Save");
        EXPECT_TRUE(m_prompts.TakeShown().empty());
        EXPECT_EQ(m_folder.Read("hover.odf"), saved);
    }
}

TEST_F(UnusedLinesTest, SaveAsAndTheSavePromptAskToo) {
    Modify();
    m_prompts.Queue(Answer::Cancel);
    Command("File", "Save As");
    EXPECT_EQ(m_prompts.TakeShown(), Shown{m_question}) << "no dialog after Cancel";
    m_prompts.Queue(Answer::Yes);
    m_prompts.Queue(m_folder.Path("copy.odf"));
    Command("File", "Save As");
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{m_question, "[Save As .odf]"}));
    EXPECT_EQ(m_folder.Read("copy.odf"), Saved(Answer::Yes));
    EXPECT_EQ(m_folder.Read("hover.odf"), kHoverTank);

    // Open asks anew. Cancel at the question cancels New; No lets it go on.
    OpenFresh();
    Modify();
    const std::string layout = Saved(Answer::No);
    for (Answer answer : {Answer::Cancel, Answer::No}) {
        m_prompts.Queue(Answer::Yes);
        m_prompts.Queue(answer);
        Command("File", "New");
        EXPECT_EQ(m_prompts.TakeShown(), (Shown{m_ask, m_question}));
        EXPECT_EQ(m_folder.Read("hover.odf"), answer == Answer::No ? layout : kHoverTank);
    }
    EXPECT_EQ(Title(), TitleOf("Untitled.odf"));
}
