#pragma once
// The engineering section drawing of a wall as entered: soil layers coloured and named with their
// main parameters, water tables with their symbol on both sides, the excavation of every stage,
// tiebacks at their angle with their unbonded length, surcharges, loads, springs and restraints,
// dimensions, a scale bar and the units. Drawn to one scale both ways (tieback angles are true) into
// any painter: the window, a printed page, a picture, the calculation report.

#include <QRectF>
#include <QString>
#include <filesystem>
#include <vector>

#include "app/model/program_data.h"
#include "app/model/results_summary.h"

class QPainter;

namespace app::results {

/// What the drawing shows, lengths in the drawing's unit (ft or m), forces in the file's.
struct TSectionDrawing {
    struct TLayer {
        double Top = 0, Bottom = 0;
        int Type = 0;  // soil type 1 … 7
        QString Name, Parameters;
    };
    struct TStage {
        double Excavation = 0;
        double WaterBack = -1, WaterFront = -1;  // < 0: no water table drawn
        struct TTieback {
            double Depth = 0, Angle = 0, Unbonded = 0, Spacing = 0;
        };
        std::vector<TTieback> Tiebacks;
    };
    struct TLoad {
        int Kind = 0;  // 1 point, 2 line, 3 strip
        double Magnitude = 0, Distance = 0, Width = 0;
    };
    struct TWallLoad {
        double Depth = 0, LastDepth = 0;
        double Lateral = 0, Moment = 0;
    };
    struct TSupport {
        double Depth = 0, LastDepth = 0;
        bool Spring = false;  // else a specified deflection or slope
        QString Text;
    };
    QString Title;
    QString LengthUnit, ForceUnit, PressureUnit, UnitWeightUnit;
    double WallLength = 0;
    double Surcharge = 0;      // uniform, on the retained surface, PressureUnit
    double BackfillSlope = 0;  // degrees
    /// Soil acts on the wall in some form (layers, user curves or pressures); without it none is drawn.
    bool Soil = true;
    std::vector<TLayer> Layers;
    std::vector<TStage> Stages;  // one for a problem without stages
    std::vector<TLoad> Loads;
    std::vector<TWallLoad> WallLoads;
    std::vector<TSupport> Supports;
};

/// The drawing of `model` and of the stages `inputs` (CaseInputsOfFile) of its data file.
[[nodiscard]] TSectionDrawing SectionDrawingOf(const app::model::TProgramData& model,
                                               const std::vector<app::model::TCaseInputs>& inputs);

/// Paints the drawing over `area` at `dpi` (text sizes are in points at that resolution).
void PaintSectionDrawing(QPainter& painter, const QRectF& area, const TSectionDrawing& drawing, int dpi);

/// A round length for a scale bar about a fifth of `span`: 1, 2 or 5 × 10ⁿ.
[[nodiscard]] double ScaleBarLength(double span);

}  // namespace app::results
