#include "EditorFixture.h"

#include "FolderLock.h"

#include <chrono>
#include <filesystem>
#include <thread>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// The file commands, each way the user answers: what is asked, the title after (empty once the
// window closed) and which file then holds the change. Each case starts on tank.odf with
// maxHealth typed to 99 (C), on it unchanged (U) or on a new document with the change (N).
class FileCommandsTest : public EditorTest {
protected:
    enum From { C, U, N };
    struct Case {
        const char* what;
        From from;
        std::function<void()> act;
        std::vector<CScriptedPrompts::Reply> replies;
        Shown shown;
        std::string title;
        std::string saved; // the file that holds maxHealth = 99 after, if any
    };

    void SetUp() override {
        m_folder.CopyUiTestData({"ALIAS.TXT"});
        m_folder.Write("other.odf", "[GameObject]\nmaxHealth = 5\n");
    }
    void Run(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            m_editor.reset();
            fs::remove_all(m_tank);
            fs::remove(m_named);
            m_folder.CopyUiTestData({"tank.odf"});
            Start();
            if (c.from != N)
                Open("tank.odf");
            if (c.from != U)
                Modify();
            m_prompts.TakeShown();
            for (const auto& reply : c.replies)
                m_prompts.Queue(reply);
            c.act();
            EXPECT_EQ(m_prompts.TakeShown(), c.shown);
            EXPECT_EQ(m_editor->isVisible() ? Title() : "", c.title);
            for (const std::string name : {"tank.odf", "named.odf"}) {
                const bool file = fs::is_regular_file(m_folder.Path(name));
                EXPECT_EQ(file && m_folder.Read(name).find("maxHealth = 99") != std::string::npos,
                          name == c.saved)
                    << name;
            }
        }
    }
    // The command of a File item ("Save As"), alone or after first.
    std::function<void()> File(std::string item, std::function<void()> first = {}) {
        std::erase(item, ' ');
        return [this, first, action = "actionFile" + item] {
            if (first)
                first();
            Command(action.c_str());
        };
    }

    const std::string m_tank = m_folder.Path("tank.odf"), m_named = m_folder.Path("named.odf");
};

} // namespace

// The file commands: New, Open and Exit ask before dropping changes; a new document is saved
// under a name asked for; a command whose save fails stops and keeps the changes; Save asks before
// writing over a file another program changed; a dropped file opens as Open would, and Enter
// never closes the window.
TEST_F(FileCommandsTest, EachCommandAsksSavesOrStopsAsTheUserAnswers) {
    using enum IPrompts::Answer;
    const std::string other = m_folder.Path("other.odf"), ask = "Save changes to '" + m_tank + "'?";
    const std::string star = TitleOf("tank.odf", true), untitled = TitleOf("Untitled.odf");
    const std::string tankTitle = TitleOf("tank.odf"), otherTitle = TitleOf("other.odf");
    const std::string changed = "'" + m_tank + "' has been changed by another program since " +
                                "it was opened.\nSave your version over it?";
    const std::string missing = m_folder.Path("missing.odf"), bad = m_folder.Path("no/tank.odf");
    const std::string askNew = "Save changes to 'Untitled.odf'?", saveAs = "[Save As .odf]";
    const std::string newStar = TitleOf("Untitled.odf", true), &named = m_named;
    const Shown openMissing{ask, "[Open]", "Error opening tank file '" + missing + "'.",
                            "Error loading tank file '" + missing + "'."};
    const Shown cannotSave{ask, changed, "Error saving tank file '" + m_tank + "'."};
    const Shown saveAsBad{saveAs, "Error saving tank file '" + bad + "'."};
    const auto escape = [this] { Key(Qt::Key_Escape); };
    const auto inTree = [this] { m_tree->setFocus(), Key(Qt::Key_Escape); };
    const auto closeBox = [this] { m_editor->close(); };
    const auto folder = [&] { fs::remove(m_tank), fs::create_directory(m_tank); };
    const auto saveAsThenTitle = [&] {
        File("Save As")();
        // A failed Save As keeps the document's path: the title, and what Save writes.
        EXPECT_EQ(Title(), star);
        File("Save")();
    };
    const auto touch = [&] { fs::last_write_time(m_tank, fs::last_write_time(m_tank) + 1h); };
    const auto asLong = [&] {
        m_folder.Write("tank.odf", std::string(m_folder.Read("tank.odf").size(), 'x'));
    };
    const auto rewrite = [&] { m_folder.Write("tank.odf", "[Other]\n"); };
    const auto empty = [&] { m_folder.Write("tank.odf", ""); };
    const auto remove = [&] { fs::remove(m_tank); };
    const auto enter = [this] {
        Key(Qt::Key_Return);
        m_tree->setFocus();
        QTest::keyClick(m_editor->windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    };
    const auto dropNothing = [&] {
        Drop(m_edit, {m_tank, other});
        Drop(m_editor.get(), {QUrl(QStringLiteral("https://example.org/a.odf"))});
    };
    const auto dropOnBox = [&] {
        Drop(m_edit, {other});
        EXPECT_EQ(Edit(), "99") << "the path was typed into the box";
    };
    const auto dropOnTree = [&] { Drop(m_tree->viewport(), {other}); };
    const auto dropOnFind = [&] {
        Drop(m_editor->findChild<QLineEdit*>(QStringLiteral("filter")), {other});
    };
    Run({
        {"New, unchanged", U, File("New"), {}, {}, untitled, ""},
        {"Open, unchanged", U, File("Open"), {other}, {"[Open]"}, otherTitle, ""},
        {"Exit, unchanged", U, File("Exit"), {}, {}, "", ""},
        {"Escape, unchanged", U, escape, {}, {}, "", ""},
        {"New, Cancel", C, File("New"), {Cancel}, {ask}, star, ""},
        {"New, No", C, File("New"), {No}, {ask}, untitled, ""},
        {"New, Yes", C, File("New"), {Yes}, {ask}, untitled, "tank.odf"},
        {"Open, Cancel", C, File("Open"), {Cancel}, {ask}, star, ""},
        {"Open, No, cancelled", C, File("Open"), {No, std::nullopt}, {ask, "[Open]"}, star, ""},
        {"Open, No, a missing file", C, File("Open"), {No, missing}, openMissing, star, ""},
        {"Open, Yes", C, File("Open"), {Yes, other}, {ask, "[Open]"}, otherTitle, "tank.odf"},
        {"Exit, Cancel", C, File("Exit"), {Cancel}, {ask}, star, ""},
        {"Exit, Yes", C, File("Exit"), {Yes}, {ask}, "", "tank.odf"},
        {"Escape in the value box, Cancel", C, escape, {Cancel}, {ask}, star, ""},
        {"Escape in the tree, Cancel", C, inTree, {Cancel}, {ask}, star, ""},
        {"the close box, Cancel", C, closeBox, {Cancel}, {ask}, star, ""},
        {"the close box, No", C, closeBox, {No}, {ask}, "", ""},
        // A new document.
        {"New, Yes, cancelled", N, File("New"), {Yes, std::nullopt}, {askNew, saveAs}, newStar, ""},
        {"New, Yes, named", N, File("New"), {Yes, named}, {askNew, saveAs}, untitled, "named.odf"},
        {"Save, cancelled", N, File("Save"), {std::nullopt}, {saveAs}, newStar, ""},
        {"Save, named", N, File("Save"), {named}, {saveAs}, TitleOf("named.odf"), "named.odf"},
        // Saves that fail.
        {"Save As, no folder", C, saveAsThenTitle, {bad}, saveAsBad, tankTitle, "tank.odf"},
        {"New, Yes, cannot save", C, File("New", folder), {Yes, Yes}, cannotSave, star, ""},
        {"Open, Yes, cannot save", C, File("Open", folder), {Yes, Yes}, cannotSave, star, ""},
        {"Exit, Yes, cannot save", C, File("Exit", folder), {Yes, Yes}, cannotSave, star, ""},
        // Another program's changes.
        {"Save, only touched", C, File("Save", touch), {}, {}, tankTitle, "tank.odf"},
        {"Save, rewritten as long, No", C, File("Save", asLong), {No}, {changed}, star, ""},
        {"Save, rewritten, Cancel", C, File("Save", rewrite), {Cancel}, {changed}, star, ""},
        {"Save, removed, Yes", C, File("Save", remove), {Yes}, {changed}, tankTitle, "tank.odf"},
        {"Exit, Yes, emptied, No", C, File("Exit", empty), {Yes, No}, {ask, changed}, star, ""},
        // Enter and drops.
        {"Enter applies, never closes", C, enter, {}, {}, star, ""},
        {"a drop of two files or a web address", C, dropNothing, {}, {}, star, ""},
        {"a drop on the value box, Cancel", C, dropOnBox, {Cancel}, {ask}, star, ""},
        {"a drop on the tree, No", C, dropOnTree, {No}, {ask}, otherTitle, ""},
        {"a drop on the find box, No", C, dropOnFind, {No}, {ask}, otherTitle, ""},
    });
}

// A command-line run that holds the folder makes the window's save wait for it, and a run that
// holds it too long makes the save fail with the lock's message, the changes kept.
TEST_F(FileCommandsTest, ASaveWaitsForAFolderLockHeldByAnotherRun) {
    m_folder.CopyUiTestData({"tank.odf"});
    Start();
    Open("tank.odf");
    Modify();
    m_prompts.TakeShown();
    {
        CFolderLock held;
        ASSERT_TRUE(held.Lock({m_tank}, 0ms));
        std::thread release([&held] {
            std::this_thread::sleep_for(300ms);
            held.Unlock();
        });
        const auto start = std::chrono::steady_clock::now();
        Command("actionFileSave");
        release.join();
        EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    }
    EXPECT_EQ(Title(), TitleOf("tank.odf"));
    EXPECT_NE(m_folder.Read("tank.odf").find("maxHealth = 99"), std::string::npos);

    Type(QStringLiteral("8"));
    qputenv("TARNWICK_LOCK_WAIT", "0.1");
    CFolderLock held;
    ASSERT_TRUE(held.Lock({m_tank}, 0ms));
    Command("actionFileSave");
    qunsetenv("TARNWICK_LOCK_WAIT");
    const Shown shown = m_prompts.TakeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].starts_with("Folder '")) << shown[0];
    EXPECT_EQ(Title(), TitleOf("tank.odf", true));
    EXPECT_NE(m_folder.Read("tank.odf").find("maxHealth = 99\n"), std::string::npos);
}

// Once a window has gone, messages go to whoever took them before it came.
TEST_F(EditorTest, MessagesGoBackToTheirOwnerOnceTheWindowIsGone) {
    tarnwick_test::CMessageCapture before;
    Start();
    m_editor.reset();
    ShowMessage("after the window");
    EXPECT_EQ(before.Texts(), Shown{"after the window"});
}
