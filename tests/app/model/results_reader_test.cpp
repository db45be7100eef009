#include "app/model/results_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/model/data_file.h"

namespace app::model {
namespace {

constexpr long double kTol = 1e-9L;

std::filesystem::path golden(const char* name) {
    return std::filesystem::path(DRENOK_GOLDEN_DIR) / name;
}

// Response row j of case c: depth, deflection, moment, shear, reaction.
std::array<long double, 5> row(int c, int j) {
    return {12.0L * j, 0.5L + c + j, 1000.0L * (j + 1) * (c + 1), 2000.0L * (j + 1) + c, 3.0L * (j + 1) + c};
}

// A hand-made English problem block: pressure row j of case c is (12j, 10(c+1)+j, j+0.5, 2j); p-y
// curve i sits at 10(i+1) with points (0.1j, 100i+j+1).
std::string block(int c, int pressureRows, std::vector<int> curvePoints, int cases, int nodes) {
    std::ostringstream s;
    s << pressureRows << "\n";
    for (int j = 0; j < pressureRows; ++j)
        s << 12 * j << " " << 10 * (c + 1) + j << " " << j + 0.5 << " " << 2 * j << "\n";
    s << "1 " << curvePoints.size() << "\n";
    for (std::size_t i = 0; i < curvePoints.size(); ++i) {
        s << 10 * (i + 1) << " " << curvePoints[i] << "\n";
        for (int j = 0; j < curvePoints[i]; ++j)
            s << 0.1 * j << " " << 100 * i + j + 1 << "\n";
    }
    s << cases << " " << nodes << " 1\n";
    for (int j = 0; j < nodes; ++j) {
        for (long double v : row(c, j))
            s << static_cast<double>(v) << " ";
        s << "\n";
    }
    return s.str();
}

class ResultsReaderTest : public ::testing::Test {
protected:
    ResultsReaderTest() {
        reader.OnShowMessage = [this](const std::string& m) { messages.push_back(m); };
    }

    bool readGolden(const char* name) { return reader.ReadResults(golden(name), true); }

    std::vector<TGraphPlot*> responsePlots() {
        return {&p.pltDef, &p.pltMom, &p.pltShear, &p.pltSoil, &p.pltDMS};
    }

    void expectLegends(const std::vector<std::string>& legends) {
        for (TGraphPlot* plot : responsePlots()) {
            ASSERT_EQ(plot->LineCount(), static_cast<int>(legends.size())) << plot->Caption;
            for (int i = 0; i < plot->LineCount(); ++i)
                EXPECT_EQ(plot->LegendText(i), legends[static_cast<std::size_t>(i)]) << plot->Caption;
        }
    }

    // Registries first: they must outlive the tables.
    TGridTableRegistry plain;
    TGridTableRegistry chart;
    TProblemTables tables{plain, chart};
    TProgramData data{tables};
    std::unique_ptr<PlotDefinitions> plots = CreatePlotDefinitions();
    PlotDefinitions& p = *plots;
    TResultsReader reader{p, data};
    std::vector<std::string> messages;
};

TEST_F(ResultsReaderTest, EnglishSingleProblemWithoutPressureConvertsForDisplay) {
    ASSERT_TRUE(readGolden("cantilever_check.dn5p"));
    EXPECT_TRUE(messages.empty());
    // Pressure option 0: the earth-pressure plots stay empty.
    EXPECT_EQ(p.pltLD.PointCount(), 0);
    EXPECT_EQ(p.PltCombine.PointCount(), 0);
    EXPECT_EQ(p.pltPY.LineCount(), 0);
    p.pltDMS.CurveName = "Load #";  // the three-panel plot has its own default prefix
    expectLegends({"Load #1"});
    EXPECT_EQ(p.pltDef.PointCount(), 41);  // nodes 0 to 40: the row below the tip is not drawn

    // Row 40: 40 in, 0 in, 20000 lb-in, -19500 lb, -1000 lb.
    const TResponsePoint& r = data.Results.Response(0, 40);
    EXPECT_NEAR(r.Depth, 40.0L / 12.0L, kTol);
    EXPECT_NEAR(r.Moment, 20.0L, kTol);
    EXPECT_NEAR(r.Shear, -19.5L, kTol);
    EXPECT_NEAR(r.SoilReaction, -1000.0L, kTol);
    EXPECT_NEAR(p.pltDef.Point(0, 1).X, 20.54L, kTol);
    EXPECT_NEAR(p.pltMom.Point(0, 40).X, 20.0L, kTol);
    EXPECT_NEAR(p.pltShear.Point(0, 40).Y, 40.0L / 12.0L, kTol);
    EXPECT_NEAR(p.pltSoil.Point(0, 40).X, -1000.0L, kTol);
    EXPECT_NEAR(p.pltDMS.Point2(0, 40).X, 20.0L, kTol);
    EXPECT_NEAR(p.pltDMS.Point3(0, 40).X, -19.5L, kTol);

    EXPECT_EQ(p.pltLD.YCaption, "Depth (ft)");
    EXPECT_EQ(p.pltSoil.YCaption, "Depth (ft)");
    EXPECT_EQ(p.pltMom.XCaption, "Bending Moment (in-kips)");
    EXPECT_EQ(p.pltShear.XCaption, "Shear (kips)");
    EXPECT_EQ(p.pltDMS.XTitle(1), "Deflection (in)");
    EXPECT_EQ(p.pltDMS.YCaption, "Depth (ft)");
    EXPECT_EQ(p.pltDMS.XCaption2, "Bending Moment (in-kips)");
    EXPECT_EQ(p.pltDMS.YCaption3, "Depth (ft)");
    EXPECT_EQ(p.pltDMS.XCaption3, "Shear (kips)");
    for (const TGraphPlot* plot : p.All())
        EXPECT_EQ(plot->Units(), 1) << plot->Caption;
}

TEST_F(ResultsReaderTest, SIFileKeepsValuesAsRead) {
    data.SetUnitSystem(2);
    ASSERT_TRUE(readGolden("si_clay_over_sand_strip.dn5p"));
    // Pressure row 40: 8.0 m, 17.2, 16.9, 0.239 kN/m; response row 51: 5.1 m, 41.80 kN-m, 4.236 kN.
    EXPECT_NEAR(p.pltLD.Point(0, 40).Y, 8.0L, kTol);
    EXPECT_NEAR(p.PltCombine.Point(0, 40).Y, 8.0L, kTol);
    EXPECT_NEAR(p.PltCombine.Point(2, 40).X, 0.239L, kTol);
    EXPECT_NEAR(p.pltDef.Point(0, 51).Y, 5.1L, kTol);
    EXPECT_NEAR(p.pltMom.Point(0, 51).X, 41.80L, kTol);
    EXPECT_NEAR(data.Results.Response(0, 51).Shear, 4.236L, kTol);
    ASSERT_EQ(p.pltPY.LineCount(), 9);
    EXPECT_EQ(p.pltPY.Line(8).Value, 80.0L);

    EXPECT_EQ(p.pltDef.YCaption, "Depth (m)");
    EXPECT_EQ(p.pltLD.YCaption, "Depth (m)");
    EXPECT_EQ(p.pltDMS.XCaption2, "Bending Moment (m-kN)");
    EXPECT_EQ(p.pltShear.XCaption, "Shear (kN)");
    for (const TGraphPlot* plot : p.All())
        EXPECT_EQ(plot->Units(), 2) << plot->Caption;
}

TEST_F(ResultsReaderTest, PressureCurvesFollowFileUnitsAndCombinedFollowsProblemUnits) {
    // Row 1 of generated_sand: 6 in, total 1.42, soil 1.42, surcharge 0.
    for (int units : {1, 2}) {
        SCOPED_TRACE(units);
        data.SetUnitSystem(units);
        ASSERT_TRUE(readGolden("generated_sand.dn5p"));
        EXPECT_EQ(p.pltLD.PointCount(), 51);
        EXPECT_NEAR(p.pltLD.Point(0, 1).X, 1.42L, kTol);
        EXPECT_NEAR(p.pltLD.Point(0, 1).Y, 0.5L, kTol);
        EXPECT_NEAR(p.PltCombine.Point(0, 1).Y, units == 1 ? 0.5L : 6.0L, kTol);
        EXPECT_NEAR(data.Results.Pressure(0, 1).Depth, 6.0L, kTol);
    }
    EXPECT_EQ(p.PltCombine.LegendText(0), "Total Earth Pressure");
    EXPECT_EQ(p.PltCombine.LegendText(1), "from Soils ");
    EXPECT_EQ(p.PltCombine.LegendText(2), "from Surcharge Loads");
    EXPECT_NEAR(p.PltCombine.Point(1, 1).X, 1.42L, kTol);
    // Generated curves: fixed-format headers with the depth.
    ASSERT_EQ(p.pltPY.LineCount(), 5);
    EXPECT_NEAR(p.pltPY.Line(4).Value, 307.9L, kTol);
    EXPECT_EQ(p.pltPY.PointCount(), 33);

    // Records of two values: depth and total only.
    data.EarthPressureValuesPerRecord = 2;
    ASSERT_TRUE(reader.ReadResultsText("2  0 5  24 7  1 0  1 1 1  0 0 0 0 0", true));
    EXPECT_NEAR(p.pltLD.Point(0, 1).X, 7.0L, kTol);
    EXPECT_EQ(p.PltCombine.Point(1, 1).X, 0.0L);
}

TEST_F(ResultsReaderTest, SeveralCasesAreLabelledByStageOrShortAndLongTerm) {
    ASSERT_TRUE(readGolden("short_long_term.dn5p"));
    expectLegends({"Stage: 1", "Stage: 2"});
    data.ToggleLongTerm();
    ASSERT_TRUE(readGolden("short_long_term.dn5p"));
    expectLegends({"Short-Term", "Long-Term"});
    EXPECT_NEAR(p.pltDef.Point(1, 0).X, 0.5232L, kTol);  // the long-term top deflection in the file
    EXPECT_NEAR(p.pltLD.Point(1, 1).Y, 10.0L, kTol);
    EXPECT_NEAR(data.Results.Pressure(1, 1).Depth, 120.0L, kTol);

    data.ToggleLongTerm();
    ASSERT_TRUE(readGolden("three_stages.dn5p"));
    expectLegends({"Stage: 1", "Stage: 2", "Stage: 3"});
    EXPECT_EQ(p.pltDMS.LineCount3(), 3);
    EXPECT_EQ(data.Results.CaseCount(), 3);
    ASSERT_EQ(p.pltPY.LineCount(), 5);  // the last stage's curves
    EXPECT_EQ(p.pltPY.Line(0).Value, 40.0L);
    EXPECT_EQ(p.pltPY.LegendText(0), "Depth 3.333 ft");  // 40 in, in the depth axes' feet
    EXPECT_EQ(p.pltLD.LegendText(2), "Stage: 3");        // pressure curves are labelled by stage too

    // A single problem read next has one curve with the default label again.
    ASSERT_TRUE(readGolden("cantilever_check.dn5p"));
    p.pltDMS.CurveName = "Load #";
    expectLegends({"Load #1"});
    EXPECT_EQ(data.Results.CaseCount(), 1);
}

TEST_F(ResultsReaderTest, ShorterLaterStagesArePaddedWithTheirLastPoint) {
    ASSERT_TRUE(reader.ReadResultsText(block(0, 4, {3, 4}, 2, 5) + block(1, 2, {2, 3}, 2, 3), true));
    // Stage 2 has rows 0..2 of 5. The curves stop at the tip, the row before the last: stage 2's
    // points 2 and 3 repeat its point 1, converted like it. The store keeps every row.
    ASSERT_EQ(p.pltDef.PointCount(), 4);
    const std::array<long double, 5> tip = row(1, 1);
    for (int j = 2; j < 4; ++j) {
        SCOPED_TRACE(j);
        EXPECT_NEAR(p.pltDef.Point(1, j).X, tip[1], kTol);
        EXPECT_NEAR(p.pltDef.Point(1, j).Y, tip[0] / 12.0L, kTol);
        EXPECT_NEAR(p.pltMom.Point(1, j).X, tip[2] / 1000.0L, kTol);
        EXPECT_NEAR(p.pltShear.Point(1, j).X, tip[3] / 1000.0L, kTol);
        EXPECT_NEAR(p.pltSoil.Point(1, j).X, tip[4], kTol);
        EXPECT_NEAR(p.pltDMS.Point(1, j).Y, tip[0] / 12.0L, kTol);
        EXPECT_NEAR(p.pltDMS.Point2(1, j).X, tip[2] / 1000.0L, kTol);
        EXPECT_NEAR(p.pltDMS.Point3(1, j).X, tip[3] / 1000.0L, kTol);
    }
    const std::array<long double, 5> last = row(1, 2);
    for (int j = 3; j < 5; ++j) {
        EXPECT_NEAR(data.Results.Response(1, j).Moment, last[2] / 1000.0L, kTol);
        EXPECT_NEAR(data.Results.Response(1, j).Depth, last[0] / 12.0L, kTol);
    }
    EXPECT_NEAR(p.pltDef.Point(0, 3).X, row(0, 3)[1], kTol);

    // Pressure: stage 2's two rows padded to four; stage 1 not cut short; combined shows case 1.
    ASSERT_EQ(p.pltLD.PointCount(), 4);
    EXPECT_NEAR(p.pltLD.Point(0, 3).X, 13.0L, kTol);
    EXPECT_NEAR(p.pltLD.Point(1, 3).X, 21.0L, kTol);
    EXPECT_NEAR(p.pltLD.Point(1, 3).Y, 1.0L, kTol);
    EXPECT_NEAR(p.PltCombine.Point(0, 1).X, 11.0L, kTol);

    // Later p-y curves replace the first ones and are not padded.
    ASSERT_EQ(p.pltPY.LineCount(), 2);
    EXPECT_EQ(p.pltPY.Line(0).Points.size(), 2u);
    EXPECT_EQ(p.pltPY.Line(1).Points.size(), 3u);
}

TEST_F(ResultsReaderTest, FirstPYCurvesArePaddedToTheLongest) {
    ASSERT_TRUE(reader.ReadResultsText(block(0, 0, {5, 8, 12}, 1, 3), true));
    ASSERT_EQ(p.pltPY.LineCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(p.pltPY.Line(i).Points.size(), 12u);
        EXPECT_EQ(p.pltPY.Line(i).Value, 10.0L * (i + 1));
    }
    EXPECT_NEAR(p.pltPY.Point(0, 3).Y, 4.0L, kTol);
    for (int j = 4; j < 12; ++j) {
        EXPECT_NEAR(p.pltPY.Point(0, j).X, 0.4L, kTol);
        EXPECT_NEAR(p.pltPY.Point(0, j).Y, 5.0L, kTol);
    }
    EXPECT_NEAR(p.pltPY.Point(1, 11).Y, 108.0L, kTol);
}

TEST_F(ResultsReaderTest, ThreePanelPlotShowsTheSoilColumnOfTheProblem) {
    tables.NewSoil.SetRowCount(7);
    for (int i = 0; i < 7; ++i) {
        tables.NewSoil.Cell(0, i).SetInt(i + 1);
        tables.NewSoil.Cell(1, i).SetFloat(5.0L * (i + 1));
    }
    data.IncrementCount = 40;
    data.IncrementLength = 12.0L;
    data.FreeHeight = 100.0L;
    ASSERT_TRUE(readGolden("cantilever_check.dn5p"));

    const TGraphPlot& dms = p.pltDMS;
    EXPECT_TRUE(dms.ShowThree);
    EXPECT_EQ(dms.WallLineCount, 7);
    ASSERT_EQ(dms.LayerLineCount(), 9);
    const char* const names[] = {" CLAY ",      " CLAY ",    " CLAY ", " SAND ", " SILT ",
                                 "STRONG ROCK", "WEAK ROCK", "PILE",   "PILE"};
    const long double xs[] = {1, 1, 1, 7, 8, 9, 10, 0, 0};
    const long double ys[] = {5, 10, 15, 20, 25, 30, 35, 480, 100};
    for (int i = 0; i < 9; ++i) {
        ASSERT_EQ(dms.LayerLine(i).Points.size(), 1u);
        EXPECT_EQ(dms.LayerLine(i).Name, names[i]) << i;
        EXPECT_EQ(dms.LayerPoint(i, 0).X, xs[i]) << i;
        EXPECT_EQ(dms.LayerPoint(i, 0).Y, ys[i]) << i;
    }
}

TEST_F(ResultsReaderTest, MalformedFilesFailWithTheMessageOnlyWhenAsked) {
    std::ifstream in(golden("cantilever_check.dn5p"));
    const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string truncated = good.substr(0, good.size() / 2);
    const std::string textForNumber = std::string(good).replace(good.find("0.2054E+02"), 10, "deflection");
    const std::string cases[] = {truncated, textForNumber,   "",  "0 1 0 12 2 1", "0 1 0 1 303 1",
                                 "0 1 401", "0 1 0 1.5 2 1", "-1"};
    for (const std::string& text : cases) {
        SCOPED_TRACE(text.substr(0, 20));
        messages.clear();
        EXPECT_FALSE(reader.ReadResultsText(text, false));
        EXPECT_TRUE(messages.empty());
        EXPECT_FALSE(reader.ReadResultsText(text, true));
        EXPECT_EQ(messages, std::vector<std::string>{"An error occured in running the main program."});
    }
    messages.clear();
    EXPECT_FALSE(reader.ReadResults(golden("no_such_file.dn5p"), true));
    EXPECT_EQ(messages.size(), 1u);

    // A failed read keeps what it filled before the cut.
    ASSERT_FALSE(reader.ReadResultsText(truncated, true));
    EXPECT_EQ(p.pltDef.PointCount(), 41);
    EXPECT_NEAR(p.pltDef.Point(0, 1).X, 20.54L, kTol);
    EXPECT_EQ(p.pltDef.Point(0, 40).X, 0.0L);
}

// The response section of a block made by block(): from its "cases rows units" line to the end.
std::string responseOf(const std::string& text, int cases, int nodes) {
    return text.substr(text.find("\n" + std::to_string(cases) + " " + std::to_string(nodes) + " 1\n") + 1);
}

TEST_F(ResultsReaderTest, ARunStoppedInALaterProblemKeepsTheProblemsBeforeIt) {
    data.StageCount = 3;
    const std::string one = block(0, 3, {2, 3}, 3, 4);
    const std::string two = block(1, 2, {2}, 3, 4);
    const std::string three = block(2, 2, {4}, 3, 4);
    const std::string again = responseOf(two, 3, 4);  // the stop writes stage 2's results again
    const std::string pressure3 = three.substr(0, three.find("\n1 1\n") + 1);
    const std::string pressureAndCurves3 = three.substr(0, three.find("\n3 4 1\n") + 1);
    struct Case {
        const char* what;
        std::string stoppedPart;  // sections of stage 3 written before the stop
        bool reportShowsStop;
    };
    const Case cases[] = {
        {"before any section", "", false},
        {"after the pressure section", pressure3, false},
        {"inside the p-y section", pressure3 + "1 1\n10 4\n0 1\n", false},
        {"after the p-y section, told by the report", pressureAndCurves3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        ASSERT_TRUE(reader.ReadResultsText(one + two + c.stoppedPart + again, true, c.reportShowsStop));
        EXPECT_EQ(reader.LastOutcome().CasesRead, 2);
        EXPECT_EQ(reader.LastOutcome().StoppedCase, 3);
        EXPECT_EQ(messages,
                  std::vector<std::string>{"The analysis stopped with an error in stage 3. The results "
                                           "of stages 1 to 2 are shown. Please, check output file for "
                                           "the error message."});
        expectLegends({"Stage: 1", "Stage: 2"});
        EXPECT_EQ(data.Results.CaseCount(), 2);
        EXPECT_NEAR(p.pltDef.Point(1, 2).X, row(1, 2)[1], kTol);  // the tip: the last row is below it
        EXPECT_NEAR(p.pltDef.Point(0, 2).X, row(0, 2)[1], kTol);
        ASSERT_EQ(p.pltLD.LineCount(), 2);
        EXPECT_NEAR(p.pltLD.Point(1, 1).X, 21.0L, kTol);
        ASSERT_EQ(p.pltPY.LineCount(), 1);  // stage 2's curves, not the stopped stage's
        EXPECT_EQ(p.pltPY.Line(0).Points.size(), 2u);
    }
    // Without the report's word, pressure and p-y sections followed by stage 2's results again read
    // as a third stage whose results equal the second's.
    ASSERT_TRUE(reader.ReadResultsText(one + two + pressureAndCurves3 + again, true, false));
    EXPECT_EQ(reader.LastOutcome().StoppedCase, 0);
    EXPECT_EQ(reader.LastOutcome().CasesRead, 3);
    // A whole run reads every stage.
    messages.clear();
    ASSERT_TRUE(reader.ReadResultsText(one + two + three, true, true));
    EXPECT_EQ(reader.LastOutcome().CasesRead, 3);
    EXPECT_EQ(reader.LastOutcome().StoppedCase, 0);
    EXPECT_TRUE(messages.empty());
    expectLegends({"Stage: 1", "Stage: 2", "Stage: 3"});
}

TEST_F(ResultsReaderTest, StopsInTheLongTermOrTheFirstProblemAreTold) {
    data.ToggleLongTerm();
    const std::string shortTerm = block(0, 3, {2}, 2, 4);
    ASSERT_TRUE(reader.ReadResultsText(shortTerm + responseOf(shortTerm, 2, 4), true));
    EXPECT_EQ(reader.LastOutcome().StoppedCase, 2);
    EXPECT_EQ(
        messages.back(),
        "The analysis stopped with an error in the long-term problem. The results of the short-term problem "
        "are shown. Please, check output file for the error message.");
    expectLegends({"Short-Term"});
    EXPECT_NEAR(p.pltMom.Point(0, 2).X, row(0, 2)[2] / 1000.0L, kTol);

    // Nothing solved: the run's only response section is empty. No results, and the user is told.
    for (const std::string& text :
         {std::string("1 0 1\n"), std::string("2\n0 0 1 1\n12 5 5 0\n1 0 1\n"), block(0, 2, {2}, 1, 0)}) {
        messages.clear();
        EXPECT_FALSE(reader.ReadResultsText(text, true));
        EXPECT_EQ(reader.LastOutcome().StoppedCase, 1);
        EXPECT_EQ(reader.LastOutcome().CasesRead, 0);
        EXPECT_EQ(messages,
                  std::vector<std::string>{"The analysis stopped with an error in the short-term problem. "
                                           "No results were computed. Please, check output file for the "
                                           "error message."});
    }
    // A truncated file is no stop.
    EXPECT_FALSE(reader.ReadResultsText(shortTerm.substr(0, shortTerm.size() - 20), false));
    EXPECT_EQ(reader.LastOutcome().StoppedCase, 0);
}

TEST_F(ResultsReaderTest, TheLongestWallsAndPressureTablesAreRead) {
    // 407 increments give 409 response rows, 408 of them on the wall; a table in other units
    // prints every one of its rows.
    ASSERT_TRUE(reader.ReadResultsText(block(0, 5000, {2}, 1, 409), true));
    EXPECT_EQ(p.pltDef.PointCount(), 408);
    EXPECT_NEAR(data.Results.Response(0, 408).Deflection, row(0, 408)[1], kTol);
    EXPECT_EQ(p.pltLD.PointCount(), 5000);
    EXPECT_NEAR(data.Results.Pressure(0, 4999).Total, 10.0L + 4999.0L, kTol);
    EXPECT_FALSE(reader.ReadResultsText(block(0, 2, {2}, 1, 410), false));
}

TEST(ReportVerdict, OnlyTheEngineStopsCount) {
    EXPECT_TRUE(ReportShowsErrorStop("x\n\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n"));
    EXPECT_TRUE(ReportShowsErrorStop("x\n     ERROR -- RUN STOPPED BY THE SOIL COMPUTATIONS, STOP CODE 2\n"));
    EXPECT_TRUE(ReportShowsErrorStop("x\n     TOO MUCH DATA FOR AVAILABLE STORAGE\n"));
    EXPECT_FALSE(
        ReportShowsErrorStop("x\n     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n"));
    EXPECT_FALSE(ReportShowsErrorStop("ERROR at the start of a line without the indent\n"));
}

TEST_F(ResultsReaderTest, EveryCutFailsAndNoEditedWordCrashes) {
    const std::string good = block(0, 3, {2, 3}, 2, 3) + block(1, 2, {1}, 2, 2);
    ASSERT_TRUE(reader.ReadResultsText(good, true));
    const std::size_t lastWord = good.find_last_of(' ', good.size() - 3) + 1;
    for (std::size_t n = 0; n < lastWord; ++n)
        ASSERT_FALSE(reader.ReadResultsText(good.substr(0, n), false)) << n;

    // Whatever a word is replaced by, the plots stay within the limits.
    std::vector<std::string> words;
    std::istringstream split(good);
    for (std::string w; split >> w;)
        words.push_back(w);
    for (std::size_t k = 0; k < words.size(); ++k) {
        for (const char* replacement : {"-3", "0", "7", "11", "1e9", "2147483648", "x"}) {
            std::string edited;
            for (std::size_t i = 0; i < words.size(); ++i)
                edited.append(i == k ? replacement : words[i]).append(" ");
            const bool ok = reader.ReadResultsText(edited, false);
            EXPECT_TRUE(!ok || std::string(replacement) != "x") << k;
            EXPECT_LE(p.pltDef.LineCount(), TResultsStore::kMaxCases) << k << replacement;
            EXPECT_LE(p.pltDef.PointCount(), TResultsStore::kMaxPoints) << k << replacement;
            EXPECT_LE(p.pltPY.LineCount(), kMaxPYCurves) << k << replacement;
        }
    }
    EXPECT_TRUE(messages.empty());
}

// User curves are labelled by the depth of their node, in feet.
TEST_F(ResultsReaderTest, UserCurvesAreLabelledByTheirDepth) {
    CreateFromFile(data, std::filesystem::path(DRENOK_EXAMPLES) / "user_pressure_curves.dn5d",
                   TDataFileFormat::Current);
    ASSERT_TRUE(readGolden("user_pressure_curves.dn5p"));
    ASSERT_GT(p.pltPY.LineCount(), 1);
    EXPECT_EQ(p.pltPY.LegendText(0), "Depth 10 ft");  // node 30 of 4 in increments
    EXPECT_EQ(p.pltPY.LegendText(1), "Depth 11.67 ft");
}

}  // namespace
}  // namespace app::model
