#pragma once
// When the main window's commands are enabled, visible and checked. The window evaluates these rules
// when a menu opens and after every run, open, save and stage change, and only applies the result to
// its actions; the rules themselves need no widget.

#include <array>
#include <cstddef>

#include "app/model/plot_definitions.h"
#include "app/model/program_data.h"

namespace app::model {

enum class TCommand : int {
    // Data menu
    Title,
    WallProperties,
    WallConfiguration,
    SoilLayers,       // single entry: one stage without long-term analysis
    SoilLayersShort,  // the Short-Term / Long-Term submenu: long-term analysis of one stage
    SoilLayersLong,
    DistributedPressure,
    DistributedShort,
    DistributedLong,
    Surcharge,
    ConcentratedLoads,
    Tiebacks,
    Restraints,
    PYModification,
    ExternalPY,
    Springs,
    MomentEI,
    // Options menu
    UnitsEnglish,
    UnitsSI,
    UnitsOther,
    EarthPressureUser,
    EarthPressureTriangular,
    EarthPressureTrapezoidal,
    GeneratePY,
    ApplyConcentratedLoads,
    ApplyTiebacks,
    ApplyRestraints,
    ApplyExternalPY,
    ApplySprings,
    ApplyPYModification,
    ApplySurcharge,
    ApplyMomentEI,
    LongTerm,
    Staged,
    // Stage Construction menu and the toolbar's stage buttons
    StageMenu,
    Stage1,
    Stage2,
    Stage3,
    Stage4,
    Stage5,
    UpdateCurrentStage,
    CopyPreviousStage,
    // Computation menu
    RunAnalysis,
    EditInputText,
    EditRunNotes,
    EditOutputText,
    ViewWallGeometry,
    View3D,
    // Graphics menu; the result buttons follow the same rules
    GraphPY,
    GraphDeflection,
    GraphMoment,
    GraphShear,
    GraphReaction,
    GraphDMS,
    GraphPressure,
    GraphPressureCombined,
    GraphMobilised,
    ResultsSummary,
    NodeTables,
    ExportPlots,
    // Toolbar buttons with rules of their own
    SoilLayersButton,
    StagedButton,
    ViewOutputButton,
    // The 3D view's menu and buttons, there only while the view is open
    Show3DMenu,
    DeformedShape,
};

inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(TCommand::DeformedShape) + 1;

struct TCommandState {
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
};

/// What the rules look at besides the problem: the results flag and which files of the run exist.
struct TCommandInputs {
    bool ResultsAvailable = false;
    bool DataFileExists = false;  // .dn5d
    bool ReportExists = false;    // .dn5o
    bool PlotDataExists = false;  // .dn5p
    bool RunNotesExists = false;  // .dn5r
    bool View3DOpen = false;
};

class TCommandRules {
public:
    /// Evaluates every rule. `plots` decides the result commands: a graph is offered only when its plot
    /// has a curve of more than one point.
    TCommandRules(const TProgramData& model, const PlotDefinitions& plots, const TCommandInputs& inputs);

    [[nodiscard]] const TCommandState& operator[](TCommand command) const {
        return m_states[static_cast<std::size_t>(command)];
    }
    [[nodiscard]] bool Enabled(TCommand command) const { return (*this)[command].Enabled; }
    [[nodiscard]] bool Visible(TCommand command) const { return (*this)[command].Visible; }
    [[nodiscard]] bool Checked(TCommand command) const { return (*this)[command].Checked; }

    /// The stage command of stage `stage` (1 … 5).
    [[nodiscard]] static TCommand StageCommand(int stage);

private:
    TCommandState& at(TCommand command) { return m_states[static_cast<std::size_t>(command)]; }
    void set(TCommand command, bool enabled, bool checked = false, bool visible = true);

    std::array<TCommandState, kCommandCount> m_states{};
};

}  // namespace app::model
