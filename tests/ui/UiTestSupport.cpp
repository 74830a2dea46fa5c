#include "UiTestSupport.h"

#include "TestSupport.h"

#include "EditorDlg.h"
#include "FieldTree.h"
#include "ValueComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

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

const char* const kSampleTank = "[GameObject]\n"
                                "baseName = \"tank01\"\n"
                                "collisionRadius = 2.5\n"
                                "maxHealth = 1500\n"
                                "[CraftClass]\n"
                                "rangeScan = -0.25\n"
                                "[ArmoryClass]\n"
                                "cannonItem1 = \"\"\n";

CScratchFolder::CScratchFolder() : m_previous(QDir::currentPath()) {
    EXPECT_TRUE(m_dir.isValid());
    QDir::setCurrent(m_dir.path());
}

CScratchFolder::~CScratchFolder() {
    QDir::setCurrent(m_previous);
}

std::string CScratchFolder::Path(const std::string& name) const {
    // name is bytes and may not be UTF-8, so it is not put through a QString.
    return QFile::encodeName(m_dir.path()).toStdString() + "/" + name;
}

void CScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    tarnwick_test::WriteBytes(Path(name), bytes);
}

std::string CScratchFolder::Read(const std::string& name) const {
    return tarnwick_test::ReadBytes(Path(name));
}

bool CScratchFolder::Exists(const std::string& name) const {
    return QFile::exists(QFile::decodeName(QByteArray::fromStdString(Path(name))));
}

void CopyUiTestData(const CScratchFolder& folder, std::initializer_list<const char*> names) {
    for (const char* name : names)
        folder.Write(name,
                     tarnwick_test::ReadBytes(tarnwick_test::DataPath(std::string("ui/") + name)));
}

QTreeWidget* TreeOf(CEditorDlg& editor) {
    return editor.findChild<QTreeWidget*>(QStringLiteral("tree"));
}

QTreeWidgetItem* FieldItem(CEditorDlg& editor, const QString& group, const QString& name) {
    for (QTreeWidgetItem* item : TreeOf(editor)->findItems(
             name + QStringLiteral(" ="), Qt::MatchStartsWith | Qt::MatchRecursive)) {
        if (item->parent() && item->parent()->text(0) == group)
            return item;
    }
    ADD_FAILURE() << "no item " << name.toStdString() << " under " << group.toStdString();
    return nullptr;
}

QString TextOf(const QTreeWidgetItem* item) {
    return item ? item->text(0) : QString();
}

bool IsBold(const QTreeWidgetItem* item) {
    return item && item->font(0).bold();
}

int ItemIndex(const QTreeWidgetItem* item) {
    return item ? item->data(0, CFieldTree::kItemIndexRole).toInt() : -1;
}

QString ShownTitle(CEditorDlg& editor) {
    return editor.windowHandle() ? editor.windowHandle()->title() : QString();
}

void ClickItem(CEditorDlg& editor, QTreeWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    QTreeWidget* tree = TreeOf(editor);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    ASSERT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*>{item}) << TextOf(item).toStdString();
}

CValueComboBox* ValueBoxOf(CEditorDlg& editor) {
    return editor.findChild<CValueComboBox*>(QStringLiteral("valueBox"));
}

QLabel* LabelOf(CEditorDlg& editor, const char* name) {
    return editor.findChild<QLabel*>(QString::fromLatin1(name));
}

void PrintTo(const ListedValue& value, std::ostream* out) {
    *out << "[" << value.label.toStdString() << "] " << value.text.toStdString();
}

std::vector<ListedValue> ListedValues(const CValueComboBox& box) {
    std::vector<ListedValue> values;
    for (int i = 0; i < box.count(); ++i)
        values.push_back({box.itemText(i), box.Label(i)});
    return values;
}

void PickListItem(CValueComboBox& box, int index) {
    box.showPopup();
    QAbstractItemView* list = box.view();
    ASSERT_TRUE(list->isVisible());
    // The list may open at the edit text's row; Home goes to the first one.
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex().row(), index);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
}
