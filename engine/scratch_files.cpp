#include "engine/scratch_files.h"

#include "engine/data_reader.h"
#include "engine/run.h"
#include "engine/run_stop.h"

namespace engine {

namespace {
int nonNegative(int count) {
    return count < 0 ? 0 : count;
}

// A numeral with a decimal point and its exponent letter E (or none), as every reader takes a real;
// integers and the exponent forms without a letter or with D are rewritten through the value.
bool isPlainNumeral(std::string_view t) {
    if (t.find('.') == std::string_view::npos) return false;
    bool letter = false;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == 'E' || c == 'e') {
            letter = true;
        } else if ((c == '+' || c == '-') && i > 0 && !letter) {
            return false;
        } else if (c == 'D' || c == 'd') {
            return false;
        }
    }
    return !t.empty();
}
}  // namespace

/// Reads the curves that the p-y generator left in SOILDATA into the store; `userCount` of them
/// come first and are the user curves handed over.
void readGeneratedCurves(const std::string& path, size_t userCount, Stations& st, PlotData& plot,
                         int unitSystem) {
    DataReader in = DataReader::fromFile(path, "SCRATCH FILE SOILDATA");
    in.beginRecord();
    const int count = in.readInt();
    if (count < 0) stopSilently();
    if (count > kMaxCurves) stopTooMuchData();
    const bool withUser = userCount > 0;
    if (count == 0)
        plot.noCurves(unitSystem);
    else
        plot.curveCount(unitSystem, count);
    const double h = st.h();
    for (int c = 0; c < count; ++c) {
        StoredCurve curve;
        in.beginRecord();
        if (static_cast<size_t>(c) < userCount) {
            curve.node = in.readInt();
            const int points = nonNegative(in.readInt());
            curve.flag = 0;
            plot.nodeCurveHeader(curve.node, points);
            for (int k = 0; k < points; ++k) {
                in.beginRecord();
                in.readInt();
                const double p = in.readReal();
                const double y = in.readReal();
                plot.curvePoint(y, p);
                curve.y.push_back(y);
                curve.p.push_back(p * h);
            }
        } else {
            const double depth = in.readReal();
            const int points = in.readInt();
            if (points != 34) stopDataFault("SCRATCH FILE SOILDATA HOLDS A CURVE WITHOUT ITS 34 POINTS");
            double yRead[35], pRead[35];
            std::string_view yText[35], pText[35];
            bool plainNumerals = true;  // numerals the plot reader takes as they are
            for (int k = 1; k <= 34; ++k) {
                in.beginRecord();
                in.readInt();
                pRead[k] = in.readReal();
                pText[k] = in.lastToken();
                yRead[k] = in.readReal();
                yText[k] = in.lastToken();
                plainNumerals = plainNumerals && isPlainNumeral(pText[k]) && isPlainNumeral(yText[k]);
            }
            curve.node = nearestInt(depth / h);
            curve.flag = 1;
            // Backfill side reversed with y negated, then the excavation side with p negated; the
            // first point of the file (the origin of the excavation side) is not needed twice.
            for (int i = 1; i <= 17; ++i) {
                curve.y.push_back(-yRead[35 - i]);
                curve.p.push_back(pRead[35 - i]);
            }
            for (int i = 18; i <= 33; ++i) {
                curve.y.push_back(yRead[i - 16]);
                curve.p.push_back(-pRead[i - 16]);
            }
            if (withUser)
                plot.nodeCurveHeader(curve.node, 33);
            else
                plot.generatedCurveHeader(depth, 33);
            if (plainNumerals) {
                for (int i = 1; i <= 17; ++i)
                    plot.curvePointText(yText[35 - i], true, pText[35 - i], false);
                for (int i = 18; i <= 33; ++i)
                    plot.curvePointText(yText[i - 16], false, pText[i - 16], true);
            } else {
                for (size_t i = 0; i < curve.y.size(); ++i)
                    plot.curvePoint(curve.y[i], curve.p[i]);
            }
            for (double& p : curve.p)
                p *= h;
        }
        st.curves.push_back(std::move(curve));
    }
}

/// Reads the earth-pressure table that the generator left in ZKTEMP.001.
std::vector<PressureRow> readGeneratedPressure(const std::string& path) {
    DataReader in = DataReader::fromFile(path, "SCRATCH FILE ZKTEMP.001");
    in.beginRecord();
    const int count = nonNegative(in.readInt());
    std::vector<PressureRow> rows;
    for (int i = 0; i < count; ++i) {
        in.beginRecord();
        PressureRow r;
        r.depth = in.readReal();
        r.total = in.readReal();
        r.soil = in.readReal();
        r.surcharge = in.readReal();
        rows.push_back(r);
    }
    return rows;
}

}  // namespace engine
