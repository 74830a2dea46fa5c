// The command-line tool over a mod's worth of unit files: a table of 1,000 files against reading
// them raw, and applying a table that changes one value in each against writing them raw with
// the same atomic, synced save. The commands are called in this process, as main calls them.

#include "Commands.h"
#include "FileIo.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 1000;

// A unit file as mods write them: a comment, a few groups, about forty fields.
std::string UnitText(int n) {
    const std::string i = std::to_string(n);
    std::string text = "// unit " + i +
                       ", balanced by hand\n[GameObjectClass]\n"
                       "baseName = \"unit" +
                       i + "\"\nunitName = \"Unit " + i +
                       ", Mk 2\"\n"
                       "maxHealth = " +
                       std::to_string(1000 + n) +
                       "\nmaxAmmo = 250\n"
                       "scrapCost = 40\nbuildTime = 7.5\ncollisionRadius = 2.25\n"
                       "aiName = \"TankProcess\"\nheatSignature = 1.0\nimageSignature = 2.5\n"
                       "radarSignature = 0.3\n";
    for (int w = 1; w <= 4; ++w) {
        const std::string k = std::to_string(w);
        text += "weaponHard" + k + " = \"HP_GUN_" + k + "\"\nweaponName" + k + " = \"gatling" + k +
                "\"\n";
    }
    text += "\n[CraftClass]\nrangeScan = 200\nperiodScan = 1.5\nvelocJam = 5\n"
            "selectWaitMsg = \"wait.wav\"\nselectAttackMsg = \"attack.wav\"\n"
            "selectGoMsg = \"go.wav\"\nattackMsg = \"attack2.wav\"\n"
            "\n[HoverCraftClass]\nvelocForward = 25\nvelocReverse = 12\nvelocStrafe = 15\n"
            "accelThrust = 20\naccelBrake = 45\nomegaSpin = 5.5\nomegaTurn = 2.5\n"
            "alphaTrack = 20\nalphaDamp = 5\npitchPitch = 0.25\npitchThrust = 0.1\n"
            "rollStrafe = 0.1\nrollSteer = 0.08\nsoundThrust = \"engine.wav\"\n";
    return text;
}

// 1,000 unit files in a scratch folder, removed at the end of the run.
class CUnitFolder {
public:
    CUnitFolder() {
        std::string name = (fs::temp_directory_path() / "tarnwick-cli-bench-XXXXXX").string();
        m_path = ::mkdtemp(name.data());
        for (int n = 0; n < kFiles; ++n) {
            m_paths.push_back(m_path + "/unit" + std::to_string(n) + ".odf");
            m_texts.push_back(UnitText(n));
            std::ofstream(m_paths.back(), std::ios::binary) << m_texts.back();
        }
    }
    ~CUnitFolder() { fs::remove_all(m_path); }

    std::string m_path;
    std::vector<std::string> m_paths, m_texts;
};

CUnitFolder& Units() {
    static CUnitFolder units;
    return units;
}

void BM_Table(benchmark::State& state) {
    std::string csv;
    for (auto _ : state) {
        MakeTable(Units().m_paths, std::nullopt, csv);
        benchmark::DoNotOptimize(csv.data());
    }
}

void BM_Table_Baseline(benchmark::State& state) {
    std::string bytes;
    std::error_code error;
    for (auto _ : state) {
        for (const std::string& path : Units().m_paths) {
            ReadWholeFile(path, bytes, error);
            benchmark::DoNotOptimize(bytes.data());
        }
    }
}

// Two tables that set every file's maxHealth to one of two values, applied in turn, so that
// each run changes one value in each file.
void BM_Apply(benchmark::State& state) {
    const std::string tables[2] = {Units().m_path + "/a.csv", Units().m_path + "/b.csv"};
    std::error_code error;
    for (int t = 0; t < 2; ++t) {
        std::string csv = "file,GameObject.maxHealth\r\n";
        for (const std::string& path : Units().m_paths)
            csv += path + ',' + std::to_string(5000 + t) + "\r\n";
        WriteFileAtomically(tables[t], csv, error);
    }
    int round = 0;
    std::string report;
    for (auto _ : state) {
        report.clear();
        if (ApplyTable(tables[round++ % 2], false, report) != kExitOk)
            state.SkipWithError("apply failed");
    }
}

void BM_Apply_Baseline(benchmark::State& state) {
    std::error_code error;
    for (auto _ : state) {
        for (int n = 0; n < kFiles; ++n)
            WriteFileAtomically(Units().m_paths[n], Units().m_texts[n], error);
    }
}

} // namespace

BENCHMARK(BM_Table)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_Table_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_Apply)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Apply_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The files are made before any benchmark, so that none is timed making them.
int main(int argc, char** argv) {
    Units();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
