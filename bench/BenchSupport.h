#pragma once

#include "Prompts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <functional>
#include <memory>

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

// Notes the first paint of any widget.
class CPaintWatch : public QObject {
public:
    bool m_bPainted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            m_bPainted = true;
        return false;
    }
};

// Shows the window and handles events until it has painted, however many rounds that takes, and
// what the paint made is flushed to the screen.
inline void ShowAndPaint(QWidget& window) {
    CPaintWatch watch;
    qApp->installEventFilter(&watch);
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (!watch.m_bPainted && waited.elapsed() < 5000)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&watch);
}

// Closing a window is not part of starting one, so it is left out of the times.
inline void CloseUntimed(benchmark::State& state, std::unique_ptr<QWidget> window) {
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
}

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
