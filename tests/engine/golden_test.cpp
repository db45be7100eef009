// Every example data file against its committed report, plot data and run notes. Set
// DRENOK_UPDATE_GOLDEN=1 to rewrite the golden files after a deliberate change, then review the diff.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "tests/engine/test_support.h"

using namespace enginetest;
namespace fs = std::filesystem;

namespace {

// The date-and-time line is the one line that differs from run to run.
std::string maskDate(const std::string& text) {
    std::istringstream in(text);
    std::ostringstream out;
    std::string line;
    while (std::getline(in, line))
        out << (line.rfind("               Date:  ", 0) == 0 ? "<date line>" : line) << "\n";
    return out.str();
}

std::vector<fs::path> examples() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(DRENOK_EXAMPLES))
        if (entry.path().extension() == ".dn5d") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(Golden, ExamplesMatchTheirCommittedOutput) {
    const fs::path goldenDir = fs::path(DRENOK_TEST_DATA) / "golden";
    const bool update = std::getenv("DRENOK_UPDATE_GOLDEN") != nullptr;
    const auto files = examples();
    ASSERT_GE(files.size(), 4u);
    for (const fs::path& example : files) {
        SCOPED_TRACE(example.filename().string());
        const RunOutput out = runData(readFile(example));
        ASSERT_EQ(out.result, 0);
        EXPECT_FALSE(contains(out.report, "ERROR")) << "the examples must run without error";
        const std::string stem = example.stem().string();
        const std::pair<std::string, const std::string*> parts[] = {
            {".dn5o", &out.report}, {".dn5p", &out.plot}, {".dn5r", &out.notes}};
        for (const auto& [ext, text] : parts) {
            const fs::path golden = goldenDir / (stem + ext);
            if (update) {
                fs::create_directories(goldenDir);
                writeFile(golden, *text);
                continue;
            }
            ASSERT_TRUE(fs::exists(golden)) << golden;
            EXPECT_EQ(maskDate(*text), maskDate(readFile(golden))) << golden;
        }
    }
}
