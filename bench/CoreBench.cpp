// The core alone, without Qt: loading a document, saving it both ways and loading a mod's set of
// templates, each against the raw file work the same job cannot do without; and the heap memory
// a loaded template holds.

#include "AliasTable.h"
#include "CountingAllocator.h"
#include "Schema.h"
#include "TankFile.h"
#include "TemplateList.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A scratch folder for the benchmark's files, removed with them.
class CBenchDir {
public:
    CBenchDir() {
        std::string name = (fs::temp_directory_path() / "tarnwick-bench-XXXXXX").string();
        if (!::mkdtemp(name.data()))
            std::abort();
        m_path = name;
    }
    ~CBenchDir() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    CBenchDir(const CBenchDir&) = delete;
    CBenchDir& operator=(const CBenchDir&) = delete;

    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

// A String value as unit files hold them: object names, sound files, and now and then a path.
std::string StringValue(const CFieldDefinition& field, int n, int unit) {
    if (n % 8 == 0)
        return "sounds\\units\\iv" + std::to_string(unit) + "\\" + field.m_strName + "_01.wav";
    if (field.m_strName.find("ound") != std::string::npos ||
        field.m_strName.find("Msg") != std::string::npos)
        return "hvthrust.wav";
    if (field.m_strName == "unitName")
        return "Light Tank " + std::to_string(unit);
    return "ivtank";
}

// A unit file as a modder keeps it, setting all 173 fields: a comment on top, each group's
// section with its keys, a few with a comment after the value.
std::string FullTankText(int unit) {
    const CSchema& schema = CSchema::Get();
    std::string text = "// ivtank" + std::to_string(unit) + ".odf - light tank\n";
    int n = 0;
    for (const CFieldGroup& group : schema.Groups()) {
        text += "\n[" + group.m_strName + "]\n";
        for (int i = group.m_nFirstField; i < group.m_nEndField; ++i, ++n) {
            const CFieldDefinition& field = schema.Fields()[static_cast<std::size_t>(i)];
            text += field.m_strName + " = ";
            switch (field.m_nType) {
            case FieldType::String:
                text += '"' + StringValue(field, n, unit) + '"';
                break;
            case FieldType::Float:
                text += std::to_string(n % 40) + ".5";
                break;
            case FieldType::Integer:
                text += std::to_string(n * 50);
                break;
            }
            text += n % 10 == 3 ? " // tuned\n" : "\n";
        }
    }
    return text;
}

std::string WriteFullTank(const CBenchDir& dir, const std::string& name, int unit = 1) {
    const std::string path = dir / name;
    std::ofstream(path, std::ios::binary) << FullTankText(unit);
    return path;
}

// Reads a file's bytes as the least any loading must: open, size, read, close.
std::string ReadRaw(const std::string& path) {
    std::string bytes;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        std::abort();
    bytes.resize(static_cast<std::size_t>(st.st_size));
    if (::read(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        std::abort();
    ::close(fd);
    return bytes;
}

// Writes bytes with the same durability as a save: a new file in the same folder, synced, renamed
// over the target, the folder synced.
void WriteRaw(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0)
        std::abort();
    int dir = ::open(fs::path(path).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(dir);
    ::close(dir);
}

constexpr int kTemplateCount = 1000;

std::vector<std::string> WriteTemplateFiles(const CBenchDir& dir) {
    std::vector<std::string> paths;
    for (int i = 0; i < kTemplateCount; ++i)
        paths.push_back(WriteFullTank(dir, "ivtank" + std::to_string(i) + ".odf", i));
    return paths;
}

// The lines a real unit file holds that the schema does not know, some four of them: keys of a
// schema group and a section of its own. They go after a full file's own lines.
std::string OtherKeyLines(int unit) {
    return "\n[GameObjectClass]\nweaponName = \"gshadow" + std::to_string(unit % 7) +
           "\"\ncloakAllowed = 1\n\n[HoverCraftClass]\nsoundTurbo = \"avtanke3.wav\"\n"
           "\n[BuildingClass]\npowerCost = 0." +
           std::to_string(unit % 9 + 1) + " // per tick\n";
}

// The same templates as WriteTemplateFiles, each with OtherKeyLines after its own.
std::vector<std::string> WriteTemplatesWithOtherKeys(const CBenchDir& dir) {
    std::vector<std::string> paths;
    for (int i = 0; i < kTemplateCount; ++i) {
        paths.push_back(dir / ("other" + std::to_string(i) + ".odf"));
        std::ofstream(paths.back(), std::ios::binary) << FullTankText(i) + OtherKeyLines(i);
    }
    return paths;
}

void SetMemoryCounters(benchmark::State& state, std::int64_t bytes, std::int64_t blocks) {
    state.counters["bytes_per_template"] = static_cast<double>(bytes) / kTemplateCount;
    state.counters["blocks_per_template"] = static_cast<double>(blocks) / kTemplateCount;
}

// Registered first: the CSV output takes its counter columns from the first benchmark it reports
// and refuses counters that a later one adds. The memory counters are read on the loaded list,
// before it is freed.
void BM_LoadTemplates(benchmark::State& state) {
    CBenchDir dir;
    const std::vector<std::string> paths = WriteTemplateFiles(dir);
    CAliasTable aliases;
    aliases.LoadText("ivtank1.odf LT1\nivtank2.odf LT2\n");
    for (auto _ : state) {
        const std::int64_t bytes = LiveHeapBytes(), blocks = LiveHeapBlocks();
        auto list = std::make_unique<CTemplateList>();
        for (const std::string& path : paths)
            list->LoadTemplate(path, aliases);
        state.PauseTiming();
        SetMemoryCounters(state, LiveHeapBytes() - bytes, LiveHeapBlocks() - blocks);
        list.reset();
        state.ResumeTiming();
    }
}

// The bytes of the same files, read raw and kept.
void BM_LoadTemplates_Baseline(benchmark::State& state) {
    CBenchDir dir;
    const std::vector<std::string> paths = WriteTemplateFiles(dir);
    for (auto _ : state) {
        const std::int64_t bytes = LiveHeapBytes(), blocks = LiveHeapBlocks();
        auto kept = std::make_unique<std::vector<std::string>>();
        for (const std::string& path : paths)
            kept->push_back(ReadRaw(path));
        state.PauseTiming();
        SetMemoryCounters(state, LiveHeapBytes() - bytes, LiveHeapBlocks() - blocks);
        kept.reset();
        state.ResumeTiming();
    }
}

// The heap a set of templates holds for the keys the schema does not know, read from real
// files' lines: loaded with those lines, less loaded without them.
void BM_OtherKeys(benchmark::State& state) {
    CBenchDir dir;
    const std::vector<std::string> with = WriteTemplatesWithOtherKeys(dir);
    const std::vector<std::string> without = WriteTemplateFiles(dir);
    CAliasTable aliases;
    for (auto _ : state) {
        std::int64_t bytes = 0, blocks = 0;
        for (const auto* paths : {&without, &with}) {
            const std::int64_t heap = LiveHeapBytes(), heapBlocks = LiveHeapBlocks();
            auto list = std::make_unique<CTemplateList>();
            for (const std::string& path : *paths)
                list->LoadTemplate(path, aliases);
            state.PauseTiming();
            const std::int64_t held = LiveHeapBytes() - heap,
                               heldBlocks = LiveHeapBlocks() - heapBlocks;
            bytes = held - bytes;
            blocks = heldBlocks - blocks;
            list.reset();
            state.ResumeTiming();
        }
        state.PauseTiming();
        SetMemoryCounters(state, bytes, blocks);
        state.ResumeTiming();
    }
}

// What those keys' lines take as text in the files, line ends included.
void BM_OtherKeys_Baseline(benchmark::State& state) {
    for (auto _ : state) {
        const std::int64_t heap = LiveHeapBytes(), heapBlocks = LiveHeapBlocks();
        auto kept = std::make_unique<std::vector<std::string>>();
        for (int i = 0; i < kTemplateCount; ++i) {
            // The blank lines and headers set nothing: only the keys' own lines count.
            const std::string lines = OtherKeyLines(i);
            std::string keys;
            for (std::size_t at = 0, end; at < lines.size(); at = end + 1) {
                end = lines.find('\n', at);
                const std::string line = lines.substr(at, end - at + 1);
                if (line.find('=') != std::string::npos)
                    keys += line;
            }
            kept->push_back(std::move(keys));
        }
        state.PauseTiming();
        // Counted as text, not as the blocks the strings happen to take.
        std::int64_t text = 0;
        for (const std::string& line : *kept)
            text += static_cast<std::int64_t>(line.size());
        SetMemoryCounters(state, text, LiveHeapBlocks() - heapBlocks);
        static_cast<void>(heap);
        kept.reset();
        state.ResumeTiming();
    }
}

void BM_Load(benchmark::State& state) {
    CBenchDir dir;
    const std::string path = WriteFullTank(dir, "ivtank.odf");
    CTankFile file;
    for (auto _ : state)
        benchmark::DoNotOptimize(file.Load(path, CTankFile::Lines::Keep));
}

void BM_Load_Baseline(benchmark::State& state) {
    CBenchDir dir;
    const std::string path = WriteFullTank(dir, "ivtank.odf");
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadRaw(path));
}

CFieldEntry& MaxHealth(CTankFile& file) {
    return file
        .m_fields[static_cast<std::size_t>(CSchema::Get().FindFieldPath("GameObject.maxHealth"))];
}

// Saves a loaded full file after changing one field each time, so that every keeping save has an
// edit to write.
void Save(benchmark::State& state, SaveStyle style) {
    CBenchDir dir;
    CTankFile file;
    if (!file.Load(WriteFullTank(dir, "ivtank.odf")))
        std::abort();
    CFieldEntry& maxHealth = MaxHealth(file);
    for (auto _ : state) {
        maxHealth.m_nValue = maxHealth.m_nValue == 1000 ? 1001 : 1000;
        if (!file.Save(style))
            std::abort();
    }
}

// Writes the bytes the save writes, raw.
void SaveBaseline(benchmark::State& state, SaveStyle style) {
    CBenchDir dir;
    CTankFile file;
    if (!file.Load(WriteFullTank(dir, "ivtank.odf")))
        std::abort();
    MaxHealth(file).m_nValue = 1000;
    if (!file.SaveAs(dir / "saved.odf", style))
        std::abort();
    const std::string bytes = ReadRaw(dir / "saved.odf");
    for (auto _ : state)
        WriteRaw(dir / "raw.odf", bytes);
}

void BM_SaveLayout(benchmark::State& state) {
    Save(state, SaveStyle::Layout);
}
void BM_SaveLayout_Baseline(benchmark::State& state) {
    SaveBaseline(state, SaveStyle::Layout);
}
void BM_SaveKept(benchmark::State& state) {
    Save(state, SaveStyle::KeepFile);
}
void BM_SaveKept_Baseline(benchmark::State& state) {
    SaveBaseline(state, SaveStyle::KeepFile);
}

BENCHMARK(BM_LoadTemplates)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTemplates_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OtherKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OtherKeys_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveLayout)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveLayout_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveKept)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveKept_Baseline)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
