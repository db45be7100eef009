#include "app/report/report_builder.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

#include "app/design/design_inputs.h"
#include "app/design/embedment_sweep.h"
#include "app/design/limit_equilibrium.h"
#include "app/design/sections.h"
#include "app/model/model_checks.h"
#include "app/model/number_format.h"
#include "app/model/problem_tables.h"
#include "app/model/results_reader.h"
#include "app/model/results_summary.h"
#include "app/model/run_files.h"
#include "app/model/units.h"
#include "app/results/graph/plot_painter.h"
#include "app/results/views/section_drawing.h"

namespace app::report {

namespace fs = std::filesystem;
using namespace app::model;

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}
// Plain decimals in the range engineers read them (18240, not 1.824E4), exponents outside it.
QString num(long double v, int digits = 4) {
    if (std::fabs(v) < 1e-15L) return QStringLiteral("0");
    const long double a = std::fabs(v);
    if (a < 1e-3L || a >= 1e9L || !std::isfinite(static_cast<double>(v))) return q(FormatGeneral(v, digits));
    const int decimals =
        std::max(0, digits - 1 - static_cast<int>(std::floor(std::log10(static_cast<double>(a)))));
    QString text = QString::number(static_cast<double>(v), 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    return text;
}
QString yesNo(bool on) {
    return on ? QStringLiteral("yes") : QStringLiteral("no");
}

// A table of the grid: its visible columns with their captions and units; a nested table as its
// number of rows. Long tables keep their first and last rows.
TReportTable gridTable(const TGridTable& t, const QString& caption, int keep = 40) {
    TReportTable r;
    r.Caption = caption;
    std::vector<int> columns;
    for (int c = 0; c < t.ColumnCount(); ++c)
        if (t.Column(c).Visible()) columns.push_back(c);
    for (const int c : columns) {
        QStringList parts;
        for (int i = 0; i < t.Column(c).CaptionLineCount(); ++i)
            parts << q(t.Column(c).CaptionLine(i));
        QString header = parts.join(QLatin1Char(' ')).trimmed();
        if (header.isEmpty()) header = QStringLiteral("Column %1").arg(c + 1);
        r.Header << header;
    }
    const int rows = t.RowCount();
    for (int row = 0; row < rows; ++row) {
        if (rows > keep && row == keep - 5) {
            QStringList gap{QStringLiteral("… %1 rows not shown …").arg(rows - keep)};
            while (gap.size() < static_cast<qsizetype>(columns.size()))
                gap << QString();
            r.Rows.push_back(gap);
            row = rows - 5;
        }
        QStringList cells;
        for (const int c : columns) {
            const TColumn& column = t.Column(c);
            if (column.Kind() == kTableColumn) {
                const TGridTable* nested = column.TableAt(row);
                cells << QStringLiteral("%1 rows").arg(nested ? nested->RowCount() : 0);
            } else if (const auto* e = dynamic_cast<const TEnumColumn*>(&column);
                       e != nullptr && column.IntAt(row) >= 1 &&
                       column.IntAt(row) <= static_cast<int>(e->Choices().size())) {
                cells << q(e->Choices()[static_cast<std::size_t>(column.IntAt(row) - 1)]);
            } else {
                cells << q(column.TextAt(row));
            }
        }
        r.Rows.push_back(cells);
    }
    return r;
}

TReportTable keys(const QString& caption, std::vector<std::pair<QString, QString>> rows) {
    TReportTable t;
    t.Caption = caption;
    t.Keys = true;
    for (auto& [k, v] : rows)
        t.Rows.push_back({k, v});
    return t;
}

QString pressureChoice(const TProgramData& m) {
    if (m.UserEarthPressure) return QStringLiteral("the user's table");
    switch (m.EarthPressureChoice) {
        case kEarthPressureTriangular:
            return QStringLiteral("generated, triangular (active above, net below the excavation)");
        case kEarthPressureTrapezoidal:
            return QStringLiteral("generated, trapezoidal (apparent pressure)");
        default:
            return QStringLiteral("none");
    }
}

const char* soilTypeName(int type) {
    static const char* names[] = {"Soft clay",
                                  "Stiff clay with free water",
                                  "Stiff clay without free water",
                                  "Sand",
                                  "Silt (c-φ soil)",
                                  "Strong rock",
                                  "Weak rock"};
    return type >= 1 && type <= 7 ? names[type - 1] : "Unknown";
}

// The soil layers of `soil`: every parameter at the top and the bottom of each layer, one row a layer
// so that a layer never splits.
void addSoilLayers(TReport& report, const TGridTable& soil, const QString& caption, const QString& L) {
    TReportTable layers;
    layers.Caption = caption;
    layers.Header = {QStringLiteral("Layer"),
                     QStringLiteral("Soil type"),
                     QStringLiteral("Bottom (%1)").arg(L),
                     QStringLiteral("Parameter"),
                     QStringLiteral("At the top of the layer"),
                     QStringLiteral("At its bottom")};
    for (int r = 0; r < soil.RowCount(); ++r) {
        const TGridTable* p = soil.Column(2).TableAt(r);
        const QString type = soilTypeName(soil.Cell(0, r).AsInt());
        const QString bottom = q(soil.Column(1).TextAt(r));
        if (p == nullptr || p->RowCount() == 0) {
            layers.Rows.push_back({QString::number(r + 1), type, bottom, QStringLiteral("—"), {}, {}});
            continue;
        }
        // One row a layer, its parameters as lines of the row, so that a layer never splits.
        QStringList names, tops, bottoms;
        for (int c = 0; c < p->ColumnCount(); ++c) {
            const TColumn& col = p->Column(c);
            if (!col.Visible() || col.Kind() == kTableColumn) continue;
            QStringList name;
            for (int i = 0; i < col.CaptionLineCount(); ++i)
                name << q(col.CaptionLine(i));
            names << name.join(' ');
            tops << q(col.TextAt(0));
            bottoms << q(col.TextAt(std::min(1, p->RowCount() - 1)));
        }
        layers.Rows.push_back(
            {QString::number(r + 1), type, bottom, names.join('\n'), tops.join('\n'), bottoms.join('\n')});
    }
    report.Table(std::move(layers));
}

void addInputs(TReport& report, const TReportInput& in, const std::vector<TCaseInputs>& cases) {
    const TProgramData& m = *in.Model;
    const int u = m.UnitSystem();
    const bool english = u == kUnitsEnglish;
    const QString L = english ? "ft" : "m", l = english ? "in" : "m";
    const double scale = static_cast<double>(LengthScale(u));
    const TProblemTables& t = m.Tables();
    report.Heading(QStringLiteral("Inputs"));
    report.Table(keys(
        QStringLiteral("Wall and increments"),
        {{QStringLiteral("Title"), q(m.Title)},
         {QStringLiteral("Units"),
          english ? QStringLiteral("English (lengths in inches and feet, forces in pounds)")
                  : QStringLiteral("SI (lengths in metres, forces in kilonewtons)")},
         {QStringLiteral("Number of increments"), QString::number(m.IncrementCount)},
         {QStringLiteral("Increment length (%1)").arg(l), num(m.IncrementLength, 6)},
         {QStringLiteral("Wall length (%1)").arg(L), num(m.IncrementCount * m.IncrementLength / scale, 6)},
         {QStringLiteral("Excavation depth (%1)").arg(L), num(m.FreeHeight / scale, 6)},
         {QStringLiteral("Width for earth pressure, Wa (%1)").arg(l), num(m.ActiveWidth, 6)},
         {QStringLiteral("Width for p-y curves, Wp (%1)").arg(l), num(m.PYWidth, 6)},
         {QStringLiteral("Allowable deflection (%1)").arg(l), num(m.MaxDeflection, 6)},
         {QStringLiteral("Deflection tolerance (%1)").arg(l), num(m.DeflectionTolerance, 6)},
         {QStringLiteral("Water depth, retained side (%1)").arg(L), num(m.WaterDepthBackfill / scale, 6)},
         {QStringLiteral("Water depth, excavation side (%1)").arg(L), num(m.WaterDepthExcavation / scale, 6)},
         {QStringLiteral("Uniform surcharge (%1)").arg(english ? "lb/in²" : "kPa"), num(m.TopSurcharge, 6)},
         {QStringLiteral("Backfill slope (degrees)"), num(m.BackfillSlope, 6)},
         {QStringLiteral("Active pressure factor"), num(m.ActivePressureFactor, 6)}}));
    report.Table(
        keys(QStringLiteral("Options"),
             {{QStringLiteral("Earth pressure"), pressureChoice(m)},
              {QStringLiteral("p-y curves generated from the soil layers"), yesNo(m.GeneratePY != 0)},
              {QStringLiteral("User p-y curves"), yesNo(m.ApplyExternalPY)},
              {QStringLiteral("p-y modification factors"), yesNo(m.ApplyPYModification)},
              {QStringLiteral("Nonlinear moment-EI curves"), yesNo(m.ApplyMomentEI)},
              {QStringLiteral("Concentrated loads"), yesNo(m.ApplyConcentratedLoads)},
              {QStringLiteral("Springs"), yesNo(m.ApplySprings)},
              {QStringLiteral("Tiebacks"), yesNo(m.ApplyTiebacks)},
              {QStringLiteral("Restraints"), yesNo(m.ApplyRestraints)},
              {QStringLiteral("Additional surcharge loads"), yesNo(m.ApplySurcharge)},
              {QStringLiteral("Long-term analysis"), yesNo(m.LongTerm)},
              {QStringLiteral("Construction stages"), QString::number(std::max(1, m.StageCount))}}));
    report.Table(gridTable(t.PileSect, QStringLiteral("Wall stiffness")));
    if (m.ApplyRestraints) report.Table(gridTable(t.Soillayer, QStringLiteral("Restraints")));
    if (m.ApplySprings) report.Table(gridTable(t.SoilStrength, QStringLiteral("Springs")));
    if (m.ApplyTiebacks) report.Table(gridTable(t.TiebackTable1, QStringLiteral("Tiebacks")));
    if (m.ApplyConcentratedLoads) report.Table(gridTable(t.BoundCond, QStringLiteral("Concentrated loads")));
    if (m.ApplySurcharge) report.Table(gridTable(t.SurchargeTable, QStringLiteral("Surcharge loads")));

    if (t.NewSoil.RowCount() > 0 && (m.GeneratePY != 0 || !m.UserEarthPressure))
        addSoilLayers(report, t.NewSoil,
                      QStringLiteral("Soil layers (depth to the bottom of each layer in %1)").arg(L), L);
    if (m.UserEarthPressure)
        report.Table(gridTable(t.DistLoad, QStringLiteral("Earth pressure table (the user's)"), 30));
    // The long-term problem's own soil and pressure.
    if (m.LongTerm && t.LongSoil.RowCount() > 0)
        addSoilLayers(report, t.LongSoil,
                      QStringLiteral("Soil layers of the long-term problem (bottom in %1)").arg(L), L);
    if (m.LongTerm && t.LongDist.RowCount() > 0)
        report.Table(
            gridTable(t.LongDist, QStringLiteral("Earth pressure table of the long-term problem"), 30));
    if (m.ApplyPYModification) report.Table(gridTable(t.PYMod, QStringLiteral("p-y modification factors")));
    if (m.ApplyExternalPY && t.PYCurves2.RowCount() > 0)
        report.Table(gridTable(t.PYCurves2,
                               QStringLiteral("User p-y curves (sets; the points are in the data file)")));
    if (m.ApplyMomentEI && t.MEICurves2.RowCount() > 0)
        report.Table(
            gridTable(t.MEICurves2, QStringLiteral("Moment-EI curves (the points are in the data file)")));

    if (cases.size() > 1) {
        TReportTable stages;
        stages.Caption = QStringLiteral("Stages (the tables above are those of stage %1)")
                             .arg(std::max(1, m.CurrentStage));
        stages.Header = {QStringLiteral("Stage"),
                         QStringLiteral("Excavation (%1)").arg(L),
                         QStringLiteral("Water, retained side (%1)").arg(L),
                         QStringLiteral("Water, excavation side (%1)").arg(L),
                         QStringLiteral("Tiebacks at (%1)").arg(L),
                         QStringLiteral("Springs"),
                         QStringLiteral("Restraints")};
        for (std::size_t k = 0; k < cases.size(); ++k) {
            const TCaseInputs& c = cases[k];
            QStringList ties;
            for (const TTiebackInput& tb : c.Tiebacks)
                ties << num(tb.Depth);
            stages.Rows.push_back({QString::number(k + 1), num(c.FreeHeight / scale),
                                   num(c.WaterDepthBackfill / scale), num(c.WaterDepthExcavation / scale),
                                   ties.isEmpty() ? QStringLiteral("—") : ties.join(", "),
                                   QString::number(c.Springs.size()),
                                   QString::number(c.RestrainedNodes.size() + c.SlopeNodes.size())});
        }
        report.Table(std::move(stages));
    }
}

// A copy of `from`'s look with curve `curve` of its main set only (none when < 0).
void copyPlot(const TGraphPlot& from, TGraphPlot& to, int curve) {
    to.SetUnits(from.Units());
    to.CurveName = from.CurveName;
    to.Caption = from.Caption;
    to.ShowLegend = from.ShowLegend;
    to.Markers = from.Markers;
    to.SizeFont = from.SizeFont;
    to.LegendFont = from.LegendFont;
    to.WidthLine = from.WidthLine;
    to.XCaption = from.XCaption;
    to.XUnits = from.XUnits;
    to.XOnTop = from.XOnTop;
    to.YCaption = from.YCaption;
    to.YUnits = from.YUnits;
    to.Levels = from.Levels;
    to.ShowLevels = from.ShowLevels;
    to.onGetCaption = from.onGetCaption;
    for (int i = 0; i < from.LineCount(); ++i) {
        if (i != curve) continue;
        to.SetLineCount(to.LineCount() + 1);
        TLine& line = to.Line(to.LineCount() - 1);
        line.Points = from.Line(i).Points;
        line.Name = from.Line(i).GetName();
        line.Value = from.Line(i).Value;
    }
}

// A figure painted by the graphs' own routine from a plot of its own, kept alive by the figure.
TReportFigure plotFigure(std::shared_ptr<TGraphPlot> plot, const QString& caption, QSizeF size = {240, 300}) {
    const auto view = std::make_shared<app::results::TPlotView>(app::results::MakeView(*plot));
    return {caption, size, [plot, view](QPainter& painter, QSize s, int dpi) {
                app::results::PaintPlotPicture(painter, *plot, *view, s, dpi);
            }};
}

QString stateText(const TCaseSummary& c) {
    return q(RunStateWord(c.State));
}

void addCaseSummary(TReport& report, const TResultsSummary& s, const TCaseSummary& c) {
    const TSummaryUnits& u = s.UnitNames;
    TReportTable t;
    t.Caption = QStringLiteral("%1: results summary").arg(q(c.Name));
    t.Header = {QStringLiteral("Quantity"), QStringLiteral("Value"), QStringLiteral("Unit"),
                QStringLiteral("Depth (%1)").arg(q(u.Depth)), QStringLiteral("Node")};
    auto row = [&](const QString& name, const TExtreme& e, const std::string& unit, int digits = 4) {
        if (!e.Known) {
            t.Rows.push_back({name, QStringLiteral("—"), q(unit), {}, {}});
            return;
        }
        t.Rows.push_back({name, num(e.Value, digits), q(unit), num(e.Depth), QString::number(e.Node)});
    };
    row(QStringLiteral("Top deflection"), c.TopDeflection, u.Deflection);
    row(QStringLiteral("Largest deflection"), c.Deflection, u.Deflection);
    row(QStringLiteral("Largest bending moment"), c.Moment, u.Moment);
    row(QStringLiteral("Largest shear"), c.Shear, u.Shear);
    row(QStringLiteral("Largest soil reaction"), c.SoilReaction, u.Reaction);
    row(QStringLiteral("Mobilised resistance, toward the excavation"), c.MobilisedExcavation, "", 3);
    row(QStringLiteral("Mobilised resistance, toward the retained side"), c.MobilisedRetained, "", 3);
    t.Rows.push_back(
        {QStringLiteral("Force residual (of the largest shear)"), num(c.ForceResidual, 3), {}, {}, {}});
    t.Rows.push_back(
        {QStringLiteral("Moment residual (of the largest moment)"), num(c.MomentResidual, 3), {}, {}, {}});
    report.Table(std::move(t));
    if (c.Supports.empty()) return;
    TReportTable f;
    f.Caption = QStringLiteral("%1: support forces").arg(q(c.Name));
    f.Header = {QStringLiteral("Support"),
                QStringLiteral("Node"),
                QStringLiteral("Depth (%1)").arg(q(u.Depth)),
                QStringLiteral("Stiffness (%1)").arg(q(u.Stiffness)),
                QStringLiteral("Horizontal force on the analysed width (%1)").arg(q(u.Force)),
                QStringLiteral("Force along the tie, per anchor (%1)").arg(q(u.Force))};
    for (const TSupportForce& sf : c.Supports)
        f.Rows.push_back({q(sf.Kind),
                          sf.LastNode > sf.Node ? QStringLiteral("%1–%2").arg(sf.Node).arg(sf.LastNode)
                                                : QString::number(sf.Node),
                          num(sf.Depth), sf.Kind == "Restraint" ? QStringLiteral("—") : num(sf.Stiffness),
                          num(sf.Horizontal), sf.HasAlongTie ? num(sf.AlongTie) : QStringLiteral("—")});
    report.Table(std::move(f));
}

void addDesignCheck(TReport& report, const TReportInput& in, const TReportOptions& o, std::size_t k,
                    const std::vector<app::design::TDesignCase>& cases,
                    const std::vector<app::design::TPyComparison>& py, const TCaseSummary& summary) {
    using namespace app::design;
    if (k >= cases.size()) return;
    const TDesignCase& c = cases[k];
    const TDesignUnits du = DesignUnits(in.Model->UnitSystem());
    TLeResult r;
    if (c.Tiebacks.empty())
        r = FixedEarth(c.Problem, false);
    else if (c.Tiebacks.size() == 1)
        r = FreeEarth(c.Problem, c.Tiebacks.front());
    else
        r = ApparentPressure(c.Problem, c.Tiebacks);
    const QString method = q(MethodName(r.Method));
    TReportTable t;
    t.Caption =
        QStringLiteral(
            "%1: limit-equilibrium check (%2, Rankine, factor of safety %3 on the passive resistance)")
            .arg(q(summary.Name), method, num(o.FactorOfSafety, 3));
    t.Header = {QStringLiteral("Quantity"), QStringLiteral("Limit equilibrium"),
                QStringLiteral("As entered: p-y analysis"), QStringLiteral("Unit")};
    const double provided = c.WallLength - c.Problem.Excavation;
    if (!r.Solved) {
        report.Warning(
            QStringLiteral("%1: the %2 method finds no solution: %3").arg(q(summary.Name), method, q(r.Why)));
        return;
    }
    t.Rows.push_back({QStringLiteral("Embedment below the excavation"), num(r.EmbedmentDesign), num(provided),
                      q(du.Length)});
    if (r.EmbedmentDesign != r.EmbedmentRequired)
        t.Rows.push_back({QStringLiteral("Embedment before the 20 % increase"),
                          num(r.EmbedmentRequired),
                          {},
                          q(du.Length)});
    const TPyComparison* p = k < py.size() && py[k].Known ? &py[k] : nullptr;
    t.Rows.push_back({QStringLiteral("Largest moment per unit width (magnitude)"),
                      num(std::fabs(r.MaxMoment)), p ? num(std::fabs(p->MaxMoment)) : QStringLiteral("—"),
                      q(du.MomentPerWidth)});
    std::vector<double> forces = r.TiebackForces;
    if (forces.empty() && c.Tiebacks.size() == 1) forces.push_back(r.TiebackForce);
    for (std::size_t i = 0; i < forces.size(); ++i)
        t.Rows.push_back({QStringLiteral("Tieback %1 force per unit width (horizontal)").arg(i + 1),
                          num(forces[i]),
                          p && i < p->TiebackForces.size() ? num(p->TiebackForces[i]) : QStringLiteral("—"),
                          q(du.ForcePerWidth)});
    report.Table(std::move(t));
    report.Paragraph(
        provided + 1e-9 >= r.EmbedmentDesign
            ? QStringLiteral("The embedment provided (%1 %2) is at least the limit-equilibrium embedment.")
                  .arg(num(provided), q(du.Length))
            : QStringLiteral("The embedment provided (%1 %2) is SHORTER than the limit-equilibrium "
                             "embedment (%3 %2).")
                  .arg(num(provided), q(du.Length), num(r.EmbedmentDesign)));
    for (const std::string& note : c.Notes)
        report.Paragraph(QStringLiteral("Note: %1.").arg(q(note)));

    if (o.Section.empty() || !summary.Moment.Known) return;
    const auto& catalogue = SectionCatalogue();
    const auto section = std::find_if(catalogue.begin(), catalogue.end(),
                                      [&](const TSection& s) { return s.Name == o.Section; });
    const auto grade = SteelGrade(o.Grade);
    if (section == catalogue.end() || !grade) return;
    const double width = static_cast<double>(in.Model->ActiveWidth);
    const double utilisation =
        BendingUtilisation(*section, grade->Yield, in.Model->UnitSystem(),
                           std::fabs(static_cast<double>(summary.Moment.Value)), width);
    report.Table(keys(QStringLiteral("%1: section check").arg(q(summary.Name)),
                      {{QStringLiteral("Section"), q(section->Name)},
                       {QStringLiteral("Steel grade"),
                        QStringLiteral("%1 (fy = %2 MPa)").arg(q(grade->Name), num(grade->Yield))},
                       {QStringLiteral("Bending utilisation M / (W fy)"),
                        num(utilisation, 3) + (utilisation <= 1.0 ? QStringLiteral(" (passes)")
                                                                  : QStringLiteral(" (FAILS)"))}}));
}

void addMethods(TReport& report, const TProgramData& m) {
    report.Heading(QStringLiteral("Method"));
    report.Paragraph(QStringLiteral(
        "The wall is a beam-column on nonlinear soil springs. It is divided into increments of equal length; "
        "the fourth-order equation of bending is written in finite differences at every station and solved "
        "by "
        "recursion, with the soil springs taken as secants of the p-y curves at the current deflections. The "
        "solution is repeated until the deflection of every node changes by less than the closure tolerance "
        "from one iteration to the next. A run that does not close within its iterations, or whose "
        "deflection exceeds the allowable value, is reported as not converged: its results are not a "
        "solution of the wall."));
    if (m.UserEarthPressure)
        report.Paragraph(
            QStringLiteral("Earth pressure: the user's table of lateral load against depth, applied "
                           "as entered; no pressure is generated."));
    else if (m.EarthPressureChoice == kEarthPressureTriangular ||
             m.EarthPressureChoice == kEarthPressureTrapezoidal)
        report.Paragraph(
            QStringLiteral(
                "Earth pressure: %1. Above the excavation the active pressure of the soil layers (Rankine's "
                "coefficients, Rankine 1857; for a sloping backfill Rankine's coefficient of a sloping "
                "surface; a "
                "coefficient given for a layer in place of Ka), with the water pressure of the retained side "
                "and the surcharges, acts on the width Wa. Below the excavation the active thrust and the "
                "soil's resistance enter through "
                "the p-y "
                "curves.%2")
                .arg(pressureChoice(m),
                     m.EarthPressureChoice == kEarthPressureTrapezoidal
                         ? QStringLiteral(" The pressure above the excavation is replaced by a trapezoidal "
                                          "apparent-pressure diagram of the same kind as those for walls "
                                          "with supports (Sabatini, Pass and Bachus 1999).")
                         : QString()));
    std::set<int> types;
    for (int r = 0; r < m.Tables().NewSoil.RowCount(); ++r)
        types.insert(m.Tables().NewSoil.Cell(0, r).AsInt());
    QStringList references;
    if (m.GeneratePY != 0) {
        QStringList criteria;
        for (const int type : types) {
            switch (type) {
                case 1:
                    criteria << "soft clay (Matlock 1970)";
                    references << "Matlock, H. (1970). Correlations for design of laterally loaded piles in "
                                  "soft clay. Proceedings of the Second Annual Offshore Technology "
                                  "Conference, Houston, Texas, Paper OTC 1204.";
                    break;
                case 2:
                    criteria << "stiff clay with free water (Reese, Cox and Koop 1975)";
                    references
                        << "Reese, L. C., Cox, W. R. and Koop, F. D. (1975). Field testing and analysis of "
                           "laterally loaded piles in stiff clay. Proceedings of the Seventh Annual Offshore "
                           "Technology Conference, Houston, Texas, Paper OTC 2312.";
                    break;
                case 3:
                    criteria << "stiff clay without free water (Welch and Reese 1972; Reese and Welch 1975)";
                    references << "Reese, L. C. and Welch, R. C. (1975). Lateral loading of deep foundations "
                                  "in stiff clay. Journal of the Geotechnical Engineering Division, ASCE, "
                                  "101(GT7), 633–649.";
                    break;
                case 4:
                    criteria << "sand (Reese, Cox and Koop 1974)";
                    references << "Reese, L. C., Cox, W. R. and Koop, F. D. (1974). Analysis of laterally "
                                  "loaded piles in sand. Proceedings of the Sixth Annual Offshore Technology "
                                  "Conference, Houston, Texas, Paper OTC 2080.";
                    break;
                case 5:
                    criteria << "silt as a c-φ soil (Reese and Van Impe 2001)";
                    references << "Reese, L. C. and Van Impe, W. F. (2001). Single Piles and Pile Groups "
                                  "under Lateral Loading. A. A. Balkema, Rotterdam.";
                    break;
                case 6:
                    criteria << "strong rock (a brittle criterion on half the uniaxial compressive strength)";
                    break;
                case 7:
                    criteria << "weak rock (Reese 1997)";
                    references
                        << "Reese, L. C. (1997). Analysis of laterally loaded piles in weak rock. Journal of "
                           "Geotechnical and Geoenvironmental Engineering, ASCE, 123(11), 1010–1017.";
                    break;
                default:
                    break;
            }
        }
        if (!criteria.isEmpty())
            report.Paragraph(
                QStringLiteral("p-y curves are generated on both sides of the wall below the excavation by "
                               "the criteria for %1, shifted by the active thrust; layered soils use an "
                               "equivalent depth (Georgiadis 1983).")
                    .arg(criteria.join(QStringLiteral("; "))));
        references << "Georgiadis, M. (1983). Development of p-y curves for layered soils. Proceedings of "
                      "the Conference on Geotechnical Practice in Offshore Engineering, ASCE, Austin, Texas.";
    }
    if (m.ApplyExternalPY)
        report.Paragraph(QStringLiteral("p-y curves entered by the user act where they are given."));
    if (m.ApplySurcharge || m.TopSurcharge != 0) {
        report.Paragraph(
            QStringLiteral("Surcharges: a uniform surcharge adds to the vertical stress; point, line and "
                           "strip loads give lateral "
                           "pressures by the elastic solutions modified for walls that do not yield "
                           "(Terzaghi 1954; NAVFAC DM-7.02, 1986)."));
        references << "Terzaghi, K. (1954). Anchored bulkheads. Transactions of the American Society of "
                      "Civil Engineers, 119."
                   << "Naval Facilities Engineering Command (1986). Foundations and Earth Structures, Design "
                      "Manual NAVFAC DM-7.02. Department of the Navy, Alexandria, Virginia.";
    }
    if (m.EarthPressureChoice == kEarthPressureTrapezoidal && !m.UserEarthPressure)
        references << "Sabatini, P. J., Pass, D. G. and Bachus, R. C. (1999). Ground Anchors and Anchored "
                      "Systems. Geotechnical Engineering Circular No. 4, Report FHWA-IF-99-015, Federal "
                      "Highway Administration, Washington, D.C.";
    references << "Rankine, W. J. M. (1857). On the stability of loose earth. Philosophical Transactions of "
                  "the Royal Society of London, 147, 9–27."
               << "Reese, L. C., Isenhower, W. M. and Wang, S.-T. (2006). Analysis and Design of Shallow and "
                  "Deep Foundations. John Wiley & Sons, Hoboken, New Jersey.";
    references.sort();
    references.removeDuplicates();
    report.Heading(QStringLiteral("References"), 2);
    for (const QString& r : references)
        report.Paragraph(r);
}

}  // namespace

TReportInput ReportInputFor(const TProgramData& model, const PlotDefinitions& plots,
                            const fs::path& dataFile) {
    TReportInput in;
    in.Model = &model;
    in.Plots = &plots;
    in.DataFile = dataFile;
    fs::path report = dataFile;
    report.replace_extension(kReportExtension);
    std::ifstream file(report, std::ios::binary);
    if (file) {
        std::ostringstream text;
        text << file.rdbuf();
        in.ReportText = text.str();
        in.RunTime = QFileInfo(QString::fromStdString(report.string())).lastModified();
    }
    const int expected =
        static_cast<int>(CaseInputsOfFile(model, dataFile).size()) * (model.LongTerm ? 2 : 1);
    in.Status = ReadRunStatus(in.ReportText, in.ReportText.empty() ? 0 : expected);
    return in;
}

TReport BuildReport(const TReportInput& in, const TReportOptions& o) {
    const TProgramData& m = *in.Model;
    TReport report;
    report.Title = q(m.Title);
    report.Subtitle = QStringLiteral("%1 — calculation report").arg(q(in.DataFile.filename().string()));
    report.Metric = m.UnitSystem() == kUnitsSI;
    const std::vector<TCaseInputs> cases = CaseInputsOfFile(m, in.DataFile);
    int figures = 0;
    auto numbered = [&figures](const QString& caption) {
        return QStringLiteral("Figure %1: %2").arg(++figures).arg(caption);
    };

    // Cover.
    report.Heading(QStringLiteral("Calculation report"));
    report.Paragraph(q(m.Title));
    report.Table(keys(
        QString(),
        {{QStringLiteral("Data file"), q(fs::absolute(in.DataFile).lexically_normal().string())},
         {QStringLiteral("Run"), in.RunTime.isValid()
                                     ? in.RunTime.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                     : QStringLiteral("not run")},
         {QStringLiteral("Report made"),
          QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))},
         {QStringLiteral("Program"), QStringLiteral("DRENOK %1").arg(QString::fromLatin1(kProgramVersion))},
         {QStringLiteral("Units"),
          m.UnitSystem() == kUnitsSI ? QStringLiteral("SI") : QStringLiteral("English")},
         {QStringLiteral("Problems"), cases.size() > 1
                                          ? QStringLiteral("%1 construction stages").arg(cases.size())
                                      : m.LongTerm ? QStringLiteral("short-term and long-term")
                                                   : QStringLiteral("one")}}));
    TReportTable sign;
    sign.Caption = QStringLiteral("Sign-off");
    sign.Header = {QStringLiteral("Role"), QStringLiteral("Name"), QStringLiteral("Signature"),
                   QStringLiteral("Date")};
    sign.Rows = {{QStringLiteral("Engineer"), o.Engineer, QStringLiteral("\n\n"), {}},
                 {QStringLiteral("Checker"), o.Checker, QStringLiteral("\n\n"), {}}};
    sign.Widths = {0.14, 0.36, 0.32, 0.18};
    report.Table(std::move(sign));
    const TResultsSummary summary = SummarizeResults(m, cases, in.Status);
    if (!in.ReportText.empty() && !in.Status.AllConverged())
        report.Warning(
            QStringLiteral("NOT CONVERGED: at least one problem of this run did not converge (%1). Its "
                           "results are not a solution of the wall and must not be used for design.")
                .arg(q(RunStateWord(in.Status.Worst()))));
    if (in.ReportText.empty())
        report.Warning(QStringLiteral("The problem has not been run: the report holds its inputs only."));
    report.PageBreak();

    if (o.Inputs) addInputs(report, in, cases);
    if (o.Drawing) {
        const auto drawing =
            std::make_shared<app::results::TSectionDrawing>(app::results::SectionDrawingOf(m, cases));
        if (drawing->WallLength > 0) {
            report.Heading(QStringLiteral("Section drawing"), o.Inputs ? 2 : 1);
            report.Figure({numbered(QStringLiteral("Section drawing of the wall as entered")),
                           QSizeF(500, 420), [drawing](QPainter& painter, QSize size, int dpi) {
                               app::results::PaintSectionDrawing(painter, QRectF(QPointF(0, 0), QSizeF(size)),
                                                                 *drawing, dpi);
                           }});
        }
    }

    if (o.Results && !in.ReportText.empty()) {
        std::vector<app::design::TDesignCase> design;
        std::vector<app::design::TPyComparison> py;
        if (o.Design) {
            app::design::TLeProblem options;
            options.FactorOfSafety = o.FactorOfSafety;
            design = app::design::DesignCases(m, in.DataFile, options);
            py = app::design::PyComparison(in.DataFile);
        }
        const PlotDefinitions& plots = *in.Plots;
        for (std::size_t k = 0; k < summary.Cases.size(); ++k) {
            const TCaseSummary& c = summary.Cases[k];
            report.PageBreak();
            report.Heading(QStringLiteral("Results: %1").arg(q(c.Name)));
            const TProblemStatus* status = k < in.Status.problems.size() ? &in.Status.problems[k] : nullptr;
            const QString line =
                QStringLiteral("Status: %1.").arg(status ? q(DescribeProblemStatus(*status)) : stateText(c));
            if (c.State == TRunState::Converged)
                report.Paragraph(line);
            else
                report.Warning(
                    line + QStringLiteral(" NOT CONVERGED: these results are not a solution of the wall."));
            addCaseSummary(report, summary, c);
            if (o.Design) addDesignCheck(report, in, o, k, design, py, c);
            if (!o.Figures) continue;
            const int n = static_cast<int>(k);
            // The excavation and water of this problem only.
            const auto levels = CreatePlotDefinitions();
            if (!cases.empty()) SetDepthLevels(*levels, {cases[std::min(k, cases.size() - 1)]});
            struct TOne {
                const TGraphPlot* plot;
                const char* name;
            };
            for (const TOne& g :
                 {TOne{&plots.pltDef, "Deflection"}, TOne{&plots.pltMom, "Bending moment"},
                  TOne{&plots.pltShear, "Shear"}, TOne{&plots.pltLD, "Earth pressure"},
                  TOne{&plots.pltSoil, "Soil reaction"}, TOne{&plots.pltMobil, "Mobilised resistance"}}) {
                if (n >= g.plot->LineCount() || g.plot->Line(n).Points.size() < 2) continue;
                auto one = std::make_shared<TGraphPlot>();
                copyPlot(*g.plot, *one, n);
                one->Levels = levels->pltDef.Levels;
                if (c.State != TRunState::Converged) one->Notice = "NOT CONVERGED — not a solution";
                report.Figure(plotFigure(
                    one, numbered(QStringLiteral("%1 — %2").arg(QString::fromLatin1(g.name), q(c.Name)))));
            }
            // p-y curves of this problem as the results store keeps them.
            const auto& stored = m.Results.Curves(n);
            if (!stored.empty()) {
                auto curves = std::make_shared<TGraphPlot>();
                copyPlot(plots.pltPY, *curves, -1);
                for (const TStoredCurve& curve : stored) {
                    curves->SetLineCount(curves->LineCount() + 1);
                    TLine& drawn = curves->Line(curves->LineCount() - 1);
                    for (const auto& [y, p] : curve.Points)
                        drawn.Points.push_back({y, p});
                    drawn.Name = PYCurveLegend(m, m.UnitSystem(), curve.Label);
                }
                report.Figure(plotFigure(curves, numbered(QStringLiteral("p-y curves — %1").arg(q(c.Name))),
                                         QSizeF(490, 330)));
            }
        }
    }

    if (o.Messages) {
        report.PageBreak();
        report.Heading(QStringLiteral("Warnings and messages"));
        const std::vector<TCheckFinding> findings = CheckDataFile(in.DataFile);
        if (findings.empty())
            report.Paragraph(QStringLiteral("The checks of the inputs found nothing to report."));
        for (const TCheckFinding& f : findings)
            report.Paragraph(QStringLiteral("%1: %2: %3")
                                 .arg(f.severity == TCheckFinding::Severity::Error ? "Error" : "Warning",
                                      q(f.where), q(f.message)));
        // Water on the excavation side enters no computation of the engine: say so where it differs.
        for (std::size_t k = 0; k < cases.size(); ++k) {
            const TCaseInputs& c = cases[k];
            const long double tip = c.IncrementCount * c.IncrementLength, scale = LengthScale(c.Units);
            if ((c.PressureOption < 2 && !c.GeneratedCurves) ||
                c.WaterDepthBackfill == c.WaterDepthExcavation ||
                std::min(c.WaterDepthBackfill, c.WaterDepthExcavation) > tip)
                continue;
            const QString unit = c.Units == kUnitsSI ? QStringLiteral("m") : QStringLiteral("ft");
            report.Warning(
                QStringLiteral("%1: the water table on the excavation side (%2 %4) enters no computation. "
                               "The p-y analysis takes the water pressure of the retained side (water "
                               "%3 %4 down) above the excavation only and none below it, so the net water "
                               "pressure of the two levels is not on the wall. Allow for it, for example "
                               "with a user pressure table.")
                    .arg(cases.size() > 1 ? QStringLiteral("Stage %1").arg(k + 1) : QStringLiteral("Problem"),
                         num(c.WaterDepthExcavation / scale), num(c.WaterDepthBackfill / scale), unit));
        }
        bool any = false;
        for (std::size_t k = 0; k < in.Status.problems.size(); ++k)
            for (const std::string& line : in.Status.problems[k].engineLines) {
                report.Paragraph(QStringLiteral("%1: %2").arg(
                    k < summary.Cases.size() ? q(summary.Cases[k].Name) : QStringLiteral("Run"), q(line)));
                any = true;
            }
        if (!in.ReportText.empty() && !any) report.Paragraph(QStringLiteral("The engine wrote no warnings."));
    }
    if (o.Methods) {
        report.PageBreak();
        addMethods(report, m);
    }
    if (o.Appendix && !in.ReportText.empty()) {
        report.PageBreak();
        report.Heading(QStringLiteral("Appendix: the report of the run"));
        QString text = q(in.ReportText);
        text.remove(QLatin1Char('\r'));
        text.replace(QLatin1Char('\f'), QLatin1Char('\n'));
        report.Preformatted(text);
    }
    return report;
}

QString WriteReport(const TReport& report, const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("pdf")) return WriteReportPdf(report, file);
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return WriteReportHtml(report, file);
    return QStringLiteral("%1: a report is written as .pdf or .html").arg(file);
}

}  // namespace app::report
