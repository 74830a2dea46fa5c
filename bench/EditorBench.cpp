// Start-up of the editor against the least a window with the same tree costs, both as a user
// waits for it (a new process) and for the window alone in a running application; start-up with
// 1,000 remembered templates; and opening a file that sets every field.

#include "AliasTable.h"
#include "BenchSupport.h"
#include "EditorDlg.h"
#include "EditorSettings.h"
#include "Schema.h"
#include "TankFile.h"
#include "TemplateList.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string_view>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The window alone: the application, its fonts and its style exist already, and what the
// window reads from files (pictures, fonts) is cached by earlier rounds.
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
std::unique_ptr<QWidget> MakeTreeDialog() {
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
    const CSchema& schema = CSchema::Get();
    for (const CFieldGroup& group : schema.Groups()) {
        auto* groupItem = new QTreeWidgetItem(QStringList(QString::fromStdString(group.m_strName)));
        groupItem->setIcon(0, folder);
        groupItem->setData(0, Qt::UserRole, group.m_nIndex);
        QList<QTreeWidgetItem*> fields;
        for (int i = group.m_nFirstField; i < group.m_nEndField; ++i) {
            const CFieldDefinition& definition = schema.Fields()[static_cast<std::size_t>(i)];
            auto* item = new QTreeWidgetItem(
                QStringList(QString::fromStdString(definition.m_strName) + QStringLiteral(" = ")));
            item->setIcon(0, field);
            item->setData(0, Qt::UserRole, i);
            fields.append(item);
        }
        groupItem->addChildren(fields);
        groups.append(groupItem);
    }
    tree->addTopLevelItems(groups);
    return window;
}

void BM_EditorStartup_Baseline(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<QWidget> window = MakeTreeDialog();
        ShowAndPaint(*window);
        CloseUntimed(state, std::move(window));
    }
}

// What a user waits for: a new process, from its start to its first painted window, with the
// application, the fonts and the style made afresh. The editor's child shows the window as the
// program does: initialised (the alias file read, the tree built), then shown. The benchmark
// program runs itself with kFirstWindowOption, and the child leaves as soon as its window is
// painted.
constexpr std::string_view kFirstWindowOption = "--first-window=";

int RunFirstWindow(std::string_view which, int argc, char** argv) {
    PrepareQuietQt();
    QApplication app(argc, argv);
    CQuietPrompts prompts;
    std::unique_ptr<QWidget> window;
    if (which == "editor")
        window = std::make_unique<CEditorDlg>(prompts);
    else if (which == "baseline")
        window = MakeTreeDialog();
    else
        return 2; // a misspelt kind fails the benchmark instead of timing the wrong window
    ShowAndPaint(*window);
    // Tearing the application down is not part of starting it.
    std::_Exit(0);
}

bool SpawnFirstWindow(const char* which) {
    const std::string option = std::string(kFirstWindowOption) + which;
    char* args[] = {const_cast<char*>("bench_editor"), const_cast<char*>(option.c_str()), nullptr};
    pid_t child = 0;
    int status = 0;
    return posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, args, environ) == 0 &&
           waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Times one kind of child, with a child of the other kind between two timed ones, so that both
// figures are taken under the same load: process start-up varies with the machine's state far
// more than the two windows differ.
void TimeFirstWindow(benchmark::State& state, const char* timed, const char* other) {
    for (auto _ : state) {
        bool started = SpawnFirstWindow(timed);
        state.PauseTiming();
        started = started && SpawnFirstWindow(other);
        state.ResumeTiming();
        if (!started) {
            state.SkipWithError("a child process failed");
            break;
        }
    }
}

void BM_ProcessStartup(benchmark::State& state) {
    TimeFirstWindow(state, "editor", "baseline");
}

void BM_ProcessStartup_Baseline(benchmark::State& state) {
    TimeFirstWindow(state, "baseline", "editor");
}

// 1,000 unit files of 22 fields each, and a settings folder that remembers them as the
// template list.
class CRememberedTemplates {
public:
    CRememberedTemplates() {
        for (int i = 0; i < 1000; ++i) {
            const std::string path =
                m_dir.filePath(QStringLiteral("unit%1.odf").arg(i)).toStdString();
            // Spread over the groups, as a unit file sets a few fields of several.
            CTankFile file;
            for (std::size_t j = 0; j < 22; ++j) {
                CFieldEntry& field = file.m_fields[j * 7];
                field.m_bPresent = true;
                field.m_strValue = "unit" + std::to_string(i);
                if (field.Type() == FieldType::Float)
                    field.m_fValue = 2.5f + static_cast<float>(j);
                else
                    field.m_nValue = 1000 + i;
            }
            std::ofstream(path, std::ios::binary) << file.Text();
            m_paths.push_back(path);
        }
        CEditorSettings(Config()).SetTemplates(m_paths);
    }
    QString Config() const { return m_dir.filePath(QStringLiteral("config")); }
    const std::vector<std::string>& Paths() const { return m_paths; }

private:
    QTemporaryDir m_dir;
    std::vector<std::string> m_paths;
};

void BM_StartupWith1000Templates(benchmark::State& state) {
    const CRememberedTemplates remembered;
    CQuietPrompts prompts;
    for (auto _ : state) {
        CEditorSettings settings(remembered.Config());
        auto editor = std::make_unique<CEditorDlg>(prompts, &settings);
        editor->Initialise();
        ShowAndPaint(*editor);
        CloseUntimed(state, std::move(editor));
    }
}

// A start that remembers no templates, then the same templates loaded without a window.
void BM_StartupWith1000Templates_Baseline(benchmark::State& state) {
    const CRememberedTemplates remembered;
    CQuietPrompts prompts;
    const CAliasTable aliases;
    for (auto _ : state) {
        auto editor = std::make_unique<CEditorDlg>(prompts);
        editor->Initialise();
        ShowAndPaint(*editor);
        auto templates = std::make_unique<CTemplateList>();
        for (const std::string& path : remembered.Paths())
            templates->LoadTemplate(path, aliases);
        state.PauseTiming();
        templates.reset();
        state.ResumeTiming();
        CloseUntimed(state, std::move(editor));
    }
}

// A tank file that sets all 173 fields.
std::string WriteFullTank(const QTemporaryDir& dir) {
    CTankFile file;
    int n = 0;
    for (CFieldEntry& field : file.m_fields) {
        field.m_bPresent = true;
        field.m_strValue = "value" + std::to_string(n);
        if (field.Type() == FieldType::Float)
            field.m_fValue = static_cast<float>(n) * 0.25f;
        else
            field.m_nValue = n * 10;
        ++n;
    }
    const std::string path = dir.filePath(QStringLiteral("full.odf")).toStdString();
    std::ofstream(path, std::ios::binary) << file.Text();
    return path;
}

void BM_OpenFullFile(benchmark::State& state) {
    QTemporaryDir dir;
    CQuietPrompts prompts;
    prompts.m_strPath = WriteFullTank(dir);
    CEditorDlg editor(prompts);
    ShowAndPaint(editor);
    for (auto _ : state)
        TriggerMenuItem(editor, "actionFileOpen");
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
BENCHMARK(BM_ProcessStartup)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ProcessStartup_Baseline)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_StartupWith1000Templates)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StartupWith1000Templates_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenFullFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenFullFile_Baseline)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]).starts_with(kFirstWindowOption))
        return RunFirstWindow(std::string_view(argv[1]).substr(kFirstWindowOption.size()), argc,
                              argv);
    return RunEditorBenchmarks(argc, argv);
}
