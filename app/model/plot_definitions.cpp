#include "plot_definitions.h"

#include <string>

namespace app::model {

namespace {

struct Design {
    const char* caption;
    const char* curveName;
    const char* xCaption;
    const char* xUnits;
    const char* yCaption;
    const char* yUnits;
    bool xOnTop;
    bool showLegend;
};

void Apply(TGraphPlot& plot, const Design& d) {
    plot.Caption = d.caption;
    plot.CurveName = d.curveName;
    plot.XCaption = d.xCaption;
    plot.XUnits = d.xUnits;
    plot.YCaption = d.yCaption;
    plot.YUnits = d.yUnits;
    plot.XOnTop = d.xOnTop;
    plot.ShowLegend = d.showLegend;
    plot.ShowLayers = false;
    plot.ShowWall = false;
    plot.ShowThree = false;
    plot.ShowFontWidth = true;
    plot.WallLineCount = 0;
    plot.Markers = 1;
    plot.SizeFont = 10;
    plot.LegendFont = 11;
    plot.WidthLine = 1;
    plot.SetUnits(1);
}

// In member order.
constexpr Design kDesigns[PlotDefinitions::kCount] = {
    {"p-y Curves", "Depth", "y", "L", "p", "F/L", false, true},
    {"Deflection vs Depth", "Load #", "Deflection", "L", "Depth", "", true, true},
    {"Moment vs Depth", "Load #", "Bending Moment", "", "Depth", "", true, true},
    {"Shear vs Depth", "Load #", "Shear", "", "Depth", "", true, true},
    {"Soil Reaction vs Depth", "Load #", "Reaction", "F", "Depth", "", true, true},
    {"Deflection, Moment, Shear vs Depth", "Curve #", "Deflection", "L", "Depth", "", true, true},
    {"Earth Pressure Distribution", "Curve #", "Distributed load", "F/L", "Depth", "", true, true},
    {"Earth Pressure Combined", "Curve #", "Distributed Load", "F/L", "Depth", "L2", true, true},
    {"Load vs Max Bending Moment", "Curve #", "Max Bending Moment", "", "Lateral Load", "", false, true},
    {"Pile Length vs Top Deflection", "Curve #", "Pile Length", "L", "Pile-Head Deflection", "L", false,
     true},
    {"EI vs Moment", "Axial Load ", "Moment", "", "EI", "", false, true},
    {"Moment vs Curvature", "Axial Load ", "Curvature (rad)", "", "Moment", "", false, true},
    {"Interaction Diagram", "Curve #", "Bending Moment", "", "Axial Load", "", false, false},
    {"Lateral Load vs K22", "Axial Load", "Lateral Load", "F", "Foundation Stiffness, K22", "F/L", false,
     false},
    {"Lateral Load vs K23", "Curve #", "lateral Load", "F", "Foundation Stiffness, K23", "F/L", false, false},
    {"Bending Moment vs K32", "Curve #", "Bending Moment", "L-F", "Foundation Stiffness, K32", "L-F/Rad.",
     false, false},
    {"Bending Moment vs K33", "Curve #", "Bending Moment", "L-F", "Foundation Stiffness, K33", "L-F/Rad.",
     false, false},
    {"Mobilised Resistance vs Depth", "Load #", "Mobilised Resistance", "", "Depth", "", true, true},
};

}  // namespace

std::array<TGraphPlot*, PlotDefinitions::kCount> PlotDefinitions::All() {
    return {&pltPY,    &pltDef,     &pltMom,   &pltShear, &pltSoil,  &pltDMS,
            &pltLD,    &PltCombine, &pltLM,    &pltYL,    &pltMomEi, &pltMomCurv,
            &pltInter, &pltPtKyy,   &pltPtK12, &pltMtK21, &pltMtK22, &pltMobil};
}

std::array<const TGraphPlot*, PlotDefinitions::kCount> PlotDefinitions::All() const {
    return {&pltPY,    &pltDef,     &pltMom,   &pltShear, &pltSoil,  &pltDMS,
            &pltLD,    &PltCombine, &pltLM,    &pltYL,    &pltMomEi, &pltMomCurv,
            &pltInter, &pltPtKyy,   &pltPtK12, &pltMtK21, &pltMtK22, &pltMobil};
}

std::unique_ptr<PlotDefinitions> CreatePlotDefinitions() {
    auto defs = std::make_unique<PlotDefinitions>();
    const auto plots = defs->All();
    for (std::size_t k = 0; k < PlotDefinitions::kCount; ++k)
        Apply(*plots[k], kDesigns[k]);
    return defs;
}

std::vector<TNamedPlot> NamedResultPlots(PlotDefinitions& p, bool withThreePanel) {
    std::vector<TNamedPlot> plots{{"py", &p.pltPY},
                                  {"deflection", &p.pltDef},
                                  {"moment", &p.pltMom},
                                  {"shear", &p.pltShear},
                                  {"reaction", &p.pltSoil}};
    if (withThreePanel) plots.push_back({"dms", &p.pltDMS});
    plots.push_back({"pressure", &p.pltLD});
    plots.push_back({"pressure-combined", &p.PltCombine});
    plots.push_back({"mobilised", &p.pltMobil});
    return plots;
}

}  // namespace app::model
