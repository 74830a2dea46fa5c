#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

#include <string>

class CEditorDlg;

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
