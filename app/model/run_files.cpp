#include "app/model/run_files.h"

namespace app::model {

std::string RunFilePath(const std::string& dataFile, const char* extension) {
    return engine::interface::outputPath(dataFile, extension);
}

std::string RunFileText(const std::string& dataFile) {
    return engine::interface::runFileText(dataFile);
}

}  // namespace app::model
