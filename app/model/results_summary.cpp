#include "app/model/results_summary.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <sstream>

#include "app/model/data_file.h"
#include "app/model/number_format.h"
#include "app/model/problem_tables.h"
#include "app/model/stages.h"
#include "app/model/units.h"
#include "app/model/word_reader.h"

namespace app::model {

namespace {

constexpr long double kPerKilo = 1000.0L;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// A node from a depth or label as read; a damaged file's huge or non-finite values come out as -2,
// which no node is, so nothing acts there.
int nearestNode(long double value) {
    constexpr long double kFar = 1e7L;
    if (!(value > -kFar && value < kFar)) return -2;
    return static_cast<int>(std::lround(static_cast<double>(value)));
}

// ---- Inputs ----------------------------------------------------------------------------------------

long double cell(const TGridTable& table, int column, int row) {
    return table.Cell(column, row).AsFloat();
}

// A private problem to read one stage into, so the window's problem is never touched.
struct TScratchProblem {
    TGridTableRegistry plain;
    TGridTableRegistry chart;
    TProblemTables tables{plain, chart};
    TProgramData model{tables};
};

// ---- Results in base units (in, lb or m, kN) ---------------------------------------------------------

struct TNodeBase {
    long double z = 0.0L;  // depth from the top, in or m
    long double y = 0.0L;  // in or m
    long double m = 0.0L;  // lb-in or kN-m
    long double v = 0.0L;  // lb or kN
    long double r = 0.0L;  // net reaction per station, lb or kN
};

std::vector<TNodeBase> baseRows(const TResultsStore& store, int caseIndex, int units) {
    const bool english = units == kUnitsEnglish;
    std::vector<TNodeBase> rows;
    const int count = store.ResponsePointCount(caseIndex);
    rows.reserve(at(std::max(count, 0)));
    for (int j = 0; j < count; ++j) {
        const TResponsePoint& p = store.Response(caseIndex, j);
        TNodeBase b;
        b.z = english ? p.Depth * kInchesPerFoot : p.Depth;
        b.y = p.Deflection;
        b.m = english ? p.Moment * kPerKilo : p.Moment;
        b.v = english ? p.Shear * kPerKilo : p.Shear;
        b.r = p.SoilReaction;
        rows.push_back(b);
    }
    return rows;
}

// ---- p-y curves ---------------------------------------------------------------------------------------

// p at y on a curve: linear between its points, the end segments extended, as the solver does.
long double curveP(const std::vector<std::pair<long double, long double>>& points, long double y) {
    if (points.empty()) return 0.0L;
    if (points.size() == 1) return points.front().second;
    std::size_t i = 1;
    while (i + 1 < points.size() && points[i].first < y)
        ++i;
    const auto& [y0, p0] = points[i - 1];
    const auto& [y1, p1] = points[i];
    if (y1 == y0) return y < y0 ? p0 : p1;
    return p0 + (p1 - p0) * (y - y0) / (y1 - y0);
}

// The resistance a curve offers at y, measured from its value at y = 0 (which carries the earth
// pressure of a generated curve), positive where it resists the movement; and the largest it offers
// on that side.
long double resistance(const std::vector<std::pair<long double, long double>>& points, long double y) {
    const long double change = curveP(points, y) - curveP(points, 0.0L);
    return y > 0.0L ? -change : change;
}

long double largestResistance(const std::vector<std::pair<long double, long double>>& points,
                              bool towardExcavation) {
    long double best = 0.0L;
    for (const auto& [y, p] : points)
        if (towardExcavation ? y > 0.0L : y < 0.0L) best = std::max(best, resistance(points, y));
    return best;
}

struct TActingCurve {
    std::size_t first = 0, second = 0;
    long double t = 0.0L;      // weight of the second curve within the range
    long double share = 1.0L;  // a range gives half its value at its two end nodes
};

// The curves that act at each node, as the engine spreads them: a curve that opens a range (every
// generated curve; a user curve at or below the excavation when no curves are generated) spans the
// nodes to the next curve, the two weighted by the node's place between them and halved at the
// range's ends; any other curve acts at its own node alone.
std::vector<std::vector<TActingCurve>> actingCurves(const std::vector<TStoredCurve>& curves,
                                                    const TCaseInputs& in, long double h, int lastNode) {
    std::vector<std::vector<TActingCurve>> acting(at(std::max(lastNode + 1, 0)));
    const bool labelsAreNodes = in.UserCurveCount > 0;
    const std::size_t users = labelsAreNodes ? std::min(at(in.UserCurveCount), curves.size()) : 0;
    std::vector<int> nodes;
    std::vector<bool> opens;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const int node = labelsAreNodes ? nearestNode(curves[i].Label) : nearestNode(curves[i].Label / h);
        nodes.push_back(node);
        bool opensRange = true;
        if (labelsAreNodes && in.GeneratedCurves) opensRange = i >= users;
        if (labelsAreNodes && !in.GeneratedCurves) opensRange = node * h >= in.FreeHeight;
        opens.push_back(opensRange);
    }
    auto add = [&](int k, TActingCurve c) {
        if (k >= 0 && k <= lastNode) acting[at(k)].push_back(c);
    };
    std::ptrdiff_t open = -1;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        if (open >= 0) {
            const int a = nodes[at(static_cast<int>(open))];
            const int b = nodes[i];
            if (b == a) continue;  // a second curve at the node that opened the range
            if (b > a) {
                // A range that runs past the tip ends there, with the tip's half station.
                const int end = std::min(b, lastNode);
                for (int k = a; k <= end; ++k) {
                    const long double t = static_cast<long double>(k - a) / static_cast<long double>(b - a);
                    add(k, {static_cast<std::size_t>(open), i, t, k == a || k == end ? 0.5L : 1.0L});
                }
            }
            open = opens[i] ? static_cast<std::ptrdiff_t>(i) : -1;
            continue;
        }
        if (opens[i])
            open = static_cast<std::ptrdiff_t>(i);
        else
            add(nodes[i], {i, i, 0.0L, 1.0L});
    }
    return acting;
}

// p / p_ult at a node of deflection y, in [0, 1]; negative when no curve acts or it offers nothing.
long double mobilisedAt(const std::vector<TStoredCurve>& curves, const std::vector<TActingCurve>& acting,
                        long double y) {
    if (acting.empty() || y == 0.0L) return acting.empty() ? -1.0L : 0.0L;
    const bool toward = y > 0.0L;
    long double used = 0.0L;
    long double largest = 0.0L;
    for (const TActingCurve& a : acting) {
        const auto& first = curves[a.first].Points;
        const auto& second = curves[a.second].Points;
        used += a.share * ((1.0L - a.t) * resistance(first, y) + a.t * resistance(second, y));
        largest += a.share * ((1.0L - a.t) * largestResistance(first, toward) +
                              a.t * largestResistance(second, toward));
    }
    if (largest <= 0.0L) return -1.0L;
    return std::clamp(used / largest, 0.0L, 1.0L);
}

// The soil's p at a node of deflection y from the curves acting there.
long double soilPressure(const std::vector<TStoredCurve>& curves, const std::vector<TActingCurve>& acting,
                         long double y) {
    long double p = 0.0L;
    for (const TActingCurve& a : acting)
        p += a.share *
             ((1.0L - a.t) * curveP(curves[a.first].Points, y) + a.t * curveP(curves[a.second].Points, y));
    return p;
}

long double pressureAt(const TResultsStore& store, int caseIndex, long double z) {
    const int count = store.PressurePointCount(caseIndex);
    if (count == 0) return 0.0L;
    const TPressurePoint* previous = nullptr;
    for (int j = 0; j < count; ++j) {
        const TPressurePoint& p = store.Pressure(caseIndex, j);
        if (p.Depth >= z) {
            if (previous == nullptr || p.Depth == previous->Depth) return p.Total;
            const long double t = (z - previous->Depth) / (p.Depth - previous->Depth);
            return previous->Total + t * (p.Total - previous->Total);
        }
        previous = &p;
    }
    return 0.0L;  // below the table no earth pressure acts
}

// The last node the earth pressure is applied to, as the engine applies it: generated pressure down
// to the excavation, a user table down to its last depth; -1 without pressure.
int pressureEndNode(const TResultsStore& store, int caseIndex, const TCaseInputs& in, long double h) {
    if (in.PressureOption >= 2) return nearestNode(in.FreeHeight / h);
    const int count = store.PressurePointCount(caseIndex);
    if (in.PressureOption == 1 && count > 0)
        return nearestNode(store.Pressure(caseIndex, count - 1).Depth / h);
    return -1;
}

// Shown values from base ones.
struct TShown {
    int units;
    [[nodiscard]] long double depth(long double z) const {
        return units == kUnitsEnglish ? z / kInchesPerFoot : z;
    }
    [[nodiscard]] long double deflection(long double y) const {
        return units == kUnitsEnglish ? y : y * 1000.0L;
    }
    [[nodiscard]] long double moment(long double m) const {
        return units == kUnitsEnglish ? m / kPerKilo : m;
    }
    [[nodiscard]] long double force(long double f) const { return units == kUnitsEnglish ? f / kPerKilo : f; }
};

void keepLargest(TExtreme& e, long double value, long double depth, int node) {
    if (!e.Known || std::fabs(value) > std::fabs(e.Value)) e = {value, depth, node, true};
}

// A tieback as the engine takes it: a lateral spring at the node nearest its depth, of stiffness
// cos(angle) E A / (unbonded length x spacing / wall width). No spring without a length, spacing or
// width (the engine stops such a run).
struct TTiebackSpring {
    int Node = -1;
    long double Stiffness = 0.0L;
    long double Spacing = 0.0L;  // in or m
    long double Cosine = 1.0L;
};

TTiebackSpring tiebackSpring(const TCaseInputs& in, const TTiebackInput& t, long double h) {
    const long double scale = in.Units == kUnitsEnglish ? kInchesPerFoot : 1.0L;
    const long double unbonded = t.Unbonded * scale;
    const long double spacing = t.Spacing * scale;
    if (unbonded <= 0.0L || spacing <= 0.0L || in.ActiveWidth <= 0.0L) return {};
    const long double cosine = std::cos(t.Angle * std::numbers::pi_v<long double> / 180.0L);
    return {nearestNode(t.Depth * scale / h),
            cosine * t.Modulus * t.Area / (unbonded * spacing / in.ActiveWidth), spacing, cosine};
}

// The lateral stiffness tiebacks and springs add at each node, as the engine spreads them.
std::vector<long double> supportStiffness(const TCaseInputs& in, std::size_t nodes) {
    std::vector<long double> k(nodes, 0.0L);
    const long double h = in.IncrementLength > 0.0L ? in.IncrementLength : 1.0L;
    for (const TTiebackInput& t : in.Tiebacks) {
        const TTiebackSpring spring = tiebackSpring(in, t, h);
        if (spring.Node >= 0 && at(spring.Node) < nodes) k[at(spring.Node)] += spring.Stiffness;
    }
    for (const TSpringInput& s : in.Springs) {
        const int from = std::max(s.From, 0);
        const int to = std::max(s.To, from);
        for (int n = from; n <= to && at(n) < nodes; ++n)
            k[at(n)] += (from == to || (n != from && n != to) ? 1.0L : 0.5L) * s.Lateral;
    }
    return k;
}

// Nodes whose net reaction holds a restraint's share (the node, and the stations beside a node
// of specified slope) or a concentrated load: their values are the supports' or the load's, not the
// soil's.
std::vector<bool> restraintNodes(const TCaseInputs& in, std::size_t nodes) {
    std::vector<bool> marked(nodes, false);
    auto mark = [&](int n) {
        if (n >= 0 && at(n) < nodes) marked[at(n)] = true;
    };
    for (const int n : in.RestrainedNodes)
        mark(n);
    for (const int n : in.SlopeNodes) {
        mark(n - 1);
        mark(n);
        mark(n + 1);
    }
    for (const int n : in.LoadedNodes)
        mark(n);
    return marked;
}

std::string caseName(const TProgramData& model, int caseIndex, int cases) {
    if (model.LongTermMarker == kLongTermFollows && cases == 2)
        return caseIndex == 0 ? "Short-Term" : "Long-Term";
    if (model.StageCount > 1) return "Stage " + std::to_string(caseIndex + 1);
    return cases > 1 ? "Problem " + std::to_string(caseIndex + 1) : "Problem";
}

}  // namespace

TCaseInputs CaseInputsOf(const TProgramData& model) {
    const TProblemTables& t = model.Tables();
    TCaseInputs in;
    in.Units = model.UnitSystem();
    in.IncrementCount = model.IncrementCount;
    in.IncrementLength = model.IncrementLength;
    in.ActiveWidth = model.ActiveWidth;
    in.FreeHeight = model.FreeHeight;
    in.WaterDepthBackfill = model.WaterDepthBackfill;
    in.WaterDepthExcavation = model.WaterDepthExcavation;
    if (model.ApplyTiebacks || model.TiebackCount > 0) {
        for (int r = 0; r < std::min(t.TiebackTable1.RowCount(), model.TiebackCount); ++r)
            in.Tiebacks.push_back({cell(t.TiebackTable1, 0, r), cell(t.TiebackTable1, 1, r),
                                   cell(t.TiebackTable1, 2, r), cell(t.TiebackTable1, 3, r),
                                   cell(t.TiebackTable1, 4, r), cell(t.TiebackTable1, 5, r)});
    }
    if (model.ApplySprings) {
        for (int r = 0; r < t.SoilStrength.RowCount(); ++r) {
            const long double k = cell(t.SoilStrength, 3, r);
            if (k != 0.0L)
                in.Springs.push_back(
                    {t.SoilStrength.Cell(1, r).AsInt(), t.SoilStrength.Cell(2, r).AsInt(), k});
        }
    }
    if (model.ApplyRestraints) {
        for (int r = 0; r < t.Soillayer.RowCount(); ++r) {
            const int kind = t.Soillayer.Cell(0, r).AsInt();
            const int node = t.Soillayer.Cell(1, r).AsInt();
            if (kind == 1 || kind == 3) in.RestrainedNodes.push_back(node);
            if (kind == 2 || kind == 3) in.SlopeNodes.push_back(node);
        }
    }
    if (model.ApplyConcentratedLoads) {
        // Every node of a row's range carries its load; an interpolated row reaches the next row's end.
        const TGridTable& loads = t.BoundCond;
        for (int r = 0; r < loads.RowCount(); ++r) {
            const bool interpolated = loads.Cell(0, r).AsInt() == 2 && r + 1 < loads.RowCount();
            const int from = loads.Cell(1, r).AsInt();
            const int to = interpolated ? loads.Cell(2, r + 1).AsInt() : loads.Cell(2, r).AsInt();
            const bool loaded = cell(loads, 3, r) != 0.0L || (interpolated && cell(loads, 3, r + 1) != 0.0L);
            for (int n = from; loaded && n <= std::max(from, to) && n <= model.IncrementCount; ++n)
                in.LoadedNodes.push_back(n);
        }
    }
    if (model.ApplyExternalPY) in.UserCurveCount = t.PYCurves2.RowCount();
    in.GeneratedCurves = model.GeneratePY > 0;
    in.PressureOption = model.EarthPressureCode;  // as the saved file, which the results belong to, says
    return in;
}

std::vector<TCaseInputs> CaseInputsOfFile(const TProgramData& model, const std::filesystem::path& dataFile) {
    std::vector<TCaseInputs> inputs;
    if (model.StageCount < 2) {
        inputs.push_back(CaseInputsOf(model));
        return inputs;
    }
    std::vector<std::string> stages;
    try {
        stages = SplitStagedText(ReadInputFile(dataFile));
    } catch (const EInOutError&) {
        stages.clear();
    }
    for (int n = 0; n < model.StageCount; ++n) {
        if (n + 1 == model.CurrentStage || at(n) >= stages.size()) {
            inputs.push_back(CaseInputsOf(model));
            continue;
        }
        try {
            auto scratch = std::make_unique<TScratchProblem>();
            ReadDataText(scratch->model, stages[at(n)], TDataFileFormat::Current, dataFile.string());
            inputs.push_back(CaseInputsOf(scratch->model));
        } catch (const EInOutError&) {
            inputs.push_back(CaseInputsOf(model));
        }
    }
    return inputs;
}

TSummaryUnits SummaryUnits(int units) {
    if (units == kUnitsSI) return {"m", "mm", "kN-m", "kN", "kN/m", "kN", "kN/m"};
    return {"ft", "in", "kip-in", "kips", "lb/in", "kips", "lb/in"};
}

TResultsSummary SummarizeResults(const TProgramData& model, const std::vector<TCaseInputs>& inputs,
                                 const TRunStatus& status) {
    TResultsSummary summary;
    summary.Title = model.Title;
    summary.DataFile = model.FileName;
    summary.Units = inputs.empty() ? model.UnitSystem() : inputs.front().Units;
    summary.UnitNames = SummaryUnits(summary.Units);
    const TShown shown{summary.Units};
    const TResultsStore& store = model.Results;
    const int cases = store.CaseCount();
    for (int c = 0; c < cases; ++c) {
        const TCaseInputs& in = inputs.empty() ? TCaseInputs{} : inputs[std::min(at(c), inputs.size() - 1)];
        TCaseSummary s;
        s.Name = caseName(model, c, cases);
        if (at(c) < status.problems.size()) {
            s.State = status.problems[at(c)].state;
            s.Iterations = status.problems[at(c)].iterations.value_or(0);
        }
        const std::vector<TNodeBase> rows = baseRows(store, c, summary.Units);
        const long double h = in.IncrementLength > 0.0L ? in.IncrementLength : 1.0L;
        // The wall runs from the top to the tip; the response holds one station more below it.
        const int tip = std::max(0, std::min(static_cast<int>(rows.size()) - 2, in.IncrementCount));
        if (rows.empty()) {
            summary.Cases.push_back(std::move(s));
            continue;
        }
        s.TopDeflection = {shown.deflection(rows[0].y), 0.0L, 0, true};
        long double largestShear = 0.0L, largestMoment = 0.0L;
        const std::vector<long double> springs = supportStiffness(in, rows.size());
        const std::vector<bool> restrained = restraintNodes(in, rows.size());
        for (int k = 0; k <= tip; ++k) {
            const TNodeBase& b = rows[at(k)];
            const long double depth = shown.depth(b.z);
            keepLargest(s.Deflection, shown.deflection(b.y), depth, k);
            keepLargest(s.Moment, shown.moment(b.m), depth, k);
            keepLargest(s.Shear, shown.force(b.v), depth, k);
            if (!restrained[at(k)]) keepLargest(s.SoilReaction, (b.r + springs[at(k)] * b.y) / h, depth, k);
            largestShear = std::max(largestShear, std::fabs(b.v));
            largestMoment = std::max(largestMoment, std::fabs(b.m));
        }
        // Tiebacks and springs pull with their stiffness times the deflection at their nodes.
        for (const TTiebackInput& t : in.Tiebacks) {
            const TTiebackSpring spring = tiebackSpring(in, t, h);
            if (spring.Node < 0 || at(spring.Node) >= rows.size()) continue;
            const TNodeBase& b = rows[at(spring.Node)];
            const long double force = spring.Stiffness * b.y;
            TSupportForce f{"Tieback",        spring.Node,        spring.Node, shown.depth(b.z),
                            spring.Stiffness, shown.force(force), 0.0L,        false};
            if (spring.Cosine > 0.0L) {
                f.AlongTie = shown.force(force * spring.Spacing / in.ActiveWidth / spring.Cosine);
                f.HasAlongTie = true;
            }
            s.Supports.push_back(f);
        }
        for (const TSpringInput& spring : in.Springs) {
            const int from = std::max(spring.From, 0);
            const int to = std::min(std::max(spring.To, from), static_cast<int>(rows.size()) - 1);
            long double force = 0.0L;
            for (int k = from; k <= to; ++k) {
                // A range carries half values at its two ends, as the engine spreads it.
                const long double weight = from == to || (k != from && k != to) ? 1.0L : 0.5L;
                force += weight * spring.Lateral * rows[at(k)].y;
            }
            s.Supports.push_back({"Spring", from, to, shown.depth(rows[at(from)].z), spring.Lateral,
                                  shown.force(force), 0.0L, false});
        }
        const auto& curves = store.Curves(c);
        const auto acting = curves.empty() ? std::vector<std::vector<TActingCurve>>(at(tip + 1))
                                           : actingCurves(curves, in, h, tip);
        // The wall must balance under the loads and the soil as the p-y curves give it at the final
        // deflections: where a curve acts, the station's force is rebuilt from the curve, the earth
        // pressure applied there and the supports, so an iteration that stopped before the springs
        // matched the curves shows; elsewhere (and at restraints) the engine's net reaction stands.
        const int pressureEnd = pressureEndNode(store, c, in, h);
        long double forceSum = 0.0L;
        long double momentSum = 0.0L;
        const long double zTip = rows[at(tip)].z;
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const TNodeBase& b = rows[k];
            long double force = b.r;
            if (k < acting.size() && !acting[k].empty() && !restrained[k]) {
                const long double load = static_cast<int>(k) >= 1 && static_cast<int>(k) <= pressureEnd
                                             ? pressureAt(store, c, b.z) * h
                                             : 0.0L;
                force = load + soilPressure(curves, acting[k], b.y) * h - springs[k] * b.y;
            }
            forceSum += force;
            momentSum += force * (zTip - b.z);
        }
        // A restraint takes the net reaction of its node beyond what the soil and supports give there.
        for (const int node : in.RestrainedNodes) {
            if (node < 0 || node > tip) continue;
            const TNodeBase& b = rows[at(node)];
            long double soil = pressureAt(store, c, b.z);
            if (!acting[at(node)].empty()) soil = soilPressure(curves, acting[at(node)], b.y);
            const long double reaction = b.r + springs[at(node)] * b.y - soil * h;
            s.Supports.push_back(
                {"Restraint", node, node, shown.depth(b.z), 0.0L, shown.force(reaction), 0.0L, false});
        }
        s.ForceResidual = largestShear > 0.0L ? std::fabs(forceSum) / largestShear : 0.0L;
        s.MomentResidual = largestMoment > 0.0L ? std::fabs(momentSum) / largestMoment : 0.0L;

        if (!curves.empty()) {
            for (int k = 0; k <= tip; ++k) {
                const long double y = rows[at(k)].y;
                const long double mobilised = mobilisedAt(curves, acting[at(k)], y);
                if (mobilised < 0.0L) continue;
                keepLargest(y > 0.0L ? s.MobilisedExcavation : s.MobilisedRetained, mobilised,
                            shown.depth(rows[at(k)].z), k);
            }
        }
        summary.Cases.push_back(std::move(s));
    }
    return summary;
}

std::vector<TNodeRow> NodeTable(const TProgramData& model, const TCaseInputs& inputs, int caseIndex) {
    const TResultsStore& store = model.Results;
    const std::vector<TNodeBase> rows = baseRows(store, caseIndex, inputs.Units);
    const TShown shown{inputs.Units};
    const long double h = inputs.IncrementLength > 0.0L ? inputs.IncrementLength : 1.0L;
    const int tip = std::max(0, std::min(static_cast<int>(rows.size()) - 2, inputs.IncrementCount));
    std::vector<TNodeRow> table;
    if (rows.empty()) return table;
    const std::vector<long double> springs = supportStiffness(inputs, rows.size());
    const auto& curves = store.Curves(caseIndex);
    const auto acting = curves.empty() ? std::vector<std::vector<TActingCurve>>(at(tip + 1))
                                       : actingCurves(curves, inputs, h, tip);
    for (int k = 0; k <= tip; ++k) {
        const TNodeBase& b = rows[at(k)];
        const long double above = k > 0 ? rows[at(k - 1)].y : b.y;
        const long double below = at(k + 1) < rows.size() ? rows[at(k + 1)].y : b.y;
        const long double span = (k > 0 ? h : 0.0L) + (at(k + 1) < rows.size() ? h : 0.0L);
        TNodeRow r;
        r.Node = k;
        r.Depth = shown.depth(b.z);
        r.Deflection = shown.deflection(b.y);
        r.Slope = span > 0.0L ? (below - above) / span : 0.0L;
        r.Moment = shown.moment(b.m);
        r.Shear = shown.force(b.v);
        r.SoilReaction = (b.r + springs[at(k)] * b.y) / h;
        r.EarthPressure = pressureAt(store, caseIndex, b.z);
        r.Mobilised = curves.empty() ? -1.0L : mobilisedAt(curves, acting[at(k)], b.y);
        table.push_back(r);
    }
    return table;
}

void FillMobilisedPlot(TGraphPlot& plot, const TProgramData& model, const std::vector<TCaseInputs>& inputs) {
    const int cases = model.Results.CaseCount();
    plot.SetLineCount(cases);
    for (int c = 0; c < cases; ++c) {
        const TCaseInputs& in =
            inputs.empty() ? CaseInputsOf(model) : inputs[std::min(at(c), inputs.size() - 1)];
        TLine& line = plot.Line(c);
        line.Points.clear();
        for (const TNodeRow& row : NodeTable(model, in, c))
            if (row.Mobilised >= 0.0L) line.Points.push_back({row.Mobilised, row.Depth});
        line.Name = cases > 1 ? caseName(model, c, cases) : std::string();
    }
}

void SetDepthLevels(PlotDefinitions& plots, const std::vector<TCaseInputs>& inputs) {
    std::vector<TGraphPlot::TLevel> levels;
    auto add = [&levels](long double depth, const std::string& label, bool water) {
        for (const TGraphPlot::TLevel& l : levels)
            if (l.Water == water && std::fabs(l.Depth - depth) < 1e-9L) return;
        levels.push_back({depth, label, water});
    };
    auto allSame = [&inputs](long double TCaseInputs::*field) {
        for (const TCaseInputs& in : inputs)
            if (in.*field != inputs.front().*field) return false;
        return true;
    };
    const bool oneExcavation = allSame(&TCaseInputs::FreeHeight);
    const bool oneBackfill = allSame(&TCaseInputs::WaterDepthBackfill);
    const bool oneFront = allSame(&TCaseInputs::WaterDepthExcavation);
    for (std::size_t c = 0; c < inputs.size(); ++c) {
        const TCaseInputs& in = inputs[c];
        const long double scale = LengthScale(in.Units);
        const long double tip = in.IncrementCount * in.IncrementLength;
        const std::string stage =
            inputs.size() > 1 ? std::string(", stage ").append(std::to_string(c + 1)) : "";
        if (in.FreeHeight > 0.0L)
            add(in.FreeHeight / scale, std::string("Excavation").append(oneExcavation ? "" : stage), false);
        // Water belongs to the soil block, which only generated pressure or curves read.
        if (in.PressureOption < 2 && !in.GeneratedCurves) continue;
        const bool sameWater = in.WaterDepthBackfill == in.WaterDepthExcavation;
        if (in.WaterDepthBackfill <= tip)
            add(in.WaterDepthBackfill / scale,
                std::string(sameWater ? "Water table" : "Water table, retained side")
                    .append(oneBackfill ? "" : stage),
                true);
        if (!sameWater && in.WaterDepthExcavation <= tip)
            add(in.WaterDepthExcavation / scale,
                std::string("Water table, excavation side").append(oneFront ? "" : stage), true);
    }
    for (TGraphPlot* plot : {&plots.pltDef, &plots.pltMom, &plots.pltShear, &plots.pltSoil, &plots.pltDMS,
                             &plots.pltLD, &plots.PltCombine, &plots.pltMobil})
        plot->Levels = levels;
}

// ---- Texts ------------------------------------------------------------------------------------------

namespace {

std::string number(long double value) {
    return FormatGeneral(value, 6);
}

// What the window and the clipboard text show: the four digits the plot data holds.
std::string shown(long double value) {
    return FormatGeneral(value, 4);
}

std::string fraction(long double value) {
    return FormatGeneral(value, 3);
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
                    out += buffer;
                } else {
                    out.push_back(c);
                }
        }
    }
    return out.append("\"");
}

std::string jsonNumber(long double value) {
    if (!std::isfinite(static_cast<double>(value))) return "null";
    return FormatGeneral(value, 8);
}

std::string supportLabel(const TSupportForce& f) {
    std::string label = f.Kind + " at node " + std::to_string(f.Node);
    if (f.LastNode != f.Node) label.append("-").append(std::to_string(f.LastNode));
    return label;
}

void appendExtreme(std::vector<std::string>& fields, const TExtreme& e) {
    fields.push_back(e.Known ? number(e.Value) : std::string());
    fields.push_back(e.Known ? number(e.Depth) : std::string());
}

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted.push_back('"');
        quoted.push_back(c);
    }
    return quoted.append("\"");
}

std::vector<std::string> SummaryColumns(const TResultsSummary& summary) {
    const TSummaryUnits& u = summary.UnitNames;
    std::vector<std::string> columns = {"problem",
                                        "status",
                                        "iterations",
                                        "top deflection (" + u.Deflection + ")",
                                        "max deflection (" + u.Deflection + ")",
                                        "at depth (" + u.Depth + ")",
                                        "max moment (" + u.Moment + ")",
                                        "at depth (" + u.Depth + ")",
                                        "max shear (" + u.Shear + ")",
                                        "at depth (" + u.Depth + ")",
                                        "max soil reaction (" + u.Reaction + ")",
                                        "at depth (" + u.Depth + ")",
                                        "max mobilised resistance toward excavation",
                                        "at depth (" + u.Depth + ")",
                                        "max mobilised resistance toward retained side",
                                        "at depth (" + u.Depth + ")",
                                        "force residual (fraction of max shear)",
                                        "moment residual (fraction of max moment)"};
    // One column per support of the case with the most, so every row has the same columns.
    std::size_t supports = 0;
    for (const TCaseSummary& c : summary.Cases)
        supports = std::max(supports, c.Supports.size());
    for (std::size_t i = 0; i < supports; ++i) {
        const std::string n = std::to_string(i + 1);
        columns.push_back("support " + n);
        columns.push_back("support " + n + " horizontal force (" + u.Force + ")");
        columns.push_back("support " + n + " force along tie per anchor (" + u.Force + ")");
    }
    return columns;
}

std::vector<std::string> SummaryFields(const TResultsSummary& summary, const TCaseSummary& c) {
    std::vector<std::string> fields = {c.Name, RunStateWord(c.State),
                                       c.Iterations > 0 ? std::to_string(c.Iterations) : ""};
    fields.push_back(c.TopDeflection.Known ? number(c.TopDeflection.Value) : "");
    appendExtreme(fields, c.Deflection);
    appendExtreme(fields, c.Moment);
    appendExtreme(fields, c.Shear);
    appendExtreme(fields, c.SoilReaction);
    auto mobilised = [&fields](const TExtreme& e) {
        fields.push_back(e.Known ? fraction(e.Value) : "");
        fields.push_back(e.Known ? number(e.Depth) : "");
    };
    mobilised(c.MobilisedExcavation);
    mobilised(c.MobilisedRetained);
    fields.push_back(fraction(c.ForceResidual));
    fields.push_back(fraction(c.MomentResidual));
    std::size_t supports = 0;
    for (const TCaseSummary& other : summary.Cases)
        supports = std::max(supports, other.Supports.size());
    for (std::size_t i = 0; i < supports; ++i) {
        if (i < c.Supports.size()) {
            const TSupportForce& f = c.Supports[i];
            fields.push_back(supportLabel(f));
            fields.push_back(number(f.Horizontal));
            fields.push_back(f.HasAlongTie ? number(f.AlongTie) : "");
        } else {
            fields.insert(fields.end(), 3, "");
        }
    }
    return fields;
}

namespace {

// The per-case table with `separator` between fields, each passed through `quote`.
std::string summaryTable(const TResultsSummary& summary, const char* separator,
                         std::string (*quote)(const std::string&)) {
    std::string out;
    auto row = [&](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            out.append(i ? separator : "").append(quote(fields[i]));
        out.push_back('\n');
    };
    row(SummaryColumns(summary));
    for (const TCaseSummary& c : summary.Cases)
        row(SummaryFields(summary, c));
    return out;
}

std::string asIs(const std::string& text) {
    return text;
}

}  // namespace

std::string SummaryCsv(const TResultsSummary& summary) {
    return summaryTable(summary, ",", CsvField);
}

std::string SummaryTabbed(const TResultsSummary& summary) {
    return summaryTable(summary, "\t", asIs);
}

std::string SummaryJson(const TResultsSummary& summary) {
    const TSummaryUnits& u = summary.UnitNames;
    std::ostringstream out;
    auto extreme = [&out](const char* name, const TExtreme& e) {
        out << "      " << jsonString(name) << ": ";
        if (!e.Known) {
            out << "null,\n";
            return;
        }
        out << "{\"value\": " << jsonNumber(e.Value) << ", \"depth\": " << jsonNumber(e.Depth)
            << ", \"node\": " << e.Node << "},\n";
    };
    out << "{\n  \"title\": " << jsonString(summary.Title)
        << ",\n  \"data_file\": " << jsonString(summary.DataFile)
        << ",\n  \"units\": {\"depth\": " << jsonString(u.Depth)
        << ", \"deflection\": " << jsonString(u.Deflection) << ", \"moment\": " << jsonString(u.Moment)
        << ", \"shear\": " << jsonString(u.Shear) << ", \"soil_reaction\": " << jsonString(u.Reaction)
        << ", \"force\": " << jsonString(u.Force) << ", \"stiffness\": " << jsonString(u.Stiffness)
        << "},\n  \"problems\": [";
    for (std::size_t i = 0; i < summary.Cases.size(); ++i) {
        const TCaseSummary& c = summary.Cases[i];
        out << (i ? ",\n" : "\n") << "    {\n      \"name\": " << jsonString(c.Name)
            << ",\n      \"status\": " << jsonString(RunStateWord(c.State))
            << ",\n      \"iterations\": " << c.Iterations << ",\n";
        extreme("top_deflection", c.TopDeflection);
        extreme("max_deflection", c.Deflection);
        extreme("max_moment", c.Moment);
        extreme("max_shear", c.Shear);
        extreme("max_soil_reaction", c.SoilReaction);
        extreme("max_mobilised_toward_excavation", c.MobilisedExcavation);
        extreme("max_mobilised_toward_retained_side", c.MobilisedRetained);
        out << "      \"force_residual\": " << jsonNumber(c.ForceResidual)
            << ",\n      \"moment_residual\": " << jsonNumber(c.MomentResidual) << ",\n      \"supports\": [";
        for (std::size_t j = 0; j < c.Supports.size(); ++j) {
            const TSupportForce& f = c.Supports[j];
            out << (j ? ", " : "") << "{\"kind\": " << jsonString(f.Kind) << ", \"node\": " << f.Node
                << ", \"last_node\": " << f.LastNode << ", \"depth\": " << jsonNumber(f.Depth)
                << ", \"stiffness\": " << jsonNumber(f.Stiffness)
                << ", \"horizontal_force\": " << jsonNumber(f.Horizontal)
                << ", \"force_along_tie_per_anchor\": " << (f.HasAlongTie ? jsonNumber(f.AlongTie) : "null")
                << "}";
        }
        out << "]\n    }";
    }
    out << "\n  ]\n}\n";
    return out.str();
}

std::string SummaryText(const TResultsSummary& summary) {
    const TSummaryUnits& u = summary.UnitNames;
    std::ostringstream out;
    out << summary.Title << "\n" << summary.DataFile << "\n";
    constexpr std::size_t kLabel = 42;
    auto line = [&out](const std::string& label, const std::string& value) {
        out << "  " << label << std::string(label.size() < kLabel ? kLabel - label.size() : 1, ' ') << value
            << "\n";
    };
    auto where = [&u](const TExtreme& e) {
        return std::string("  at depth ")
            .append(shown(e.Depth))
            .append(" ")
            .append(u.Depth)
            .append(" (node ")
            .append(std::to_string(e.Node))
            .append(")");
    };
    auto at = [&where](const TExtreme& e, const std::string& unit) {
        if (!e.Known) return std::string("-");
        return shown(e.Value).append(" ").append(unit).append(where(e));
    };
    // Unknown on one side only: no node where curves act moves that way.
    auto mobilised = [&where](const TExtreme& e, const TExtreme& other) {
        if (e.Known) return fraction(e.Value).append(where(e));
        return std::string(other.Known ? "- (no node moves that way)" : "- (no p-y curve acts)");
    };
    for (const TCaseSummary& c : summary.Cases) {
        out << "\n" << c.Name << ": " << RunStateWord(c.State);
        if (c.Iterations > 0)
            out << " (" << c.Iterations << (c.Iterations == 1 ? " iteration)" : " iterations)");
        out << "\n";
        if (c.State != TRunState::Converged)
            out << "  NOT CONVERGED: the numbers below are where the iteration stopped; do not use them for "
                   "design.\n";
        line("Top deflection", c.TopDeflection.Known
                                   ? shown(c.TopDeflection.Value).append(" ").append(u.Deflection)
                                   : std::string("-"));
        line("Largest deflection", at(c.Deflection, u.Deflection));
        line("Largest moment", at(c.Moment, u.Moment));
        line("Largest shear", at(c.Shear, u.Shear));
        line("Largest soil reaction", at(c.SoilReaction, u.Reaction));
        line("Mobilised resistance, toward excavation",
             mobilised(c.MobilisedExcavation, c.MobilisedRetained));
        line("Mobilised resistance, toward retained", mobilised(c.MobilisedRetained, c.MobilisedExcavation));
        for (const TSupportForce& f : c.Supports) {
            std::string value = shown(f.Horizontal).append(" ").append(u.Force).append(" horizontal");
            if (f.HasAlongTie)
                value.append(", ")
                    .append(shown(f.AlongTie))
                    .append(" ")
                    .append(u.Force)
                    .append(" along the tie per anchor");
            line(supportLabel(f).append(" (").append(shown(f.Depth)).append(" ").append(u.Depth).append(")"),
                 value);
        }
        line("Equilibrium residual, forces", fraction(c.ForceResidual).append(" of the largest shear"));
        line("Equilibrium residual, moments", fraction(c.MomentResidual).append(" of the largest moment"));
    }
    out << "\nDeflections are positive toward the excavation. The soil reaction is per unit length of wall,\n"
           "tiebacks and springs taken out. The mobilised resistance is the resistance the p-y curve gives "
           "at\n"
           "the node's deflection, counted from its value at zero deflection, over the largest it gives on\n"
           "that side (1: the soil is at its limit). Horizontal support forces act on the analysed wall "
           "width.\nThe residuals are the wall's balance under the soil the p-y curves give at the final "
           "deflections:\na few parts in a thousand on a converged run, far more on one that did not "
           "converge.\n";
    return out.str();
}

std::string NodeTableText(const std::vector<TNodeRow>& rows, const TSummaryUnits& u, char separator,
                          int digits) {
    auto number = [digits](long double value) { return FormatGeneral(value, digits); };
    std::string out;
    const std::string sep(1, separator);
    out += "node" + sep + "depth (" + u.Depth + ")" + sep + "deflection (" + u.Deflection + ")" + sep +
           "slope" + sep + "moment (" + u.Moment + ")" + sep + "shear (" + u.Shear + ")" + sep +
           "soil reaction (" + u.Reaction + ")" + sep + "earth pressure (" + u.Reaction + ")" + sep +
           "mobilised resistance\n";
    for (const TNodeRow& r : rows) {
        out += std::to_string(r.Node) + sep + number(r.Depth) + sep + number(r.Deflection) + sep +
               number(r.Slope) + sep + number(r.Moment) + sep + number(r.Shear) + sep +
               number(r.SoilReaction) + sep + number(r.EarthPressure) + sep +
               (r.Mobilised >= 0.0L ? fraction(r.Mobilised) : std::string()) + "\n";
    }
    return out;
}

}  // namespace app::model
