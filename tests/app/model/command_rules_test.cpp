#include "app/model/command_rules.h"

#include <gtest/gtest.h>

#include "app/model/run_files.h"
#include "model_test_support.h"

namespace app::model {
namespace {

using C = TCommand;

struct Rules {
    testsupport::Problem problem;
    std::unique_ptr<PlotDefinitions> plots = CreatePlotDefinitions();
    TCommandInputs inputs;
    [[nodiscard]] TCommandRules evaluate() const { return TCommandRules(problem.model, *plots, inputs); }
};

void fillCurve(TGraphPlot& plot, int points) {
    plot.SetLineCount(1);
    plot.SetPointCount(points);
}

TEST(CommandRules, DataItemsFollowTheirOptions) {
    Rules r;
    TProgramData& m = r.problem.model;
    m.GeneratePY = 0;
    m.GeneratedEarthPressureRead = false;
    TCommandRules off = r.evaluate();
    for (C c : {C::WallConfiguration, C::SoilLayers, C::Surcharge, C::ConcentratedLoads, C::Tiebacks,
                C::Restraints, C::PYModification, C::ExternalPY, C::Springs, C::MomentEI}) {
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_FALSE(off.Enabled(c));
    }
    EXPECT_TRUE(off.Enabled(C::Title));
    EXPECT_TRUE(off.Enabled(C::WallProperties));

    m.ApplySurcharge = m.ApplyConcentratedLoads = m.ApplyTiebacks = m.ApplyRestraints = true;
    m.ApplyPYModification = m.ApplyExternalPY = m.ApplySprings = m.ApplyMomentEI = true;
    m.GeneratedEarthPressureRead = true;  // a file with generated pressure needs its soil data
    TCommandRules on = r.evaluate();
    for (C c : {C::WallConfiguration, C::SoilLayers, C::Surcharge, C::ConcentratedLoads, C::Tiebacks,
                C::Restraints, C::PYModification, C::ExternalPY, C::Springs, C::MomentEI}) {
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_TRUE(on.Enabled(c));
    }
    EXPECT_TRUE(on.Checked(C::ApplyMomentEI));
    EXPECT_FALSE(on.Checked(C::GeneratePY));
}

TEST(CommandRules, EarthPressureChoiceEnablesTheDistributedPressure) {
    Rules r;
    TProgramData& m = r.problem.model;
    m.SetEarthPressureChoice(kEarthPressureUser);
    TCommandRules user = r.evaluate();
    EXPECT_TRUE(user.Enabled(C::DistributedPressure));
    EXPECT_TRUE(user.Checked(C::EarthPressureUser));
    EXPECT_FALSE(user.Checked(C::EarthPressureTriangular));

    m.SetEarthPressureChoice(kEarthPressureTrapezoidal);
    TCommandRules trapezoidal = r.evaluate();
    EXPECT_FALSE(trapezoidal.Enabled(C::DistributedPressure));
    EXPECT_TRUE(trapezoidal.Checked(C::EarthPressureTrapezoidal));
    EXPECT_FALSE(trapezoidal.Checked(C::EarthPressureUser));

    m.EarthPressureChoice = 0;  // shown as the user's choice, which opening the submenu makes it
    EXPECT_TRUE(r.evaluate().Checked(C::EarthPressureUser));

    m.SetUnitSystem(2);
    TCommandRules si = r.evaluate();
    EXPECT_TRUE(si.Checked(C::UnitsSI));
    EXPECT_FALSE(si.Checked(C::UnitsEnglish));
    EXPECT_FALSE(si.Checked(C::UnitsOther));
}

TEST(CommandRules, LongTermLayoutAndStagesExcludeEachOther) {
    Rules r;
    TProgramData& m = r.problem.model;
    TCommandRules plain = r.evaluate();
    EXPECT_TRUE(plain.Visible(C::SoilLayers));
    EXPECT_FALSE(plain.Visible(C::SoilLayersShort));
    EXPECT_FALSE(plain.Visible(C::DistributedLong));
    EXPECT_TRUE(plain.Enabled(C::Staged));
    EXPECT_TRUE(plain.Enabled(C::LongTerm));
    EXPECT_TRUE(plain.Enabled(C::StagedButton));
    EXPECT_TRUE(plain.Enabled(C::SoilLayersButton));
    EXPECT_FALSE(plain.Visible(C::StageMenu));

    m.ToggleLongTerm();
    TCommandRules longTerm = r.evaluate();
    EXPECT_FALSE(longTerm.Visible(C::SoilLayers));
    EXPECT_TRUE(longTerm.Visible(C::SoilLayersShort));
    EXPECT_TRUE(longTerm.Visible(C::SoilLayersLong));
    EXPECT_FALSE(longTerm.Visible(C::DistributedPressure));
    EXPECT_TRUE(longTerm.Visible(C::DistributedShort));
    EXPECT_TRUE(longTerm.Checked(C::LongTerm));
    EXPECT_FALSE(longTerm.Enabled(C::Staged));
    EXPECT_FALSE(longTerm.Enabled(C::StagedButton));
    EXPECT_FALSE(longTerm.Enabled(C::SoilLayersButton));

    m.ToggleLongTerm();
    m.StageCount = 3;
    m.CurrentStage = 2;
    TCommandRules staged = r.evaluate();
    EXPECT_FALSE(staged.Enabled(C::LongTerm));
    EXPECT_TRUE(staged.Checked(C::Staged));
    EXPECT_TRUE(staged.Visible(C::StageMenu));
    EXPECT_TRUE(staged.Enabled(C::Stage1));
    EXPECT_TRUE(staged.Enabled(C::Stage3));
    EXPECT_FALSE(staged.Enabled(C::Stage4));
    EXPECT_TRUE(staged.Visible(C::Stage5));  // the buttons are all there while staged
    EXPECT_TRUE(staged.Checked(C::Stage2));
    EXPECT_FALSE(staged.Checked(C::Stage1));
    EXPECT_TRUE(staged.Enabled(C::UpdateCurrentStage));
    EXPECT_TRUE(staged.Enabled(C::CopyPreviousStage));
    m.CurrentStage = 1;
    EXPECT_FALSE(r.evaluate().Enabled(C::CopyPreviousStage));
    EXPECT_EQ(TCommandRules::StageCommand(4), C::Stage4);
}

TEST(CommandRules, ResultCommandsNeedResultsThePlotFileAndACurve) {
    Rules r;
    fillCurve(r.plots->pltDef, 10);
    fillCurve(r.plots->pltMom, 10);
    fillCurve(r.plots->pltShear, 10);
    fillCurve(r.plots->pltSoil, 1);  // a single point draws nothing
    fillCurve(r.plots->pltPY, 12);

    r.inputs.PlotDataExists = true;  // a plot file without a read: nothing offered
    TCommandRules unread = r.evaluate();
    EXPECT_FALSE(unread.Enabled(C::GraphDeflection));
    EXPECT_FALSE(unread.Enabled(C::ViewWallGeometry));
    EXPECT_FALSE(unread.Enabled(C::ExportPlots));

    r.inputs.ResultsAvailable = true;
    TCommandRules read = r.evaluate();
    EXPECT_TRUE(read.Enabled(C::GraphDeflection));
    EXPECT_TRUE(read.Enabled(C::GraphDMS));
    EXPECT_TRUE(read.Enabled(C::GraphPY));
    EXPECT_FALSE(read.Enabled(C::GraphReaction));
    EXPECT_FALSE(read.Enabled(C::GraphPressure));
    EXPECT_TRUE(read.Enabled(C::ViewWallGeometry));
    EXPECT_TRUE(read.Enabled(C::ExportPlots));
    EXPECT_FALSE(read.Visible(C::DeformedShape));  // the 3D view is not open

    fillCurve(r.plots->pltShear, 1);  // the three-panel plot needs all three
    EXPECT_FALSE(r.evaluate().Enabled(C::GraphDMS));

    r.inputs.PlotDataExists = false;  // deleted after the read
    EXPECT_FALSE(r.evaluate().Enabled(C::GraphDeflection));

    r.inputs.PlotDataExists = true;
    r.inputs.View3DOpen = true;
    TCommandRules view = r.evaluate();
    EXPECT_TRUE(view.Visible(C::Show3DMenu));
    EXPECT_TRUE(view.Visible(C::DeformedShape));
    EXPECT_TRUE(view.Enabled(C::DeformedShape));
}

TEST(CommandRules, TextFileCommandsNeedTheirFiles) {
    Rules r;
    r.inputs.DataFileExists = true;
    TCommandRules onlyData = r.evaluate();
    EXPECT_TRUE(onlyData.Enabled(C::EditInputText));
    EXPECT_FALSE(onlyData.Enabled(C::EditRunNotes));
    EXPECT_FALSE(onlyData.Enabled(C::EditOutputText));
    EXPECT_FALSE(onlyData.Enabled(C::ViewOutputButton));
    r.inputs.ReportExists = r.inputs.RunNotesExists = true;
    TCommandRules all = r.evaluate();
    EXPECT_TRUE(all.Enabled(C::EditRunNotes));
    EXPECT_TRUE(all.Enabled(C::EditOutputText));
    EXPECT_TRUE(all.Enabled(C::ViewOutputButton));
    EXPECT_TRUE(all.Enabled(C::RunAnalysis));
}

TEST(RunFiles, RunFileNamesTheOutputsBesideTheDataFile) {
    EXPECT_EQ(RunFileText("/home/eng/walls/pier 3.dn5d"),
              "2015.5.2\n/home/eng/walls/pier 3.dn5d\n/home/eng/walls/pier 3.dn5o\n"
              "/home/eng/walls/pier 3.dn5p\n/home/eng/walls/pier 3.dn5r\n");
    EXPECT_EQ(RunFilePath("/a.b/wall", kReportExtension), "/a.b/wall.dn5o");  // a dot in a folder name
    EXPECT_EQ(RunFilePath("/walls/w.old.dn4d", kPlotDataExtension), "/walls/w.old.dn5p");
}

}  // namespace
}  // namespace app::model
