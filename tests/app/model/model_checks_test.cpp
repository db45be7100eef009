#include "app/model/model_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model_test_support.h"

namespace app::model {
namespace {

using testsupport::readText;
using testsupport::ScratchFolder;
using testsupport::writeText;

// The example's text with `from` replaced by `to` on line `line` (1-based), as a hand edit would.
std::string edited(const char* example, int line, const std::string& from, const std::string& to) {
    std::string text = readText(std::filesystem::path(DRENOK_EXAMPLES) / example);
    std::size_t at = 0;
    for (int n = 1; n < line; ++n)
        at = text.find('\n', at) + 1;
    const std::size_t found = text.find(from, at);
    EXPECT_LT(found, text.find('\n', at)) << example << " line " << line << " lacks " << from;
    return text.replace(found, from.size(), to);
}

std::vector<TCheckFinding> check(const ScratchFolder& folder, const std::string& text) {
    const auto path = folder.path / "wall.dn5d";
    writeText(path, text);
    return CheckDataFile(path);
}

TEST(ModelChecks, EveryExampleIsClean) {
    for (const auto& entry : std::filesystem::directory_iterator(DRENOK_EXAMPLES)) {
        if (entry.path().extension() != ".dn5d") continue;
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_EQ(FormatFindings(CheckDataFile(entry.path())), "");
    }
}

// Each fault the engine would run without a word, or stop on, is an error naming where it is.
TEST(ModelChecks, EachFaultIsNamedWhereItIs) {
    ScratchFolder folder("model_checks_", "faults");
    struct Case {
        const char* name;
        std::string text;
        const char* where;
        const char* says;
    };
    const Case cases[] = {
        {"layer above the one before", edited("generated_sand.dn5d", 14, "4 600", "4 100"),
         "Soil Layers, row 2, Depth at Bottom of the Layer", "is not below the bottom of layer 1 (10 ft)"},
        {"stiffness for nodes 0-1 only", edited("generated_sand.dn5d", 4, "0 75 1", "0 1 1"),
         "Wall Stiffness", "nodes 2 to 75 of the wall have no stiffness"},
        {"EI 1e308", edited("generated_sand.dn5d", 4, "2.45E9", "1E308"),
         "Wall Stiffness, row 1, Flexural Stiffness (EI)", "too large"},
        {"increment of 1e300", edited("generated_sand.dn5d", 3, "75 4 ", "75 1E300 "),
         "Wall Properties, Increment Length", "too long"},
        {"negative excavation", edited("generated_sand.dn5d", 7, "120 12", "-12 12"),
         "Wall Properties, Free Height of Wall", "cannot be negative"},
        {"excavation at the tip", edited("generated_sand.dn5d", 7, "120 12", "300 12"),
         "Wall Properties, Free Height of Wall", "needs an embedment"},
        {"tieback below the tip", edited("anchored_tieback_trapezoidal.dn5d", 7, "4 1.25", "31 1.25"),
         "Tieback (ground anchor) Table, row 1, Depth from top of wall", "is not on the wall (0 to 30 ft)"},
        {"restraint below the tip", edited("cantilever_check.dn5d", 4, "3 40 0 0", "3 41 0 0"),
         "Specify Deflection and Slope on Wall, row 1, Nodal No.", "node 41 is not on the wall"},
        {"stage 2 without stiffness below node 10", edited("three_stages.dn5d", 68, "0 60 1", "0 10 1"),
         "Stage 2: Wall Stiffness", "nodes 11 to 60"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto findings = check(folder, c.text);
        ASSERT_TRUE(HasErrors(findings)) << FormatFindings(findings);
        const auto& f = findings.front();
        EXPECT_EQ(f.severity, TCheckFinding::Severity::Error);
        EXPECT_EQ(f.where, c.where) << FormatFindings(findings);
        EXPECT_NE(f.message.find(c.says), std::string::npos) << f.message;
    }
    // Layers that end above the tip are the user's to weigh.
    const auto shallow = check(folder, edited("generated_sand.dn5d", 14, "4 600", "4 200"));
    ASSERT_EQ(shallow.size(), 1U) << FormatFindings(shallow);
    EXPECT_EQ(shallow[0].severity, TCheckFinding::Severity::Warning);
    EXPECT_FALSE(HasErrors(shallow));
}

// A new problem's stiffness record follows the increments, so a wall of n increments has EI at every
// node; records that reached the tip keep reaching it.
TEST(ModelChecks, StiffnessFollowsTheIncrementCount) {
    testsupport::Problem p;
    TGridTable& stiffness = p.tables.PileSect;
    ASSERT_EQ(stiffness.RowCount(), 1);
    p.model.SetIncrementCount(75);
    EXPECT_EQ(stiffness.Cell(1, 0).AsInt(), 75);
    stiffness.SetRowCount(2);
    stiffness.Cell(1, 0).SetInt(40);
    stiffness.Cell(0, 1).SetInt(41);
    stiffness.Cell(1, 1).SetInt(75);
    p.model.SetIncrementCount(90);
    EXPECT_EQ(stiffness.Cell(1, 0).AsInt(), 40);
    EXPECT_EQ(stiffness.Cell(1, 1).AsInt(), 90);
}

}  // namespace
}  // namespace app::model
