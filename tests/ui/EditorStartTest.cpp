#include "EditorFixture.h"

#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

const std::string kAliasMessage =
    "Error loading alias file 'alias.txt'.\nNo tank aliases will be used.";

} // namespace

TEST_F(EditorTest, StartWithoutAliasFileShowsTheMessageBeforeTheWindowWithShortcutsOff) {
    bool checkedDuringMessage = false;
    m_prompts.m_onShow = [&](const std::string&) {
        EXPECT_FALSE(m_editor->isVisible());
        // Not one of the File commands may run yet: each would prompt or change the title.
        for (auto key : {Qt::Key_N, Qt::Key_O, Qt::Key_S})
            QTest::keyClick(TreeOf(*m_editor), key, Qt::ControlModifier);
        EXPECT_EQ(m_prompts.m_shown.size(), 1u);
        checkedDuringMessage = true;
    };
    Start();
    m_prompts.m_onShow = nullptr;
    EXPECT_TRUE(checkedDuringMessage);
    EXPECT_EQ(m_prompts.TakeShown(), Shown{kAliasMessage});
    EXPECT_TRUE(m_editor->isVisible());
    EXPECT_EQ(ShownTitle(*m_editor), "Tarnwick - [Untitled.odf]");
}

TEST_F(EditorTest, StartWithEitherSpellingOfTheAliasFileShowsNoMessage) {
    for (const char* name : {"ALIAS.TXT", "alias.txt"}) {
        CScratchFolder folder;
        folder.Write(name, "apc.odf APC\n");
        CEditorDlg editor(m_prompts);
        editor.Initialise();
        EXPECT_TRUE(m_prompts.TakeShown().empty()) << name;
    }
}

TEST_F(EditorTest, FirstShownWindowIsReadyForWork) {
    m_folder.Write("ALIAS.TXT", "");
    Start();
    EXPECT_TRUE(m_prompts.m_shown.empty());

    for (auto [name, text] : {std::pair{"fieldCaption", "Field:"},
                              {"typeCaption", "Type:"},
                              {"descriptionCaption", "Description:"}}) {
        EXPECT_EQ(LabelOf(*m_editor, name)->text(), text);
        EXPECT_TRUE(LabelOf(*m_editor, name)->font().bold()) << name;
    }
    for (const char* name : {"fieldText", "typeText", "descriptionText"})
        EXPECT_TRUE(LabelOf(*m_editor, name)->text().isEmpty()) << name;
    EXPECT_FALSE(LabelOf(*m_editor, "logo")->pixmap().isNull());

    CValueComboBox* valueBox = ValueBoxOf(*m_editor);
    EXPECT_TRUE(valueBox->isEnabled() && valueBox->isEditable());
    EXPECT_TRUE(valueBox->EditText().isEmpty());

    QTreeWidget* tree = TreeOf(*m_editor);
    EXPECT_EQ(m_editor->focusWidget(), tree);
    EXPECT_TRUE(tree->selectedItems().isEmpty());
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        EXPECT_FALSE(tree->topLevelItem(i)->isExpanded());
    EXPECT_FALSE(m_editor->windowIcon().isNull());
}

TEST_F(EditorTest, MenusCarryTheirItemsWithMnemonicsAndShortcutTexts) {
    m_folder.Write("ALIAS.TXT", "");
    Start();
    std::vector<std::string> menus;
    for (QAction* menu : m_editor->findChild<QMenuBar*>()->actions()) {
        std::string line = menu->text().toStdString() + ":";
        for (QAction* item : menu->menu()->actions())
            line += " " + (item->isSeparator() ? std::string("|") : item->text().toStdString());
        menus.push_back(line);
    }
    EXPECT_EQ(menus, (std::vector<std::string>{
                         "&File: &New\tCtrl-N &Open...\tCtrl-O | &Save\tCtrl-S Save &As... | E&xit",
                         "&Edit: &Undo\tCtrl+Z &Redo\tCtrl+Shift+Z | &Find\tCtrl+F",
                         "&Template: &Load Set... &Save Set... &Edit Set...",
                         "&Help: &About Tarnwick... &Tarnwick Web Site... &Brindlemoor Web Site...",
                     }));
}

TEST_F(EditorTest, StartPathOpensAfterTheAliasStepAsFileOpenWould) {
    m_folder.Write("tank.odf", kSampleTank);
    m_editor = std::make_unique<CEditorDlg>(m_prompts);
    m_editor->SetStartPath(m_folder.Path("tank.odf"));
    m_editor->Initialise();
    EXPECT_EQ(m_prompts.TakeShown(), Shown{kAliasMessage});
    EXPECT_EQ(Title().toStdString(), TitleOf("tank.odf"));
    EXPECT_TRUE(IsBold(FieldItem(*m_editor, "GameObject", "maxHealth")));

    // A missing file: the alias message, then both load messages; the new document stays.
    CEditorDlg missing(m_prompts);
    missing.SetStartPath(m_folder.Path("missing.odf"));
    missing.Initialise();
    const std::string path = m_folder.Path("missing.odf");
    EXPECT_EQ(m_prompts.TakeShown(),
              (Shown{kAliasMessage, "Error opening tank file '" + path + "'.",
                     "Error loading tank file '" + path + "'."}));
    EXPECT_EQ(missing.windowTitle(), "Tarnwick - [Untitled.odf]");
}

TEST_F(EditorTest, TitleFollowsTheDocumentAndKeepsAPathsLiteralPlaceholder) {
    m_folder.Write("ALIAS.TXT", "");
    Start();
    Modify();
    EXPECT_EQ(ShownTitle(*m_editor), "Tarnwick - [Untitled.odf *]");

    // Qt would read "[*]" as its modified mark and drop it from what the user sees.
    m_folder.Write("odd[*].odf", kSampleTank);
    m_prompts.QueueAnswer(Answer::No);
    Open("odd[*].odf");
    EXPECT_EQ(ShownTitle(*m_editor).toStdString(), TitleOf("odd[*].odf"));

    // A path that is not UTF-8 is shown a character a byte.
    m_folder.Write("caf\xe9.odf", kSampleTank);
    Open("caf\xe9.odf");
    EXPECT_TRUE(ShownTitle(*m_editor).endsWith(QStringLiteral("caf\u00e9.odf]")));
    EXPECT_EQ(m_prompts.TakeShown(),
              (Shown{"Save changes to 'Untitled.odf'?", "[Open]", "[Open]"}));
}

namespace {

// Receives the addresses the editor asks the desktop to open.
class CUrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> m_urls;
public slots:
    void Open(const QUrl& url) { m_urls.push_back(url); }
};

} // namespace

TEST_F(EditorTest, HelpShowsTheAboutBoxAndOpensBothWebAddresses) {
    m_folder.Write("ALIAS.TXT", "");
    Start();
    WhenModalShows<QDialog>([](QDialog* about) {
        EXPECT_EQ(about->windowTitle(), "About Tarnwick");
        QStringList texts;
        bool logo = false;
        for (QLabel* label : about->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull())
                logo = true;
            else
                texts << label->text();
        }
        EXPECT_TRUE(logo);
        EXPECT_EQ(texts, (QStringList{"Tarnwick Tank Editor", "v1.0", "Made by Brindlemoor"}));
        auto* ok = about->findChild<QPushButton*>();
        EXPECT_TRUE(ok->text() == "OK" && ok->isDefault());
        QTest::keyClick(about, Qt::Key_Return);
    });
    m_editor->OnHelpAbout();

    CUrlCatcher catcher;
    for (const char* scheme : {"http", "https"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "Open");
    m_editor->OnHelpProgramWebSite();
    m_editor->OnHelpGroupWebSite();
    for (const char* scheme : {"http", "https"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    EXPECT_EQ(catcher.m_urls, (std::vector<QUrl>{QUrl(QStringLiteral(TARNWICK_PROGRAM_URL)),
                                                 QUrl(QStringLiteral(TARNWICK_GROUP_URL))}));
    EXPECT_TRUE(m_prompts.m_shown.empty());
}

#include "EditorStartTest.moc"
