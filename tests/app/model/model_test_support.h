#pragma once
// What the model tests share: a problem with its own registries, file text helpers and a scratch
// folder removed after the test.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "app/model/problem_tables.h"
#include "app/model/program_data.h"

namespace app::model::testsupport {

// Registries first: they must outlive the tables.
struct Problem {
    TGridTableRegistry plain;
    TGridTableRegistry chart;
    TProblemTables tables{plain, chart};
    TProgramData model{tables};
};

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A fresh folder per test (named after the test file and the case), removed afterwards.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder(const std::string& prefix, const std::string& name)
        : path(std::filesystem::temp_directory_path() / std::string(prefix).append(name)) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    [[nodiscard]] std::size_t FileCount() const {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path))
            ++n;
        return n;
    }
};

}  // namespace app::model::testsupport
