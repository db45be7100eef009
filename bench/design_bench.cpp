// The embedment sweep: 20 p-y runs of a single-stage, 150-increment cantilever with generated p-y
// curves, two at a time, through drenok-design as a user runs it.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) std::abort();  // the example changed: the measure would mean nothing
    return text.replace(at, from.size(), to);
}

void SweepOfTwentyEmbedments(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "drenok-design-bench";
    fs::create_directories(folder);
    std::ifstream in(DRENOK_EXAMPLES "/generated_sand.dn5d");
    std::ostringstream text;
    text << in.rdbuf();
    // 150 increments of 2 in instead of 75 of 4 in: the same 25 ft wall.
    std::string wall = replaced(replaced(text.str(), "75 4 50 ", "150 2 50 "), "0 75 1 ", "0 150 1 ");
    std::ofstream(folder / "wall.dn5d") << wall;
    const std::string command = std::string(DRENOK_DESIGN) + " sweep --from 5 --to 24 --step 1 -j 2 '" +
                                (folder / "wall.dn5d").string() + "' > /dev/null 2>&1";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("the sweep failed");
    fs::remove_all(folder);
}
BENCHMARK(SweepOfTwentyEmbedments)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
