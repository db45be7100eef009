#pragma once
// The files of one run: the outputs the engine writes beside the data file, and the run file that
// tells it their names.

#include <string>

#include "engine/interface.h"

namespace app::model {

inline constexpr const char* kProgramVersion = engine::interface::kVersion;
inline constexpr const char* kRunFileName = engine::interface::kRunFileName;
inline constexpr const char* kReportExtension = engine::interface::kReportExtension;
inline constexpr const char* kPlotDataExtension = engine::interface::kPlotDataExtension;
inline constexpr const char* kRunNotesExtension = engine::interface::kRunNotesExtension;

/// `dataFile` with its extension (after the last "." of the name) replaced by `extension`.
[[nodiscard]] std::string RunFilePath(const std::string& dataFile, const char* extension);

/// The run file's text: the version line, the data file, then the report, plot-data and run-notes
/// paths, one per line.
[[nodiscard]] std::string RunFileText(const std::string& dataFile);

}  // namespace app::model
