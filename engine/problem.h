#pragma once
// The records of one problem as read from the data file. Lengths and forces are in the units of
// the problem's unit system; the few exceptions (tieback feet, surcharge millimetres) are
// converted where they are read.

#include <array>
#include <string>
#include <vector>

namespace engine {

enum UnitSystem : int { kEnglish = 1, kSI = 2, kOtherUnits = 3 };

struct ControlRecord {
    int unitSystem = 1;
    int restraintCount = 0;
    int stiffnessCount = 0;
    int modifierCount = 0;
    int pressureOption = 0;  // 0 none, 1 user table, 2 triangular, 3 trapezoidal
    int pyOption = 0;        // 0 none, 1 user curves only, 2 generated (plus user curves)
    int userCurveCount = 0;
    int stageCount = 1;
    int momentEiSetCount = 0;
    int tiebackCount = 0;

    bool pressureGenerated() const { return pressureOption >= 2; }
    bool curvesGenerated() const { return pyOption == 2; }
};

struct WallRecord {
    int increments = 0;          // NI
    double h = 0.0;              // increment length [L]
    double maxDeflection = 0.0;  // [L]
    double tolerance = 0.0;      // deflection closure tolerance [L]
    double freeHeight = 0.0;     // [L]
    double widthActive = 0.0;    // WA [L]
};

struct Modifier {
    double depth;  // z [L]
    double pMultiplier;
    double yMultiplier;
};

struct PressureRow {
    double depth;      // z [L]
    double total;      // [F/L] (times h once applied to the stations)
    double soil;       // [F/L]
    double surcharge;  // [F/L]
};

struct Surcharge {
    int type;          // 1 point, 2 line, 3 strip
    double magnitude;  // F, F/L or F/L^2
    double distance;   // X from the wall [L]
    double width;      // strip width [L]
};

struct SoilLayer {
    int type;       // 1..7
    double bottom;  // depth to the bottom of the layer [L]
    std::array<double, 6> top;
    std::array<double, 6> base;
};

/// Record 10 of the data file: what the soil generators need beyond the wall record.
struct SoilBlock {
    double freeHeight = 0.0;
    double widthActive = 0.0;                 // WA
    double widthResistance = 0.0;             // WP
    double waterBackfill = 0.0;               // depth of the water table behind the wall [L]
    double waterExcavation = 0.0;             // depth of the water table in front of the wall [L]
    double activeFactor = 1.0;                // modification factor of the active pressure
    int carried = 1;                          // passed on unchanged
    double backfillSlope = 0.0;               // [deg]
    double uniformSurcharge = 0.0;            // [F/L^2]
    std::array<double, 5> singleSurcharge{};  // distance, point, line, strip pressure, strip width
    std::vector<Surcharge> surcharges;
    std::vector<SoilLayer> layers;
};

struct CurvePoint {
    double y;  // [L]
    double p;  // [F/L] as read; [F] per station once in the store
};

/// A user p-y curve as read from the data file (multipliers not yet applied).
struct UserCurve {
    int node;
    double pMultiplier;
    double yMultiplier;
    std::vector<CurvePoint> points;
};

struct MomentEiSet {
    int from;
    int to;
    std::vector<std::array<double, 2>> points;  // (M [F-L], EI [F-L^2]), M increasing
};

}  // namespace engine
