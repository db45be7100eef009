// drenok-convert IN OUT: reads a data file in any layout the desktop program opens (chosen by the
// extension of IN) and writes it in the current layout. A staged file goes through its stage files,
// which are only scratch here and live in a temporary folder. Exit 0 on success, 1 with the message
// otherwise.

#include <exception>
#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <system_error>

#include "app/model/data_file.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/stages.h"
#include "app/model/word_reader.h"
#include "output_guard.h"
#include "usage.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TScratchFolder {
public:
    TScratchFolder() {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::ostringstream name;
            name << "drenok-convert-" << std::hex << random() << random();
            const fs::path candidate = fs::temp_directory_path() / name.str();
            if (fs::create_directory(candidate)) {
                m_path = candidate;
                return;
            }
        }
        throw app::model::EInOutError("Cannot create a temporary folder");
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    ~TScratchFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    [[nodiscard]] const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

void convertStaged(app::model::TProgramData& model, const fs::path& in, const fs::path& out) {
    using namespace app::model;
    TScratchFolder scratch;
    std::string message;
    TStageCallbacks callbacks;
    callbacks.ShowMessage = [&message](const std::string& text) { message = text; };
    TStages stages(model, callbacks);
    // The extension of IN names the layout of its stages.
    model.FileName = (scratch.Path() / std::string("stages").append(in.extension().string())).string();
    stages.SplitDataFile(in);
    if (!stages.ConvertStageFiles(FormatFromExtension(in))) throw EInOutError(message);
    stages.JoinStageFiles(out);
    model.FileName = out.string();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace app::model;
    if (tools::AskedForHelp(argc, argv)) {
        std::cout << "usage: drenok-convert IN OUT\n";
        return 0;
    }
    if (argc != 3) {
        std::cerr << "usage: drenok-convert IN OUT\n";
        return 1;
    }
    if (const auto read = tools::ReadFileOverwrittenBy(argv[2], argv[1])) {
        std::cerr << "drenok-convert: " << argv[2] << " would write over " << *read
                  << ", which it reads; name the output otherwise\n";
        return 1;
    }
    try {
        TProblemTables tables;
        TProgramData model(tables);
        CreateFromFile(model, argv[1], FormatFromExtension(argv[1]));
        if (model.StageCount > 1) {
            convertStaged(model, argv[1], argv[2]);
            return 0;
        }
        model.FileName = argv[2];
        SaveDataFile(model, argv[2]);
    } catch (const std::exception& error) {
        std::cerr << MessageAsLines(error.what()) << '\n';
        return 1;
    }
    return 0;
}
