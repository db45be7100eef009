// Arbitrary bytes as a data file, run through the entry's run with names.dat in a private folder.
// Every input must end the run in order: the report ends with END OF ANALYSIS.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/run.h"

namespace {

namespace fs = std::filesystem;

const fs::path& folder() {
    static const fs::path dir = [] {
        std::string tmpl = (fs::temp_directory_path() / "drenok-fuzz-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        std::ofstream(fs::path(tmpl) / "names.dat")
            << "2015.5.2\nwall.dn5d\nwall.dn5o\nwall.dn5p\nwall.dn5r\n";
        return fs::path(tmpl);
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path& dir = folder();
    {
        std::ofstream out(dir / "wall.dn5d", std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    engine::Run::Options options;
    options.workDir = dir.string();
    options.time = engine::AnalysisTime{2015, 5, 2, 12, 0, 0};
    if (engine::callEntry(2, options) != 0) std::abort();
    std::ifstream in(dir / "wall.dn5o", std::ios::binary);
    std::stringstream report;
    report << in.rdbuf();
    const std::string text = report.str();
    static const std::string kEnd = "     END OF ANALYSIS                             \n";
    if (text.size() < kEnd.size() || text.compare(text.size() - kEnd.size(), kEnd.size(), kEnd) != 0)
        std::abort();
    return 0;
}
