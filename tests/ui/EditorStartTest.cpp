#include "EditorFixture.h"

#include "HelpLink.h"

#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

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

// The alias file is optional: without one nothing is said, and templates go by their file names.
// One that cannot be read is the program's test's (EditorAppTest).
TEST_F(EditorTest, TheFirstWindowIsReadyItsPanelOfFixedWidthItsMenusAndHelpInPlace) {
    Start();
    EXPECT_TRUE(m_prompts.m_shown.empty());
    auto label = [this](const char* name) { return m_editor->findChild<QLabel*>(name); };
    for (const char* name : {"fieldCaption", "typeCaption", "descriptionCaption"})
        EXPECT_TRUE(label(name)->font().bold()) << name;
    for (const char* name : {"fieldText", "typeText", "descriptionText", "noteText"})
        EXPECT_TRUE(label(name)->text().isEmpty()) << name;
    EXPECT_TRUE(m_box->isEnabled() && m_box->isEditable() && Edit().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), m_tree);
    EXPECT_TRUE(m_tree->selectedItems().isEmpty());
    EXPECT_FALSE(m_editor->windowIcon().isNull());

    // The panel reads top down: the value box level with the filter box, then each caption
    // left of its text, the description, the logo.
    Select("GameObject", "maxHealth");
    auto at = [this](const char* name) {
        const auto* part = m_editor->findChild<QWidget*>(name);
        return QRect(part->mapTo(m_editor.get(), QPoint()), part->size());
    };
    EXPECT_EQ(at("valueBox").top(), at("filter").top());
    EXPECT_LT(at("valueBox").bottom(), at("fieldCaption").top());
    for (auto [caption, text] :
         {std::pair{"fieldCaption", "fieldText"}, {"typeCaption", "typeText"}}) {
        EXPECT_EQ(at(caption).top(), at(text).top()) << text;
        EXPECT_LT(at(caption).right(), at(text).left()) << text;
        EXPECT_EQ(at(text).left(), at("fieldText").left()) << text;
    }
    const char* column[] = {"fieldText", "typeText", "descriptionCaption", "descriptionText",
                            "logo"};
    for (int i = 1; i < 5; ++i)
        EXPECT_LT(at(column[i - 1]).bottom(), at(column[i]).top()) << column[i];

    // Whatever it shows, and however wide the window, the panel keeps its width: narrower or
    // wider windows change the tree.
    QWidget* panel = m_box->parentWidget();
    const int width = panel->width();
    EXPECT_GE(width, label("logo")->pixmap().width());
    for (QTreeWidgetItem* item : m_tree->findItems({}, Qt::MatchContains | Qt::MatchRecursive)) {
        m_tree->setCurrentItem(item);
        QApplication::processEvents();
        EXPECT_EQ(panel->width(), width) << item->text(0).toStdString();
    }
    for (int change : {-300, 300}) {
        const int tree = m_tree->width();
        m_editor->resize(m_editor->width() + change, m_editor->height());
        EXPECT_TRUE(QTest::qWaitFor([&] { return (m_tree->width() > tree) == (change > 0); }));
        EXPECT_EQ(panel->width(), width);
    }
    // A group leaves the value box disabled (the value editing test's), nothing selected makes
    // it ready.
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    m_tree->clearSelection();
    EXPECT_TRUE(m_box->isEnabled());

    m_folder.CopyUiTestData({"tank.odf"});
    // Qt would read "[*]" as its modified mark; a path that is not UTF-8 shows a character a
    // byte.
    m_folder.Write("odd[*].odf", m_folder.Read("tank.odf"));
    m_folder.Write("caf\xe9.odf", m_folder.Read("tank.odf"));
    Open("odd[*].odf");
    EXPECT_EQ(Title(), TitleOf("odd[*].odf"));
    Open("caf\xe9.odf");
    EXPECT_TRUE(Title().ends_with("caf\xc3\xa9.odf]")) << Title();

    std::vector<std::string> menus;
    for (QAction* menu : m_editor->findChild<QMenuBar*>()->actions()) {
        std::string line = menu->text().toStdString() + ":";
        for (QAction* item : menu->menu()->actions())
            line += " " + (item->isSeparator() ? std::string("|") : item->text().toStdString());
        menus.push_back(line);
    }
    EXPECT_EQ(menus, (Shown{
                         "&File: &New\tCtrl-N &Open...\tCtrl-O Open &Recent | &Save\tCtrl-S "
                         "Save &As...\tCtrl+Shift+S Re&vert | E&xit\tCtrl+Q",
                         "&Edit: &Undo\tCtrl+Z &Redo\tCtrl+Shift+Z, Ctrl+Y | &Find\tCtrl+F",
                         "&View: &Compare Units\tCtrl+K",
                         "&Template: &Load Set... &Save Set... &Edit Set... | &Clear",
                         "&Help: &About Tarnwick... &Tarnwick Web Site... &Brindlemoor Web Site...",
                     }));

    // Help shows the about box and opens both web addresses.
    m_prompts.TakeShown();
    WhenModalShows<QDialog>([](QDialog* about) {
        EXPECT_EQ(about->windowTitle(), "About Tarnwick");
        QStringList texts;
        for (QLabel* label : about->findChildren<QLabel*>())
            texts << (label->pixmap().isNull() ? label->text() : QStringLiteral("(logo)"));
        EXPECT_EQ(texts,
                  (QStringList{"(logo)", "Tarnwick Tank Editor", "v1.0", "Made by Brindlemoor"}));
        EXPECT_TRUE(about->findChild<QPushButton*>()->isDefault());
        QTest::keyClick(about, Qt::Key_Return);
    });
    Command("actionHelpAbout");

    // While no address is configured (the build's default), an item opens the README, the
    // source tree's from a build.
    const QUrl readme = QUrl::fromLocalFile(QStringLiteral(TARNWICK_SOURCE_DIR "/README.md"));
    auto opened = [&readme](const char* address) {
        return *address ? QUrl(QString::fromUtf8(address)) : readme;
    };
    const QUrl program = opened(TARNWICK_PROGRAM_URL), group = opened(TARNWICK_GROUP_URL);
    CUrlCatcher catcher;
    const QStringList schemes{"file", program.scheme(), group.scheme()};
    for (const QString& scheme : schemes)
        QDesktopServices::setUrlHandler(scheme, &catcher, "Open");
    Command("actionHelpProgramWebSite");
    Command("actionHelpGroupWebSite");
    OpenHelpLink(QString(), m_prompts);
    for (const QString& scheme : schemes)
        QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(catcher.m_urls, (std::vector<QUrl>{program, group, readme}));
    EXPECT_TRUE(m_prompts.m_shown.empty());

    // Where the desktop opens nothing (as here without a handler), a message shows the link and
    // says why.
    OpenHelpLink(QString(), m_prompts);
    EXPECT_EQ(m_prompts.m_details, Shown{"Could not open '" + readme.toLocalFile().toStdString() +
                                         "'. | the desktop has no program set to open it"});

    // Installed, the README beside the program is the one opened, and named when it is missing;
    // a build's README is only for a program run from its build.
    const QString root = QString::fromStdString(m_folder.Path("usr"));
    const QString installed = root + "/share/doc/tarnwick/README.md", bin = root + "/bin";
    const QString source = QString::fromStdString(m_folder.Path("README.md"));
    std::filesystem::create_directories(bin.toStdString());
    EXPECT_EQ(ReadmePath(bin, source), installed);
    m_folder.Write("README.md", "#");
    EXPECT_EQ(ReadmePath(bin, source), source);
    std::filesystem::create_directories(
        std::filesystem::path(installed.toStdString()).parent_path());
    m_folder.Write("usr/share/doc/tarnwick/README.md", "#");
    EXPECT_EQ(ReadmePath(bin, source), installed);
}

#include "EditorStartTest.moc"
