#include "app/model/model_checks.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "app/model/data_file.h"
#include "app/model/number_format.h"
#include "app/model/problem_tables.h"
#include "app/model/stages.h"
#include "app/model/units.h"
#include "app/model/word_reader.h"

namespace app::model {
namespace {

using Severity = TCheckFinding::Severity;

// The desktop program's limit; the engine's arrays hold 407.
constexpr int kMaxIncrements = 300;
// Beyond this the sums of rigidities in the difference equations overflow to infinity; the stiffest
// walls built are some twelve orders of magnitude below it in any units.
constexpr long double kMaxStiffness = 1e25L;

std::string number(long double value) {
    return FormatGeneral(value, 6);
}

class TChecker {
public:
    explicit TChecker(const TProgramData& data) : m_data(data), m_tables(data.Tables()) {}

    std::vector<TCheckFinding> NonFinite() {
        checkFieldsAreFinite();
        checkTablesAreFinite();
        return std::move(m_findings);
    }

    std::vector<TCheckFinding> Run() {
        checkFields();
        checkTablesAreFinite();
        // What follows measures positions against the wall: without a sound wall there is nothing to
        // measure them against.
        if (!m_wallSound) return std::move(m_findings);
        checkStiffness();
        checkRestraints();
        checkNodeRanges(m_tables.BoundCond, m_data.ApplyConcentratedLoads, 1, 2, "loads");
        checkNodeRanges(m_tables.SoilStrength, m_data.ApplySprings, 1, 2, "springs");
        checkTiebacks();
        checkUserCurves();
        checkMomentEI();
        checkModifications();
        checkSurcharges();
        const bool soilBlock = m_data.GeneratePY > 0 || m_data.GeneratedEarthPressureRead ||
                               m_data.EarthPressureChoice >= kEarthPressureTriangular;
        if (m_data.UserEarthPressure) checkDistributed(m_tables.DistLoad);
        if (soilBlock && !m_data.UserEarthPressure) checkLayers(m_tables.NewSoil);
        if (m_data.LongTerm) {
            if (m_data.UserEarthPressure) checkDistributed(m_tables.LongDist);
            if (soilBlock && !m_data.UserEarthPressure) checkLayers(m_tables.LongSoil);
        }
        return std::move(m_findings);
    }

private:
    void add(Severity severity, std::string where, std::string message) {
        m_findings.push_back({severity, std::move(where), std::move(message)});
    }
    void error(std::string where, std::string message) {
        add(Severity::Error, std::move(where), std::move(message));
    }
    void warning(std::string where, std::string message) {
        add(Severity::Warning, std::move(where), std::move(message));
    }

    [[nodiscard]] int units() const { return m_data.UnitSystem(); }
    // A length as stored (in or m) with the unit the dialogs show for it.
    [[nodiscard]] std::string stored(long double value) const {
        return number(value) + " " + EditUnitText("L", units());
    }
    [[nodiscard]] std::string shown(long double value) const {
        return number(ShownLength(value, units())) + " " + EditUnitText("L2", units());
    }
    [[nodiscard]] long double wallLength() const {
        return static_cast<long double>(m_data.IncrementCount) * m_data.IncrementLength;
    }

    static std::string cell(const TGridTable& table, int row, int column) {
        std::string field;
        for (const std::string& line : table.Column(column).Captions()) {
            if (!field.empty()) field += ' ';
            field += line;
        }
        return table.EditorTitle() + ", row " + std::to_string(row + 1) + (field.empty() ? "" : ", " + field);
    }

    // ---- Fields of the dialogs ----------------------------------------------------------------

    void checkFieldsAreFinite() {
        const std::string wall = "Wall Properties";
        const std::string config = "Wall Configuration";
        struct Field {
            const std::string& dialog;
            const char* name;
            long double value;
        };
        const Field fields[] = {
            {wall, "Increment Length", m_data.IncrementLength},
            {wall, "Maximum Allowable Deflection", m_data.MaxDeflection},
            {wall, "Deflection Closure Tolerance", m_data.DeflectionTolerance},
            {wall, "Free Height of Wall", m_data.FreeHeight},
            {config, "Width for Active Earth Press. Calculation, Wa", m_data.ActiveWidth},
            {config, "Width for Generating p-y Soil Resistance, Wp", m_data.PYWidth},
            {config, "Depth to the Water Table in backfill side, DWb", m_data.WaterDepthBackfill},
            {config, "Depth to the Water Table in excavation side, DWe", m_data.WaterDepthExcavation},
            {config, "Modification Factor for Active Earth Pressure", m_data.ActivePressureFactor},
            {config, "Slope of the backfill, Beta", m_data.BackfillSlope},
            {config, "Uniform Distributed Load at the top of backfill side", m_data.TopSurcharge},
        };
        for (const Field& f : fields) {
            if (!IsFileNumber(f.value)) {
                error(f.dialog + ", " + f.name, "the value is not a finite number; enter a number.");
                m_wallSound = false;
            }
        }
    }

    void checkFields() {
        checkFieldsAreFinite();
        if (!m_wallSound) return;
        const std::string wall = "Wall Properties";
        const std::string config = "Wall Configuration";
        const std::string increments = wall + ", Increments (nodes)";
        if (m_data.IncrementCount < 1 || m_data.IncrementCount > kMaxIncrements) {
            error(increments, std::to_string(m_data.IncrementCount) + " increments: enter 1 to " +
                                  std::to_string(kMaxIncrements) + ".");
            m_wallSound = false;
        }
        if (m_data.IncrementLength <= 0.0L) {
            error(wall + ", Increment Length",
                  stored(m_data.IncrementLength) + ": the increment length must be greater than 0.");
            m_wallSound = false;
        } else if (!std::isfinite(wallLength()) || wallLength() > 1e6L * LengthScale(units())) {
            error(wall + ", Increment Length",
                  stored(m_data.IncrementLength) +
                      " makes the wall too long to compute; enter the length of one increment.");
            m_wallSound = false;
        }
        if (m_data.MaxDeflection <= 0.0L)
            error(wall + ", Maximum Allowable Deflection",
                  stored(m_data.MaxDeflection) +
                      ": enter a deflection greater than 0 (about 10 % of the wall height).");
        if (m_data.DeflectionTolerance <= 0.0L)
            error(wall + ", Deflection Closure Tolerance",
                  stored(m_data.DeflectionTolerance) +
                      ": enter a tolerance greater than 0 (1E-5 in is usual).");
        if (!m_wallSound) return;
        if (m_data.FreeHeight < 0.0L)
            error(wall + ", Free Height of Wall",
                  shown(m_data.FreeHeight) + ": the depth of the excavation cannot be negative.");
        else if (m_data.FreeHeight >= wallLength())
            error(wall + ", Free Height of Wall", shown(m_data.FreeHeight) +
                                                      " reaches the tip of the wall (" + shown(wallLength()) +
                                                      "): the wall needs an embedment below the excavation.");
        for (const auto& [value, name] :
             {std::pair{m_data.WaterDepthBackfill, "Depth to the Water Table in backfill side, DWb"},
              std::pair{m_data.WaterDepthExcavation, "Depth to the Water Table in excavation side, DWe"}}) {
            if (value < 0.0L)
                error(config + ", " + name,
                      shown(value) + ": a depth below the top of the wall cannot be negative.");
        }
    }

    // Every real number of every table, nested ones too: the data file must not carry INF or NAN.
    void checkTablesAreFinite() {
        for (const TGridTable* table : m_tables.All())
            checkFinite(*table);
    }
    void checkFinite(const TGridTable& table) {
        for (int c = 0; c < table.ColumnCount(); ++c) {
            const TColumn& column = table.Column(c);
            for (int r = 0; r < table.RowCount(); ++r) {
                if (column.Kind() == kFloatColumn && !IsFileNumber(table.Cell(c, r).AsFloat())) {
                    error(cell(table, r, c), "the value is not a finite number; enter a number.");
                    m_wallSound = false;
                } else if (column.Kind() == kTableColumn) {
                    if (const TGridTable* nested = column.TableAt(r)) checkFinite(*nested);
                }
            }
        }
    }

    // ---- Wall -------------------------------------------------------------------------------------

    void checkStiffness() {
        const TGridTable& t = m_tables.PileSect;
        const int ni = m_data.IncrementCount;
        std::vector<bool> covered(static_cast<std::size_t>(ni) + 1, false);
        for (int r = 0; r < t.RowCount(); ++r) {
            const int from = t.Cell(0, r).AsInt();
            const int to = t.Cell(1, r).AsInt();
            const long double ei = t.Cell(3, r).AsFloat();
            if (from > to) {
                error(cell(t, r, 0), "starts at node " + std::to_string(from) + " below its end node " +
                                         std::to_string(to) + "; enter the upper node first.");
                continue;
            }
            if (to > ni) {
                error(cell(t, r, 1), "node " + std::to_string(to) + " lies below the tip (node " +
                                         std::to_string(ni) + "); end the record at node " +
                                         std::to_string(ni) + ".");
            }
            if (!(ei > 0.0L))
                error(cell(t, r, 3), number(ei) + ": the flexural stiffness must be greater than 0.");
            else if (ei > kMaxStiffness)
                error(cell(t, r, 3), number(ei) +
                                         " is too large to compute with (the difference equations "
                                         "overflow); real walls lie far below 1E+25.");
            for (int n = std::max(from, 0); n <= std::min(to, ni); ++n)
                covered[static_cast<std::size_t>(n)] = true;
        }
        // Ranges of nodes without a record, as the user would name them.
        for (int n = 0; n <= ni;) {
            if (covered[static_cast<std::size_t>(n)]) {
                ++n;
                continue;
            }
            int last = n;
            while (last + 1 <= ni && !covered[static_cast<std::size_t>(last + 1)])
                ++last;
            const std::string nodes = n == last
                                          ? "node " + std::to_string(n)
                                          : "nodes " + std::to_string(n) + " to " + std::to_string(last);
            error(t.EditorTitle(),
                  nodes + " of the wall have no stiffness (EI = 0 there); extend a record to node " +
                      std::to_string(ni) + ", the tip.");
            n = last + 1;
        }
    }

    void checkNode(const TGridTable& t, int row, int column, const char* what) {
        const int node = t.Cell(column, row).AsInt();
        if (node < 0 || node > m_data.IncrementCount)
            error(cell(t, row, column), "node " + std::to_string(node) + " is not on the wall (nodes 0 to " +
                                            std::to_string(m_data.IncrementCount) + "); move the " + what +
                                            " onto the wall.");
    }

    void checkRestraints() {
        if (!m_data.ApplyRestraints) return;
        const TGridTable& t = m_tables.Soillayer;
        for (int r = 0; r < t.RowCount(); ++r)
            checkNode(t, r, 1, "restraint");
    }

    void checkNodeRanges(const TGridTable& t, bool applied, int fromColumn, int toColumn, const char* what) {
        if (!applied) return;
        for (int r = 0; r < t.RowCount(); ++r) {
            checkNode(t, r, fromColumn, what);
            checkNode(t, r, toColumn, what);
            if (t.Cell(fromColumn, r).AsInt() > t.Cell(toColumn, r).AsInt())
                error(cell(t, r, fromColumn),
                      "the start node lies below the end node; enter the upper node first.");
        }
    }

    void checkTiebacks() {
        if (!m_data.ApplyTiebacks) return;
        const TGridTable& t = m_tables.TiebackTable1;
        for (int r = 0; r < t.RowCount(); ++r) {
            // Tieback lengths are given in feet in English units, as the engine reads them.
            const long double depth = StoredLength(t.Cell(0, r).AsFloat(), units());
            if (depth < 0.0L || depth > wallLength())
                error(cell(t, r, 0), shown(depth) + " is not on the wall (0 to " + shown(wallLength()) +
                                         "); enter the depth of the tieback below the top of the wall.");
            for (const int c : {1, 2, 3, 5}) {
                if (!(t.Cell(c, r).AsFloat() > 0.0L))
                    error(cell(t, r, c),
                          number(t.Cell(c, r).AsFloat()) + ": the value must be greater than 0.");
            }
            const long double angle = t.Cell(4, r).AsFloat();
            if (angle <= -90.0L || angle >= 90.0L)
                error(cell(t, r, 4), number(angle) + " degrees: enter an angle between -90 and 90 degrees.");
        }
    }

    void checkUserCurves() {
        if (!m_data.ApplyExternalPY) return;
        const TGridTable& t = m_tables.PYCurves2;
        for (int r = 0; r < t.RowCount(); ++r) {
            checkNode(t, r, 0, "curve");
            const TGridTable* curve = t.Column(1).TableAt(r);
            const int points = curve ? curve->RowCount() : 0;
            if (points < 2) {
                error(cell(t, r, 1),
                      "the curve has " + std::to_string(points) + " points; enter at least two.");
                continue;
            }
            for (int p = 1; p < points; ++p) {
                if (curve->Cell(0, p).AsFloat() < curve->Cell(0, p - 1).AsFloat()) {
                    error(cell(*curve, p, 0),
                          "the deflections of a curve must increase; sort the points by y.");
                    break;
                }
            }
        }
    }

    void checkMomentEI() {
        if (!m_data.ApplyMomentEI) return;
        const TGridTable& t = m_tables.MEICurves2;
        checkNodeRanges(t, true, 0, 1, "moment-EI curve");
        for (int r = 0; r < t.RowCount(); ++r) {
            const TGridTable* curve = t.Column(2).TableAt(r);
            if (curve == nullptr || curve->RowCount() < 1) {
                error(cell(t, r, 2), "the set has no points; enter its moment-EI points.");
                continue;
            }
            for (int p = 0; p < curve->RowCount(); ++p) {
                if (!(curve->Cell(1, p).AsFloat() > 0.0L)) {
                    error(cell(*curve, p, 1), "the flexural rigidity must be greater than 0.");
                    break;
                }
            }
        }
    }

    void checkModifications() {
        if (!m_data.ApplyPYModification) return;
        const TGridTable& t = m_tables.PYMod;
        for (int r = 0; r < t.RowCount(); ++r) {
            const long double depth = StoredLength(t.Cell(0, r).AsFloat(), units());
            if (depth < 0.0L || depth > wallLength())
                warning(cell(t, r, 0), shown(depth) + " lies outside the wall (0 to " + shown(wallLength()) +
                                           "): the factor acts on no curve of the wall.");
        }
    }

    void checkSurcharges() {
        if (!m_data.ApplySurcharge) return;
        const TGridTable& t = m_tables.SurchargeTable;
        for (int r = 0; r < t.RowCount(); ++r) {
            if (t.Cell(2, r).AsFloat() < 0.0L)
                error(cell(t, r, 2), "the distance from the wall cannot be negative.");
            if (t.Cell(0, r).AsInt() == kStripLoad && !(t.Cell(3, r).AsFloat() > 0.0L))
                error(cell(t, r, 3), "a strip load needs a width greater than 0.");
        }
    }

    void checkDistributed(const TGridTable& t) {
        for (int r = 1; r < t.RowCount(); ++r) {
            if (t.Cell(0, r).AsFloat() <= t.Cell(0, r - 1).AsFloat())
                error(cell(t, r, 0),
                      "the depths must increase downwards; this row lies at or above the one before.");
        }
    }

    void checkLayers(const TGridTable& t) {
        if (t.RowCount() == 0) {
            error(t.EditorTitle(),
                  "no soil layers: enter the layers from the top of the wall down past its tip.");
            return;
        }
        long double above = 0.0L;
        for (int r = 0; r < t.RowCount(); ++r) {
            const long double bottom = StoredLength(t.Cell(1, r).AsFloat(), units());
            if (bottom <= above) {
                error(cell(t, r, 1), shown(bottom) +
                                         (r == 0 ? std::string(" is not below the top of the wall")
                                                 : " is not below the bottom of layer " + std::to_string(r) +
                                                       " (" + shown(above) + ")") +
                                         "; layer bottoms must increase downwards.");
            }
            above = std::max(above, bottom);
        }
        if (above < wallLength())
            warning(cell(t, t.RowCount() - 1, 1), "the layers end at " + shown(above) +
                                                      ", above the tip of the wall (" + shown(wallLength()) +
                                                      "); extend the last layer below the tip.");
    }

    const TProgramData& m_data;
    const TProblemTables& m_tables;
    std::vector<TCheckFinding> m_findings;
    bool m_wallSound = true;
};

}  // namespace

std::vector<TCheckFinding> CheckProblem(const TProgramData& data) {
    return TChecker(data).Run();
}

std::vector<TCheckFinding> NonFiniteValues(const TProgramData& data) {
    return TChecker(data).NonFinite();
}

std::vector<TCheckFinding> CheckDataFile(const std::filesystem::path& path) {
    TGridTableRegistry plain, chart;
    TProblemTables tables(plain, chart);
    TProgramData model(tables);
    try {
        CreateFromFile(model, path, FormatFromExtension(path.string()));
    } catch (const std::exception& e) {
        // The reader's message comes in two lines ("Error on Line 3 Item 2", then why).
        std::string message = e.what();
        for (std::size_t at = message.find('\r'); at != std::string::npos; at = message.find('\r', at))
            message.replace(at, 1, ": ");
        return {{TCheckFinding::Severity::Error, path.filename().string(), message}};
    }
    if (model.StageCount < 2) return CheckProblem(model);
    std::vector<TCheckFinding> all;
    const std::vector<std::string> stages = SplitStagedText(ReadInputFile(path));
    for (std::size_t n = 0; n < stages.size() && static_cast<int>(n) < model.StageCount; ++n) {
        std::vector<TCheckFinding> found;
        if (n == 0) {
            found = CheckProblem(model);
        } else {
            TGridTableRegistry stagePlain, stageChart;
            TProblemTables stageTables(stagePlain, stageChart);
            TProgramData stage(stageTables);
            try {
                ReadStageText(stage, stages[n]);
                found = CheckProblem(stage);
                if (stage.UnitSystem() != model.UnitSystem())
                    found.insert(found.begin(), {TCheckFinding::Severity::Error, "units of the stage",
                                                 "the stage is in other units than stage 1; every stage of a "
                                                 "problem must use the same units."});
            } catch (const std::exception& e) {
                found = {{TCheckFinding::Severity::Error, "the stage's data", e.what()}};
            }
        }
        for (TCheckFinding& f : found) {
            f.where = "Stage " + std::to_string(n + 1) + ": " + f.where;
            all.push_back(std::move(f));
        }
    }
    return all;
}

bool HasErrors(const std::vector<TCheckFinding>& findings) {
    for (const TCheckFinding& f : findings)
        if (f.severity == TCheckFinding::Severity::Error) return true;
    return false;
}

std::string FormatFindings(const std::vector<TCheckFinding>& findings) {
    std::string text;
    for (const TCheckFinding& f : findings) {
        text += f.severity == TCheckFinding::Severity::Error ? "Error: " : "Warning: ";
        text += f.where + ": " + f.message + "\n";
    }
    return text;
}

}  // namespace app::model
