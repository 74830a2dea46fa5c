// Start-up of the editor window against the least a window with the same tree costs, and
// opening a file that sets every field.

#include "BenchSupport.h"
#include "EditorDlg.h"
#include "Schema.h"
#include "TankFileWriter.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

namespace {

void ShowAndPaint(QWidget& window) {
    window.show();
    QCoreApplication::processEvents();
}

// Closing a window is not part of starting one, so it is left out of the times.
void CloseUntimed(benchmark::State& state, std::unique_ptr<QWidget> window) {
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
}

void BM_EditorStartup(benchmark::State& state) {
    CQuietPrompts prompts;
    for (auto _ : state) {
        auto editor = std::make_unique<CEditorDlg>(prompts);
        editor->Initialise();
        ShowAndPaint(*editor);
        CloseUntimed(state, std::move(editor));
    }
}

// An empty dialog holding only a tree of the schema's 9 groups and 173 fields, made and filled
// the way the editor makes and fills its own.
void BM_EditorStartup_Baseline(benchmark::State& state) {
    for (auto _ : state) {
        auto window = std::make_unique<QDialog>();
        QDialog& dialog = *window;
        auto* tree = new QTreeWidget(&dialog);
        tree->setHeaderHidden(true);
        tree->setColumnCount(1);
        tree->setIconSize(QSize(12, 12));
        tree->setUniformRowHeights(true);
        tree->header()->setStretchLastSection(false);
        tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        auto* layout = new QHBoxLayout(&dialog);
        layout->addWidget(tree);
        const QPixmap strip(QStringLiteral(":/tree-images.png"));
        const QIcon folder(strip.copy(0, 0, 12, 12));
        const QIcon field(strip.copy(12, 0, 12, 12));
        QList<QTreeWidgetItem*> groups;
        int fieldIndex = 0;
        int groupIndex = 0;
        for (const SchemaGroup& group : BuiltInSchema()) {
            auto* groupItem = new QTreeWidgetItem(QStringList(QString::fromLatin1(group.name)));
            groupItem->setIcon(0, folder);
            groupItem->setData(0, Qt::UserRole, groupIndex++);
            QList<QTreeWidgetItem*> fields;
            for (const SchemaField& schemaField : group.fields) {
                auto* item = new QTreeWidgetItem(
                    QStringList(QString::fromLatin1(schemaField.name) + QStringLiteral(" = ")));
                item->setIcon(0, field);
                item->setData(0, Qt::UserRole, fieldIndex++);
                fields.append(item);
            }
            groupItem->addChildren(fields);
            groups.append(groupItem);
        }
        tree->addTopLevelItems(groups);
        ShowAndPaint(dialog);
        CloseUntimed(state, std::move(window));
    }
}

// A tank file that sets all 173 fields.
std::string WriteFullTank(const QTemporaryDir& dir) {
    CTankFile file;
    int n = 0;
    for (auto& field : file.m_fields) {
        field->m_bPresent = 1;
        field->m_strValue = "value" + std::to_string(n);
        field->m_fValue = static_cast<float>(n) * 0.25f;
        field->m_nValue = n * 10;
        ++n;
    }
    const std::string path = dir.filePath(QStringLiteral("full.odf")).toStdString();
    std::ofstream(path, std::ios::binary) << WriteTankText(file);
    return path;
}

void BM_OpenFullFile(benchmark::State& state) {
    QTemporaryDir dir;
    CQuietPrompts prompts;
    prompts.m_strPath = WriteFullTank(dir);
    CEditorDlg editor(prompts);
    ShowAndPaint(editor);
    for (auto _ : state)
        editor.OnFileOpen();
}

// Loading alone, without the window's tree and title.
void BM_OpenFullFile_Baseline(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = WriteFullTank(dir);
    CTankFile file;
    for (auto _ : state)
        benchmark::DoNotOptimize(file.Load(path));
}

BENCHMARK(BM_EditorStartup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditorStartup_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenFullFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenFullFile_Baseline)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunEditorBenchmarks(argc, argv);
}
