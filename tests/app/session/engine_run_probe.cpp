// Runs one data file through the runner, as the program does, so tests can start several at once.
// Usage: engine_run_probe [--repeat] PROGRAM_FOLDER DATA_FILE. With --repeat the file is run eight
// times, which makes two probes started together overlap. Exit 0 when every run completed.

#include <cstdio>
#include <cstring>

#include "app/session/engine_runner.h"

int main(int argc, char** argv) {
    const bool repeat = argc == 4 && std::strcmp(argv[1], "--repeat") == 0;
    if (argc != (repeat ? 4 : 3)) return 2;
    const char* folder = argv[repeat ? 2 : 1];
    const char* data = argv[repeat ? 3 : 2];
    app::session::TEngineRunner runner(QString::fromLocal8Bit(folder));
    for (int k = 0; k < (repeat ? 8 : 1); ++k) {
        const app::session::TRunResult result = runner.Run(data);
        std::printf("%d %d %s\n", static_cast<int>(result.Status), result.EngineResult,
                    result.Detail.c_str());
        if (result.Status != app::session::TRunStatus::Completed || result.EngineResult != 0) return 1;
    }
    return 0;
}
