// The editor program as it is started: its arguments, and what it shows before and after its
// window, its application object running in this process.

#include "EditorApp.h"
#include "CliRunner.h"
#include "CommandLine.h"
#include "EditorFixture.h"

#include <QMessageBox>

#include <cstring>

TEST(EditorAppTest,
     HelpAndWrongArgumentsEndAtOnceAndARunStartsOnTheFileAndSetAfterTheAliasMessage) {
    using enum CCommandLine::Action;
    const std::pair<std::vector<std::string>, CCommandLine::Action> cases[] = {
        {{"--help"}, Help},           {{"-h"}, Help},
        {{"a.odf", "b.odf"}, Usage},  {{"--templates"}, Usage},
        {{"--bogus"}, Usage},         {{"--templates", "a", "--templates", "b"}, Usage},
        {{"a.odf", "--help"}, Usage}, {{"--no-settings", "--no-settings"}, Usage}};
    for (const auto& [args, action] : cases) {
        std::vector<std::string> argv{"tarnwick"};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> pointers;
        for (std::string& arg : argv)
            pointers.push_back(arg.data());
        EXPECT_EQ(AsksForHelp(static_cast<int>(pointers.size()), pointers.data()), action == Help)
            << args.front();
        EXPECT_EQ(ParseCommandLine(args).m_action, action) << args.front();
    }
    // A start file is made absolute; the set file is taken as it is.
    const CCommandLine line = ParseCommandLine({"--templates", "set.txt", "tank.odf"});
    EXPECT_EQ(line.m_action, Run);
    EXPECT_FALSE(line.m_bNoSettings);
    EXPECT_TRUE(ParseCommandLine({"a.odf", "--no-settings"}).m_bNoSettings);
    EXPECT_EQ(line.m_strStartPath, (std::filesystem::current_path() / "tank.odf").string());
    EXPECT_EQ(line.m_strTemplateSet, "set.txt");

    // The program itself: help needs no display, wrong arguments end at once.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string usage = "Usage: tarnwick [--no-settings] [--templates SET] [FILE]\n";
    const CliResult help = RunProgram(TARNWICK_EDITOR, {"--help"});
    EXPECT_TRUE(help.status == 0 && help.out.starts_with(usage) && help.err.empty()) << help;
    const CliResult wrong = RunProgram(TARNWICK_EDITOR, {"a.odf", "--bogus"});
    EXPECT_TRUE(wrong.status == 2 && wrong.out.empty() &&
                wrong.err.find(usage) != std::string::npos)
        << wrong;

    // A run starts on the file and the template set, after the alias file's message.
    CScratchFolder folder;
    folder.CopyUiTestData({"tank.odf", "t1.odf"});
    // An alias file that is there but cannot be read is worth a message; none at all is not.
    std::filesystem::create_directory(folder.Path("ALIAS.TXT"));
    folder.Write("set.txt", "t1.odf\n");
    auto window = [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<CEditorDlg*>(widget) && widget->isVisible())
                return widget;
        }
        return static_cast<QWidget*>(nullptr);
    };
    bool sawWindow = false;
    // Once the window shows: the start file in it, and the set's values for its fields.
    std::function<void(int)> whenShown = [&](int tries) {
        QWidget* editor = window();
        if (!editor && tries > 0)
            return QTimer::singleShot(10, [&, tries] { whenShown(tries - 1); });
        sawWindow = editor;
        EXPECT_FALSE(QApplication::windowIcon().isNull());
        EXPECT_EQ(editor ? editor->windowTitle().toStdString() : "",
                  "Tarnwick - [" + folder.Path("tank.odf") + "]");
        if (!editor)
            return QCoreApplication::exit(1);
        auto* tree = editor->findChild<QTreeWidget*>(QStringLiteral("tree"));
        tree->setCurrentItem(
            tree->findItems("maxHealth =", Qt::MatchStartsWith | Qt::MatchRecursive).front());
        auto* box = editor->findChild<QComboBox*>(QStringLiteral("valueBox"));
        EXPECT_EQ(box->count() == 1 ? box->itemText(0) : QString(), "10");
        editor->close();
    };
    bool sawMessage = false;
    auto onStart = [&] {
        WhenModalShows<QMessageBox>([&](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "tarnwick");
            EXPECT_EQ(box->text(),
                      "Error loading alias file 'alias.txt'.\nNo tank aliases will be used.");
            // The system's text, in the user's language.
            EXPECT_EQ(box->informativeText().toStdString(), std::strerror(EISDIR));
            EXPECT_EQ(box->parentWidget(), nullptr) << "the message stands on its own";
            EXPECT_EQ(window(), nullptr);
            sawMessage = true;
            box->accept();
        });
        whenShown(500);
    };
    // Started by another name: the boxes still carry the program's own.
    std::string name = "/opt/bin/tank-editor";
    char* argv[] = {name.data(), nullptr};
    int argc = 1;
    CEditorApp app(argc, argv);
    // What the run remembers goes to the user's configuration folder, here a scratch one, and
    // with --no-settings nowhere.
    tarnwick_test::CScratchDir config, none;
    for (const auto* folder : {&none, &config}) {
        qputenv("XDG_CONFIG_HOME", folder->Path().c_str());
        sawMessage = sawWindow = false;
        onStart();
        const CCommandLine line = ParseCommandLine({"--templates", "set.txt", "tank.odf"});
        EXPECT_EQ(app.InitInstance(line.m_strStartPath, line.m_strTemplateSet, folder == &config),
                  0);
        EXPECT_TRUE(sawMessage && sawWindow);
    }
    EXPECT_TRUE(none.Entries().empty());
    const std::string conf = tarnwick_test::ReadBytes(config / "tarnwick/tarnwick.conf");
    EXPECT_NE(conf.find(folder.Path("t1.odf")), std::string::npos) << conf;
}
