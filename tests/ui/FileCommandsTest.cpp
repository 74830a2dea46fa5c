#include "EditorFixture.h"

#include <QDir>

namespace {
const std::string kSaveUntitled = "Save changes to 'Untitled.odf'?";
} // namespace

class FileCommandsTest : public EditorTest {
protected:
    void SetUp() override {
        m_folder.Write("ALIAS.TXT", "");
        m_folder.Write("tank.odf", kSampleTank);
        Start();
    }
    // Opens tank.odf and gives it an unsaved change.
    void OpenModified() {
        Open("tank.odf");
        m_prompts.TakeShown();
        Modify();
    }
    std::string TankPath() const { return m_folder.Path("tank.odf"); }
    std::string SaveTank() const { return "Save changes to '" + TankPath() + "'?"; }
    std::string ChangedOnDisk(const std::string& name = "tank.odf") const {
        return "'" + m_folder.Path(name) +
               "' has been changed by another program since it was opened.\nSave your version "
               "over it?";
    }
    // The title of tank.odf with changes, and the change Modify() made.
    bool StillModified() {
        return Title().toStdString() == TitleOf("tank.odf", true) &&
               m_editor->Document().m_fields[6].m_bPresent != 0;
    }
    bool MaxHealthSet() { return m_editor->Document().m_fields[6].m_bPresent != 0; }
};

TEST_F(FileCommandsTest, CommandsOnAnUnchangedDocumentAskNothing) {
    m_editor->OnFileNew();
    EXPECT_TRUE(m_prompts.m_shown.empty());
    Open("tank.odf");
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Open]"});
    EXPECT_EQ(Title().toStdString(), TitleOf("tank.odf"));
    m_editor->OnFileExit();
    EXPECT_FALSE(m_editor->isVisible());
    m_editor->show();
    QTest::keyClick(TreeOf(*m_editor), Qt::Key_Escape);
    EXPECT_FALSE(m_editor->isVisible());
    EXPECT_TRUE(m_prompts.m_shown.empty());
}

TEST_F(FileCommandsTest, OpenCancelledOrFailedKeepsTheDocument) {
    OpenModified();
    const QString before = TextOf(FieldItem(*m_editor, "GameObject", "maxHealth"));

    m_prompts.QueueAnswer(Answer::No);
    m_prompts.QueuePath(std::nullopt);
    m_editor->OnFileOpen();
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{SaveTank(), "[Open]"}));
    EXPECT_TRUE(StillModified());

    const std::string missing = m_folder.Path("missing.odf");
    m_prompts.QueueAnswer(Answer::No);
    m_prompts.QueuePath(missing);
    m_editor->OnFileOpen();
    EXPECT_EQ(m_prompts.TakeShown(),
              (Shown{SaveTank(), "[Open]", "Error opening tank file '" + missing + "'.",
                     "Error loading tank file '" + missing + "'."}));
    EXPECT_TRUE(StillModified());
    EXPECT_EQ(TextOf(FieldItem(*m_editor, "GameObject", "maxHealth")), "maxHealth = 99");
    EXPECT_EQ(before, "maxHealth = 1500") << "the failed open rebuilt the tree";

    // Cancel at the question stops before the dialog, and the title stays as it was.
    m_prompts.QueueAnswer(Answer::Cancel);
    m_editor->OnFileOpen();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{SaveTank()});
}

TEST_F(FileCommandsTest, NewWithChangesAnsweredCancelNoAndYes) {
    OpenModified();
    m_prompts.QueueAnswer(Answer::Cancel);
    m_editor->OnFileNew();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{SaveTank()});
    EXPECT_TRUE(StillModified());

    m_prompts.QueueAnswer(Answer::No);
    m_editor->OnFileNew();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{SaveTank()});
    EXPECT_EQ(Title(), "Tarnwick - [Untitled.odf]");
    EXPECT_EQ(m_folder.Read("tank.odf"), kSampleTank);

    OpenModified();
    m_prompts.QueueAnswer(Answer::Yes);
    m_editor->OnFileNew();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{SaveTank()});
    EXPECT_EQ(Title(), "Tarnwick - [Untitled.odf]");
    EXPECT_NE(m_folder.Read("tank.odf").find("maxHealth = 99\n"), std::string::npos);
}

TEST_F(FileCommandsTest, YesOnANeverSavedDocumentAsksForAName) {
    Modify();
    m_prompts.QueueAnswer(Answer::Yes);
    m_prompts.QueuePath(std::nullopt);
    m_editor->OnFileNew();
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{kSaveUntitled, "[Save As .odf]"}));
    EXPECT_TRUE(MaxHealthSet()) << "cancelling the dialog cancels New";
    EXPECT_FALSE(m_folder.Exists("Untitled.odf"));

    m_prompts.QueueAnswer(Answer::Yes);
    m_prompts.QueuePath(m_folder.Path("named.odf"));
    m_editor->OnFileNew();
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{kSaveUntitled, "[Save As .odf]"}));
    EXPECT_FALSE(MaxHealthSet());
    EXPECT_NE(m_folder.Read("named.odf").find("maxHealth = 99\n"), std::string::npos);
    EXPECT_FALSE(m_folder.Exists("Untitled.odf"));
}

TEST_F(FileCommandsTest, YesWhoseSaveFailsStopsTheCommand) {
    // A document whose file has become a folder cannot be written back.
    OpenModified();
    QFile::remove(QString::fromStdString(TankPath()));
    QDir().mkdir(QString::fromStdString(TankPath()));
    const std::string error = "Error saving tank file '" + TankPath() + "'.";

    for (void (CEditorDlg::*command)() :
         {&CEditorDlg::OnFileNew, &CEditorDlg::OnFileOpen, &CEditorDlg::OnFileExit}) {
        m_prompts.QueueAnswer(Answer::Yes);
        m_prompts.QueueAnswer(Answer::Yes);
        (m_editor.get()->*command)();
        EXPECT_EQ(m_prompts.TakeShown(), (Shown{SaveTank(), ChangedOnDisk(), error}));
    }
    EXPECT_TRUE(m_editor->isVisible());
    EXPECT_TRUE(StillModified());
}

TEST_F(FileCommandsTest, SaveWritesAtOnceOrAsksForANameFirst) {
    Modify();
    m_prompts.QueuePath(std::nullopt);
    m_editor->OnFileSave();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Save As .odf]"});
    EXPECT_FALSE(m_folder.Exists("Untitled.odf"));
    EXPECT_EQ(Title(), "Tarnwick - [Untitled.odf *]");

    m_prompts.QueuePath(m_folder.Path("first.odf"));
    m_editor->OnFileSave();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"[Save As .odf]"});
    EXPECT_EQ(Title().toStdString(), TitleOf("first.odf"));
    EXPECT_EQ(m_folder.Read("first.odf"), "[GameObject]\n\nmaxHealth = 99\n\n[CraftClass]\n\n\n"
                                          "[WingmanClass]\n\n\n[HovercraftClass]\n\n\n"
                                          "[TurrettankClass]\n\n\n[WalkerClass]\n\n\n"
                                          "[ProducerClass]\n\n\n[ArmoryClass]\n\n\n"
                                          "[PersonClass]\n\n\n");

    // Another program emptied the file: Yes saves over it.
    m_folder.Write("first.odf", "");
    Modify();
    m_prompts.QueueAnswer(Answer::Yes);
    m_editor->OnFileSave();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{ChangedOnDisk("first.odf")});
    EXPECT_NE(m_folder.Read("first.odf").find("maxHealth = 99\n"), std::string::npos);
    EXPECT_EQ(Title().toStdString(), TitleOf("first.odf"));
}

TEST_F(FileCommandsTest, SaveAsThatFailsKeepsTheNewPathModified) {
    OpenModified();
    const std::string bad = m_folder.Path("no-such-folder/tank.odf");
    m_prompts.QueuePath(bad);
    m_editor->OnFileSaveAs();
    EXPECT_EQ(m_prompts.TakeShown(),
              (Shown{"[Save As .odf]", "Error saving tank file '" + bad + "'."}));
    EXPECT_EQ(Title().toStdString(), "Tarnwick - [" + bad + " *]");
    EXPECT_EQ(TextOf(FieldItem(*m_editor, "GameObject", "maxHealth")), "maxHealth = 1500")
        << "Save As does not rebuild the tree";

    // A later Save tries the new path.
    m_editor->OnFileSave();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{"Error saving tank file '" + bad + "'."});
}

TEST_F(FileCommandsTest, EveryWayOfClosingAsksAboutChanges) {
    OpenModified();
    auto tryClose = [&](const char* route, const std::function<void()>& close) {
        m_prompts.QueueAnswer(Answer::Cancel);
        close();
        EXPECT_EQ(m_prompts.TakeShown(), Shown{SaveTank()}) << route;
        EXPECT_TRUE(m_editor->isVisible()) << route;
    };
    tryClose("File > Exit", [&] { m_editor->OnFileExit(); });
    tryClose("Escape in the tree", [&] { QTest::keyClick(TreeOf(*m_editor), Qt::Key_Escape); });
    tryClose("Escape in the value box",
             [&] { QTest::keyClick(ValueBoxOf(*m_editor), Qt::Key_Escape); });
    tryClose("the close box or the window manager", [&] { m_editor->close(); });

    // Enter applies a value; it never closes the window nor asks anything.
    QTest::keyClick(TreeOf(*m_editor), Qt::Key_Return);
    QTest::keyClick(ValueBoxOf(*m_editor), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(m_prompts.m_shown.empty());
    EXPECT_TRUE(m_editor->isVisible());

    m_prompts.QueueAnswer(Answer::No);
    m_editor->close();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{SaveTank()});
    EXPECT_FALSE(m_editor->isVisible());
    EXPECT_EQ(m_folder.Read("tank.odf"), kSampleTank);
}
