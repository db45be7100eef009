#include "app/model/run_files.h"

#include <filesystem>

namespace app::model {

std::string RunFilePath(const std::string& dataFile, const char* extension) {
    return std::filesystem::path(dataFile).replace_extension(extension).string();
}

std::string RunFileText(const std::string& dataFile) {
    std::string text = std::string(kProgramVersion) + '\n' + dataFile + '\n';
    for (const char* extension : {kReportExtension, kPlotDataExtension, kRunNotesExtension}) {
        text += RunFilePath(dataFile, extension) + '\n';
    }
    return text;
}

}  // namespace app::model
