#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class CEditorDlg;
class CValueComboBox;
class QLabel;

// A fresh folder that is the current folder while the object lives, so the alias file and
// never-saved documents of one test do not meet another's.
class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();

    // The full path of name in the folder, as bytes.
    std::string Path(const std::string& name) const;
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

QTreeWidget* TreeOf(CEditorDlg& editor);
// The item of the field named name under the group named group.
QTreeWidgetItem* FieldItem(CEditorDlg& editor, const QString& group, const QString& name);
QString TextOf(const QTreeWidgetItem* item);
bool IsBold(const QTreeWidgetItem* item);
int ItemIndex(const QTreeWidgetItem* item);
// The title the window manager is given (Qt's "[*]" handling applied).
QString ShownTitle(CEditorDlg& editor);
// Clicks item as a user would, scrolling to it and opening its group first.
void ClickItem(CEditorDlg& editor, QTreeWidgetItem* item);
CValueComboBox* ValueBoxOf(CEditorDlg& editor);
QLabel* LabelOf(CEditorDlg& editor, const char* name);

// One item of the value box's list: its text and label.
struct ListedValue {
    QString text;
    QString label;
    bool operator==(const ListedValue&) const = default;
};
void PrintTo(const ListedValue& value, std::ostream* out);
std::vector<ListedValue> ListedValues(const CValueComboBox& box);
// Opens the value box's list and picks the item at index with the keyboard.
void PickListItem(CValueComboBox& box, int index);

// Copies the files of tests/data/ui named by names into folder.
void CopyUiTestData(const CScratchFolder& folder, std::initializer_list<const char*> names);

// A small tank file that sets fields in three groups.
extern const char* const kSampleTank;

#include <QApplication>
#include <QTimer>

#include <functional>

// Runs act on the next modal window of type T once it is open, for code that runs a modal
// loop of its own. Gives up, failing the test, after a few seconds without one.
template <class T> void WhenModalShows(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    auto ticks = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, ticks, act] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        } else if (++*ticks > 500) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal " << T::staticMetaObject.className() << " showed";
        }
    });
    timer->start();
}
