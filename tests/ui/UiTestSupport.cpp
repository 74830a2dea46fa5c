#include "UiTestSupport.h"

#include "TestSupport.h"

#include "EditorDlg.h"
#include "ValueComboBox.h"

#include <QDir>
#include <QFile>
#include <QTest>

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

void CScratchFolder::CopyUiTestData(std::initializer_list<const char*> names) const {
    for (const char* name : names)
        Write(name, tarnwick_test::ReadBytes(tarnwick_test::DataPath(std::string("ui/") + name)));
}

QTreeWidgetItem* FieldItem(CEditorDlg& editor, const QString& group, const QString& name) {
    auto* tree = editor.findChild<QTreeWidget*>(QStringLiteral("tree"));
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

std::vector<std::string> Listed(const QComboBox& box) {
    std::vector<std::string> items;
    for (int i = 0; i < box.count(); ++i) {
        const QString label = box.itemData(i, CValueComboBox::kLabelRole).toString();
        items.push_back((label.isNull() ? QString() : "[" + label + "] ").toStdString() +
                        box.itemText(i).toStdString());
    }
    return items;
}
