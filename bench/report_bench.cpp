// The calculation report of a five-stage, 300-increment wall with generated p-y curves, as a user makes
// it with drenok-report: reading the data file and the run, the figures of every stage, and the PDF
// (and the HTML) written. The wall is the sand cantilever example refined to 300 increments of 1 in,
// dug in five stages; it is run once before the measure.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/model/data_file.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/stages.h"

namespace {

namespace fs = std::filesystem;
using namespace app::model;

fs::path makeWall(const fs::path& folder) {
    TGridTableRegistry plain, chart;
    TProblemTables tables(plain, chart);
    TProgramData model(tables);
    CreateFromFile(model, DRENOK_EXAMPLES "/generated_sand.dn5d", TDataFileFormat::Current);
    const fs::path file = folder / "wall.dn5d";
    model.FileName = file.string();
    model.SetIncrementCount(300);
    model.IncrementLength = 1.0L;  // the same 25 ft wall
    TStages stages(model);
    bool changed = false;
    stages.ApplyStageCount(5, changed);
    for (int stage = 1; stage <= 5; ++stage) {
        stages.SwitchStage(stage, changed);
        model.FreeHeight = 48.0L + 18.0L * stage;  // 5.5 ft to 11.5 ft
        stages.SaveStage();
    }
    stages.SaveStagedDataFile();
    const std::string run = std::string(DRENOK_RUN) + " '" + file.string() + "' > /dev/null 2>&1";
    if (std::system(run.c_str()) != 0) std::abort();  // no converged run: the measure would mean nothing
    return file;
}

void ReportOfFiveStages(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "drenok-report-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path wall = makeWall(folder);
    const std::string extension = state.range(0) == 0 ? ".pdf" : ".html";
    const std::string command = std::string(DRENOK_REPORT) + " --design -o '" + (folder / "report").string() +
                                extension + "' '" + wall.string() + "' > /dev/null 2>&1";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("the report failed");
    fs::remove_all(folder);
}
BENCHMARK(ReportOfFiveStages)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
