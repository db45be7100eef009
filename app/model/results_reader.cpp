#include "app/model/results_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <vector>

#include "app/model/number_format.h"
#include "app/model/results_summary.h"
#include "app/model/run_files.h"
#include "app/model/run_outcome.h"
#include "app/model/units.h"
#include "app/model/word_reader.h"

namespace app::model {

namespace {

constexpr int kEnglish = 1;
constexpr long double kPerKilo = 1000.0L;
constexpr long double kUnfilled = 1e-7L;

std::size_t index(int i) {
    return static_cast<std::size_t>(i);
}

// Sets a point only where the curve has it: a file may announce fewer curves than it fills.
void put(const TLineList& set, int curve, int point, long double x, long double y) {
    if (curve < 0 || index(curve) >= set.size()) return;
    auto& points = set[index(curve)]->Points;
    if (point < 0 || index(point) >= points.size()) return;
    points[index(point)] = {x, y};
}

bool unfilled(const TFloatPoint& p) {
    return std::fabs(p.X) < kUnfilled && std::fabs(p.Y) < kUnfilled;
}

// Points never filled repeat the one before, so shorter curves do not drop to the origin.
void padUnfilled(const TLineList& set) {
    for (const auto& line : set) {
        auto& points = line->Points;
        for (std::size_t j = 1; j < points.size(); ++j)
            if (unfilled(points[j])) points[j] = points[j - 1];
    }
}

const char* layerName(int type) {
    switch (type) {
        case 1:
        case 2:
        case 3:
            return " CLAY ";
        case 4:
            return " SAND ";
        case 5:
            return " SILT ";
        case 6:
            return "STRONG ROCK";
        case 7:
            return "WEAK ROCK";
        default:
            return "";
    }
}

long double layerX(int type) {
    switch (type) {
        case 1:
        case 2:
        case 3:
            return 1.0L;
        case 4:
            return 7.0L;
        case 5:
            return 8.0L;
        case 6:
            return 9.0L;
        case 7:
            return 10.0L;
        default:
            return 0.0L;
    }
}

constexpr const char* kIncomplete = "This file either invalid or incomplete.";
constexpr const char* kNotANumber = "A number was expected in the plot-data file.";

// The words of the plot-data file with a cursor; line breaks carry no meaning here.
class TTokens {
public:
    explicit TTokens(std::vector<std::string_view> words) : m_words(std::move(words)) {}

    [[nodiscard]] std::size_t Size() const { return m_words.size(); }
    [[nodiscard]] std::size_t Pos() const { return m_pos; }
    void Seek(std::size_t pos) { m_pos = pos; }
    [[nodiscard]] std::string_view At(std::size_t i) const { return m_words[i]; }

    long double ReadReal() {
        if (m_pos >= m_words.size()) throw EInOutError(kIncomplete);
        long double value = 0.0L;
        if (!TWordReader::ParseReal(m_words[m_pos++], value)) throw EInOutError(kNotANumber);
        return value;
    }
    int ReadInteger() {
        const long double value = ReadReal();
        if (value != std::trunc(value) || value < static_cast<long double>(std::numeric_limits<int>::min()) ||
            value > static_cast<long double>(std::numeric_limits<int>::max()))
            throw EInOutError(kNotANumber);
        return static_cast<int>(value);
    }
    // True when the words [from, to) equal the words [other, other + (to - from)).
    [[nodiscard]] bool Same(std::size_t from, std::size_t to, std::size_t other) const {
        return std::equal(m_words.begin() + static_cast<std::ptrdiff_t>(from),
                          m_words.begin() + static_cast<std::ptrdiff_t>(to),
                          m_words.begin() + static_cast<std::ptrdiff_t>(other));
    }

private:
    std::vector<std::string_view> m_words;
    std::size_t m_pos = 0;
};

class TParser {
public:
    TParser(PlotDefinitions& plots, TProgramData& data, TTokens& tokens, bool reportShowsStop)
        : m_p(plots), m_data(data), m_in(tokens), m_reportShowsStop(reportShowsStop) {}

    // Reads every problem block. A run that stopped with an error ends with the response section
    // of the problem before the stopped one written again (none solved: an empty one), after
    // whatever sections of the stopped problem were written; the blocks before it are kept.
    TResultsOutcome Run() {
        TResultsOutcome outcome;
        try {
            readFirstCase();
        } catch (const EInOutError&) {
            if (endsWithEmptyResponse()) return stopped(outcome, 1);
            throw;  // the plots keep what was filled
        }
        if (m_rowsRead.empty() || m_rowsRead[0] == 0) return stopped(outcome, 1);
        m_declaredCases = m_cases;
        int read = 1;
        for (int x = 2; x <= m_cases; ++x) {
            if (stopsHere(m_responseBegin, m_responseEnd)) {
                m_cases = read;
                setResponseCurves(m_cases);
                finish();
                outcome.CasesRead = read;
                return stopped(outcome, x);
            }
            readLaterCase(x);
            m_declaredCases = m_cases;
            ++read;
        }
        finish();
        outcome.CasesRead = read;
        return outcome;
    }

private:
    // ---- Shapes, read without side effects ------------------------------------------------------

    bool scanPressure() {
        const int rows = m_in.ReadInteger();
        if (rows < 0 || rows > kMaxPressureRows) return false;
        const int values = m_data.EarthPressureValuesPerRecord == 4 ? 4 : 2;
        for (long long k = 0; k < static_cast<long long>(rows) * values; ++k)
            m_in.ReadReal();
        return true;
    }
    bool scanPY() {
        m_in.ReadInteger();
        const int curves = m_in.ReadInteger();
        if (curves < 0 || curves > kMaxPYCurves) return false;
        for (int i = 0; i < curves; ++i) {
            m_in.ReadReal();
            const int points = m_in.ReadInteger();
            if (points < 0 || points > kMaxPYPoints) return false;
            for (int k = 0; k < 2 * points; ++k)
                m_in.ReadReal();
        }
        return true;
    }
    bool scanResponse(int& rows) {
        const int cases = m_in.ReadInteger();
        rows = m_in.ReadInteger();
        if (cases < 0 || cases > TResultsStore::kMaxCases || rows < 0 || rows > TResultsStore::kMaxPoints)
            return false;
        m_in.ReadInteger();
        for (int k = 0; k < 5 * rows; ++k)
            m_in.ReadReal();
        return true;
    }
    // Whether a whole block starts at `pos`, and where it ends; the cursor is left where it was.
    bool scanBlock(std::size_t pos, std::size_t& end) {
        const std::size_t keep = m_in.Pos();
        bool ok = false;
        m_in.Seek(pos);
        try {
            int rows = 0;
            ok = scanPressure() && scanPY() && scanResponse(rows);
            end = m_in.Pos();
        } catch (const EInOutError&) {
            ok = false;
        }
        m_in.Seek(keep);
        return ok;
    }
    // True when the words [pos, end) are exactly a pressure section (and a p-y section with `withPY`).
    bool exactly(std::size_t pos, std::size_t end, bool withPY) {
        const std::size_t keep = m_in.Pos();
        bool ok = false;
        m_in.Seek(pos);
        try {
            ok = scanPressure() && (!withPY || scanPY()) && m_in.Pos() == end;
        } catch (const EInOutError&) {
            ok = false;
        }
        m_in.Seek(keep);
        return ok;
    }

    // The empty response section an error stop writes when no problem was solved: cases, 0, units.
    bool endsWithEmptyResponse() const {
        const std::size_t n = m_in.Size();
        if (n < 3) return false;
        long double cases = 0, rows = 0, units = 0;
        return TWordReader::ParseReal(m_in.At(n - 3), cases) &&
               TWordReader::ParseReal(m_in.At(n - 2), rows) &&
               TWordReader::ParseReal(m_in.At(n - 1), units) && rows == 0.0L && cases == std::trunc(cases) &&
               units == std::trunc(units);
    }

    // Whether the problem at the cursor stopped: the file then ends with the previous problem's
    // response section [begin, end) again, after at most the stopped problem's first sections.
    bool stopsHere(std::size_t begin, std::size_t end) {
        const std::size_t pos = m_in.Pos();
        const std::size_t length = end - begin;
        if (m_in.Size() < pos + length) return false;
        const std::size_t partialEnd = m_in.Size() - length;
        if (!m_in.Same(partialEnd, m_in.Size(), begin)) return false;
        if (pos == partialEnd || exactly(pos, partialEnd, false)) return true;
        // Pressure and p-y sections followed by a response equal to the one before read the same as
        // a whole block whose results repeat the previous problem's: the report decides.
        if (exactly(pos, partialEnd, true)) return m_reportShowsStop;
        std::size_t blockEnd = 0;
        return !(scanBlock(pos, blockEnd) && blockEnd <= partialEnd);
    }

    TResultsOutcome& stopped(TResultsOutcome& outcome, int x) {
        outcome.StoppedCase = x;
        const bool longTerm = m_data.LongTermMarker == kLongTermFollows;
        const bool staged = !longTerm && m_data.StageCount > 1;
        const int shown = x - 1;
        std::string where = longTerm ? (x == 1 ? " in the short-term problem" : " in the long-term problem")
                            : staged ? std::string(" in stage ").append(std::to_string(x))
                                     : std::string();
        std::string text = "The analysis stopped with an error" + where + ".";
        if (shown == 0) {
            text += " No results were computed.";
        } else if (longTerm) {
            text += " The results of the short-term problem are shown.";
        } else {
            text += shown == 1 ? std::string(" The results of stage 1 are shown.")
                               : " The results of stages 1 to " + std::to_string(shown) + " are shown.";
        }
        outcome.StopMessage = text + " Please, check output file for the error message.";
        return outcome;
    }

    // ---- Filling --------------------------------------------------------------------------------

    int count(int limit) {
        const int n = m_in.ReadInteger();
        if (n < 0 || n > limit) throw EInOutError("A count in the plot-data file is out of range.");
        return n;
    }

    [[nodiscard]] std::array<TGraphPlot*, 4> depthPlots() const {
        return {&m_p.pltDef, &m_p.pltMom, &m_p.pltShear, &m_p.pltSoil};
    }

    void setResponseCurves(int n) {
        for (TGraphPlot* plot : depthPlots())
            plot->SetLineCount(n);
        m_p.pltDMS.SetLineCount(n);
        m_p.pltDMS.SetLineCount2(n);
        m_p.pltDMS.SetLineCount3(n);
    }

    void setResponsePoints(int n) {
        for (TGraphPlot* plot : depthPlots())
            plot->SetPointCount(n);
        m_p.pltDMS.SetPointCount(n);
        m_p.pltDMS.SetPointCount2(n);
        m_p.pltDMS.SetPointCount3(n);
    }

    // Rows of depth and total (plus soil and surcharge parts when the record holds four values)
    // into pressure curve `curve`, then the p-y section's unit system.
    void readPressure(int curve, int rows, bool combined) {
        const bool fourValues = m_data.EarthPressureValuesPerRecord == 4;
        const long double combinedScale = LengthScale(m_data.UnitSystem());
        for (int j = 0; j < rows; ++j) {
            const long double depth = m_in.ReadReal();
            const long double total = m_in.ReadReal();
            long double soils = 0.0L;
            long double surcharge = 0.0L;
            if (fourValues) {
                soils = m_in.ReadReal();
                surcharge = m_in.ReadReal();
            }
            put(m_p.pltLD.Lines(), curve, j, total, depth);
            m_data.Results.SetPressure(curve, j, {depth, total});
            if (combined) {
                const long double y = depth / combinedScale;
                put(m_p.PltCombine.Lines(), 0, j, total, y);
                put(m_p.PltCombine.Lines(), 1, j, soils, y);
                put(m_p.PltCombine.Lines(), 2, j, surcharge, y);
            }
        }
        m_maxPressureRows = std::max(m_maxPressureRows, rows);
        m_data.Results.NotePressurePointCount(rows);

        m_units = m_in.ReadInteger();
        if (m_units == kEnglish && curve < m_p.pltLD.LineCount()) {
            auto& points = m_p.pltLD.Line(curve).Points;
            for (std::size_t j = 0; j < points.size() && j < index(rows); ++j)
                points[j].Y /= kInchesPerFoot;
        }
    }

    // A p-y curve's legend: its depth in the unit of the depth axes. Generated curves alone are
    // labelled by their depth [L]; with user curves every curve is labelled by its node.
    [[nodiscard]] std::string pyLegend(long double label) const {
        return PYCurveLegend(m_data, m_units, label);
    }

    void readPYCurves(int caseIndex, bool pad) {
        TGraphPlot& py = m_p.pltPY;
        const int curves = count(kMaxPYCurves);
        py.SetLineCount(curves);
        std::size_t longest = 0;
        for (int i = 0; i < curves; ++i) {
            TLine& line = py.Line(i);
            line.Points.clear();
            line.Value = m_in.ReadReal();
            const int points = count(kMaxPYPoints);
            for (int j = 0; j < points; ++j) {
                const long double y = m_in.ReadReal();
                const long double p = m_in.ReadReal();
                line.Points.push_back({y, p});
            }
            longest = std::max(longest, line.Points.size());
            line.Name = pyLegend(line.Value);
        }
        // Every case keeps its own curves for the summary (the graph shows the last case's).
        std::vector<TStoredCurve> stored;
        stored.reserve(index(curves));
        for (int i = 0; i < curves; ++i) {
            TStoredCurve c{py.Line(i).Value, {}};
            c.Points.reserve(py.Line(i).Points.size());
            for (const TFloatPoint& point : py.Line(i).Points)
                c.Points.emplace_back(point.X, point.Y);
            stored.push_back(std::move(c));
        }
        m_data.Results.SetCurves(caseIndex, std::move(stored),
                                 m_data.ApplyExternalPY && m_data.Tables().PYCurves2.RowCount() > 0);
        if (!pad) return;
        for (int i = 0; i < curves; ++i) {
            auto& points = py.Line(i).Points;
            const TFloatPoint last = points.empty() ? TFloatPoint{} : points.back();
            points.resize(longest, last);
        }
    }

    // The response rows of a problem run from the top to the station below the tip; the curves
    // show the wall, from the top to the tip.
    static int drawnRows(int rows) { return rows > 1 ? rows - 1 : rows; }

    // K rows of depth, deflection, moment, shear and reaction into response curve `curve` (all but
    // the station below the tip) and into the results store (all).
    void readResponseRows(int curve, int rows) {
        const bool english = m_units == kEnglish;
        const int drawn = drawnRows(rows);
        for (int j = 0; j < rows; ++j) {
            TResponsePoint r;
            r.Depth = m_in.ReadReal();
            r.Deflection = m_in.ReadReal();
            r.Moment = m_in.ReadReal();
            r.Shear = m_in.ReadReal();
            r.SoilReaction = m_in.ReadReal();
            if (english) {
                r.Depth /= kInchesPerFoot;
                r.Moment /= kPerKilo;
                r.Shear /= kPerKilo;
            }
            m_data.Results.SetResponse(curve, j, r);
            if (j >= drawn) continue;
            const long double shownDeflection = r.Deflection * DeflectionShownScale(m_units);
            put(m_p.pltDef.Lines(), curve, j, shownDeflection, r.Depth);
            put(m_p.pltMom.Lines(), curve, j, r.Moment, r.Depth);
            put(m_p.pltShear.Lines(), curve, j, r.Shear, r.Depth);
            put(m_p.pltSoil.Lines(), curve, j, r.SoilReaction, r.Depth);
            put(m_p.pltDMS.Lines(), curve, j, shownDeflection, r.Depth);
            put(m_p.pltDMS.Lines2(), curve, j, r.Moment, r.Depth);
            put(m_p.pltDMS.Lines3(), curve, j, r.Shear, r.Depth);
        }
        if (index(curve) >= m_rowsRead.size()) m_rowsRead.resize(index(curve) + 1, 0);
        m_rowsRead[index(curve)] = rows;
        m_responseEnd = m_in.Pos();
        m_maxNodes = std::max(m_maxNodes, drawn);
        m_maxRows = std::max(m_maxRows, rows);
    }

    void readFirstCase() {
        const int rows = count(kMaxPressureRows);
        m_p.pltLD.SetLineCount(1);
        m_p.pltLD.SetPointCount(rows);
        m_p.PltCombine.SetLineCount(3);
        m_p.PltCombine.SetPointCount(rows);
        m_p.PltCombine.Line(0).Name = "Total Earth Pressure";
        m_p.PltCombine.Line(1).Name = "from Soils ";
        m_p.PltCombine.Line(2).Name = "from Surcharge Loads";
        readPressure(0, rows, true);

        readPYCurves(0, true);

        m_responseBegin = m_in.Pos();
        const int caseCount = count(TResultsStore::kMaxCases);
        m_cases = std::max(1, caseCount);
        setResponseCurves(caseCount);
        const int nodes = count(TResultsStore::kMaxPoints);
        setResponsePoints(drawnRows(nodes));
        (void)m_in.ReadInteger();  // unit system again
        readResponseRows(0, nodes);

        fillSoilColumn();
    }

    void readLaterCase(int x) {
        const int curve = x - 1;
        const int rows = count(kMaxPressureRows);
        m_p.pltLD.SetLineCount(m_cases);
        // Never fewer points: a shorter stage must not cut the curves already filled.
        m_p.pltLD.SetPointCount(std::max(m_p.pltLD.PointCount(), rows));
        readPressure(curve, rows, false);

        readPYCurves(curve, false);

        m_responseBegin = m_in.Pos();
        m_cases = std::max(m_cases, count(TResultsStore::kMaxCases));
        setResponseCurves(m_cases);
        const int nodes = count(TResultsStore::kMaxPoints);
        setResponsePoints(std::max(m_p.pltDef.PointCount(), drawnRows(nodes)));
        (void)m_in.ReadInteger();  // unit system again
        readResponseRows(curve, nodes);
    }

    // Several cases: curve i is "Stage: i+1", or "Short-Term" and "Long-Term".
    void setLegends() {
        if (m_declaredCases < 2) return;
        const bool longTerm = m_data.LongTermMarker == kLongTermFollows;
        // The earth-pressure curves are one per problem too.
        std::array<TGraphPlot*, 6> plots = {&m_p.pltDef,  &m_p.pltMom, &m_p.pltShear,
                                            &m_p.pltSoil, &m_p.pltDMS, &m_p.pltLD};
        for (TGraphPlot* plot : plots) {
            const TLineList& lines = plot->Lines();
            for (std::size_t i = 0; i < lines.size() && i < index(m_cases); ++i)
                lines[i]->Name = std::string("Stage: ").append(std::to_string(i + 1));
            if (longTerm && !lines.empty()) lines[0]->Name = "Short-Term";
            if (longTerm && lines.size() > 1) lines[1]->Name = "Long-Term";
        }
    }

    void fillSoilColumn() {
        TGraphPlot& dms = m_p.pltDMS;
        const TGridTable& layers = m_data.Tables().NewSoil;
        const int n = layers.RowCount();
        dms.ShowThree = true;
        dms.SetLayerLineCount(n + 2);
        dms.SetLayerPointCount(1);
        for (int i = 0; i < n; ++i) {
            const int type = layers.Cell(0, i).AsInt();
            TLine& line = dms.LayerLine(i);
            line.Name = layerName(type);
            line.Points[0] = {layerX(type), layers.Cell(1, i).AsFloat()};
        }
        dms.WallLineCount = n;
        const long double wallLength =
            static_cast<long double>(m_data.IncrementCount) * m_data.IncrementLength;
        dms.LayerLine(n).Name = "PILE";
        dms.LayerLine(n).Points[0] = {0.0L, wallLength};
        dms.LayerLine(n + 1).Name = "PILE";
        dms.LayerLine(n + 1).Points[0] = {0.0L, m_data.FreeHeight};
    }

    void padStoredResponses() {
        TResultsStore& store = m_data.Results;
        for (int c = 0; c < m_cases; ++c) {
            const int filled = index(c) < m_rowsRead.size() ? m_rowsRead[index(c)] : 0;
            for (int j = std::max(1, filled); j < m_maxRows; ++j) {
                // A copy: setting may grow the storage the reference points into.
                const TResponsePoint previous = store.Response(c, j - 1);
                store.SetResponse(c, j, previous);
            }
        }
    }

    void setCaptions() {
        const bool english = m_units == kEnglish;
        const char* depth = english ? "Depth (ft)" : "Depth (m)";
        for (TGraphPlot* plot : depthPlots())
            plot->YCaption = depth;
        m_p.pltLD.YCaption = depth;
        m_p.pltMobil.YCaption = depth;
        m_p.pltMom.XCaption = english ? "Bending Moment (in-kips)" : "Bending Moment (m-kN)";
        m_p.pltShear.XCaption = english ? "Shear (kips)" : "Shear (kN)";
        // SI deflections are millimetres on the graphs; the axis says so instead of the length unit.
        m_p.pltDef.XCaption = m_units == kUnitsSI ? "Deflection (mm)" : "Deflection";
        m_p.pltDef.XUnits = m_units == kUnitsSI ? "" : "L";

        TGraphPlot& dms = m_p.pltDMS;
        dms.XCaption = m_p.pltDef.XCaption;
        dms.YCaption = m_p.pltDef.YCaption;
        dms.XUnits = m_p.pltDef.XUnits;
        dms.XCaption2 = m_p.pltMom.XCaption;
        dms.YCaption2 = m_p.pltMom.YCaption;
        dms.XUnits2 = m_p.pltMom.XUnits;
        dms.XCaption3 = m_p.pltShear.XCaption;
        dms.YCaption3 = m_p.pltShear.YCaption;
        dms.XUnits3 = m_p.pltShear.XUnits;
    }

    void finish() {
        m_p.pltLD.SetLineCount(m_cases);
        m_p.pltLD.SetPointCount(m_maxPressureRows);
        padUnfilled(m_p.pltLD.Lines());

        m_p.pltDef.SetLineCount(m_cases);
        if (m_cases > 1) {
            setResponsePoints(m_maxNodes);
            for (TGraphPlot* plot : depthPlots())
                padUnfilled(plot->Lines());
            padUnfilled(m_p.pltDMS.Lines());
            padUnfilled(m_p.pltDMS.Lines2());
            padUnfilled(m_p.pltDMS.Lines3());
            padStoredResponses();
        }

        setLegends();
        setCaptions();
        for (TGraphPlot* plot : m_p.All())
            plot->SetUnits(m_units);
    }

    PlotDefinitions& m_p;
    TProgramData& m_data;
    TTokens& m_in;
    bool m_reportShowsStop;
    int m_declaredCases = 1;
    // Words of the latest response section read: a stop writes it again at the end of the file.
    std::size_t m_responseBegin = 0;
    std::size_t m_responseEnd = 0;
    int m_units = kEnglish;
    int m_cases = 1;
    int m_maxPressureRows = 0;
    int m_maxNodes = 0;           // points of the longest response curve
    int m_maxRows = 0;            // rows of the longest response section
    std::vector<int> m_rowsRead;  // response rows read per case
};

// Previous results go; the curves stay (their count is set by the read) but lose their points.
void emptyPlots(PlotDefinitions& plots, TResultsStore& store) {
    for (TGraphPlot* plot : plots.All()) {
        plot->SetPointCount(0);
        plot->SetPointCount2(0);
        plot->SetPointCount3(0);
    }
    // Stage and case labels of an earlier read must not stick to a single-case result.
    for (TGraphPlot* plot :
         {&plots.pltDef, &plots.pltMom, &plots.pltShear, &plots.pltSoil, &plots.pltDMS, &plots.pltLD})
        for (const TLineList* set : {&plot->Lines(), &plot->Lines2(), &plot->Lines3()})
            for (const auto& line : *set)
                line->Name.clear();
    for (TGraphPlot* plot : plots.All()) {
        plot->Notice.clear();
        plot->Levels.clear();
    }
    store.Clear();
}

// The response curves of a problem that did not converge say so in the legend; the plots say it
// across the picture. Pressures and p-y curves come before the solution and stay as they are.
void markUnconverged(PlotDefinitions& plots, const TRunStatus& status, const TProgramData& data) {
    const std::string notice = NotConvergedNotice(status, data);
    if (notice.empty()) return;
    for (TGraphPlot* plot :
         {&plots.pltDef, &plots.pltMom, &plots.pltShear, &plots.pltSoil, &plots.pltDMS, &plots.pltMobil}) {
        plot->Notice = notice;
        for (const TLineList* set : {&plot->Lines(), &plot->Lines2(), &plot->Lines3()}) {
            for (std::size_t i = 0; i < set->size() && i < status.problems.size(); ++i) {
                if (status.problems[i].state == TRunState::Converged) continue;
                TLine& line = *(*set)[i];
                line.Name = line.GetName() + kNotConvergedMark;
            }
        }
    }
}

}  // namespace

template <typename MakeReader>
bool TResultsReader::read(MakeReader&& makeReader, bool showErrors, bool reportShowsStop,
                          const TRunStatus* status) {
    emptyPlots(*m_plots, m_data->Results);
    m_outcome = TResultsOutcome{};
    try {
        TWordReader reader = makeReader();
        TTokens tokens(reader.AllWords());
        m_outcome = TParser(*m_plots, *m_data, tokens, reportShowsStop).Run();
    } catch (const EInOutError&) {
        m_outcome.Malformed = true;
        if (showErrors && OnShowMessage) OnShowMessage(kResultsReadErrorMessage);
        return false;
    }
    FillMobilisedPlot(m_plots->pltMobil, *m_data, {});
    if (status != nullptr) {
        m_outcome.Status = *status;
        markUnconverged(*m_plots, *status, *m_data);
    }
    if (m_outcome.StoppedCase > 0 && showErrors && OnShowMessage) OnShowMessage(m_outcome.StopMessage);
    return m_outcome.CasesRead > 0;
}

bool TResultsReader::ReadResults(const std::filesystem::path& path, bool showErrors) {
    std::filesystem::path report = path;
    report.replace_extension(kReportExtension);
    std::ifstream in(report, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    std::optional<TRunStatus> status;
    if (in) status = ReadRunStatus(text.view(), ExpectedProblems(*m_data));
    return read([&path] { return TWordReader::FromFile(path); }, showErrors,
                ReportShowsErrorStop(text.view()), status ? &*status : nullptr);
}

bool TResultsReader::ReadResultsText(std::string_view text, bool showErrors, bool reportShowsStop,
                                     const TRunStatus* status) {
    return read([text] { return TWordReader(text); }, showErrors, reportShowsStop, status);
}

std::string PYCurveLegend(const TProgramData& data, int units, long double label) {
    const bool userCurves = data.ApplyExternalPY && data.Tables().PYCurves2.RowCount() > 0;
    const long double stored = userCurves ? label * data.IncrementLength : label;
    const char* unit = units == kEnglish ? " ft" : units == kUnitsSI ? " m" : "";
    const long double shown = units == kEnglish ? stored / kInchesPerFoot : stored;
    return "Depth " + FormatGeneral(shown, 4) + unit;
}

std::string ResultsMismatch(const TProgramData& data, const PlotDefinitions& plots,
                            const TResultsOutcome& outcome, const std::filesystem::path& dataFile,
                            bool checkAge) {
    namespace fs = std::filesystem;
    const fs::path plotFile = RunFilePath(dataFile.string(), kPlotDataExtension);
    std::error_code error;
    if (checkAge) {
        const auto dataTime = fs::last_write_time(dataFile, error);
        const auto plotTime = error ? dataTime : fs::last_write_time(plotFile, error);
        if (!error && plotTime < dataTime)
            return "the results beside it are older than the data file: it was saved after its last run";
    }
    // The engine ends the file with a line end: one cut inside its last number has none.
    {
        std::ifstream in(plotFile, std::ios::binary | std::ios::ate);
        const auto size = static_cast<long long>(in.tellg());
        char last = 0;
        if (in && size > 0 && in.seekg(size - 1).get(last) && last != '\n')
            return "the plot-data file is cut short";
    }
    const int expected = ExpectedProblems(data);
    const int read = outcome.CasesRead + (outcome.StoppedCase > 0 ? 1 : 0);
    if (outcome.StoppedCase == 0 && read != expected)
        return "the results hold " + std::to_string(read) + (read == 1 ? " problem" : " problems") +
               " where the data file has " + std::to_string(expected) + ": they are of another file";
    // Every problem's curves run over the wall's nodes 0 to NI (stages may differ; the model holds one).
    if (outcome.CasesRead > 0 && data.StageCount < 2 && plots.pltDef.PointCount() != data.IncrementCount + 1)
        return "the results are of a wall of " + std::to_string(std::max(0, plots.pltDef.PointCount() - 1)) +
               " increments where the data file has " + std::to_string(data.IncrementCount) +
               ": they are of another file";
    return {};
}

bool ReportShowsErrorStop(std::string_view reportText) {
    // Every stop of the engine writes one of these lines; nothing else in a report begins so.
    for (const std::string_view mark :
         {std::string_view("\n     ERROR"), std::string_view("\n     TOO MUCH DATA FOR AVAILABLE STORAGE")})
        if (reportText.find(mark) != std::string_view::npos) return true;
    return false;
}

}  // namespace app::model
