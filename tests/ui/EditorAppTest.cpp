// The editor program as it is started: its arguments, and what it shows before and after its
// window. main() is built here under another name, and runs in this process.

#include "EditorFixture.h"

#include <QMessageBox>

int TarnwickMain(int argc, char** argv);

namespace {

// Runs as the program makes its application object.
std::function<void()> g_onStart;
[[maybe_unused]] const bool g_hooked =
    (qAddPreRoutine([] { g_onStart ? g_onStart() : void(); }), true);

int RunProgram(std::vector<std::string> args) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Started by another name: the boxes still carry the program's own.
    args.insert(args.begin(), "/opt/bin/tank-editor");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(args.size());
    return TarnwickMain(argc, argv.data());
}

} // namespace

TEST(EditorAppTest, HelpAndWrongArgumentsEndAtOnceWithTheUsage) {
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{"--help"}, 0},      {{"-h"}, 0},      {{"a.odf", "b.odf"}, 2},
        {{"--templates"}, 2}, {{"--bogus"}, 2}, {{"--templates", "a", "--templates", "b"}, 2}};
    // A program that started after all would wait for a user: its windows are closed at once.
    bool started = false;
    g_onStart = [&started] {
        auto* timer = new QTimer(qApp);
        QObject::connect(timer, &QTimer::timeout, [&started] {
            started = started || !QApplication::topLevelWidgets().isEmpty();
            QApplication::closeAllWindows();
        });
        timer->start(10);
    };
    for (const auto& [args, code] : cases) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunProgram(args), code) << args.front();
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE((code ? err : out).find("Usage: tarnwick [--templates SET] [FILE]\n"),
                  std::string::npos);
        EXPECT_EQ((code ? out : err), "");
    }
    g_onStart = nullptr;
    EXPECT_FALSE(started);
}

TEST(EditorAppTest, StartsOnTheFileAndTheTemplateSetAfterTheAliasMessage) {
    CScratchFolder folder;
    folder.CopyUiTestData({"tank.odf", "t1.odf"});
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
    g_onStart = [&] {
        WhenModalShows<QMessageBox>([&](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "tarnwick");
            EXPECT_EQ(box->text(),
                      "Error loading alias file 'alias.txt'.\nNo tank aliases will be used.");
            EXPECT_EQ(box->informativeText(), "No such file or directory");
            EXPECT_EQ(box->parentWidget(), nullptr) << "the message stands on its own";
            EXPECT_EQ(window(), nullptr);
            sawMessage = true;
            box->accept();
        });
        whenShown(500);
    };
    EXPECT_EQ(RunProgram({"--templates", "set.txt", "tank.odf"}), 0);
    g_onStart = nullptr;
    EXPECT_TRUE(sawMessage && sawWindow);
}
