#include "app/model/run_files.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>
#include <vector>

namespace app::model {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOutputExtensions[] = {kReportExtension, kPlotDataExtension, kRunNotesExtension};

std::string why(const std::error_code& error) {
    // A full disk is the everyday case; say it in the user's words.
    if (error == std::errc::no_space_on_device) return "the disk is full";
    return error.message();
}

std::string temporaryBeside(const fs::path& path) {
    std::random_device random;
    std::ostringstream name;
    name << '.' << path.filename().string().substr(0, 64) << '.' << std::hex << random() << random()
         << ".tmp";
    return (path.parent_path() / name.str()).string();
}

// Why the engine may have left an output out: it removes what it could not write whole, and a
// full disk is the common cause.
std::string runFolderSpace(const fs::path& runFolder) {
    std::error_code error;
    const fs::space_info space = fs::space(runFolder, error);
    if (error) return {};
    constexpr std::uintmax_t kFullBelow = 1024 * 1024;
    if (space.available < kFullBelow)
        return " The disk of the run folder (" + runFolder.string() +
               ") is full: " + std::to_string(space.available / 1024) + " KB free.";
    return {};
}

}  // namespace

std::string RunFilePath(const std::string& dataFile, const char* extension) {
    return engine::interface::outputPath(dataFile, extension);
}

std::string RunFileText(const std::string& dataFile) {
    return engine::interface::runFileText(dataFile);
}

std::string PrepareRunFolder(const fs::path& runFolder, const fs::path& dataFile) {
    std::error_code error;
    fs::copy_file(dataFile, runFolder / kRunDataName, fs::copy_options::overwrite_existing, error);
    if (error)
        return "The data file " + dataFile.string() + " could not be copied to the run folder: " + why(error);
    // The run file carries full paths, each on a line of at most 255 characters with no blank at
    // its end: the run folder's own short names keep to that, unless the folder's path is too long.
    const std::string copy = (runFolder / kRunDataName).string();
    const std::string longest = RunFilePath(copy, kRunNotesExtension);
    if (longest.size() > kMaxRunFilePath || copy.find('\n') != std::string::npos || copy.back() == ' ')
        return "The run folder's path is too long or not plain for the engine's run file (at most " +
               std::to_string(kMaxRunFilePath) + " characters, no line break): " + runFolder.string() +
               ". Set TMPDIR (or XDG_RUNTIME_DIR) to a shorter folder.";
    std::ofstream names(runFolder / kRunFileName, std::ios::binary);
    names << RunFileText(copy);
    names.close();
    if (!names)
        return "The run file could not be written in " + runFolder.string() + ": " + std::strerror(errno);
    return {};
}

std::string PublishRunOutputs(const fs::path& runFolder, const fs::path& dataFile) {
    struct TStaged {
        fs::path from, temporary, to;
    };
    std::vector<TStaged> staged;
    auto discard = [&staged] {
        std::error_code ignored;
        for (const TStaged& s : staged)
            fs::remove(s.temporary, ignored);
    };
    for (const char* extension : kOutputExtensions) {
        TStaged s{
            runFolder / RunFilePath(kRunDataName, extension), {}, RunFilePath(dataFile.string(), extension)};
        s.temporary = temporaryBeside(s.to);
        std::error_code error;
        if (!fs::is_regular_file(s.from, error)) {
            discard();
            if (extension == kOutputExtensions[0]) return kNoRunReportMessage + runFolderSpace(runFolder);
            return "The run left no " + s.from.filename().string() +
                   " (the engine could not write it whole). The outputs of an earlier run, if any, are kept "
                   "as they were." +
                   runFolderSpace(runFolder);
        }
        fs::copy_file(s.from, s.temporary, error);
        staged.push_back(s);
        if (error) {
            discard();
            return "The outputs could not be written beside the data file (" + s.to.parent_path().string() +
                   "): " + why(error) + ". The previous outputs are kept.";
        }
        // A copy that came out shorter than its source (a quota, a full disk noticed late) is no output.
        if (fs::file_size(s.temporary, error) != fs::file_size(s.from)) {
            discard();
            return "The outputs could not be written whole beside the data file (" +
                   s.to.parent_path().string() + "). The previous outputs are kept.";
        }
    }
    for (const TStaged& s : staged) {
        std::error_code error;
        fs::rename(s.temporary, s.to, error);
        if (error) {
            discard();
            return "The output " + s.to.string() + " could not be replaced: " + why(error) + ".";
        }
    }
    return {};
}

}  // namespace app::model
