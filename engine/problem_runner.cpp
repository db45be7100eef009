// One problem of a run: read its records in file order, echo them, distribute them onto the
// stations, hand the soil block to the generators, solve and report.

#include <cmath>
#include <string>
#include <vector>

#include "engine/data_reader.h"
#include "engine/run.h"
#include "engine/run_stop.h"
#include "engine/scratch_files.h"
#include "engine/soil/generators.h"
#include "engine/solver.h"
#include "engine/stations.h"

namespace engine {

namespace {

// Tieback angles are converted with this single-precision value of pi, not pi itself.
constexpr double kPiSingle = 3.1416f;

int nonNegative(int count) {
    return count < 0 ? 0 : count;
}

ControlRecord readControl(DataReader& in) {
    in.beginRecord();
    ControlRecord c;
    c.unitSystem = in.readInt();
    c.restraintCount = in.readInt();
    c.stiffnessCount = in.readInt();
    c.modifierCount = in.readInt();
    c.pressureOption = in.readInt();
    c.pyOption = in.readInt();
    c.userCurveCount = in.readInt();
    c.stageCount = in.readInt();
    c.momentEiSetCount = in.readInt();
    c.tiebackCount = in.readInt();
    return c;
}

WallRecord readWall(DataReader& in) {
    in.beginRecord();
    WallRecord w;
    w.increments = in.readInt();
    w.h = in.readReal();
    w.maxDeflection = in.readReal();
    w.tolerance = in.readReal();
    w.freeHeight = in.readReal();
    w.widthActive = in.readReal();
    return w;
}

SoilBlock readSoilBlock(DataReader& in, int unitSystem) {
    SoilBlock b;
    in.beginRecord();
    b.freeHeight = in.readReal();
    b.widthActive = in.readReal();
    b.widthResistance = in.readReal();
    b.waterBackfill = in.readReal();
    b.waterExcavation = in.readReal();
    b.activeFactor = in.readReal();
    b.carried = in.readInt();
    b.backfillSlope = in.readReal();
    in.beginRecord();
    b.uniformSurcharge = in.readReal();
    for (double& v : b.singleSurcharge)
        v = in.readReal();
    in.beginRecord();
    const int surcharges = nonNegative(in.readInt());
    // Distances and widths of surcharges come in millimetres under SI units.
    const double lengthFactor = unitSystem == kSI ? 1.0 / 1000.0 : 1.0;
    for (int i = 0; i < surcharges; ++i) {
        in.beginRecord();
        Surcharge s;
        s.type = in.readInt();
        s.magnitude = in.readReal();
        s.distance = in.readReal() * lengthFactor;
        s.width = in.readReal() * lengthFactor;
        b.surcharges.push_back(s);
    }
    in.beginRecord();
    const int layers = nonNegative(in.readInt());
    for (int i = 0; i < layers; ++i) {
        SoilLayer layer;
        in.beginRecord();
        layer.type = in.readInt();
        layer.bottom = in.readReal();
        in.beginRecord();
        for (double& v : layer.top)
            v = in.readReal();
        in.beginRecord();
        for (double& v : layer.base)
            v = in.readReal();
        b.layers.push_back(layer);
    }
    return b;
}

std::vector<UserCurve> readUserCurves(DataReader& in, int count) {
    std::vector<UserCurve> curves;
    for (int i = 0; i < count; ++i) {
        UserCurve c;
        in.beginRecord();
        c.node = in.readInt();
        const int points = nonNegative(in.readInt());
        c.pMultiplier = in.readReal();
        c.yMultiplier = in.readReal();
        for (int k = 0; k < points; ++k) {
            in.beginRecord();
            const double y = in.readReal();
            const double p = in.readReal();
            c.points.push_back({y, p});
        }
        curves.push_back(std::move(c));
    }
    return curves;
}

/// The rows of a generated table that are printed: all up to 50, else every 6th (English) or 4th
/// (SI) row from the first, plus the last.
std::vector<PressureRow> printedRows(const std::vector<PressureRow>& rows, int unitSystem) {
    if (rows.size() <= 50) return rows;
    const size_t step = unitSystem == kEnglish ? 6 : unitSystem == kSI ? 4 : 1;
    std::vector<PressureRow> out;
    size_t i = 0;
    for (; i < rows.size(); i += step)
        out.push_back(rows[i]);
    if ((i - step) != rows.size() - 1) out.push_back(rows.back());
    return out;
}

}  // namespace

int Run::runProblem(DataReader& in) {
    std::string& out = m_reportFile.buffer();
    Report report(out);
    PlotData plot(m_plotFile.buffer());

    // 1-2. Title and control record.
    const std::string title = in.readTitle(70);
    ++m_problemCounter;
    if (m_problemCounter == 1) m_firstTitle = title;
    m_marker = 0;
    const ControlRecord control = readControl(in);
    m_unitSystem = control.unitSystem;
    m_stageCount = control.stageCount;

    // 3-5. Header and heading.
    if (m_problemCounter > 1) report.write("(/)");
    report.header(m_version, m_dataPath, m_reportPath, m_plotPath,
                  m_options.time ? *m_options.time : systemTime());
    report.problemHeading(control.stageCount, m_problemCounter, title, m_firstTitle);
    const UnitLabels units = UnitLabels::forSystem(control.unitSystem);

    // 6. Control parameters and the wall.
    const WallRecord wall = readWall(in);
    report.controlParameters(control, wall, units);
    if (wall.increments < 1 || !(wall.h > 0.0))
        stopDataFault("THE NUMBER OF INCREMENTS AND THE INCREMENT LENGTH MUST BE POSITIVE");
    if (wall.increments > kMaxIncrements) stopTooMuchData();
    const double h = wall.h;
    Stations st;
    st.reset(wall.increments, h);

    // Restraints.
    if (control.restraintCount < 0) stopSilently();
    if (control.restraintCount > kMaxRestraints) stopTooMuchData();
    if (control.restraintCount >= 1)
        report.restraintHeading();
    else
        report.noTableLine();
    int previousNode = -1;
    for (int i = 0; i < control.restraintCount; ++i) {
        in.beginRecord();
        const int caseRead = in.readInt();
        const int node = in.readInt();
        const double deflection = in.readReal();
        const double slope = in.readReal();
        const int caseUsed = caseRead < 1 ? 1 : caseRead > 3 ? 3 : caseRead;
        report.restraintLine(node, caseRead, caseUsed, deflection, slope);
        if (node < previousNode) stopStationsNotInOrder();
        previousNode = node;
        st.addRestraint(caseUsed, node, deflection, slope);
    }

    // Stiffness records.
    if (control.stiffnessCount < 0) stopSilently();
    // Unlike the restraint box, the stiffness box heads the load and spring lines too: always written.
    report.stiffnessHeading(units);
    if (control.stiffnessCount == 0) report.noTableLine();
    {
        RangeDistributor ranges;
        for (int i = 0; i < control.stiffnessCount; ++i) {
            in.beginRecord();
            const int from = in.readInt();
            const int to = in.readInt();
            const int contd = in.readInt();
            const double ei = in.readReal();
            const int rangeCase = ranges.caseOf(contd);
            const double echo[6] = {ei, 0, 0, 0, 0, 0};
            report.rangeLine(rangeCase, from, to, contd == 2 ? 1 : 0, echo);
            ranges.add(st, from, to, contd, StationValues{ei, 0, 0, 0, 0, 0});
        }
    }

    // Concentrated loads.
    {
        in.beginRecord();
        const int count = nonNegative(in.readInt());
        RangeDistributor ranges;
        for (int i = 0; i < count; ++i) {
            in.beginRecord();
            const int contd = in.readInt();
            const int from = in.readInt();
            const int to = in.readInt();
            const double q = in.readReal();
            const double t = in.readReal();
            const double p = in.readReal();
            st.requireStation(from);
            const int rangeCase = ranges.caseOf(contd);
            const double echo[6] = {st.ei(from), q, 0, t, 0, p};
            report.rangeLine(rangeCase, from, to, contd == 2 ? 1 : 0, echo);
            ranges.add(st, from, to, contd, StationValues{0, q, 0, t, 0, -p});  // tension positive inside
            if (t != 0.0) st.concentratedMoments.emplace_back(from, t / (2.0 * h));
        }
    }

    // Springs, then the tiebacks as single-node springs of the same block.
    int supportCount = 0;
    double firstSupportDepth = 0.0, lastSupportDepth = 0.0;
    auto support = [&](int from, int to) {
        const double depth = from == to ? from * h : 0.0;
        if (supportCount == 0) firstSupportDepth = depth;
        lastSupportDepth = depth;
        ++supportCount;
    };
    {
        in.beginRecord();
        const int count = nonNegative(in.readInt());
        RangeDistributor ranges;
        for (int i = 0; i < count; ++i) {
            in.beginRecord();
            const int from = in.readInt();
            const int to = in.readInt();
            const int contd = in.readInt();
            const double s = in.readReal();
            const double r = in.readReal();
            st.requireStation(from);
            const int rangeCase = ranges.caseOf(contd);
            const double echo[6] = {st.ei(from), 0, s, 0, r, 0};
            report.rangeLine(rangeCase, from, to, contd == 2 ? 1 : 0, echo);
            ranges.add(st, from, to, contd, StationValues{0, 0, s, 0, r, 0});
            support(from, to);
        }
        const int tiebacks = nonNegative(control.tiebackCount);
        for (int i = 0; i < tiebacks; ++i) {
            in.beginRecord();
            double depth = in.readReal();
            const double area = in.readReal();
            const double modulus = in.readReal();
            double unbonded = in.readReal();
            const double angle = in.readReal();
            double spacing = in.readReal();
            if (control.unitSystem == kEnglish) {  // tieback lengths come in feet
                depth *= 12.0;
                unbonded *= 12.0;
                spacing *= 12.0;
            }
            const int node = nearestInt(depth / h);
            st.requireStation(node);
            const double theta = angle * kPiSingle / 180.0;
            const double s = std::cos(theta) * modulus * area / (unbonded * spacing / wall.widthActive);
            if (!std::isfinite(s))
                stopDataFault("A TIEBACK NEEDS A NONZERO UNBONDED LENGTH, SPACING AND WALL WIDTH");
            const int rangeCase = ranges.caseOf(1);
            const double echo[6] = {st.ei(node), 0, s, 0, 0, 0};
            report.rangeLine(rangeCase, node, node, 0, echo);
            ranges.add(st, node, node, 1, StationValues{0, 0, s, 0, 0, 0});
            support(node, node);
        }
    }

    // p-y modification records.
    std::vector<Modifier> modifiers;
    for (int i = 0; i < nonNegative(control.modifierCount); ++i) {
        in.beginRecord();
        Modifier m;
        m.depth = in.readReal();
        m.pMultiplier = in.readReal();
        m.yMultiplier = in.readReal();
        modifiers.push_back(m);
    }

    // User pressure block and soil block.
    std::vector<PressureRow> pressure;
    if (control.pressureOption == 1) {
        in.beginRecord();
        const int count = nonNegative(in.readInt());
        for (int i = 0; i < count; ++i) {
            in.beginRecord();
            PressureRow r;
            r.depth = in.readReal();
            r.soil = in.readReal();
            r.surcharge = 0.0;
            r.total = r.soil;
            pressure.push_back(r);
        }
        report.userPressureHeading();
        report.pressureColumns(units);
        for (const PressureRow& r : pressure)
            report.pressureRow(r.depth, r.soil);
    }
    const bool hasSoilBlock = control.pressureGenerated() || control.curvesGenerated();
    SoilBlock soil;
    if (hasSoilBlock) soil = readSoilBlock(in, control.unitSystem);
    std::vector<UserCurve> handedOver;  // user curves with their multipliers applied
    soil::GenerationContext generation{control,
                                       wall,
                                       soil,
                                       modifiers,
                                       handedOver,
                                       out,
                                       m_notesFile.buffer(),
                                       supportCount,
                                       firstSupportDepth,
                                       lastSupportDepth,
                                       m_excavationOverburden};

    std::vector<PressureRow> printed;
    double zEnd = 0.0;
    if (control.pressureGenerated()) {
        const std::string scratch = joinPath(m_options.workDir, "ZKTEMP.001");
        soil::generateEarthPressure(generation, scratch);
        pressure = readGeneratedPressure(scratch);
        bool belowFreeHeight = false;
        for (PressureRow& r : pressure) {
            belowFreeHeight = belowFreeHeight || r.depth > wall.freeHeight;
            const double width = belowFreeHeight ? soil.widthResistance : soil.widthActive;
            r.total *= width;
            r.soil *= width;
            r.surcharge *= width;
        }
        printed = printedRows(pressure, control.unitSystem);
        report.pressureColumns(units);
        for (const PressureRow& r : printed)
            report.pressureRow(r.depth, r.total);
        zEnd = wall.freeHeight / h;
    } else if (control.pressureOption == 1) {
        if (hasSoilBlock && !soil.surcharges.empty()) {
            const auto surchargeAt = soil::surchargePressure(generation);
            for (PressureRow& r : pressure) {
                r.surcharge = soil.widthActive * surchargeAt(r.depth);
                r.total = r.soil + r.surcharge;
            }
        }
        printed = pressure;
        if (!pressure.empty()) zEnd = pressure.back().depth / h;
    }

    // 8. Pressure section of the plot data, the loads on the stations, the tip check.
    if (control.pressureOption == 0)
        plot.noPressure();
    else
        plot.pressure(printed);
    for (PressureRow& r : pressure)
        r.total *= h;
    if (control.pressureOption != 0) st.applyPressure(pressure, zEnd);
    st.checkBeyondTip();

    // 9. p-y curves.
    const int userCount = nonNegative(control.userCurveCount);
    if (userCount > kMaxCurves) stopTooMuchData();
    if (control.curvesGenerated()) {
        const std::vector<UserCurve> user = readUserCurves(in, userCount);
        if (!user.empty()) report.userCurvesHeading();
        for (const UserCurve& c : user) {
            report.userCurveLine(true, 0, c.node, 0, c.pMultiplier, c.yMultiplier,
                                 static_cast<int>(c.points.size()));
            report.curvePointsHeading(units);
            UserCurve scaled = c;
            for (CurvePoint& pt : scaled.points) {
                pt.y *= c.yMultiplier;
                pt.p *= c.pMultiplier;
                report.curvePoint(pt.y, pt.p);
            }
            handedOver.push_back(std::move(scaled));
        }
        const std::string scratch = joinPath(m_options.workDir, "SOILDATA");
        soil::generatePyCurves(generation, scratch);
        readGeneratedCurves(scratch, handedOver.size(), st, plot, control.unitSystem);
    } else if (userCount > 0) {
        const std::vector<UserCurve> user = readUserCurves(in, userCount);
        report.userCurvesHeading();
        plot.curveCount(control.unitSystem, userCount);
        int previousFlag = 0;
        for (const UserCurve& c : user) {
            StoredCurve curve;
            curve.node = c.node;
            curve.flag = c.node * h >= wall.freeHeight ? 1 : 0;
            const int rangeCase = 2 * previousFlag + curve.flag + 1;
            previousFlag = curve.flag;
            const int points = static_cast<int>(c.points.size());
            report.userCurveLine(false, rangeCase, c.node, curve.flag, c.pMultiplier, c.yMultiplier, points);
            report.curvePointsHeading(units);
            plot.nodeCurveHeader(c.node, points);
            for (const CurvePoint& pt : c.points) {
                const double y = pt.y * c.yMultiplier;
                const double p = pt.p * c.pMultiplier;
                report.curvePoint(y, p);
                plot.curvePoint(y, p);
                curve.y.push_back(y);
                curve.p.push_back(p * h);
            }
            st.curves.push_back(std::move(curve));
        }
    } else {
        report.noTableLine();
        plot.noCurves(control.unitSystem);
    }

    // 10. Moment-EI curve sets.
    std::vector<MomentEiSet> momentEi;
    for (int i = 0; i < nonNegative(control.momentEiSetCount); ++i) {
        MomentEiSet set;
        in.beginRecord();
        set.from = in.readInt();
        set.to = in.readInt();
        const int points = nonNegative(in.readInt());
        for (int k = 0; k < points; ++k) {
            in.beginRecord();
            const double m = in.readReal();
            const double ei = in.readReal();
            set.points.push_back({m, ei});
        }
        momentEi.push_back(std::move(set));
    }

    // 11. Solve and report.
    report.problemHeading(control.stageCount, m_problemCounter, title, m_firstTitle);
    std::string& notes = m_notesFile.buffer();
    notes += "\n\n\n     ITERATION MONITOR DATA\n     ----------------------\n";
    Solver solver(st, wall, momentEi);
    const Results results = solver.solve([&notes](const IterationReport& it) {
        if (it.firstDamped)
            notes +=
                "     THE ITERATION ALTERNATES BETWEEN TWO STATES: DAMPED ITERATIONS (HALF STEPS) FOLLOW\n";
        const std::string_view layout =
            it.offCurve ? "(3X,I4,7X,'YES',6X,I4,2X,5E10.3)" : "(3X,I4,7X,'NO',7X,I4,2X,5E10.3)";
        ff::formatTo(notes, layout,
                     {it.iteration, it.notClosed, it.deflection[0], it.deflection[1], it.deflection[2],
                      it.deflection[3], it.deflection[4]});
    });
    report.results(results, wall.increments, h, st.ei, units);
    if (m_options.onSolved) m_options.onSolved(st, results);

    ResponseTable table;
    table.unitSystem = control.unitSystem;
    for (int s = 0; s <= wall.increments + 1; ++s) {
        const size_t i = static_cast<size_t>(s + 3);
        table.rows.push_back({s * h, results.w[i], results.moment[i], results.shear[i], results.reaction[i]});
    }
    m_lastResponse = std::move(table);
    m_haveResponse = true;

    // 12. End-of-problem marker.
    in.beginRecord();
    int marker = in.readInt();
    if (marker == control.stageCount) marker = 0;
    return marker;
}

}  // namespace engine
