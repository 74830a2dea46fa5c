#include "EditorFixture.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <chrono>
#include <filesystem>

using namespace std::chrono_literals;

namespace {

// Drops urls on target as a drag from a file manager would, checking that the window takes the
// drop exactly when it took the drag.
void Drop(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    EXPECT_EQ(enter.isAccepted(), drop.isAccepted());
}

} // namespace

// Every command that may leave a document with changes, each way the user answers: what is asked,
// the title after (empty once the window closed) and which file then holds the change. Each case
// starts on tank.odf with maxHealth typed to 99 (C), on it unchanged (U) or on a new document
// with the change (N).
TEST_F(EditorTest, FileCommandsAskBeforeDroppingChangesAndStopWhenTheSaveDoesNot) {
    namespace fs = std::filesystem;
    using enum IPrompts::Answer;
    enum From { C, U, N };
    const std::string tank = m_folder.Path("tank.odf"), other = m_folder.Path("other.odf");
    const std::string named = m_folder.Path("named.odf"), bad = m_folder.Path("no/tank.odf");
    const std::string missing = m_folder.Path("missing.odf");
    const std::string ask = "Save changes to '" + tank + "'?", saveAs = "[Save As .odf]";
    const std::string askNew = "Save changes to 'Untitled.odf'?";
    const std::string changed = "'" + tank + "' has been changed by another program since it " +
                                "was opened.\nSave your version over it?";
    const Shown cannotSave{ask, changed, "Error saving tank file '" + tank + "'."};
    const Shown openMissing{ask, "[Open]", "Error opening tank file '" + missing + "'.",
                            "Error loading tank file '" + missing + "'."};
    const Shown saveAsBad{saveAs, "Error saving tank file '" + bad + "'.",
                          "Error saving tank file '" + bad + "'."};
    const std::string star = TitleOf("tank.odf", true), untitled = TitleOf("Untitled.odf");
    const std::string newStar = TitleOf("Untitled.odf", true),
                      badStar = "Tarnwick - [" + bad + " *]";
    const std::string tankTitle = TitleOf("tank.odf"), otherTitle = TitleOf("other.odf");
    auto file = [this](const char* item) { return [this, item] { Command("File", item); }; };
    auto then = [this](std::function<void()> first, const char* item) {
        return [this, first, item] {
            first();
            Command("File", item);
        };
    };
    auto url = [](const std::string& path) { return QUrl::fromLocalFile(path.c_str()); };
    const auto folder = [&] { fs::remove(tank), fs::create_directory(tank); };
    const auto touch = [&] { fs::last_write_time(tank, fs::last_write_time(tank) + 1h); };
    const auto asLong = [&] {
        m_folder.Write("tank.odf", std::string(m_folder.Read("tank.odf").size(), 'x'));
    };
    const auto rewrite = [&] { m_folder.Write("tank.odf", "[Other]\n"); };
    const auto empty = [&] { m_folder.Write("tank.odf", ""); };
    const auto remove = [&] { fs::remove(tank); };
    const auto escape = [this] { Key(Qt::Key_Escape); };
    const auto inTree = [this] { m_tree->setFocus(); };
    const auto closeBox = [this] { m_editor->close(); };
    const auto enter = [this] {
        Key(Qt::Key_Return);
        m_tree->setFocus();
        QTest::keyClick(m_editor->windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    };
    const auto dropNothing = [&] {
        Drop(m_edit, {url(tank), url(other)});
        Drop(m_editor.get(), {QUrl(QStringLiteral("https://example.org/a.odf"))});
    };
    const auto dropOnBox = [&] {
        Drop(m_edit, {url(other)});
        EXPECT_EQ(Edit(), "99") << "the path was typed into the box";
    };
    const auto dropOnTree = [&] { Drop(m_tree->viewport(), {url(other)}); };
    const struct {
        const char* what;
        From from;
        std::function<void()> act;
        std::vector<CScriptedPrompts::Reply> replies;
        Shown shown;
        std::string title;
        std::string saved; // the file that holds maxHealth = 99 after, if any
    } cases[] = {
        {"New, unchanged", U, file("New"), {}, {}, untitled, ""},
        {"Open, unchanged", U, file("Open"), {other}, {"[Open]"}, otherTitle, ""},
        {"Exit, unchanged", U, file("Exit"), {}, {}, "", ""},
        {"Escape, unchanged", U, escape, {}, {}, "", ""},
        {"New, Cancel", C, file("New"), {Cancel}, {ask}, star, ""},
        {"New, No", C, file("New"), {No}, {ask}, untitled, ""},
        {"New, Yes", C, file("New"), {Yes}, {ask}, untitled, "tank.odf"},
        {"Open, Cancel", C, file("Open"), {Cancel}, {ask}, star, ""},
        {"Open, No, cancelled", C, file("Open"), {No, std::nullopt}, {ask, "[Open]"}, star, ""},
        {"Open, No, a missing file", C, file("Open"), {No, missing}, openMissing, star, ""},
        {"Open, Yes", C, file("Open"), {Yes, other}, {ask, "[Open]"}, otherTitle, "tank.odf"},
        {"Exit, Cancel", C, file("Exit"), {Cancel}, {ask}, star, ""},
        {"Exit, Yes", C, file("Exit"), {Yes}, {ask}, "", "tank.odf"},
        {"Escape in the value box, Cancel", C, escape, {Cancel}, {ask}, star, ""},
        {"Escape in the tree, Cancel", C, [&] { inTree(), escape(); }, {Cancel}, {ask}, star, ""},
        {"the close box, Cancel", C, closeBox, {Cancel}, {ask}, star, ""},
        {"the close box, No", C, closeBox, {No}, {ask}, "", ""},
        {"Enter applies, never closes", C, enter, {}, {}, star, ""},
        {"a drop of two files or a web address", C, dropNothing, {}, {}, star, ""},
        {"a drop on the value box, Cancel", C, dropOnBox, {Cancel}, {ask}, star, ""},
        {"a drop on the tree, No", C, dropOnTree, {No}, {ask}, otherTitle, ""},
        {"New, Yes, cancelled", N, file("New"), {Yes, std::nullopt}, {askNew, saveAs}, newStar, ""},
        {"New, Yes, named", N, file("New"), {Yes, named}, {askNew, saveAs}, untitled, "named.odf"},
        {"Save, cancelled", N, file("Save"), {std::nullopt}, {saveAs}, newStar, ""},
        {"Save, named", N, file("Save"), {named}, {saveAs}, TitleOf("named.odf"), "named.odf"},
        {"Save As, no folder", C, then(file("Save As"), "Save"), {bad}, saveAsBad, badStar, ""},
        {"New, Yes, cannot save", C, then(folder, "New"), {Yes, Yes}, cannotSave, star, ""},
        {"Open, Yes, cannot save", C, then(folder, "Open"), {Yes, Yes}, cannotSave, star, ""},
        {"Exit, Yes, cannot save", C, then(folder, "Exit"), {Yes, Yes}, cannotSave, star, ""},
        {"Save, only touched", C, then(touch, "Save"), {}, {}, tankTitle, "tank.odf"},
        {"Save, rewritten as long, No", C, then(asLong, "Save"), {No}, {changed}, star, ""},
        {"Save, rewritten, Cancel", C, then(rewrite, "Save"), {Cancel}, {changed}, star, ""},
        {"Save, removed, Yes", C, then(remove, "Save"), {Yes}, {changed}, tankTitle, "tank.odf"},
        {"Exit, Yes, emptied, No", C, then(empty, "Exit"), {Yes, No}, {ask, changed}, star, ""},
    };
    m_folder.CopyUiTestData({"ALIAS.TXT"});
    m_folder.Write("other.odf", "[GameObject]\nmaxHealth = 5\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_editor.reset();
        fs::remove_all(tank);
        fs::remove(named);
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

    // Once a window has gone, messages go to whoever took them before it came.
    m_editor.reset();
    tarnwick_test::CMessageCapture before;
    Start();
    m_editor.reset();
    ShowMessage("after the window");
    EXPECT_EQ(before.Texts(), Shown{"after the window"});
}
