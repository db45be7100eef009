#pragma once
// Runs the engine on data-file text in a private folder, the way the desktop program would, and
// hands back what it wrote.

#include <filesystem>
#include <string>

#include "engine/run.h"

namespace enginetest {

struct RunOutput {
    int result = -1;
    std::string report, plot, notes;
};

/// A temporary folder removed with its content when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);

/// Writes `dataText` as wall.dn5d with its names.dat in `dir` (relative file names, so the report
/// is the same wherever it runs) and runs the engine there at a fixed time.
RunOutput runInFolder(const std::filesystem::path& dir, const std::string& dataText);
/// The same in a fresh temporary folder.
RunOutput runData(const std::string& dataText);

/// Report lines, for searching.
bool contains(const std::string& text, const std::string& piece);

/// The fixed time the tests run at.
engine::AnalysisTime testTime();

}  // namespace enginetest
