// View > Compare Units with a document and 1,000 templates that each set every field: opening
// the window against building the main window's tree, scrolling through all its rows and across
// all its templates against an empty table of the same size, a letter typed into the template
// filter against the same keys with nothing listening, and the heap the open window holds.

#include "AliasTable.h"
#include "BenchSupport.h"
#include "CompareDlg.h"
#include "CountingAllocator.h"
#include "FieldTree.h"
#include "Schema.h"
#include "TankDocument.h"
#include "TemplateList.h"

#include <QAbstractTableModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <fstream>

#include <malloc.h>

namespace {

constexpr int kTemplates = 1000;

// Every field set, the values different from unit to unit, and the keys the schema does not
// know that real files hold, some in groups of their own.
std::string UnitText(int unit) {
    CTankFile file;
    for (CFieldEntry& field : file.m_fields) {
        const int n = unit * 31 + field.Index();
        field.m_bPresent = true;
        field.m_strValue = "unit" + std::to_string(n % 97);
        if (field.Type() == FieldType::Float)
            field.m_fValue = static_cast<float>(n % 400) * 0.5f;
        else
            field.m_nValue = (n * 7919) % 10007;
    }
    return file.Text() + "[HoverCraftClass]\nsoundTurbo = \"turbo" + std::to_string(unit % 13) +
           ".wav\"\n[GameObjectClass]\ncloakAllowed = " + std::to_string(unit % 2) +
           "\n[BuildingClass]\npowerCost = 0." + std::to_string(unit % 9 + 1) +
           "\n[PowerUpClass]\nhealthAmount = " + std::to_string(unit % 50) + "\n";
}

// The document and its templates, made once for every benchmark.
struct CUnits {
    CUnits() {
        for (int i = 0; i <= kTemplates; ++i) {
            const std::string path = m_dir.filePath(QStringLiteral("u%1.odf").arg(i)).toStdString();
            std::ofstream(path) << UnitText(i);
            if (i == 0)
                m_document.Load(path);
            else
                m_templates.LoadTemplate(path, m_aliases);
        }
        // The first window made reads the fonts, once for the program.
        CCompareDlg(m_document, m_templates, nullptr).show();
    }
    QTemporaryDir m_dir;
    CAliasTable m_aliases;
    CTankDocument m_document;
    CTemplateList m_templates;
    CTemplateList m_none;
};

std::unique_ptr<CUnits> g_pUnits;

CUnits& Units() {
    if (!g_pUnits)
        g_pUnits = std::make_unique<CUnits>();
    return *g_pUnits;
}

std::unique_ptr<CCompareDlg> OpenCompare(const CTemplateList& templates) {
    auto window = std::make_unique<CCompareDlg>(Units().m_document, templates, nullptr);
    window->GoToField(6);
    ShowAndPaint(*window);
    return window;
}

void BM_OpenCompare(benchmark::State& state) {
    Units();
    for (auto _ : state)
        CloseUntimed(state, OpenCompare(Units().m_templates));
}

// The main window's tree of the same document, built and shown in a window of its own.
void BM_OpenCompare_Baseline(benchmark::State& state) {
    Units();
    for (auto _ : state) {
        auto tree = std::make_unique<CFieldTree>();
        tree->Build(Units().m_document.File());
        ShowAndPaint(*tree);
        CloseUntimed(state, std::move(tree));
    }
}

// Page by page from the first row (or column) to the last and back, each page painted.
void ScrollThrough(QTableView& table, QScrollBar* bar) {
    for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
        bar->setValue(value);
        table.viewport()->repaint();
    }
    bar->setValue(0);
    table.viewport()->repaint();
}

QTableView& TableOf(QWidget& window) {
    return *window.findChild<QTableView*>(QStringLiteral("compareTable"));
}

void BM_ScrollCompare(benchmark::State& state) {
    std::unique_ptr<CCompareDlg> window = OpenCompare(Units().m_templates);
    QTableView& table = TableOf(*window);
    for (auto _ : state)
        ScrollThrough(table, table.verticalScrollBar());
}

void BM_ScrollCompareSideways(benchmark::State& state) {
    std::unique_ptr<CCompareDlg> window = OpenCompare(Units().m_templates);
    QTableView& table = TableOf(*window);
    for (auto _ : state)
        ScrollThrough(table, table.horizontalScrollBar());
}

// As many rows and columns, every cell empty.
class CEmptyModel : public QAbstractTableModel {
public:
    CEmptyModel(int rows, int columns) : m_nRows(rows), m_nColumns(columns) {}
    int rowCount(const QModelIndex& = {}) const override { return m_nRows; }
    int columnCount(const QModelIndex& = {}) const override { return m_nColumns; }
    QVariant data(const QModelIndex&, int) const override { return {}; }

private:
    int m_nRows, m_nColumns;
};

// The comparison's table showing an empty model of its size, scrolled along bar's direction.
void ScrollEmpty(benchmark::State& state, Qt::Orientation direction) {
    std::unique_ptr<CCompareDlg> window = OpenCompare(Units().m_templates);
    QTableView& table = TableOf(*window);
    CEmptyModel empty(table.model()->rowCount(), table.model()->columnCount());
    table.setModel(&empty);
    window->findChild<QTableView*>(QStringLiteral("compareFixed"))->setModel(&empty);
    QCoreApplication::processEvents();
    QScrollBar* bar =
        direction == Qt::Vertical ? table.verticalScrollBar() : table.horizontalScrollBar();
    for (auto _ : state)
        ScrollThrough(table, bar);
}

void BM_ScrollCompare_Baseline(benchmark::State& state) {
    ScrollEmpty(state, Qt::Vertical);
}

void BM_ScrollCompareSideways_Baseline(benchmark::State& state) {
    ScrollEmpty(state, Qt::Horizontal);
}

// A digit typed into the template filter and taken out again, each shown: the names or class
// labels of 403 templates hold it, so the table goes from a thousand templates to those and back.
void TypeIntoTemplateFilter(benchmark::State& state, bool listening) {
    std::unique_ptr<CCompareDlg> window = OpenCompare(Units().m_templates);
    auto* filter = window->findChild<QLineEdit*>(QStringLiteral("templateFilter"));
    const QSignalBlocker quiet(listening ? nullptr : filter);
    int turn = 0;
    for (auto _ : state) {
        QTest::keyClick(filter, turn++ % 2 ? Qt::Key_Backspace : Qt::Key_7);
        QCoreApplication::processEvents();
    }
}

void BM_FilterCompareTemplates(benchmark::State& state) {
    TypeIntoTemplateFilter(state, true);
}

void BM_FilterCompareTemplates_Baseline(benchmark::State& state) {
    TypeIntoTemplateFilter(state, false);
}

// The heap in use, as the C library counts it: Qt's containers and strings take their memory
// from malloc(), which operator new does not see.
double HeapInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// The heap that the open window holds, with 1,000 templates and with none, and what operator new
// alone counts of it.
void Memory(benchmark::State& state, const CTemplateList& templates) {
    Units();
    for (auto _ : state) {
        const double before = HeapInUse();
        const std::int64_t newBefore = LiveHeapBytes();
        std::unique_ptr<CCompareDlg> window = OpenCompare(templates);
        state.counters["heap_bytes"] = HeapInUse() - before;
        state.counters["new_bytes"] = static_cast<double>(LiveHeapBytes() - newBefore);
        CloseUntimed(state, std::move(window));
    }
}

void BM_CompareMemory(benchmark::State& state) {
    Memory(state, Units().m_templates);
}

void BM_CompareMemory_Baseline(benchmark::State& state) {
    Memory(state, Units().m_none);
}

// The counters' columns come from the first benchmark reported, and every one must report them:
// the memory benchmarks go first, the others report none.
BENCHMARK(BM_CompareMemory)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CompareMemory_Baseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenCompare)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenCompare_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollCompare)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollCompare_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollCompareSideways)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollCompareSideways_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FilterCompareTemplates)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FilterCompareTemplates_Baseline)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunEditorBenchmarks(argc, argv, [] { g_pUnits.reset(); });
}
