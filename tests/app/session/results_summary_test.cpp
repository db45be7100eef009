// The results summary on real runs of the examples, against what the engine itself printed.

#include "app/model/results_summary.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "app/model/data_file.h"
#include "app/model/problem_tables.h"
#include "app/model/results_reader.h"
#include "app/model/run_files.h"
#include "app/session/engine_runner.h"

namespace app::model {
namespace {

struct TRun {
    TGridTableRegistry plain, chart;
    TProblemTables tables{plain, chart};
    TProgramData model{tables};
    std::unique_ptr<PlotDefinitions> plots = CreatePlotDefinitions();
    TResultsOutcome outcome;
    std::string report;
    std::vector<TCaseInputs> inputs;
    TResultsSummary summary;
};

// Runs an example in a private folder with the real engine and reads it back as the program does;
// `edit` may change the data file's text first.
void run(const char* example, TRun& r, const std::function<std::string(std::string)>& edit = {}) {
    static QTemporaryDir folder;
    const QString data = folder.filePath(QString::fromLatin1(example));
    QFile::remove(data);
    ASSERT_TRUE(QFile::copy(QStringLiteral(DRENOK_EXAMPLES "/") + QString::fromLatin1(example), data));
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner);
    if (edit) {
        std::ifstream in(data.toStdString());
        std::ostringstream text;
        text << in.rdbuf();
        in.close();
        std::ofstream(data.toStdString(), std::ios::trunc) << edit(text.str());
    }
    app::session::TEngineRunner runner(QStringLiteral(DRENOK_ENGINE_DIR));
    ASSERT_EQ(runner.Run(data.toStdString()).Status, app::session::TRunStatus::Completed);
    CreateFromFile(r.model, data.toStdString(), TDataFileFormat::Current);
    TResultsReader reader(*r.plots, r.model);
    ASSERT_TRUE(reader.ReadResults(RunFilePath(data.toStdString(), kPlotDataExtension), false));
    r.outcome = reader.LastOutcome();
    std::ifstream in(RunFilePath(data.toStdString(), kReportExtension));
    std::ostringstream text;
    text << in.rdbuf();
    r.report = text.str();
    r.inputs = CaseInputsOfFile(r.model, data.toStdString());
    r.summary = SummarizeResults(r.model, r.inputs, r.outcome.Status);
}

// Every example: the largest moment is the graph's; statics close on these converged runs; the
// mobilised resistance stays within [0, 1].
TEST(ResultsSummary, ExamplesAgainstTheirGraphs) {
    for (const char* example :
         {"anchored_si_generated.dn5d", "anchored_tieback_trapezoidal.dn5d", "generated_layered_profile.dn5d",
          "generated_sand.dn5d", "generated_soft_clay.dn5d", "generated_weak_rock.dn5d",
          "short_long_term.dn5d", "si_clay_over_sand_strip.dn5d", "three_stages.dn5d",
          "user_pressure_curves.dn5d"}) {
        SCOPED_TRACE(example);
        TRun r;
        run(example, r);
        ASSERT_EQ(r.summary.Cases.size(), static_cast<std::size_t>(r.model.Results.CaseCount()));
        for (std::size_t c = 0; c < r.summary.Cases.size(); ++c) {
            const TCaseSummary& s = r.summary.Cases[c];
            EXPECT_EQ(s.State, TRunState::Converged);
            long double largest = 0.0L;
            for (const TFloatPoint& p : r.plots->pltMom.Line(static_cast<int>(c)).Points)
                if (std::fabs(p.X) > std::fabs(largest)) largest = p.X;
            EXPECT_EQ(s.Moment.Value, largest);
            EXPECT_LT(s.ForceResidual, 2e-3L);
            EXPECT_LT(s.MomentResidual, 6e-3L);
            for (const TNodeRow& row :
                 NodeTable(r.model, r.inputs[std::min(c, r.inputs.size() - 1)], static_cast<int>(c))) {
                EXPECT_LE(row.Mobilised, 1.0L);
                EXPECT_GE(row.Mobilised, -1.0L);
            }
        }
    }
}

// A run stopped at the allowable deflection leaves springs that do not match the curves: the wall does
// not balance under the soil the curves give, and the residuals say so.
TEST(ResultsSummary, AnUnconvergedRunDoesNotBalance) {
    TRun r;
    run("generated_sand.dn5d", r, [](std::string text) {
        const std::size_t at = text.find("75 4 50 ");
        EXPECT_NE(at, std::string::npos);
        return text.replace(at, 8, "75 4 0.3 ");  // the top deflects 0.91 in
    });
    ASSERT_EQ(r.summary.Cases.size(), 1U);
    EXPECT_EQ(r.summary.Cases[0].State, TRunState::DeflectionExceeded);
    EXPECT_GT(r.summary.Cases[0].ForceResidual, 0.1L);
    EXPECT_GT(r.summary.Cases[0].MomentResidual, 0.1L);
    EXPECT_NE(SummaryText(r.summary).find("NOT CONVERGED"), std::string::npos);
}

// The check problem has no soil: the 1 000-lb load at its top is a load, not a soil reaction, and the
// fixed tip takes it all as the restraint's reaction.
TEST(ResultsSummary, AConcentratedLoadIsNoSoilReaction) {
    TRun r;
    run("cantilever_check.dn5d", r);
    ASSERT_EQ(r.summary.Cases.size(), 1U);
    const TCaseSummary& s = r.summary.Cases[0];
    EXPECT_LT(std::fabs(s.SoilReaction.Value), 1e-3L);
    ASSERT_FALSE(s.Supports.empty());
    EXPECT_NEAR(static_cast<double>(std::fabs(s.Supports.back().Horizontal)), 1.0, 1e-6);  // kips
}

// The tieback pulls with the stiffness the engine printed times the deflection at its node; user
// curves that reach their flat end are fully mobilised.
TEST(ResultsSummary, TiebackForceAndFullMobilisation) {
    TRun r;
    run("anchored_tieback_trapezoidal.dn5d", r);
    ASSERT_EQ(r.summary.Cases.size(), 1U);
    const TCaseSummary& s = r.summary.Cases[0];
    ASSERT_EQ(s.Supports.size(), 1U);
    const TSupportForce& tie = s.Supports[0];
    EXPECT_EQ(tie.Kind, "Tieback");
    EXPECT_EQ(tie.Node, 12);
    // "       12  12  0  0.490E+10 0.000E+00 0.182E+05 ..." in the stiffness table of the report.
    const std::size_t row = r.report.find("       12  12  0");
    ASSERT_NE(row, std::string::npos);
    std::istringstream fields(r.report.substr(row, 80));
    int from = 0, to = 0, contd = 0;
    double ei = 0, q = 0, printed = 0;
    fields >> from >> to >> contd >> ei >> q >> printed;
    EXPECT_NEAR(static_cast<double>(tie.Stiffness), printed, printed * 5e-3);
    const long double deflection = r.model.Results.Response(0, 12).Deflection;
    EXPECT_NEAR(static_cast<double>(tie.Horizontal),
                static_cast<double>(tie.Stiffness * deflection / 1000.0L), 1e-9);
    EXPECT_TRUE(tie.HasAlongTie);
    // Along the tie per anchor: spacing 8 ft on a 12 in width, at 15 degrees.
    EXPECT_NEAR(static_cast<double>(tie.AlongTie),
                static_cast<double>(tie.Horizontal) * 8.0 / std::cos(15.0 * M_PI / 180.0), 1e-6);
    EXPECT_TRUE(s.MobilisedExcavation.Known);
    EXPECT_EQ(s.MobilisedExcavation.Value, 1.0L);

    // The texts carry the same numbers.
    const std::string csv = SummaryCsv(r.summary);
    EXPECT_NE(csv.find("Tieback at node 12"), std::string::npos);
    EXPECT_NE(SummaryJson(r.summary).find("\"kind\": \"Tieback\""), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2);
}

// The depth graphs carry each stage's excavation and the water tables; SI deflections read in mm.
TEST(ResultsSummary, DepthLevelsAndMillimetres) {
    TRun staged;
    run("three_stages.dn5d", staged);
    SetDepthLevels(*staged.plots, staged.inputs);
    const auto& levels = staged.plots->pltMom.Levels;
    ASSERT_EQ(levels.size(), 3U);  // 72, 108 and 144 in; the water lies below the tip
    EXPECT_EQ(levels[0].Label, "Excavation, stage 1");
    EXPECT_EQ(static_cast<double>(levels[0].Depth), 6.0);
    EXPECT_EQ(static_cast<double>(levels[2].Depth), 12.0);
    EXPECT_FALSE(levels[2].Water);

    TRun si;
    run("anchored_si_generated.dn5d", si);
    SetDepthLevels(*si.plots, si.inputs);
    const auto& water = si.plots->pltDef.Levels;
    EXPECT_TRUE(std::any_of(water.begin(), water.end(), [](const TGraphPlot::TLevel& l) { return l.Water; }));
    EXPECT_EQ(si.plots->pltDef.XTitle(), "Deflection (mm)");
    EXPECT_EQ(si.plots->pltDef.Line(0).Points[0].X, si.model.Results.Response(0, 0).Deflection * 1000.0L);
    EXPECT_EQ(si.plots->pltMom.Line(0).Points[5].X,
              si.model.Results.Response(0, 5).Moment);  // others as they were
}

}  // namespace
}  // namespace app::model
