#pragma once

// What the window's tests share: a scratch folder that is the current folder, modal windows
// answered as they open, and a real editor window driven as a user drives it.

#include "EditorDlg.h"
#include "EditorSettings.h"
#include "ScriptedPrompts.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <memory>

using Shown = std::vector<std::string>;
using Answer = IPrompts::Answer;

// A scratch folder that is the current folder while it lives, so the alias file and
// never-saved documents of one test do not meet another's.
class CScratchFolder : public tarnwick_test::CScratchDir {
public:
    CScratchFolder() { std::filesystem::current_path(CScratchDir::Path()); }
    ~CScratchFolder() { std::filesystem::current_path(m_previous); }

    // The full path of name in the folder, as bytes.
    std::string Path(const std::string& name) const { return *this / name; }
    void Write(const std::string& name, const std::string& bytes) const {
        tarnwick_test::WriteBytes(Path(name), bytes);
    }
    std::string Read(const std::string& name) const { return tarnwick_test::ReadBytes(Path(name)); }
    // Copies the files of tests/data/ui named by names here.
    void CopyUiTestData(std::initializer_list<const char*> names) const {
        for (std::string name : names)
            Write(name, tarnwick_test::ReadBytes(tarnwick_test::DataPath("ui/" + name)));
    }

private:
    const std::filesystem::path m_previous = std::filesystem::current_path();
};

// Runs act on the next modal window of type T once it is open, for code that runs a modal
// loop of its own. Gives up, failing the test, after a few seconds without one.
template <class T> void WhenModalShows(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    auto ticks = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, ticks, act] {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (modal || ++*ticks > 500) {
            timer->stop();
            timer->deleteLater();
            if (modal)
                act(modal);
            else
                ADD_FAILURE() << "no modal " << T::staticMetaObject.className() << " showed";
        }
    });
    timer->start();
}

// The item of the field named name under the group named group.
QTreeWidgetItem* FieldItem(QWidget& window, const QString& group, const QString& name);
// Clicks item as a user would, scrolling to it first.
void ClickItem(QTreeWidgetItem* item);
// The value list's items as "[label] value", or "value" for an item without a label.
Shown Listed(const QComboBox& box);
// The tooltip that widget shows at the point at, or "" when it shows none.
std::string ToolTipAt(QWidget* widget, QPoint at);
// A turn of the mouse wheel by angle (120 a notch, x sideways) at a corner of widget.
void Wheel(QWidget* widget, QPoint angle);
// Clicks the push button of window whose text is text.
void ClickButton(QWidget* window, const char* text);
// Drops the files at paths, or the addresses urls, on target as a drag from a file manager would,
// checking that target takes the drop exactly when it took the drag.
void Drop(QWidget* target, const QList<QUrl>& urls);
void Drop(QWidget* target, std::initializer_list<std::string> paths);

// A real editor window in a scratch folder with scripted prompts and a settings folder of its
// own. The members go in reverse order: the window first, then the settings, the prompts (which
// check that every queued reply was used), then the folders.
class EditorTest : public ::testing::Test {
protected:
    // Makes and shows a new window, active as a user's window is, loading the template set file
    // startSet at start when one is named.
    void Start(const std::string& startSet = {});
    // Closes the window as the user does (nothing may be left to save) and starts the program
    // again on the same settings folder.
    void Restart() {
        m_editor->close();
        ASSERT_FALSE(m_editor->isVisible());
        m_editor.reset();
        m_settings.reset();
        Start();
    }
    // Starts on name, a file of tests/data/ui, with the alias file; what opening it showed is
    // forgotten.
    void StartOn(const char* name) {
        m_folder.CopyUiTestData({"ALIAS.TXT", name});
        Start();
        Open(name);
        m_prompts.TakeShown();
    }
    // Runs the menu item whose action has the object name action, such as "actionFileOpen".
    void Command(const char* action);
    void Open(const std::string& name) {
        m_prompts.Queue(m_folder.Path(name));
        Command("actionFileOpen");
    }
    // Keys as the keyboard sends them: to the open list or the active window, whose shortcuts
    // see them before the focused widget does.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const char ascii = QTest::keyToAscii(key);
        Send(key, ascii ? QString(QLatin1Char(ascii)) : QString(), modifiers);
    }
    // Keys one after another, such as {Qt::Key_Up, Qt::ShiftModifier | Qt::Key_Right}.
    void Keys(std::initializer_list<QKeyCombination> keys) {
        for (QKeyCombination key : keys)
            Key(key.key(), key.keyboardModifiers());
    }
    void Type(const QString& text) {
        for (QChar c : text)
            Send(Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // Clicks a field in the tree, then puts the caret in the value box.
    QTreeWidgetItem* Select(const char* group, const char* name) {
        QTreeWidgetItem* item = FieldItem(*m_editor, group, name);
        ClickItem(item);
        m_box->setFocus();
        return item;
    }
    QString ItemText(const char* group, const char* name) {
        return FieldItem(*m_editor, group, name)->text(0);
    }
    // Runs Load Set on a set file, set.txt, holding text; returns what was shown after the dialog.
    Shown LoadSet(const std::string& text) {
        m_folder.Write("set.txt", text);
        m_prompts.Queue(m_folder.Path("set.txt"));
        Command("actionTemplateLoadSet");
        Shown shown = m_prompts.TakeShown();
        EXPECT_EQ(shown.at(0), "[Open]");
        EXPECT_EQ(m_prompts.m_lastFilter, "Text Files (*.txt);;All Files (*)");
        return Shown(shown.begin() + 1, shown.end());
    }
    // Loads a set of templates NAME0.odf, NAME1.odf... each setting the GameObject lines of
    // lines, in order.
    void LoadMade(const std::string& name, const std::vector<std::string>& lines) {
        std::string set;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            m_folder.Write(name + std::to_string(i) + ".odf", "[GameObject]\n" + lines[i] + "\n");
            set += name + std::to_string(i) + ".odf\n";
        }
        EXPECT_EQ(LoadSet(set), Shown{});
    }
    // The text of the window's label or menu item with the object name name, an item's "-" while
    // it is disabled.
    QString Label(const char* name) const { return m_editor->findChild<QLabel*>(name)->text(); }
    std::string ActionText(const char* name) const {
        const auto* item = m_editor->findChild<QAction*>(name);
        return item->isEnabled() ? item->text().toStdString() : "-";
    }
    // Types 99 over maxHealth, so the document has unsaved changes.
    void Modify() {
        Select("GameObject", "maxHealth");
        Key(Qt::Key_A, Qt::ControlModifier);
        Type(QStringLiteral("99"));
    }
    // The title as the window manager shows it.
    std::string Title() const { return m_editor->windowHandle()->title().toStdString(); }
    std::string TitleOf(const std::string& name, bool modified = false) const {
        return "Tarnwick - [" + (name == "Untitled.odf" ? name : m_folder.Path(name)) +
               (modified ? " *]" : "]");
    }
    bool Modified() const { return Title().ends_with(" *]"); }
    QString Edit() const { return m_edit->text(); }

    CScratchFolder m_folder;
    tarnwick_test::CScratchDir m_settingsFolder;
    CScriptedPrompts m_prompts;
    std::unique_ptr<CEditorSettings> m_settings;
    std::unique_ptr<CEditorDlg> m_editor;
    QTreeWidget* m_tree = nullptr;
    QComboBox* m_box = nullptr;
    QLineEdit* m_edit = nullptr;

private:
    void Send(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers);
};
