#pragma once
// The twenty grid tables of a problem: one per kind of tabular input, owned by the main window and
// shared by whatever problem is current. Plain tables go into one registry, chart tables into another,
// so tests can build a private set.

#include <array>
#include <cstddef>

#include "app/model/grid_table.h"
#include "app/model/grid_table_chart.h"

namespace app::model {

/// Names of the help pictures that the user interface resolves to images of its resources.
inline constexpr const char* kPressureDistributionPicture = "PressureDistribution";
inline constexpr const char* kSpringArrangementPicture = "SpringArrangement";

struct TProblemTables {
    /// Creates every table with its definition and MinRows rows of defaults, nothing marked changed.
    explicit TProblemTables(TGridTableRegistry& plain = TGridTableRegistry::ProcessDefault(),
                            TGridTableRegistry& chart = TGridTableRegistry::ChartDefault());

    // Templates of the soil-layer tables' parameter column come first: the layer rows clone them.
    TGridTable TblClay1;
    TGridTable TblSand1;
    TGridTable TblSilt1;
    TGridTable TblRock1;
    TGridTable TblRock2;

    TGridTable PileSect;
    TGridTable Soillayer;
    TGridTable BoundCond;
    TGridTable SoilStrength;
    TGridTable TiebackTable1;
    TGridTable PYMod;
    TGridTable DistLoad;
    TGridTable LongDist;
    TGridTable SurchargeTable;
    TGridTable NewSoil;
    TGridTable LongSoil;

    // Chart variant; the curve templates before the tables that nest them.
    TGridTableChart PYCurve2;
    TGridTableChart Rows2;
    TGridTableChart PYCurves2;
    TGridTableChart MEICurves2;

    static constexpr std::size_t kCount = 20;

    /// Every table in the order of the members above.
    [[nodiscard]] std::array<TGridTable*, kCount> All();
    [[nodiscard]] std::array<const TGridTable*, kCount> All() const;

    /// A new problem: plain tables go back to MinRows rows of defaults, chart tables keep their rows,
    /// every table is in English units and unchanged.
    void ResetForNewProblem();
    /// Every table converts itself (nested tables too) to `units`.
    void SetUnits(int units);
};

}  // namespace app::model
