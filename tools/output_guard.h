#pragma once
// No tool writes over a file it reads: an output named like the data file or one of the run's files
// beside it is refused before anything is written.

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <system_error>

#include "engine/interface.h"

namespace tools {

/// The file that `output` would write over: `dataFile` itself or its report, plot data or run notes
/// (compared as resolved paths, through links); empty when none.
[[nodiscard]] inline std::optional<std::string> ReadFileOverwrittenBy(const std::filesystem::path& output,
                                                                      const std::filesystem::path& dataFile) {
    namespace fs = std::filesystem;
    namespace contract = engine::interface;
    std::error_code error;
    const fs::path target = fs::weakly_canonical(output, error);
    if (error) return std::nullopt;
    const std::string data = dataFile.string();
    for (const std::string& read : {data, contract::outputPath(data, contract::kReportExtension),
                                    contract::outputPath(data, contract::kPlotDataExtension),
                                    contract::outputPath(data, contract::kRunNotesExtension)}) {
        const fs::path candidate = fs::weakly_canonical(read, error);
        if (!error && candidate == target) return read;
    }
    return std::nullopt;
}

/// "TOOL: the WHAT OUTPUT would write over READ, which it reads; name the WHAT otherwise" when
/// `output` would write over a file the tool reads; empty when it would not.
[[nodiscard]] inline std::optional<std::string> OverwriteRefusal(const std::string& tool,
                                                                 const std::string& what,
                                                                 const std::filesystem::path& output,
                                                                 const std::filesystem::path& dataFile) {
    const std::optional<std::string> read = ReadFileOverwrittenBy(output, dataFile);
    if (!read) return std::nullopt;
    return tool + ": the " + what + " " + output.string() + " would write over " + *read +
           ", which it reads; name the " + what + " otherwise";
}

}  // namespace tools
