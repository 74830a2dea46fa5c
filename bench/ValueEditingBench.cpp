// Selecting a field while 1,000 templates are loaded (the value box filled and sorted), applying
// one keystroke and filtering the tree for one, each beside the least the same step costs
// without the editor's work.

#include "BenchSupport.h"
#include "EditorDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

namespace {

constexpr int kTemplates = 1000;

// An editor with kTemplates templates that each set maxHealth and collisionRadius.
class CLoadedEditor {
public:
    CLoadedEditor() {
        std::string set;
        for (int i = 0; i < kTemplates; ++i) {
            const std::string path = m_dir.filePath(QStringLiteral("t%1.odf").arg(i)).toStdString();
            std::ofstream(path) << "[GameObject]\ncollisionRadius = " << i * 0.5
                                << "\nmaxHealth = " << (i * 7919) % 10007 << "\n";
            set += path + "\n";
        }
        m_prompts.m_strPath = m_dir.filePath(QStringLiteral("set.txt")).toStdString();
        std::ofstream(m_prompts.m_strPath) << set;
        m_editor = std::make_unique<CEditorDlg>(m_prompts);
        m_editor->show();
        TriggerMenuItem(*m_editor, "actionTemplateLoadSet");
        QCoreApplication::processEvents();
        m_tree = m_editor->findChild<QTreeWidget*>(QStringLiteral("tree"));
    }
    // The item of the field at index within the GameObject group.
    QTreeWidgetItem* Field(int index) const { return m_tree->topLevelItem(0)->child(index); }
    QTreeWidgetItem* Group(int index) const { return m_tree->topLevelItem(index); }
    QTreeWidget* Tree() const { return m_tree; }
    QLineEdit* Edit() const {
        return m_editor->findChild<QComboBox*>(QStringLiteral("valueBox"))->lineEdit();
    }
    CEditorDlg& Editor() { return *m_editor; }

private:
    QTemporaryDir m_dir;
    CQuietPrompts m_prompts;
    std::unique_ptr<CEditorDlg> m_editor;
    QTreeWidget* m_tree = nullptr;
};

// Made on first use and destroyed before the application object.
std::unique_ptr<CLoadedEditor> g_pLoaded;

CLoadedEditor& Loaded() {
    if (!g_pLoaded)
        g_pLoaded = std::make_unique<CLoadedEditor>();
    return *g_pLoaded;
}

// Alternates between two fields that every template sets: each selection lists 1,000 values.
void BM_SelectFieldWithTemplates(benchmark::State& state) {
    CLoadedEditor& loaded = Loaded();
    QTreeWidgetItem* items[] = {loaded.Field(2), loaded.Field(6)};
    int turn = 0;
    for (auto _ : state)
        loaded.Tree()->setCurrentItem(items[turn++ % 2]);
    state.counters["listed"] = loaded.Editor().findChild<QComboBox*>("valueBox")->count();
}

// The same selection change between two group items: the panel's texts, an empty value box.
void BM_SelectFieldWithTemplates_Baseline(benchmark::State& state) {
    CLoadedEditor& loaded = Loaded();
    QTreeWidgetItem* items[] = {loaded.Group(1), loaded.Group(2)};
    int turn = 0;
    for (auto _ : state)
        loaded.Tree()->setCurrentItem(items[turn++ % 2]);
}

// One keystroke in the value box of a selected field: typed, applied as a step of the undo
// history (merged into the run of typing), item relabelled, title.
void BM_ApplyKeystroke(benchmark::State& state) {
    CLoadedEditor& loaded = Loaded();
    loaded.Tree()->setCurrentItem(loaded.Field(6));
    QLineEdit* edit = loaded.Edit();
    edit->setText(QStringLiteral("15"));
    int turn = 0;
    for (auto _ : state)
        QTest::keyClick(edit, turn++ % 2 ? Qt::Key_5 : Qt::Key_Backspace);
}

// Setting the edit text alone, which applies nothing.
void BM_ApplyKeystroke_Baseline(benchmark::State& state) {
    CLoadedEditor& loaded = Loaded();
    loaded.Tree()->setCurrentItem(loaded.Field(6));
    QLineEdit* edit = loaded.Edit();
    const QString texts[] = {QStringLiteral("1"), QStringLiteral("15")};
    int turn = 0;
    for (auto _ : state)
        edit->setText(texts[turn++ % 2]);
}

// One character typed into the filter box and taken out again: the 182 items of the tree
// filtered by name, description and value each time.
void BM_FilterKeystroke(benchmark::State& state) {
    CLoadedEditor& loaded = Loaded();
    auto* filter = loaded.Editor().findChild<QLineEdit*>(QStringLiteral("filter"));
    filter->setText(QStringLiteral("scan"));
    int turn = 0;
    for (auto _ : state)
        QTest::keyClick(filter, turn++ % 2 ? Qt::Key_Backspace : Qt::Key_R);
    filter->clear();
}

// The same keys typed into the box with nothing listening.
void BM_FilterKeystroke_Baseline(benchmark::State& state) {
    CLoadedEditor& loaded = Loaded();
    auto* filter = loaded.Editor().findChild<QLineEdit*>(QStringLiteral("filter"));
    filter->setText(QStringLiteral("scan"));
    const QSignalBlocker quiet(filter);
    int turn = 0;
    for (auto _ : state)
        QTest::keyClick(filter, turn++ % 2 ? Qt::Key_Backspace : Qt::Key_R);
    filter->clear();
}

BENCHMARK(BM_SelectFieldWithTemplates)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectFieldWithTemplates_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyKeystroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyKeystroke_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FilterKeystroke_Baseline)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunEditorBenchmarks(argc, argv, [] { g_pLoaded.reset(); });
}
