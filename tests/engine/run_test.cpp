// The run as the desktop program sees it: files in, files out, one integer back.

#include <gtest/gtest.h>

#include <regex>

#include "engine/run_stop.h"
#include "engine/scratch_files.h"
#include "tests/engine/test_support.h"

using namespace enginetest;
namespace fs = std::filesystem;

namespace {

// A problem of the given title, stage count and marker: a 10-increment cantilever under a tip load.
std::string cantilever(const std::string& title, int stages, int marker,
                       const std::string& stiffness = "0 10 1 1E6") {
    return title + "\n1 1 1 0 0 0 0 " + std::to_string(stages) + " 0 0\n10 1 100 1E-5 0 12\n3 10 0 0\n" +
           stiffness + "\n1\n1 0 0 100 0 0\n0\n" + std::to_string(marker) + "\n";
}

int count(const std::string& text, const std::string& piece) {
    int n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}

// The response blocks of a plot-data file: the lines "case rows units" with their rows.
std::vector<std::string> responseBlocks(const std::string& plot) {
    std::vector<std::string> blocks;
    const std::regex head(R"(^ (\d+) (\d+) (\d+)$)");
    std::istringstream in(plot);
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line))
        lines.push_back(line);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        if (!std::regex_match(lines[i], m, head)) continue;
        std::string block = lines[i] + "\n";
        const size_t rows = std::stoul(m[2]);
        for (size_t k = 1; k <= rows && i + k < lines.size(); ++k)
            block += lines[i + k] + "\n";
        blocks.push_back(block);
        i += rows;
    }
    return blocks;
}

bool endsInOrder(const RunOutput& out) {
    return out.result == 0 && contains(out.report, "     END OF ANALYSIS                             \n");
}

}  // namespace

TEST(RunFlow, InterfaceNumberAndRunFile) {
    TempDir dir;
    writeFile(dir.path() / "wall.dn5d", cantilever("t", 1, 0));
    writeFile(dir.path() / "names.dat", "2015.5.2\nwall.dn5d\nwall.dn5o\nwall.dn5p\nwall.dn5r\n");
    engine::Run::Options options;
    options.workDir = dir.path().string();
    for (int wrong : {1, 3, 0, -2})
        EXPECT_EQ(engine::callEntry(wrong, options), 1);
    EXPECT_FALSE(fs::exists(dir.path() / "wall.dn5o"));
    EXPECT_FALSE(fs::exists(dir.path() / "wall.dn5p"));

    // A run file that ends before its four paths: two console lines, no output, control back.
    writeFile(dir.path() / "names.dat", "2015.5.2\nwall.dn5d\nwall.dn5o\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine::callEntry(2, options), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!\n");
    EXPECT_FALSE(fs::exists(dir.path() / "wall.dn5o"));
    fs::remove(dir.path() / "names.dat");
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine::callEntry(2, options), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("PLEASE CREATE"), std::string::npos);
}

TEST(RunFlow, SingleProblem) {
    const RunOutput out = runData(cantilever("Single", 1, 0));
    ASSERT_TRUE(endsInOrder(out));
    EXPECT_EQ(count(out.report, "DRENOK for Windows, Version 2015.5.2"), 1);
    EXPECT_EQ(count(out.notes, "ITERATION MONITOR DATA"), 1);
    EXPECT_EQ(count(out.notes, "       NO   "), 2);  // one monitor line per iteration
    const auto blocks = responseBlocks(out.plot);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].substr(0, 10), " 1 12 1\n  ");
    EXPECT_EQ(out.plot.substr(0, 8), " 0\n 1 0\n");  // no pressure, no curves
}

TEST(RunFlow, TheNineLineCantilever) {
    const RunOutput out = runData(readFile(std::filesystem::path(DRENOK_EXAMPLES) / "cantilever_check.dn5d"));
    ASSERT_TRUE(endsInOrder(out));
    EXPECT_TRUE(
        contains(out.report, "\n     0   0.000E+00   0.213E+02  -0.800E+00   0.000E+00"));  // w(0) = 21.34
    EXPECT_TRUE(
        contains(out.report, "\n    20   0.200E+02   0.667E+01  -0.600E+00   0.200E+05"));  // M(20) = 20000
    EXPECT_TRUE(contains(out.plot, "\n    0.0000E+00    0.2134E+02 "));
    EXPECT_TRUE(contains(out.report, "     RESULTS -- ITERATION  2\n"));
}

TEST(RunFlow, OutputsReplaceLongerFilesOfAnEarlierRun) {
    TempDir dir;
    const RunOutput big =
        runInFolder(dir.path(), cantilever("Staged wall", 3, 1) + cantilever(" Stage No : 2", 3, 2) +
                                    cantilever(" Stage No : 3", 3, 3));
    const RunOutput small = runInFolder(dir.path(), cantilever("Single", 1, 0));
    const RunOutput fresh = runData(cantilever("Single", 1, 0));
    ASSERT_GT(big.report.size(), small.report.size());
    EXPECT_EQ(small.report, fresh.report);  // no tail of the longer report is left behind
    EXPECT_EQ(small.plot, fresh.plot);
    EXPECT_EQ(small.notes, fresh.notes);
}

TEST(RunFlow, ThreeStagesAndLongTerm) {
    const RunOutput staged = runData(cantilever("Staged wall", 3, 1) + cantilever(" Stage No : 2", 3, 2) +
                                     cantilever(" Stage No : 3", 3, 3) + "garbage after the end\n");
    ASSERT_TRUE(endsInOrder(staged));
    EXPECT_EQ(count(staged.report, "DRENOK for Windows"), 3);
    EXPECT_TRUE(contains(staged.report, "      Stage No : 3  Staged wall"));
    EXPECT_EQ(count(staged.report, "Stage No : 2  Staged wall"), 2);  // heading repeated before the results
    EXPECT_FALSE(contains(staged.report, "ERROR"));
    const auto blocks = responseBlocks(staged.plot);
    ASSERT_EQ(blocks.size(), 3u);
    for (const auto& b : blocks)
        EXPECT_EQ(b.substr(0, 8), " 3 12 1\n");
    // the header of a later stage follows two empty lines
    EXPECT_TRUE(contains(staged.report, "END OF ANALYSIS") &&
                contains(staged.report, "0.500E+06\n\n\n     ======"));

    const RunOutput longTerm =
        runData(cantilever("Short term", 1, 9) + cantilever("Short term", 1, 0, "0 10 1 5E5"));
    ASSERT_TRUE(endsInOrder(longTerm));
    EXPECT_TRUE(contains(longTerm.report, "      Long Term :  Short term"));
    const auto lt = responseBlocks(longTerm.plot);
    ASSERT_EQ(lt.size(), 2u);
    EXPECT_EQ(lt[0].substr(0, 8), " 2 12 1\n");
    EXPECT_EQ(lt[1].substr(0, 8), " 2 12 1\n");
    EXPECT_NE(lt[0], lt[1]);  // the long-term wall is softer
}

TEST(RunFlow, ErrorStopInTheSecondStage) {
    const std::string bad = " Stage No : 2\n1 2 1 0 0 0 0 3 0 0\n10 1 100 1E-5 0 12\n3 10 0 0\n2 4 0 0\n";
    const RunOutput out = runData(cantilever("Staged wall", 3, 1) + bad + cantilever(" Stage No : 3", 3, 3));
    ASSERT_TRUE(endsInOrder(out));
    EXPECT_TRUE(
        contains(out.report, "\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n\n\n\n     END OF ANALYSIS"));
    EXPECT_FALSE(contains(out.report, "Stage No : 3"));
    const auto blocks = responseBlocks(out.plot);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0], blocks[1]);  // the first stage's block again
    EXPECT_EQ(blocks[1].substr(0, 8), " 3 12 1\n");
}

TEST(RunFlow, BadInputEndsTheRunInOrder) {
    struct Case {
        const char* name;
        std::string data;
        const char* message;  // nullptr: ends without a message of its own
        bool solved = false;  // the problem was solved before the fault
    };
    const std::string head = "t\n1 1 1 0 0 0 0 1 0 0\n10 1 100 1E-5 0 12\n";
    const Case cases[] = {
        {"empty file", "", "ERROR -- INPUT DATA FILE ENDS WHERE A TITLE IS EXPECTED"},
        {"ends inside the control record", "t\n1 1 1 0 0\n", "ENDS BEFORE A RECORD IS COMPLETE (LINE 2)"},
        {"text for a number", "t\n1 1 1 0 0 0 0 1 0 0\n10 one 100 1E-5 0 12\n",
         "NUMBER EXPECTED IN INPUT DATA FILE (LINE 3): 'one'"},
        {"real for an integer", "t\n1 1 1 0 0 0 0 1.5 0 0\n", "INTEGER EXPECTED"},
        {"21 restraints", "t\n1 21 1 0 0 0 0 1 0 0\n10 1 100 1E-5 0 12\n",
         "TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"too many increments", "t\n1 0 1 0 0 0 0 1 0 0\n100000 1 100 1E-5 0 12\n",
         "TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"zero increment length", "t\n1 0 1 0 0 0 0 1 0 0\n10 0 100 1E-5 0 12\n", "MUST BE POSITIVE"},
        {"restraint above -1", "t\n1 1 1 0 0 0 0 1 0 0\n10 1 100 1E-5 0 12\n1 -2 0 0\n",
         "STATIONS NOT IN ORDER"},
        {"restraint nodes 12 then 5", "t\n1 2 1 0 0 0 0 1 0 0\n20 1 100 1E-5 0 12\n1 12 0 0\n1 5 0 0\n",
         "STATIONS NOT IN ORDER"},
        {"node far below the tip", head + "3 10 0 0\n0 5000 1 1E6\n", "STATION 5000 LIES OUTSIDE THE WALL"},
        {"stiffness below the tip", head + "3 10 0 0\n0 11 1 1E6\n0\n0\n0\n",
         "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"},
        {"huge pressure count",
         "t\n1 0 1 0 1 0 0 1 0 0\n10 1 100 1E-5 0 12\n0 10 1 1E6\n0\n0\n2000000000\n0 1\n",
         "ENDS BEFORE A RECORD IS COMPLETE"},
        {"401 user curves", "t\n1 0 1 0 0 1 401 1 0 0\n10 1 100 1E-5 0 12\n0 10 1 1E6\n0\n0\n",
         "TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"huge curve point count",
         "t\n1 0 1 0 0 1 1 1 0 0\n10 1 100 1E-5 0 12\n0 10 1 1E6\n0\n0\n5 2000000000 1 1\n0 0\n",
         "ENDS BEFORE A RECORD IS COMPLETE"},
        {"negative restraint count", "t\n1 -1 1 0 0 0 0 1 0 0\n10 1 100 1E-5 0 12\n", nullptr},
        {"negative stiffness count", "t\n1 0 -1 0 0 0 0 1 0 0\n10 1 100 1E-5 0 12\n", nullptr},
        {"missing marker", cantilever("t", 1, 0).substr(0, cantilever("t", 1, 0).size() - 2),
         "ENDS BEFORE A RECORD", true},
        {"zero tieback length",
         "t\n1 0 1 0 0 0 0 1 0 1\n10 1 100 1E-5 0 12\n0 10 1 1E6\n0\n0\n1 1 1 0 0 1\n0\n", "A TIEBACK NEEDS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunOutput out = runData(c.data);
        EXPECT_TRUE(endsInOrder(out));
        if (c.message)
            EXPECT_TRUE(contains(out.report, c.message))
                << out.report.substr(out.report.size() > 600 ? out.report.size() - 600 : 0);
        else
            EXPECT_FALSE(contains(out.report, "ERROR"));
        // the response block at hand: no rows unless the problem was solved
        const auto blocks = responseBlocks(out.plot);
        ASSERT_FALSE(blocks.empty());
        EXPECT_EQ(blocks.back().substr(0, 6), c.solved ? " 1 12 " : " 1 0 1");
    }

    const RunOutput noFile = [] {
        TempDir dir;
        writeFile(dir.path() / "names.dat", "2015.5.2\nmissing.dn5d\nwall.dn5o\nwall.dn5p\nwall.dn5r\n");
        engine::Run::Options options;
        options.workDir = dir.path().string();
        RunOutput out;
        out.result = engine::callEntry(2, options);
        out.report = readFile(dir.path() / "wall.dn5o");
        out.plot = readFile(dir.path() / "wall.dn5p");
        return out;
    }();
    EXPECT_TRUE(endsInOrder(noFile));
    EXPECT_TRUE(contains(noFile.report, "ERROR -- INPUT DATA FILE CANNOT BE OPENED"));
    EXPECT_EQ(noFile.plot, " 1 0 1\n");
}

TEST(RunFlow, GeneratedPressureRunsThroughTheScratchFile) {
    // Soil block: wall and water, surface, two surcharges, one sand layer; water at the surface.
    const std::string data =
        "t\n1 0 1 0 2 0 0 1 0 0\n10 12 100 1E-5 60 12\n0 10 1 1E9\n0\n0\n"
        "60 12 12 0 200 1 1 0\n0 0 0 0 0 0\n2\n1 1000 24 0\n3 100 12 24\n1\n4 240\n0.07 0 30 0 100 0\n"
        "0.07 0 30 0 100 0\n0\n";
    TempDir dir;
    const RunOutput out = runInFolder(dir.path(), data);
    ASSERT_TRUE(endsInOrder(out));
    EXPECT_FALSE(contains(out.report, "ERROR"));
    for (const char* section :
         {"WALL INFORMATION", "SURCHARGE INFORMATION", "SOIL INFORMATION", "EFFECTIVE OVERBURDEN STRESS",
          "ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT", "ACTIVE EARTH PRESSURE OF EACH LAYER",
          "ACTIVE WATER PRESSURE OF EACH LAYER"})
        EXPECT_TRUE(contains(out.report, section)) << section;
    // 241 rows computed, 121 down to the tip (one per inch), every 6th of them printed: 21.
    const std::string scratch = readFile(dir.path() / "ZKTEMP.001");
    EXPECT_EQ(scratch.substr(0, 5), " 121\n");
    EXPECT_EQ(count(scratch, "\n"), 242);
    EXPECT_EQ(out.plot.substr(0, 4), " 21\n");

    const RunOutput truncated = runData(data.substr(0, data.find("1\n4 240")));
    EXPECT_TRUE(contains(truncated.report, "ENDS BEFORE A RECORD IS COMPLETE"));
    // With generated p-y curves as well: five curves of the one layer below the excavation come back
    // through SOILDATA, two-sided with 33 points each, after one user curve handed over.
    std::string py = data;
    py.replace(py.find("1 0 1 0 2 0 0 1 0 0"), 19, "1 0 1 0 2 2 1 1 0 0");
    py.replace(py.find("0.07 0 30 0 100 0\n0\n"), 21, "0.07 0 30 0 100 0\n9 2 1 1\n0 0\n1 -50\n0\n");
    TempDir pyDir;
    const RunOutput generated = runInFolder(pyDir.path(), py);
    ASSERT_TRUE(endsInOrder(generated));
    EXPECT_FALSE(contains(generated.report, "ERROR"));
    EXPECT_TRUE(contains(generated.report, "P-Y CURVES DATA"));
    EXPECT_EQ(readFile(pyDir.path() / "SOILDATA").substr(0, 3), " 6\n");
    EXPECT_TRUE(contains(generated.plot, "\n 1 6\n 9 2\n 0.0 0.0\n 1.0 -50.0\n 5 33\n"));
}

TEST(Report, BoxesOfTheStiffnessAndCoefficientSections) {
    // No stiffness records: the box and its unit line are still written (they head the load lines),
    // followed by the empty-table line.
    const RunOutput none =
        runData("t\n1 1 0 0 0 0 0 1 0 0\n10 1 100 1E-5 0 12\n3 10 0 0\n1\n1 0 0 100 0 0\n0\n0\n");
    ASSERT_TRUE(endsInOrder(none));
    EXPECT_TRUE(contains(none.report,
                         "      *        STIFFNESS AND LOAD DATA                 *\n"
                         "      **************************************************\n"
                         "      EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,\n"));
    const size_t units = none.report.find("                  LBS-IN**2");
    ASSERT_NE(units, std::string::npos);
    const size_t after = none.report.find('\n', units) + 1;
    EXPECT_EQ(none.report.substr(after, 22), "\n                    \n");

    // The coefficient box is followed by exactly one empty line before its column heading.
    const std::string data =
        "t\n1 0 1 0 2 0 0 1 0 0\n10 12 100 1E-5 60 12\n0 10 1 1E9\n0\n0\n"
        "60 12 12 0 200 1 1 0\n0 0 0 0 0 0\n0\n1\n4 240\n0.07 0 30 0 100 0\n0.07 0 30 0 100 0\n0\n";
    const RunOutput generated = runData(data);
    ASSERT_TRUE(endsInOrder(generated));
    EXPECT_TRUE(contains(generated.report,
                         "      * ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *\n"
                         "      **************************************************\n"
                         "\n"
                         "        LAYER         ACTIVE EARTH     PASSIVE EARTH   \n"));
}

TEST(RunFlow, GeneratedCurvesWithNoLayerBelowTheExcavation) {
    // The only layer ends at the free height: no generated curve; SOILDATA holds the count only and
    // the wall, fixed at its tip, is solved without soil springs.
    const std::string data =
        "t\n1 1 1 0 0 2 0 1 0 0\n10 12 100 1E-5 60 12\n3 10 0 0\n0 10 1 1E9\n1\n1 0 0 100 0 0\n0\n"
        "60 12 12 500 500 1 1 0\n0 0 0 0 0 0\n0\n1\n4 60\n0.07 0 30 0 100 0\n0.07 0 30 0 100 0\n0\n";
    TempDir dir;
    const RunOutput out = runInFolder(dir.path(), data);
    ASSERT_TRUE(endsInOrder(out));
    EXPECT_FALSE(contains(out.report, "ERROR")) << out.report.substr(out.report.size() - 400);
    EXPECT_EQ(readFile(dir.path() / "SOILDATA"), " 0\n");
    EXPECT_TRUE(contains(out.plot, " 0\n 1 0\n 1 12 1\n"));  // no pressure, no curves, the response
    EXPECT_TRUE(contains(out.report, "P-Y CURVES DATA"));
}

TEST(RunFlow, UserPressureAndCurvesReachThePlotData) {
    // Pressure from 0 at the top to 30 F/L at node 6; a zero soil part is written as 1E-7.
    const std::string data =
        "User tables\n3 0 1 0 1 1 2 1 0 0\n10 1 100 1E-5 6 1\n0 10 1 1E6\n0\n0\n"
        "2\n0 0\n6 30\n"
        "6 3 1 1\n-1 10\n0 0\n1 -10\n10 3 2 0.5\n-1 10\n0 0\n1 -10\n0\n";
    const RunOutput out = runData(data);
    ASSERT_TRUE(endsInOrder(out));
    EXPECT_FALSE(contains(out.report, "ERROR"));
    EXPECT_EQ(out.plot.substr(0, out.plot.find(" 3 2\n")),
              " 2\n   0.000E+00   0.000E+00   0.100E-06   0.000E+00\n   0.600E+01   0.300E+02   0.300E+02   "
              "0.000E+00\n");
    // user curves: node and point count, then the points with their multipliers
    EXPECT_TRUE(contains(out.plot, " 3 2\n 6 3\n -1.0 10.0\n 0.0 0.0\n 1.0 -10.0\n 10 3\n -0.5 20.0\n"));
    EXPECT_TRUE(contains(out.report, "*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *"));
    // node 6 at the free height: range case 2, continued
    EXPECT_TRUE(contains(out.report, "\n        6      1          0.100E+01     0.100E+01            3\n"));
}

TEST(ScratchFiles, GeneratedCurvesAreAssembledTwoSided) {
    TempDir dir;
    std::string soildata = " 2\n 4 2\n 1 5.0 0.0\n 2 -5.0 1.0\n 36.0 34\n";
    for (int side = 0; side < 2; ++side)
        for (int i = 1; i <= 17; ++i)  // side 1: p = 10 i, side 2: p = 100 i; y = i - 1
            soildata += std::to_string(i) + " " + std::to_string((side ? 100 : 10) * i) + " " +
                        std::to_string(i - 1) + "\n";
    writeFile(dir.path() / "SOILDATA", soildata);
    engine::Stations st;
    st.reset(20, 2.0);
    std::string plotText;
    engine::PlotData plot(plotText);
    engine::readGeneratedCurves((dir.path() / "SOILDATA").string(), 1, st, plot, 1);
    ASSERT_EQ(st.curves.size(), 2u);
    EXPECT_EQ(st.curves[0].node, 4);
    EXPECT_EQ(st.curves[0].flag, 0);
    EXPECT_EQ(st.curves[0].p[1], -10.0);  // times h
    const engine::StoredCurve& g = st.curves[1];
    EXPECT_EQ(g.node, 18);
    EXPECT_EQ(g.flag, 1);
    ASSERT_EQ(g.y.size(), 33u);
    EXPECT_EQ(g.y[0], -16.0);  // backfill side reversed, y negated, p as written
    EXPECT_EQ(g.p[0], 1700.0 * 2.0);
    EXPECT_EQ(g.y[16], -0.0);
    EXPECT_EQ(g.p[16], 100.0 * 2.0);
    EXPECT_EQ(g.y[17], 1.0);  // then the excavation side from its second point, p negated
    EXPECT_EQ(g.p[17], -20.0 * 2.0);
    EXPECT_EQ(g.y[32], 16.0);
    EXPECT_TRUE(contains(plotText, " 1 2\n 4 2\n 0.0 5.0\n 1.0 -5.0\n 18 33\n -16.0 1700.0\n"));

    // Numerals of the generator's own layout reach the plot data as they were read, signs turned.
    std::string written = " 1\n 36.0 34\n";
    for (int side = 0; side < 2; ++side)
        for (int i = 1; i <= 17; ++i) {
            char line[64];
            std::snprintf(line, sizeof line, "%5d  0.%03dE+0%d  0.%03dE+01\n", i, 100 + i, side + 2, 100 + i);
            written += line;
        }
    writeFile(dir.path() / "SOILDATA", written);
    engine::Stations st2;
    st2.reset(20, 2.0);
    std::string plot2Text;
    engine::PlotData plot2(plot2Text);
    engine::readGeneratedCurves((dir.path() / "SOILDATA").string(), 0, st2, plot2, 1);
    EXPECT_TRUE(contains(plot2Text, "\n -0.117E+01 0.117E+03\n")) << plot2Text;  // backfill side, first point
    EXPECT_TRUE(contains(plot2Text, "\n 0.102E+01 -0.102E+02\n"));               // excavation side, point 2
    EXPECT_EQ(st2.curves[0].y[0], -1.17);
    EXPECT_EQ(st2.curves[0].p[32], -0.117E+02 * 2.0);

    writeFile(dir.path() / "SOILDATA", " 401\n");
    EXPECT_THROW(engine::readGeneratedCurves((dir.path() / "SOILDATA").string(), 0, st, plot, 1),
                 engine::RunStop);
    writeFile(dir.path() / "SOILDATA", " 1\n 36.0 20\n");
    EXPECT_THROW(engine::readGeneratedCurves((dir.path() / "SOILDATA").string(), 0, st, plot, 1),
                 engine::RunStop);

    writeFile(dir.path() / "ZKTEMP.001",
              "2\n     0.000E+00     0.100E+01     0.100E+01     0.000E+00\n     0.100+101     0.200E+01     "
              "0.100E+01     0.100E+01\n");
    const auto rows = engine::readGeneratedPressure((dir.path() / "ZKTEMP.001").string());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].depth, 0.1e101);
    EXPECT_EQ(rows[1].surcharge, 1.0);
}
