#pragma once
// The contract between the engine library and the programs that run it, in one place: the entry and
// its names, the interface number, the run file's name and layout, the outputs' extensions and the
// version text. The engine, the desktop program and the command-line tools all take them from here.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/version.h"

// The decorated entry name as a literal: the engine's definition needs it for its assembler label.
#define DRENOK_DECORATED_ENTRY "_IDRENOK"

extern "C" {
/// The entry. Called with kInterfaceNumber, it reads the run file from the current folder, runs every
/// problem of the data file and returns 0; any other number returns 1 at once. Errors in the data are
/// told in the report.
std::int32_t IDRENOK(std::int32_t interfaceNumber);
}

namespace engine::interface {

using EntryFunction = std::int32_t (*)(std::int32_t interfaceNumber);

inline constexpr const char* kEntryName = "IDRENOK";
/// The name callers look up; the same function.
inline constexpr const char* kDecoratedEntryName = DRENOK_DECORATED_ENTRY;
inline constexpr std::int32_t kInterfaceNumber = 2;
/// The file name of the engine library, looked up in the program's folder.
inline constexpr const char* kLibraryFileName = "libDrenok2015_DLL.so";

/// The program's version, written as the run file's first line and shown in the report's header.
inline constexpr const char* kVersion = DRENOK_VERSION;

/// The run file, in the current folder of the call.
inline constexpr const char* kRunFileName = "names.dat";
/// Its lines, one each, in this order.
enum RunFileLine : int {
    kVersionLine,
    kDataFileLine,
    kReportLine,
    kPlotDataLine,
    kRunNotesLine,
    kRunFileLines
};

/// The outputs, written beside the data file under its name with these extensions.
inline constexpr const char* kReportExtension = ".dn5o";
inline constexpr const char* kPlotDataExtension = ".dn5p";
inline constexpr const char* kRunNotesExtension = ".dn5r";

/// `dataFile` with its extension (after the last "." of the name) replaced by `extension`, or with
/// `extension` added when the name has none.
[[nodiscard]] inline std::string outputPath(const std::string& dataFile, std::string_view extension) {
    return std::filesystem::path(dataFile).replace_extension(extension).string();
}

/// The run file's text for `dataFile`: the version, the data file and its three outputs, a line each.
[[nodiscard]] inline std::string runFileText(const std::string& dataFile) {
    std::string text = std::string(kVersion) + '\n' + dataFile + '\n';
    for (const char* extension : {kReportExtension, kPlotDataExtension, kRunNotesExtension})
        text += outputPath(dataFile, extension) + '\n';
    return text;
}

}  // namespace engine::interface
