#pragma once
// Classical limit-equilibrium design of a wall's embedment beside the p-y analysis: the Rankine or
// Coulomb pressures of the soil layers, water on both sides and a uniform surcharge, with a factor of
// safety on the passive resistance or on the strength; the fixed-earth method for cantilevers
// (simplified, moments about the toe then an increase of the embedment; or full, with the counterforce
// at the toe) and free-earth support for a wall with one tieback. No widgets, no units: any
// consistent length and force.

#include <limits>
#include <string>
#include <vector>

namespace app::design {

/// One soil layer, by depth from the top of the wall.
struct TLeLayer {
    double Top = 0.0;
    double Bottom = 0.0;
    double UnitWeight = 0.0;  // total, F/L³
    double Cohesion = 0.0;    // F/L²
    double Phi = 0.0;         // degrees
};

enum class TLeCoefficients { Rankine, Coulomb };
/// Where the factor of safety acts: dividing the passive resistance, or the soil's strength
/// (tan φ and c) on both sides.
enum class TLeSafety { Passive, Strength };

/// A load on the retained surface (as the p-y analysis takes them): a point load, a line load parallel to
/// the wall or a strip load centred at `Distance` from the wall.
struct TLeSurcharge {
    enum TKind { Point = 1, Line = 2, Strip = 3 };
    int Kind = Strip;
    double Magnitude = 0.0;  // F, F/L or F/L²
    double Distance = 0.0;   // from the wall to the load (the strip's centre)
    double Width = 0.0;      // of a strip
};

/// The lateral pressure of a surcharge at depth z on a wall of free height `height`: the elastic
/// solutions modified for walls that do not yield (Terzaghi 1954, NAVFAC DM-7.02), as the engine uses.
[[nodiscard]] double SurchargePressure(const TLeSurcharge& load, double height, double z);

struct TLeProblem {
    std::vector<TLeLayer> Layers;  // from the top down; the last one goes on below its bottom
    double Excavation = 0.0;       // depth of the excavation below the top of the wall
    double WaterBack = std::numeric_limits<double>::infinity();   // water table depth, retained side
    double WaterFront = std::numeric_limits<double>::infinity();  // water table depth, excavation side
    double WaterUnitWeight = 0.0;
    double Surcharge = 0.0;      // uniform pressure on the retained surface
    double BackfillSlope = 0.0;  // degrees, the retained surface rising away from the wall
    std::vector<TLeSurcharge> Loads;
    TLeCoefficients Coefficients = TLeCoefficients::Rankine;
    double WallFriction = 0.0;  // δ in degrees, used by Coulomb's coefficients
    double FactorOfSafety = 1.0;
    TLeSafety SafetyOn = TLeSafety::Passive;
};

/// The coefficients of a friction angle (degrees), Rankine or Coulomb (vertical wall), for a surface
/// sloping at `slope` degrees behind the wall (rising away from it); a slope not below the friction
/// angle keeps the level-ground values.
struct TLeCoefficientPair {
    double Active = 0.0;
    double Passive = 0.0;
};
[[nodiscard]] TLeCoefficientPair EarthPressureCoefficients(double phi, TLeCoefficients kind,
                                                           double wallFriction, double slope = 0.0);

/// The pressures on the wall at depth z: active behind (soil and water), passive in front below the
/// excavation (factored), and the net pressure pushing the wall toward the excavation.
struct TLePressure {
    double Depth = 0.0;
    double Active = 0.0;
    double Passive = 0.0;
    [[nodiscard]] double Net() const { return Active - Passive; }
};
[[nodiscard]] TLePressure PressureAt(const TLeProblem& problem, double z);

enum class TLeMethod { Simplified, Full, FreeEarth, Apparent };
[[nodiscard]] const char* MethodName(TLeMethod method);

struct TLeResult {
    TLeMethod Method = TLeMethod::Simplified;
    bool Solved = false;
    std::string Why;                    // when not solved
    double EmbedmentRequired = 0.0;     // below the excavation, before any increase
    double EmbedmentDesign = 0.0;       // after the increase (the simplified method), else the same
    double TiebackForce = 0.0;          // free-earth support: per unit width of wall
    std::vector<double> TiebackForces;  // the apparent-pressure method: each tieback's, from the top
    double MaxMoment = 0.0;             // of the limit-equilibrium diagram, per unit width
    double MaxMomentDepth = 0.0;
    double PivotDepth = 0.0;           // the full method: where the counterforce starts
    std::vector<TLePressure> Diagram;  // from the top to the toe of the required embedment
};

/// The cantilever's fixed-earth embedment; `increase` (0.2 for the customary 20 %) lengthens the
/// simplified method's embedment.
[[nodiscard]] TLeResult FixedEarth(const TLeProblem& problem, bool full, double increase = 0.2);
/// Free-earth support of a wall with one tieback at depth `anchorDepth`.
[[nodiscard]] TLeResult FreeEarth(const TLeProblem& problem, double anchorDepth);
/// Walls with several tiebacks (depths from the top, above the excavation): the trapezoidal apparent
/// pressure of total 1.3 times the active force above the excavation (Sabatini, Pass and Bachus
/// 1999) down to the excavation, tieback forces by tributary areas, and below the lowest tieback
/// free-earth support of the rest: the embedment at which the moments about the lowest tieback of
/// the apparent pressure below it and the net pressure below the excavation vanish, the lowest
/// tieback taking its share and the balance of that part. The largest moment is that of the spans
/// above the excavation.
[[nodiscard]] TLeResult ApparentPressure(const TLeProblem& problem, std::vector<double> anchorDepths);

}  // namespace app::design
