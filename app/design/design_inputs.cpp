#include "app/design/design_inputs.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "app/model/data_file.h"
#include "app/model/problem_tables.h"
#include "app/model/stages.h"
#include "app/model/units.h"
#include "app/model/word_reader.h"

namespace app::design {

namespace {

using app::model::TGridTable;
using app::model::TProgramData;

constexpr int kSubLayers = 8;  // a layer's top and bottom values vary linearly over these

// Parameter columns of the soil types' tables: unit weight, cohesion (−1: none), friction angle.
struct TColumns {
    int Gamma, Cohesion, Phi;
    bool Rock;  // the strength is qu; c = qu / 2
};
TColumns columnsOf(int type) {
    switch (type) {
        case 4:
            return {0, -1, 1, false};  // sand
        case 5:
            return {0, 2, 1, false};  // silt (c-φ)
        case 6:
        case 7:
            return {0, 1, -1, true};  // rock
        default:
            return {0, 1, -1, false};  // clays
    }
}

double value(const TGridTable& table, int column, int row) {
    return column < 0 ? 0.0 : static_cast<double>(table.Cell(column, row).AsFloat());
}

struct TStageProblem {
    app::model::TGridTableRegistry Plain, Chart;
    app::model::TProblemTables Tables{Plain, Chart};
    TProgramData Model{Tables};
};

}  // namespace

TDesignUnits DesignUnits(int units) {
    if (units == app::model::kUnitsSI) return {"m", "kN", "kN/m", "kN-m/m"};
    return {"ft", "lb", "lb/ft", "lb-ft/ft"};
}

TDesignCase DesignCaseOf(const TProgramData& model, const TLeProblem& options) {
    const bool english = model.UnitSystem() == app::model::kUnitsEnglish;
    const double length = english ? 12.0 : 1.0;     // the problem's lengths are inches in English files
    const double pressure = english ? 144.0 : 1.0;  // and its pressures lb/in²
    TDesignCase c;
    c.Problem = options;
    c.Problem.Layers.clear();
    c.Problem.Excavation = static_cast<double>(model.FreeHeight) / length;
    c.Problem.WaterBack = static_cast<double>(model.WaterDepthBackfill) / length;
    c.Problem.WaterFront = static_cast<double>(model.WaterDepthExcavation) / length;
    c.Problem.WaterUnitWeight = english ? 62.4 : 9.81;
    c.Problem.Surcharge = static_cast<double>(model.TopSurcharge) * pressure;
    c.WallLength = model.IncrementCount * static_cast<double>(model.IncrementLength) / length;
    const TGridTable& soil = model.Tables().NewSoil;
    double top = 0.0;
    for (int r = 0; r < soil.RowCount(); ++r) {
        const int type = soil.Cell(0, r).AsInt();
        const double bottom =
            static_cast<double>(soil.Cell(1, r).AsFloat());  // in the table's feet or metres
        const TGridTable* parameters = soil.Column(2).TableAt(r);
        if (parameters == nullptr || parameters->RowCount() < 1 || bottom <= top) continue;
        const TColumns k = columnsOf(type);
        const int last = std::min(1, parameters->RowCount() - 1);
        for (int s = 0; s < kSubLayers; ++s) {
            const double t = (s + 0.5) / kSubLayers;
            auto at = [&](int column) {
                return (1 - t) * value(*parameters, column, 0) + t * value(*parameters, column, last);
            };
            TLeLayer layer;
            layer.Top = top + (bottom - top) * s / kSubLayers;
            layer.Bottom = top + (bottom - top) * (s + 1) / kSubLayers;
            layer.UnitWeight = at(k.Gamma);
            layer.Cohesion = k.Rock ? at(k.Cohesion) / 2 : at(k.Cohesion);
            layer.Phi = at(k.Phi);
            c.Problem.Layers.push_back(layer);
        }
        top = bottom;
    }
    if (model.ApplyTiebacks)
        for (int r = 0; r < std::min(model.Tables().TiebackTable1.RowCount(), model.TiebackCount); ++r)
            c.Tiebacks.push_back(value(model.Tables().TiebackTable1, 0, r));  // feet or metres
    if (model.ApplySurcharge) {
        // Magnitudes in the problem's units (lb, lb/in, lb/in²; kN, kN/m, kPa), distances in inches or
        // millimetres: to feet and pounds, or metres and kilonewtons.
        const TGridTable& loads = model.Tables().SurchargeTable;
        const double distance = english ? 12.0 : 1000.0;
        for (int r = 0; r < loads.RowCount(); ++r) {
            TLeSurcharge load;
            load.Kind = loads.Cell(0, r).AsInt();
            const double magnitude = value(loads, 1, r);
            load.Magnitude = load.Kind == TLeSurcharge::Line    ? magnitude * length
                             : load.Kind == TLeSurcharge::Strip ? magnitude * pressure
                                                                : magnitude;
            load.Distance = value(loads, 2, r) / distance;
            load.Width = value(loads, 3, r) / distance;
            if (load.Magnitude != 0.0) c.Problem.Loads.push_back(load);
        }
    }
    c.Problem.BackfillSlope = static_cast<double>(model.BackfillSlope);
    if (model.BackfillSlope != 0.0L)
        for (const TLeLayer& layer : c.Problem.Layers)
            if (std::fabs(c.Problem.BackfillSlope) >= layer.Phi) {
                c.Notes.emplace_back(
                    "the backfill slope is not below the friction angle of every layer: "
                    "level-ground coefficients where it is not");
                break;
            }
    return c;
}

std::vector<TDesignCase> DesignCases(const TProgramData& model, const std::filesystem::path& dataFile,
                                     const TLeProblem& options) {
    std::vector<TDesignCase> cases;
    if (model.StageCount < 2) {
        cases.push_back(DesignCaseOf(model, options));
        cases.back().Name = "Problem";
        return cases;
    }
    std::vector<std::string> stages;
    try {
        stages = app::model::SplitStagedText(app::model::ReadInputFile(dataFile));
    } catch (const app::model::EInOutError&) {
        stages.clear();
    }
    for (int n = 0; n < model.StageCount; ++n) {
        TDesignCase c;
        if (n == 0 || static_cast<std::size_t>(n) >= stages.size()) {
            c = DesignCaseOf(model, options);
        } else {
            auto stage = std::make_unique<TStageProblem>();
            app::model::ReadDataText(stage->Model, stages[static_cast<std::size_t>(n)],
                                     app::model::TDataFileFormat::Current, dataFile.string());
            c = DesignCaseOf(stage->Model, options);
        }
        c.Name = "Stage " + std::to_string(n + 1);
        cases.push_back(std::move(c));
    }
    return cases;
}

TLeResult ReferenceDesign(const TProgramData& model, const std::filesystem::path& dataFile) {
    const std::vector<TDesignCase> cases = DesignCases(model, dataFile, TLeProblem{});
    if (cases.empty()) return {};
    const TDesignCase& c = *std::max_element(cases.begin(), cases.end(), [](const auto& x, const auto& y) {
        return x.Problem.Excavation < y.Problem.Excavation;
    });
    if (c.Tiebacks.empty()) return FixedEarth(c.Problem, false);
    if (c.Tiebacks.size() == 1) return FreeEarth(c.Problem, c.Tiebacks.front());
    return ApparentPressure(c.Problem, c.Tiebacks);
}

}  // namespace app::design
