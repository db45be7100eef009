#include "tests/engine/test_support.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace enginetest {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "drenok-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a temporary folder");
    m_path = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

engine::AnalysisTime testTime() {
    return engine::AnalysisTime{2015, 5, 2, 12, 0, 0};
}

RunOutput runInFolder(const fs::path& dir, const std::string& dataText) {
    writeFile(dir / "wall.dn5d", dataText);
    writeFile(dir / "names.dat", "2015.5.2\nwall.dn5d\nwall.dn5o\nwall.dn5p\nwall.dn5r\n");
    engine::Run::Options options;
    options.workDir = dir.string();
    options.time = testTime();
    RunOutput out;
    out.result = engine::callEntry(2, options);
    out.report = readFile(dir / "wall.dn5o");
    out.plot = readFile(dir / "wall.dn5p");
    out.notes = readFile(dir / "wall.dn5r");
    return out;
}

RunOutput runData(const std::string& dataText) {
    TempDir dir;
    return runInFolder(dir.path(), dataText);
}

bool contains(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

}  // namespace enginetest
