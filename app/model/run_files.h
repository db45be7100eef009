#pragma once
// The files of one run: the outputs the engine writes beside the data file, and the run file that
// tells it their names.

#include <string>

namespace app::model {

inline constexpr const char* kProgramVersion = "2015.5.2";
inline constexpr const char* kRunFileName = "names.dat";
inline constexpr const char* kReportExtension = ".dn5o";
inline constexpr const char* kPlotDataExtension = ".dn5p";
inline constexpr const char* kRunNotesExtension = ".dn5r";

/// `dataFile` with its extension (after the last "." of the name) replaced by `extension`.
[[nodiscard]] std::string RunFilePath(const std::string& dataFile, const char* extension);

/// The run file's text: the version line, the data file, then the report, plot-data and run-notes
/// paths, one per line.
[[nodiscard]] std::string RunFileText(const std::string& dataFile);

}  // namespace app::model
