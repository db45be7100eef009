#include "app/model/command_rules.h"

#include <algorithm>

namespace app::model {

TCommand TCommandRules::StageCommand(int stage) {
    const int first = static_cast<int>(TCommand::Stage1);
    return static_cast<TCommand>(first + std::clamp(stage, 1, 5) - 1);
}

void TCommandRules::set(TCommand command, bool enabled, bool checked, bool visible) {
    at(command) = TCommandState{enabled, visible, checked};
}

TCommandRules::TCommandRules(const TProgramData& model, const PlotDefinitions& plots,
                             const TCommandInputs& inputs) {
    using C = TCommand;

    // Data menu. The soil block is written only when p-y curves are generated or a file brought
    // generated earth pressure with it, so the soil and wall-configuration data matter only then.
    const bool soilData = model.GeneratePY != 0 || model.GeneratedEarthPressureRead;
    const bool userPressure = model.EarthPressureChoice == kEarthPressureUser;
    const bool split = model.LongTerm && model.StageCount == 1;
    set(C::WallConfiguration, soilData);
    set(C::SoilLayers, soilData, false, !split);
    set(C::SoilLayersShort, soilData, false, split);
    set(C::SoilLayersLong, soilData, false, split);
    set(C::DistributedPressure, userPressure, false, !split);
    set(C::DistributedShort, userPressure, false, split);
    set(C::DistributedLong, userPressure, false, split);
    set(C::Surcharge, model.ApplySurcharge);
    set(C::ConcentratedLoads, model.ApplyConcentratedLoads);
    set(C::Tiebacks, model.ApplyTiebacks);
    set(C::Restraints, model.ApplyRestraints);
    set(C::PYModification, model.ApplyPYModification);
    set(C::ExternalPY, model.ApplyExternalPY);
    set(C::Springs, model.ApplySprings);
    set(C::MomentEI, model.ApplyMomentEI);

    // Options menu: check marks follow the flags; a choice of 0 shows as the user's pressure, which is
    // what opening the submenu turns it into.
    set(C::UnitsEnglish, true, model.UnitSystem() == 1);
    set(C::UnitsSI, true, model.UnitSystem() == 2);
    set(C::UnitsOther, true, model.UnitSystem() == 3);
    const int choice = model.EarthPressureChoice == 0 ? kEarthPressureUser : model.EarthPressureChoice;
    set(C::EarthPressureUser, true, choice == kEarthPressureUser);
    set(C::EarthPressureTriangular, true, choice == kEarthPressureTriangular);
    set(C::EarthPressureTrapezoidal, true, choice == kEarthPressureTrapezoidal);
    set(C::GeneratePY, true, model.GeneratePY == 1);
    set(C::ApplyConcentratedLoads, true, model.ApplyConcentratedLoads);
    set(C::ApplyTiebacks, true, model.ApplyTiebacks);
    set(C::ApplyRestraints, true, model.ApplyRestraints);
    set(C::ApplyExternalPY, true, model.ApplyExternalPY);
    set(C::ApplySprings, true, model.ApplySprings);
    set(C::ApplyPYModification, true, model.ApplyPYModification);
    set(C::ApplySurcharge, true, model.ApplySurcharge);
    set(C::ApplyMomentEI, true, model.ApplyMomentEI);
    // Stages and the long-term analysis exclude each other.
    const bool staged = model.StageCount > 1;
    set(C::LongTerm, !staged, model.LongTerm);
    set(C::Staged, !model.LongTerm, staged);
    set(C::StagedButton, !model.LongTerm);
    set(C::SoilLayersButton, !model.LongTerm);

    set(C::StageMenu, staged, false, staged);
    for (int n = 1; n <= 5; ++n) {
        set(StageCommand(n), staged && n <= model.StageCount, staged && n == model.CurrentStage, staged);
    }
    set(C::UpdateCurrentStage, staged);
    set(C::CopyPreviousStage, staged && model.CurrentStage > 1);

    // Computation menu.
    set(C::EditInputText, inputs.DataFileExists);
    set(C::EditRunNotes, inputs.RunNotesExists);
    set(C::EditOutputText, inputs.ReportExists);
    set(C::ViewOutputButton, inputs.ReportExists);
    const bool results = inputs.ResultsAvailable && inputs.PlotDataExists;
    set(C::ViewWallGeometry, results);

    // Graphics: results of a run, and a curve of more than one point in the graph's plot.
    set(C::GraphPY, results && plots.pltPY.HasCurveData());
    set(C::GraphDeflection, results && plots.pltDef.HasCurveData());
    set(C::GraphMoment, results && plots.pltMom.HasCurveData());
    set(C::GraphShear, results && plots.pltShear.HasCurveData());
    set(C::GraphReaction, results && plots.pltSoil.HasCurveData());
    set(C::GraphDMS, Enabled(C::GraphDeflection) && Enabled(C::GraphMoment) && Enabled(C::GraphShear));
    set(C::GraphPressure, results && plots.pltLD.HasCurveData());
    set(C::GraphPressureCombined, results && plots.PltCombine.HasCurveData());
    set(C::GraphMobilised, results && plots.pltMobil.HasCurveData());
    set(C::ResultsSummary, results);
    set(C::NodeTables, results);
    set(C::ExportPlots, results);

    set(C::Show3DMenu, inputs.View3DOpen, false, inputs.View3DOpen);
    set(C::DeformedShape, Enabled(C::GraphDeflection), false, inputs.View3DOpen);
}

}  // namespace app::model
