#pragma once

#include "Prompts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <functional>

// Prompts for benchmarks: shows nothing, answers No, and answers every open dialog with one
// path (cancelling save dialogs), so that no step waits for a user.
class CQuietPrompts : public IPrompts {
public:
    std::string m_strPath;
    void Message(const std::string&, const std::string& = {}) override {}
    Answer YesNoCancel(const std::string&) override { return Answer::No; }
    bool OpenPath(const std::string&, std::string& path) override {
        path = m_strPath;
        return true;
    }
    std::vector<std::string> OpenPaths(const std::string&, const std::string&) override {
        return {};
    }
    bool SavePath(const std::string&, const std::string&, std::string&) override { return false; }
};

// To be called before the application is made.
inline void PrepareQuietQt() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform warns on stderr each time a window's size limits change; writing
    // those lines would be timed with the windows, and a real desktop has none of them.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

// Runs the benchmarks of the program on an offscreen application, in a scratch current folder
// that holds a small alias file (the editor reads one at every start). beforeExit runs while
// the application still exists, for windows kept across benchmarks.
inline int RunEditorBenchmarks(int argc, char** argv,
                               const std::function<void()>& beforeExit = {}) {
    PrepareQuietQt();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    std::ofstream(folder.filePath(QStringLiteral("ALIAS.TXT")).toStdString())
        << "# aliases\napc.odf APC\ntank.odf TNK\n";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeExit)
        beforeExit();
    return 0;
}

// Runs the command of window's menu item whose action has the object name action (such as
// "actionFileOpen"), as a click on it does.
inline void TriggerMenuItem(QMainWindow& window, const char* action) {
    if (auto* item = window.findChild<QAction*>(QString::fromLatin1(action)))
        item->trigger();
}
