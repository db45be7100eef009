#pragma once
// The result graphs of the main window, with their design-time captions and options.

#include <array>
#include <memory>
#include <vector>

#include "graph_plot.h"

namespace app::model {

struct PlotDefinitions {
    TGraphPlot pltPY;
    TGraphPlot pltDef;
    TGraphPlot pltMom;
    TGraphPlot pltShear;
    TGraphPlot pltSoil;
    TGraphPlot pltDMS;
    TGraphPlot pltLD;
    TGraphPlot PltCombine;
    TGraphPlot pltLM;
    TGraphPlot pltYL;
    TGraphPlot pltMomEi;
    TGraphPlot pltMomCurv;
    TGraphPlot pltInter;
    TGraphPlot pltPtKyy;
    TGraphPlot pltPtK12;
    TGraphPlot pltMtK21;
    TGraphPlot pltMtK22;
    /// p / p_ult at each node of every problem, from the p-y curves acting there.
    TGraphPlot pltMobil;

    static constexpr std::size_t kCount = 18;

    /// Every plot, in the order of the members above.
    [[nodiscard]] std::array<TGraphPlot*, kCount> All();
    [[nodiscard]] std::array<const TGraphPlot*, kCount> All() const;
};

/// A result graph under the short name the command-line tools use.
struct TNamedPlot {
    const char* name;
    TGraphPlot* plot;
};
/// The result graphs of the Graphics menu in its order: py, deflection, moment, shear, reaction, then
/// dms (the three-panel graph) when asked for, pressure, pressure-combined and mobilised.
[[nodiscard]] std::vector<TNamedPlot> NamedResultPlots(PlotDefinitions& plots, bool withThreePanel);

/// The plots, empty, with their design-time values.
[[nodiscard]] std::unique_ptr<PlotDefinitions> CreatePlotDefinitions();

}  // namespace app::model
