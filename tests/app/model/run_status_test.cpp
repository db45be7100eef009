#include "app/model/run_status.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using app::model::ClassifyReportLine;
using app::model::DescribeProblemStatus;
using app::model::ParseReportNumber;
using app::model::ReadRunStatus;
using app::model::RunExitCode;
using app::model::RunStatusFrom;
using app::model::SummarizeReport;
using app::model::TReportMessage;
using app::model::TRunState;

bool converged(const app::model::TReportSummary& s) {
    return RunStatusFrom(s).AllConverged();
}

// One table row in the report's layout (2X,I4,2X,E10.3,6E12.3), from already formatted fields.
std::string row(int node, const std::string& depth, const std::vector<std::string>& values) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "  %4d  %10s", node, depth.c_str());
    std::string line = buf;
    for (const auto& v : values) {
        std::snprintf(buf, sizeof buf, "%12s", v.c_str());
        line += buf;
    }
    return line + "\n";
}

// A results block: heading, results line, optional warnings, column headings and rows.
const std::string kUnitsInParentheses =
    "             (FT)        (IN)       (RAD)     (LB-IN)        (LB)     (LB/IN)   (LB-IN2)\n";

std::string block(const std::string& heading, int iteration, const std::vector<std::string>& warnings,
                  const std::string& rows, const std::string& units = kUnitsInParentheses) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "     RESULTS -- ITERATION%3d\n", iteration);
    std::string s = "\n      " + heading + "\n\n" + buf + "     --------------------\n";
    for (const auto& w : warnings)
        s += "\n     " + w + "\n";
    s += "\n   STA I      X         DEFL.      SLOPE       MOMENT      SHEAR     NET REACT.     EI\n";
    s += units;
    s += "   ------    ----        -----      -----      ------       -----    ----------    --\n";
    return s + rows;
}

const std::string kEnd = "\n     END OF ANALYSIS  \n";
const std::string kZero = "0.000E+00";

TEST(ParseNumber, ReadsReportNumberForms) {
    EXPECT_DOUBLE_EQ(*ParseReportNumber(" 0.213E+02"), 21.3);
    EXPECT_DOUBLE_EQ(*ParseReportNumber("-0.123E-01"), -0.0123);
    EXPECT_DOUBLE_EQ(*ParseReportNumber("  0.5D+01 "), 5.0);
    EXPECT_DOUBLE_EQ(*ParseReportNumber("12.5"), 12.5);
    // Three-digit exponents lose the letter.
    EXPECT_DOUBLE_EQ(*ParseReportNumber(" 0.100+101"), 1e100);
    EXPECT_DOUBLE_EQ(*ParseReportNumber("-0.100-101"), -1e-102);
    EXPECT_DOUBLE_EQ(*ParseReportNumber("-0.250+100"), -0.25e100);
}

TEST(ParseNumber, RejectsWhatIsNotANumber) {
    EXPECT_FALSE(ParseReportNumber("**********"));
    EXPECT_FALSE(ParseReportNumber("            "));
    EXPECT_FALSE(ParseReportNumber("0.1E+"));
    EXPECT_FALSE(ParseReportNumber("E+02"));
    EXPECT_FALSE(ParseReportNumber("0.1.2E+01"));
    EXPECT_FALSE(ParseReportNumber("NaN"));
    EXPECT_FALSE(ParseReportNumber("Infinity"));
}

TEST(ClassifyLine, WarningsAndErrorStops) {
    EXPECT_EQ(ClassifyReportLine("     ***** DEFLECTION OFF Q - W CURVES *****"),
              TReportMessage::Kind::Warning);
    EXPECT_EQ(ClassifyReportLine("  WARNING -- PILE TIP BELOW LAST SOIL LAYER"),
              TReportMessage::Kind::Warning);
    EXPECT_EQ(ClassifyReportLine(" ERROR STOP -- STATIONS NOT IN ORDER"), TReportMessage::Kind::Error);
    EXPECT_EQ(ClassifyReportLine(" ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"), TReportMessage::Kind::Error);
    EXPECT_EQ(ClassifyReportLine(" STOP"), TReportMessage::Kind::Error);
    EXPECT_EQ(ClassifyReportLine("     TOO MUCH DATA FOR AVAILABLE STORAGE   "), TReportMessage::Kind::Error);
    // Only the exact storage message counts, and words merely containing a keyword do not.
    EXPECT_FALSE(ClassifyReportLine(" TOO MUCH DATA FOR AVAILABLE STORAGE IN TABLE 3"));
    EXPECT_FALSE(ClassifyReportLine("      Cantilever check"));
    EXPECT_FALSE(ClassifyReportLine(" **** ONLY FOUR"));
    EXPECT_FALSE(ClassifyReportLine("      **************************************************   "));
    EXPECT_FALSE(ClassifyReportLine(" NO ERROR HERE"));
    // The soil routines' warnings: a heading framed by asterisks or dashes, and one line of its own.
    EXPECT_EQ(ClassifyReportLine("                             **** WARNING ****"),
              TReportMessage::Kind::Warning);
    EXPECT_EQ(ClassifyReportLine("**** WARNING ******"), TReportMessage::Kind::Warning);
    EXPECT_EQ(ClassifyReportLine("       --------------------WARNING----------------------"),
              TReportMessage::Kind::Warning);
    EXPECT_EQ(ClassifyReportLine("     Net active pressure is negative."), TReportMessage::Kind::Warning);
    EXPECT_FALSE(ClassifyReportLine(" **** WARNINGS ARE LISTED BELOW"));
    EXPECT_FALSE(ClassifyReportLine(" ---- NO WARNING ----"));
    EXPECT_FALSE(ClassifyReportLine(""));
}

TEST(SummarizeReport, WarningHeadingsTakeTheTextBelowThem) {
    const auto s = SummarizeReport(std::string(" DATA ECHO\n\n") +
                                   "                             **** WARNING ****\n"
                                   "     THE VALUE OF X =      0.5 IS BEYOND THE EXTENT OF\n"
                                   "     THE SOIL LAYERS.\n\n"
                                   "      Next section\n"
                                   "     Net active pressure is negative.\n" +
                                   kEnd);
    ASSERT_EQ(s.trailing.size(), 2u);
    EXPECT_EQ(s.trailing[0].text,
              "WARNING: THE VALUE OF X =      0.5 IS BEYOND THE EXTENT OF THE SOIL LAYERS.");
    EXPECT_EQ(s.trailing[1].text, "Net active pressure is negative.");
    EXPECT_FALSE(s.errorStop);  // warnings are no stop
    EXPECT_TRUE(s.ended);
}

TEST(SummarizeReport, OneProblem) {
    const std::string rows =
        row(0, "0.000E+00", {"0.213E+02", "-0.800E+00", kZero, kZero, kZero, "0.100E+07"}) +
        row(1, "0.100E+02", {"0.150E+02", "-0.700E+00", "-0.120E+05", "0.400E+03"}) +
        row(2, "0.200E+02", {"-0.250E+02", "-0.500E+00", "0.110E+05", "-0.900E+03"}) +
        row(3, "0.400E+02", {kZero, kZero, kZero, kZero, kZero, "0.100E+07"});
    const auto s = SummarizeReport(" DATA ECHO\n" + block("Cantilever check", 2, {}, rows) + kEnd);

    ASSERT_EQ(s.problems.size(), 1u);
    const auto& p = s.problems[0];
    EXPECT_EQ(p.heading, "Cantilever check");
    EXPECT_EQ(p.iteration, 2);
    EXPECT_EQ(p.rows, 4);
    EXPECT_EQ(p.units.depth, "FT");
    EXPECT_EQ(p.units.deflection, "IN");
    EXPECT_EQ(p.units.moment, "LB-IN");
    EXPECT_EQ(p.units.shear, "LB");
    ASSERT_TRUE(p.top && p.top->value);
    EXPECT_DOUBLE_EQ(*p.top->value, 21.3);
    EXPECT_EQ(p.top->text, "0.213E+02");
    // Extremes go by magnitude and keep their sign and depth.
    ASSERT_TRUE(p.maxDeflection && p.maxMoment && p.maxShear);
    EXPECT_DOUBLE_EQ(*p.maxDeflection->value.value, -25.0);
    EXPECT_EQ(p.maxDeflection->node, 2);
    EXPECT_DOUBLE_EQ(*p.maxDeflection->depth.value, 20.0);
    EXPECT_DOUBLE_EQ(*p.maxMoment->value.value, -12000.0);
    EXPECT_DOUBLE_EQ(*p.maxMoment->depth.value, 10.0);
    EXPECT_DOUBLE_EQ(*p.maxShear->value.value, -900.0);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_TRUE(s.trailing.empty());
    EXPECT_TRUE(s.ended);
    EXPECT_TRUE(converged(s));
}

TEST(SummarizeReport, UnitLabelsSplitByBlanks) {
    // Fixed-width labels leave blanks inside a label ("KN- M") and none around the parentheses.
    const std::string units =
        "              M           M                    KN- M         KN          KN- M**2\n";
    const auto s = SummarizeReport(block("SI", 1, {}, row(0, kZero, {kZero}), units) + kEnd);
    const auto& u = s.problems.at(0).units;
    EXPECT_EQ(u.depth, "M");
    EXPECT_EQ(u.deflection, "M");
    EXPECT_EQ(u.moment, "KN-M");
    EXPECT_EQ(u.shear, "KN");

    const auto none = SummarizeReport(block("No units", 1, {}, row(0, kZero, {kZero}), "\n") + kEnd);
    EXPECT_EQ(none.problems.at(0).units.moment, "");
    EXPECT_EQ(none.problems.at(0).rows, 1);
}

TEST(SummarizeReport, TwoStagesWithWarnings) {
    const std::string stage1 =
        block("Stage No : 1  My wall", 1, {}, row(0, kZero, {"0.100E+01", kZero, "0.500E+03", kZero}));
    const std::string stage2 =
        " WARNING -- SOIL LAYER 2 IS THIN\n" +
        block("Stage No : 2  My wall", 12,
              {"***** DEFLECTION OFF Q - W CURVES *****",
               "***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***   3  *** STATIONS *****"},
              row(0, kZero, {"0.300E+01", kZero, "-0.700E+03", kZero}));
    const auto s = SummarizeReport(stage1 + stage2 + kEnd);

    ASSERT_EQ(s.problems.size(), 2u);
    EXPECT_EQ(s.problems[0].heading, "Stage No : 1  My wall");
    EXPECT_EQ(s.problems[1].heading, "Stage No : 2  My wall");
    EXPECT_EQ(s.problems[1].iteration, 12);
    EXPECT_DOUBLE_EQ(*s.problems[0].top->value, 1.0);
    EXPECT_DOUBLE_EQ(*s.problems[1].top->value, 3.0);
    EXPECT_DOUBLE_EQ(*s.problems[1].maxMoment->value.value, -700.0);
    EXPECT_TRUE(s.problems[0].messages.empty());
    // A warning in stage 2's data and those of its results block, in report order.
    const auto& m = s.problems[1].messages;
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].text, "WARNING -- SOIL LAYER 2 IS THIN");
    EXPECT_EQ(m[1].text, "***** DEFLECTION OFF Q - W CURVES *****");
    EXPECT_EQ(m[2].kind, TReportMessage::Kind::Warning);
    // Warnings alone do not fail a problem; the allowable deflection exceeded does.
    const auto status = RunStatusFrom(s);
    EXPECT_EQ(status.problems.at(0).state, TRunState::Converged);
    EXPECT_EQ(status.problems.at(1).state, TRunState::DeflectionExceeded);
    EXPECT_EQ(status.problems.at(1).exceedingStations, 3);
    EXPECT_EQ(RunExitCode(status), 3);
}

TEST(SummarizeReport, ErrorStopAfterLastProblem) {
    const std::string stage1 = block("Stage No : 1  W", 1, {}, row(0, kZero, {"0.100E+01"}));
    const auto s = SummarizeReport(stage1 + "\n ERROR STOP -- STATIONS NOT IN ORDER\n" + kEnd);
    ASSERT_EQ(s.problems.size(), 1u);
    EXPECT_TRUE(s.problems[0].messages.empty());
    ASSERT_EQ(s.trailing.size(), 1u);
    EXPECT_EQ(s.trailing[0].kind, TReportMessage::Kind::Error);
    EXPECT_EQ(s.trailing[0].text, "ERROR STOP -- STATIONS NOT IN ORDER");
    EXPECT_TRUE(s.errorStop);
    EXPECT_FALSE(converged(s));
}

TEST(SummarizeReport, ErrorStopWithoutAnyResults) {
    const auto s = SummarizeReport(" Bad data\n ERROR -- NON-ZERO TABLE 4 DATA BEYOND END\n STOP\n" + kEnd);
    EXPECT_TRUE(s.problems.empty());
    ASSERT_EQ(s.trailing.size(), 2u);
    EXPECT_EQ(s.trailing[1].text, "STOP");
    EXPECT_FALSE(converged(s));
}

TEST(SummarizeReport, OverflowedFieldsAreSkipped) {
    const std::string stars = "**********";
    const std::string rows = row(0, kZero, {"***********", kZero, "***********", kZero}) +
                             row(1, stars, {"-0.400E+01", kZero, "0.200E+03", "***********"}) +
                             row(2, "0.200E+01", {"0.300E+01", kZero, "-0.100E+03", "0.500E+02"});
    const std::string text = block("Overflow", 3, {}, rows);
    // The iteration field can overflow too.
    const auto s = SummarizeReport(text.substr(0, text.find("ITERATION") + 9) + "***" +
                                   text.substr(text.find("ITERATION") + 12) + kEnd);
    ASSERT_EQ(s.problems.size(), 1u);
    const auto& p = s.problems[0];
    EXPECT_FALSE(p.iteration);
    EXPECT_EQ(p.rows, 3);
    ASSERT_TRUE(p.top);
    EXPECT_FALSE(p.top->value);
    EXPECT_EQ(p.top->text, "***********");
    EXPECT_DOUBLE_EQ(*p.maxDeflection->value.value, -4.0);
    EXPECT_FALSE(p.maxDeflection->depth.value);  // the depth of that row overflowed
    EXPECT_DOUBLE_EQ(*p.maxMoment->value.value, 200.0);
    EXPECT_DOUBLE_EQ(*p.maxShear->value.value, 50.0);
}

TEST(SummarizeReport, ThreeDigitExponentsInRows) {
    const std::string rows = row(0, kZero, {"0.900E+99", kZero, "-0.100-101", kZero}) +
                             row(1, "0.100E+01", {"-0.100+101", kZero, "0.100E-98", kZero});
    const auto s = SummarizeReport(block("Big", 1, {}, rows) + kEnd);
    const auto& p = s.problems.at(0);
    EXPECT_DOUBLE_EQ(*p.maxDeflection->value.value, -1e100);
    EXPECT_EQ(p.maxDeflection->node, 1);
    EXPECT_DOUBLE_EQ(*p.maxMoment->value.value, 1e-99);
}

TEST(SummarizeReport, TableEndsWithoutEmptyLineOrEnd) {
    // A message right under the table ends it; a report cut short has no END OF ANALYSIS.
    const std::string rows = row(0, kZero, {"0.100E+01"}) + row(1, "0.100E+01", {"0.200E+01"});
    const auto s = SummarizeReport(block("Cut", 1, {}, rows) + " ERROR -- SOLVER FAILED\n" +
                                   row(2, "0.200E+01", {"0.900E+01"}));
    ASSERT_EQ(s.problems.size(), 1u);
    EXPECT_EQ(s.problems[0].rows, 2);
    EXPECT_DOUBLE_EQ(*s.problems[0].maxDeflection->value.value, 2.0);
    ASSERT_EQ(s.trailing.size(), 1u);
    EXPECT_FALSE(s.ended);
    EXPECT_FALSE(converged(s));

    // The last row may lack its newline.
    std::string cut = block("Cut", 1, {}, rows + row(2, "0.200E+01", {"0.900E+01"}));
    cut.pop_back();
    const auto t = SummarizeReport(cut);
    EXPECT_EQ(t.problems.at(0).rows, 3);
    EXPECT_FALSE(t.ended);
    EXPECT_TRUE(t.trailing.empty());
}

// Each kind of ending as the engine writes it, and what every face of the program is told.
TEST(RunStatus, EachKindOfEnding) {
    const std::string ok = block("W", 7, {}, row(0, kZero, {"0.100E+01"}));
    const std::string notClosed =
        block("W", 100, {"***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****"},
              row(0, kZero, {"0.290E+00"}));
    const std::string damped =
        block("W", 131, {"***** SOLUTION CLOSED WITH DAMPED ITERATIONS FROM ITERATION 101 *****"},
              row(0, kZero, {"0.290E+00"}));
    const std::string exceeded =
        block("W", 9,
              {"***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  13  *** STATIONS *****",
               "***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****"},
              row(0, kZero, {"0.106E+03"}));
    const std::string nan =
        block("W", 1, {}, row(0, kZero, {"NaN", "NaN"}) + row(1, "0.100E+01", {"-Infinity"}));

    struct Case {
        const char* name;
        std::string report;
        TRunState state;
        int exit;
        const char* says;
    };
    const Case cases[] = {
        {"converged", ok + kEnd, TRunState::Converged, 0, "converged in 7 iterations"},
        {"not closed", notClosed + kEnd, TRunState::NotClosed, 3,
         "not closed within the deflection tolerance after 100 iterations"},
        {"damped", damped + kEnd, TRunState::Converged, 0,
         "converged in 131 iterations (with damped iterations)"},
        {"exceeded", exceeded + kEnd, TRunState::DeflectionExceeded, 3,
         "the maximum allowable deflection was exceeded at 13 stations (iteration 9)"},
        {"non-finite", nan + kEnd, TRunState::NonFinite, 1, "not finite"},
        {"error stop", ok + "\n     ERROR -- RUN STOPPED BY THE SOIL COMPUTATIONS, STOP CODE 1\n" + kEnd,
         TRunState::ErrorStop, 1, "stopped with an error"},
        {"cut short", ok, TRunState::Incomplete, 1, "before END OF ANALYSIS"},
        {"nothing solved", " DATA ECHO\n" + kEnd, TRunState::NoResults, 1, "no results"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto status = ReadRunStatus(c.report);
        EXPECT_EQ(status.Worst(), c.state);
        EXPECT_EQ(RunExitCode(status), c.exit);
        EXPECT_NE(DescribeProblemStatus(status.problems.back()).find(c.says), std::string::npos)
            << DescribeProblemStatus(status.problems.back());
    }
    // The stop's own lines, verbatim, with the problem the run was on.
    const auto stop =
        ReadRunStatus(ok + "\n     ERROR -- RUN STOPPED BY THE SOIL COMPUTATIONS, STOP CODE 1\n" + kEnd);
    ASSERT_EQ(stop.problems.size(), 2u);
    EXPECT_EQ(stop.problems[0].state, TRunState::Converged);
    EXPECT_EQ(stop.problems[1].engineLines,
              std::vector<std::string>{"ERROR -- RUN STOPPED BY THE SOIL COMPUTATIONS, STOP CODE 1"});
    // Stages the run never reached have no results.
    const auto staged = ReadRunStatus(ok + "\n     ERROR STOP -- STATIONS NOT IN ORDER\n" + kEnd, 4);
    ASSERT_EQ(staged.problems.size(), 4u);
    EXPECT_EQ(staged.problems[1].state, TRunState::ErrorStop);
    EXPECT_EQ(staged.problems[3].state, TRunState::NoResults);
    EXPECT_EQ(std::string(app::model::RunStateWord(staged.problems[2].state)), "NO RESULTS");
}

}  // namespace
