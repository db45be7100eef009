#pragma once
// The files of one run: the outputs the engine writes beside the data file, and the run file that
// tells it their names.

#include <cstddef>
#include <filesystem>
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

// A run in a folder of its own: the engine reads a copy of the data file and writes its outputs
// there, all under short relative names, so no path of the user's (long, with a line break or
// trailing blanks) ever passes through the run file, and the outputs beside the data file change
// only when the run has ended, all three together.

/// The copy of the data file in a run folder; the outputs take its stem.
inline constexpr const char* kRunDataName = "wall.dn5d";
/// When a run left no report: nothing beside the data file has changed.
inline constexpr const char* kNoRunReportMessage =
    "The analysis wrote no report. The outputs of an earlier run, if any, are kept as they were.";
/// The longest path a line of the run file carries whole.
inline constexpr std::size_t kMaxRunFilePath = 255;

/// Writes the run file and the copy of `dataFile` into `runFolder`. Empty when done, else why not.
[[nodiscard]] std::string PrepareRunFolder(const std::filesystem::path& runFolder,
                                           const std::filesystem::path& dataFile);

/// Moves the report, plot data and run notes of `runFolder` beside `dataFile`: each is first copied
/// to a temporary name in the data file's folder, and only when all three are there are they renamed
/// over the previous ones (replacing a link of that name, never writing through it). On any failure
/// the temporary copies go and the previous outputs stay; the reason is returned (empty when done).
[[nodiscard]] std::string PublishRunOutputs(const std::filesystem::path& runFolder,
                                            const std::filesystem::path& dataFile);

}  // namespace app::model
