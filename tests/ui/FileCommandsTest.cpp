#include "EditorFixture.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

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

TEST_F(FileCommandsTest, SaveAsksBeforeWritingOverAFileAnotherProgramChanged) {
    using std::filesystem::last_write_time;
    const struct {
        const char* change;
        std::function<void(const std::string&)> act;
        std::optional<Answer> answer; // none: nothing is asked
    } cases[] = {
        {"only touched",
         [](const std::string& path) {
             last_write_time(path, last_write_time(path) + std::chrono::hours(1));
         },
         std::nullopt},
        {"rewritten, as long",
         [](const std::string& path) {
             std::ofstream(path, std::ios::binary) << std::string(std::strlen(kSampleTank), 'x');
         },
         Answer::No},
        {"rewritten", [this](const std::string&) { m_folder.Write("tank.odf", "[Other]\n"); },
         Answer::Cancel},
        {"removed", [](const std::string& path) { std::filesystem::remove(path); }, Answer::Yes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        m_folder.Write("tank.odf", kSampleTank);
        if (Modified())
            m_prompts.QueueAnswer(Answer::No);
        OpenModified();
        c.act(TankPath());
        const std::string before = m_folder.Exists("tank.odf") ? m_folder.Read("tank.odf") : "";
        if (c.answer)
            m_prompts.QueueAnswer(*c.answer);
        m_editor->OnFileSave();
        EXPECT_EQ(m_prompts.TakeShown(), c.answer ? Shown{ChangedOnDisk()} : Shown{});
        const bool saved = !c.answer || *c.answer == Answer::Yes;
        EXPECT_EQ(m_folder.Read("tank.odf").find("maxHealth = 99") != std::string::npos, saved);
        EXPECT_EQ(StillModified(), !saved);
        if (!saved) {
            EXPECT_EQ(m_folder.Read("tank.odf"), before);
        }
    }
    // The save prompt asks too, and No there cancels the command that asked.
    Modify();
    m_folder.Write("tank.odf", "");
    m_prompts.QueueAnswer(Answer::Yes);
    m_prompts.QueueAnswer(Answer::No);
    m_editor->OnFileExit();
    EXPECT_EQ(m_prompts.TakeShown(), (Shown{SaveTank(), ChangedOnDisk()}));
    EXPECT_TRUE(m_editor->isVisible());
}

TEST_F(FileCommandsTest, DroppingOneFileOpensItAsFileOpenDoes) {
    OpenModified();
    m_folder.Write("other.odf", "[GameObject]\nmaxHealth = 5\n");
    // Dropped anywhere on the window: over the value box and the tree too.
    auto drop = [](QWidget* target, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return enter.isAccepted();
    };
    const QUrl tank = QUrl::fromLocalFile(QString::fromStdString(TankPath()));
    const QUrl other = QUrl::fromLocalFile(QString::fromStdString(m_folder.Path("other.odf")));
    QWidget* box = ValueBoxOf(*m_editor)->lineEdit();
    EXPECT_FALSE(drop(box, {tank, other}));
    EXPECT_FALSE(drop(m_editor.get(), {QUrl(QStringLiteral("https://example.org/a.odf"))}));
    EXPECT_TRUE(m_prompts.m_shown.empty());
    EXPECT_TRUE(StillModified());

    m_prompts.QueueAnswer(Answer::Cancel);
    EXPECT_TRUE(drop(box, {other}));
    EXPECT_EQ(m_prompts.TakeShown(), Shown{SaveTank()});
    EXPECT_TRUE(StillModified());
    EXPECT_TRUE(ValueBoxOf(*m_editor)->EditText().isEmpty()) << "no path typed into the box";

    m_prompts.QueueAnswer(Answer::No);
    EXPECT_TRUE(drop(TreeOf(*m_editor)->viewport(), {other}));
    EXPECT_EQ(m_prompts.TakeShown(), Shown{SaveTank()});
    EXPECT_EQ(Title().toStdString(), TitleOf("other.odf"));
    EXPECT_EQ(TextOf(FieldItem(*m_editor, "GameObject", "maxHealth")), "maxHealth = 5");
}
