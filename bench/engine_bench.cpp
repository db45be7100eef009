// Whole runs through the engine's entry, files included: the figure users feel when they press Run.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

extern "C" std::int32_t IDRENOK(std::int32_t);

namespace {

namespace fs = std::filesystem;

// A 300-increment anchored wall with user p-y curves at every tenth node below the excavation,
// five stages of excavation.
std::string fiveStageWall() {
    std::ostringstream f;
    const int ni = 300;
    const double h = 1.2;  // in
    for (int stage = 1; stage <= 5; ++stage) {
        const double freeHeight = 40.0 + 24.0 * stage;
        const int firstCurveNode = static_cast<int>(freeHeight / h) / 10 * 10 + 10;
        int curves = 0;
        for (int n = firstCurveNode; n <= ni; n += 10)
            ++curves;
        f << (stage == 1 ? "Five-stage benchmark wall" : " Stage No : " + std::to_string(stage)) << "\n";
        f << "1 0 1 0 1 1 " << curves << " 5 0 1\n";
        f << ni << " " << h << " 100 1E-5 " << freeHeight << " 12\n";
        f << "0 " << ni << " 1 2.5E9\n";
        f << "0\n";
        f << "0\n";
        f << "3 0.6 29000000 180 15 8\n";  // tieback
        f << "3\n0 0\n" << freeHeight << " " << 12.0 * freeHeight * 0.4 << "\n" << ni * h << " 0\n";
        for (int n = firstCurveNode; n <= ni; n += 10) {
            f << n << " 5 1 1\n";
            const double k = 600.0 * (n * h - freeHeight);  // lb/in per in of deflection
            f << "-2 " << 0.8 * k << "\n-0.5 " << 0.5 * k << "\n0 0\n0.5 " << -0.5 * k << "\n2 " << -0.8 * k
              << "\n";
        }
        f << stage << "\n";
    }
    return f.str();
}

// The same wall with its earth pressure and p-y curves generated from eleven soil layers (ten of
// them below the excavation in the first stage).
std::string fiveStageGeneratedWall() {
    std::ostringstream f;
    const int ni = 300;
    const double h = 1.2;  // in
    for (int stage = 1; stage <= 5; ++stage) {
        const double freeHeight = 24.0 + 24.0 * stage;
        f << (stage == 1 ? "Five-stage generated wall" : " Stage No : " + std::to_string(stage)) << "\n";
        f << "1 0 1 0 3 2 0 5 0 1\n";
        f << ni << " " << h << " 100 1E-4 " << freeHeight << " 12\n";
        f << "0 " << ni << " 1 2.5E9\n";
        f << "0\n0\n";
        f << "2 0.6 29000000 15 15 8\n";  // tieback at 2 ft
        f << freeHeight << " 24 12 120 200 1 1 0\n0.5 0 0 0 0 0\n1\n2 100 24 0\n11\n";
        for (int layer = 1; layer <= 11; ++layer) {
            const double bottom = layer == 11 ? 600.0 : 36.0 * layer;
            const int type = layer % 3 == 0 ? 3 : layer % 3 == 1 ? 4 : 1;
            const char* row = type == 4   ? "0.0694 0 34 0 150 0"
                              : type == 3 ? "0.0694 12 0 0.005 0 0"
                                          : "0.0637 6 0 0.02 0 0";
            f << type << " " << bottom << "\n" << row << "\n" << row << "\n";
        }
        f << stage << "\n";
    }
    return f.str();
}

class RunFolder {
public:
    explicit RunFolder(const std::string& dataText = fiveStageWall()) {
        char tmpl[] = "/tmp/drenok-bench-XXXXXX";
        m_dir = mkdtemp(tmpl);
        m_previous = fs::current_path();
        std::ofstream(m_dir / "wall.dn5d") << dataText;
        std::ofstream names(m_dir / "names.dat");
        const fs::path data = m_dir / "wall.dn5d";
        names << "2015.5.2\n" << data.string() << "\n";
        for (const char* ext : {".dn5o", ".dn5p", ".dn5r"})
            names << fs::path(data).replace_extension(ext).string() << "\n";
        fs::current_path(m_dir);
    }
    ~RunFolder() {
        fs::current_path(m_previous);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    fs::path dir() const { return m_dir; }

private:
    fs::path m_dir, m_previous;
};

void BM_FiveStageUserCurves(benchmark::State& state) {
    RunFolder folder;
    for (auto _ : state)
        benchmark::DoNotOptimize(IDRENOK(2));
    std::ifstream report(folder.dir() / "wall.dn5o");
    std::stringstream ss;
    ss << report.rdbuf();
    if (ss.str().find("RESULTS -- ITERATION") == std::string::npos ||
        ss.str().find("ERROR") != std::string::npos)
        state.SkipWithError("the benchmark wall did not solve");
}
BENCHMARK(BM_FiveStageUserCurves)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FiveStageGenerated(benchmark::State& state) {
    RunFolder folder(fiveStageGeneratedWall());
    for (auto _ : state)
        benchmark::DoNotOptimize(IDRENOK(2));
    std::ifstream report(folder.dir() / "wall.dn5o");
    std::stringstream ss;
    ss << report.rdbuf();
    if (ss.str().find("Stage No : 5") == std::string::npos || ss.str().find("ERROR") != std::string::npos)
        state.SkipWithError("the generated benchmark wall did not solve");
}
BENCHMARK(BM_FiveStageGenerated)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
