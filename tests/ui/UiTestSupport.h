#pragma once

// What the window's tests share: a scratch folder that is the current folder, modal windows
// answered as they open, and the tree and value list read as a user sees them.

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class CEditorDlg;
class QComboBox;

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
    // Copies the files of tests/data/ui named by names here.
    void CopyUiTestData(std::initializer_list<const char*> names) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
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
QTreeWidgetItem* FieldItem(CEditorDlg& editor, const QString& group, const QString& name);
// Clicks item as a user would, scrolling to it first.
void ClickItem(QTreeWidgetItem* item);

// The value list's items as "[label] value", or "value" for an item without a label.
std::vector<std::string> Listed(const QComboBox& box);
