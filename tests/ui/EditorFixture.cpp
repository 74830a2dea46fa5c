#include "EditorFixture.h"

#include <QMenuBar>
#include <QWindow>

namespace {

// Widgets need one application object for the whole run.
class CQtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tarnwick_ui_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] const auto* const g_environment =
    ::testing::AddGlobalTestEnvironment(new CQtEnvironment);

QString Plain(const QString& text) {
    return text.section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
}

} // namespace

const char* const kSampleTank = "[GameObject]\n"
                                "baseName = \"tank01\"\n"
                                "collisionRadius = 2.5\n"
                                "maxHealth = 1500\n"
                                "[CraftClass]\n"
                                "rangeScan = -0.25\n"
                                "[ArmoryClass]\n"
                                "cannonItem1 = \"\"\n";

void EditorTest::Send(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers) {
    // A desktop makes the window active again once a dialog or list over it closes; the
    // offscreen platform leaves the focus where it was.
    QApplication::processEvents();
    const QWindow* focus = QGuiApplication::focusWindow();
    if ((!focus || !focus->isVisible()) && !QApplication::activePopupWidget()) {
        m_editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_editor.get()));
    }
    // With no widget named, QTest sends the key to the open list, else to the active window.
    QTest::sendKeyEvent(QTest::Click, static_cast<QWidget*>(nullptr), key, text, modifiers);
}

void EditorTest::Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    const char ascii = QTest::keyToAscii(key);
    Send(key, ascii ? QString(QLatin1Char(ascii)) : QString(), modifiers);
}

void EditorTest::Type(const QString& text) {
    for (QChar c : text)
        Send(Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void EditorTest::Start() {
    m_editor = std::make_unique<CEditorDlg>(m_prompts);
    m_editor->show();
    m_editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_editor.get()));
    m_tree = m_editor->findChild<QTreeWidget*>(QStringLiteral("tree"));
    m_box = m_editor->findChild<QComboBox*>(QStringLiteral("valueBox"));
    m_edit = m_box->lineEdit();
}

void EditorTest::StartOn(const std::string& name) {
    Start();
    Open(name);
    m_prompts.TakeShown();
}

void EditorTest::Command(const char* menu, const char* item) {
    for (QAction* title : m_editor->menuBar()->actions()) {
        if (Plain(title->text()) != QLatin1String(menu))
            continue;
        for (QAction* action : title->menu()->actions()) {
            if (Plain(action->text()).startsWith(QLatin1String(item))) {
                action->trigger();
                return;
            }
        }
    }
    ADD_FAILURE() << "no menu item " << menu << " > " << item;
}

void EditorTest::Open(const std::string& name) {
    m_prompts.Queue(m_folder.Path(name));
    Command("File", "Open");
}

QTreeWidgetItem* EditorTest::Select(const char* group, const char* name) {
    QTreeWidgetItem* item = FieldItem(*m_editor, group, name);
    ClickItem(item);
    m_box->setFocus();
    return item;
}

QString EditorTest::ItemText(const char* group, const char* name) {
    const QTreeWidgetItem* item = FieldItem(*m_editor, group, name);
    return item ? item->text(0) : QString();
}

void EditorTest::Modify() {
    Select("GameObject", "maxHealth");
    Key(Qt::Key_A, Qt::ControlModifier);
    Type(QStringLiteral("99"));
}

std::string EditorTest::Title() const {
    const QWindow* window = m_editor->windowHandle();
    return (window ? window->title() : m_editor->windowTitle()).toStdString();
}

std::string EditorTest::TitleOf(const std::string& name, bool modified) const {
    return "Tarnwick - [" + (name == "Untitled.odf" ? name : m_folder.Path(name)) +
           (modified ? " *]" : "]");
}

bool EditorTest::Modified() const {
    return Title().ends_with(" *]");
}
