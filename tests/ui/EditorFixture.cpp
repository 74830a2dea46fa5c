#include "EditorFixture.h"

#include "ValueComboBox.h"

#include <QHelpEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QToolTip>
#include <QWheelEvent>
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

} // namespace

QTreeWidgetItem* FieldItem(QWidget& window, const QString& group, const QString& name) {
    auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("tree"));
    for (QTreeWidgetItem* item :
         tree->findItems(name + QStringLiteral(" ="), Qt::MatchStartsWith | Qt::MatchRecursive)) {
        if (item->parent() && item->parent()->text(0) == group)
            return item;
    }
    ADD_FAILURE() << "no item " << name.toStdString() << " under " << group.toStdString();
    return nullptr;
}

void ClickItem(QTreeWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    QTreeWidget* tree = item->treeWidget();
    tree->scrollToItem(item);
    // Near the item's left end: a long value makes its row far wider than the view.
    const QRect rect = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      QPoint(std::max(rect.left(), 0) + 2, rect.center().y()));
    ASSERT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*>{item}) << item->text(0).toStdString();
}

Shown Listed(const QComboBox& box) {
    Shown items;
    for (int i = 0; i < box.count(); ++i) {
        const QString label = box.itemData(i, CValueComboBox::kLabelRole).toString();
        items.push_back(
            ((label.isNull() ? QString() : "[" + label + "] ") + box.itemText(i)).toStdString());
    }
    return items;
}

std::string ToolTipAt(QWidget* widget, QPoint at) {
    QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return text.toStdString();
}

void Wheel(QWidget* widget, QPoint angle) {
    QWheelEvent wheel(QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), QPoint(), angle,
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

void ClickButton(QWidget* window, const char* text) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->text() == QString::fromLatin1(text))
            return QTest::mouseClick(button, Qt::LeftButton);
    }
    ADD_FAILURE() << "no button " << text;
}

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

void Drop(QWidget* target, std::initializer_list<std::string> paths) {
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    Drop(target, urls);
}

void EditorTest::Start(const std::string& startSet) {
    if (!m_settings)
        m_settings = std::make_unique<CEditorSettings>(
            QString::fromStdString(m_settingsFolder.Path().string()));
    m_editor = std::make_unique<CEditorDlg>(m_prompts, m_settings.get());
    m_editor->SetStartTemplateSet(startSet);
    m_editor->show();
    m_editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_editor.get()));
    m_tree = m_editor->findChild<QTreeWidget*>(QStringLiteral("tree"));
    m_box = m_editor->findChild<QComboBox*>(QStringLiteral("valueBox"));
    m_edit = m_box->lineEdit();
}

void EditorTest::Command(const char* action) {
    auto* item = m_editor->findChild<QAction*>(QString::fromLatin1(action));
    ASSERT_NE(item, nullptr) << "no menu item " << action;
    // As a click does: only items in a menu can be clicked.
    EXPECT_FALSE(item->associatedObjects().isEmpty()) << action;
    item->trigger();
}

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
