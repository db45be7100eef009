#include "app/ui/design/design_window.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>

#include "app/design/design_inputs.h"
#include "app/design/sections.h"
#include "app/model/number_format.h"
#include "app/model/results_summary.h"
#include "app/model/units.h"
#include "app/results/graph/plot_painter.h"
#include "app/session/document_controller.h"
#include "app/widgets/messages.h"

namespace app::ui {

namespace {

using namespace app::design;

QString number(double value) {
    return QString::fromStdString(app::model::FormatGeneral(static_cast<long double>(value), 5));
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QDoubleSpinBox* spin(QWidget* parent, double low, double high, double value, double step, int decimals,
                     const char* name) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(low, high);
    box->setValue(value);
    box->setSingleStep(step);
    box->setDecimals(decimals);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

void setUpGraph(app::model::TGraphPlot& plot, const std::string& caption, const std::string& x,
                const std::string& y, bool depth) {
    plot.Caption = caption;
    plot.XCaption = x;
    plot.YCaption = y;
    plot.XOnTop = depth;
    plot.Markers = depth ? 20 : 1;  // the pressure diagrams have 201 points
    plot.SetUnits(3);               // the captions carry their units
}

}  // namespace

TDesignGraph::TDesignGraph(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 260);
}

void TDesignGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!Plot.HasCurveData()) return;
    app::results::PaintPlotPicture(painter, Plot, app::results::MakeView(Plot), size(), logicalDpiX());
}

TDesignWindow::TDesignWindow(app::session::TDocumentController& document, QWidget* parent)
    : QWidget(parent), m_document(document) {
    setWindowTitle(tr("Design"));
    setObjectName(QStringLiteral("DesignWindow"));
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(limitPage(), tr("&Limit Equilibrium"));
    m_tabs->addTab(sweepPage(), tr("&Embedment Sweep"));
    m_tabs->addTab(sectionPage(), tr("&Sections"));
    layout->addWidget(m_tabs);
    resize(980, 620);
}

void TDesignWindow::ShowPage(TPage page) {
    m_tabs->setCurrentIndex(page);
}

namespace {

// A button of a page that runs `slot`.
template <typename F>
void addButton(QBoxLayout* layout, QWidget* page, const QString& text, const char* name, F&& slot) {
    auto* button = new QPushButton(text, page);
    button->setObjectName(QString::fromLatin1(name));
    QObject::connect(button, &QPushButton::clicked, page, std::forward<F>(slot));
    layout->addWidget(button);
}

}  // namespace

void TDesignWindow::addResults(TPage page, QWidget* parent, QBoxLayout* layout) {
    m_tables[page] = new QTableWidget(parent);
    layout->addWidget(m_tables[page], 1);
    m_notes[page] = new QLabel(parent);
    m_notes[page]->setWordWrap(true);
    layout->addWidget(m_notes[page]);
}

QWidget* TDesignWindow::limitPage() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* form = new QFormLayout;
    Method = new QComboBox(page);
    Method->setObjectName(QStringLiteral("DesignMethod"));
    Method->addItems({tr("By the tiebacks"), tr("Fixed earth, simplified"), tr("Fixed earth, full"),
                      tr("Free-earth support"), tr("Apparent pressure")});
    Factor = spin(page, 1.0, 5.0, 1.0, 0.1, 2, "DesignFactor");
    SafetyOn = new QComboBox(page);
    SafetyOn->addItems({tr("Passive resistance"), tr("Strength (tan phi and c)")});
    WallFriction = spin(page, 0.0, 40.0, 0.0, 1.0, 1, "DesignWallFriction");
    Increase = spin(page, 0.0, 100.0, 20.0, 5.0, 0, "DesignIncrease");
    form->addRow(tr("Method:"), Method);
    form->addRow(tr("Factor of safety:"), Factor);
    form->addRow(tr("Factor on:"), SafetyOn);
    form->addRow(tr("Wall friction (deg, 0: Rankine):"), WallFriction);
    form->addRow(tr("Increase of the simplified method (%):"), Increase);
    left->addLayout(form);
    addButton(left, page, tr("&Compute"), "DesignCompute", [this] { ComputeLimitEquilibrium(); });
    addResults(LimitEquilibrium, page, left);
    layout->addLayout(left, 3);
    m_graphs[LimitEquilibrium] = new TDesignGraph(page);
    setUpGraph(m_graphs[LimitEquilibrium]->Plot, "Limit-Equilibrium Pressures", "Pressure", "Depth", true);
    layout->addWidget(m_graphs[LimitEquilibrium], 2);
    return page;
}

QWidget* TDesignWindow::sweepPage() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* form = new QFormLayout;
    From = spin(page, 0.1, 1000.0, 2.0, 1.0, 2, "SweepFrom");
    To = spin(page, 0.1, 1000.0, 16.0, 1.0, 2, "SweepTo");
    Step = spin(page, 0.01, 100.0, 1.0, 0.5, 2, "SweepStep");
    Limit = spin(page, 0.0, 100000.0, 0.0, 0.5, 3, "SweepLimit");
    form->addRow(tr("Embedment from:"), From);
    form->addRow(tr("to:"), To);
    form->addRow(tr("by:"), Step);
    form->addRow(tr("Top deflection limit (0: none):"), Limit);
    left->addLayout(form);
    addButton(left, page, tr("&Run"), "SweepRun", [this] { RunSweep(); });
    addResults(EmbedmentSweep, page, left);
    layout->addLayout(left, 3);
    m_graphs[EmbedmentSweep] = new TDesignGraph(page);
    setUpGraph(m_graphs[EmbedmentSweep]->Plot, "Top Deflection vs Embedment", "Embedment", "Top deflection",
               false);
    layout->addWidget(m_graphs[EmbedmentSweep], 2);
    return page;
}

QWidget* TDesignWindow::sectionPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    Grade = new QComboBox(page);
    Grade->setObjectName(QStringLiteral("SectionGrade"));
    for (const TSteelGrade& g : SteelGrades())
        Grade->addItem(text(g.Name));
    Grade->setCurrentText(QStringLiteral("S355GP"));
    DeflectionLimit = new QComboBox(page);
    DeflectionLimit->setObjectName(QStringLiteral("SectionLimit"));
    DeflectionLimit->addItems({QStringLiteral("H/100"), QStringLiteral("H/150"), QStringLiteral("H/200")});
    DeflectionLimit->setCurrentIndex(1);
    form->addRow(tr("Steel grade:"), Grade);
    form->addRow(tr("Top deflection limit:"), DeflectionLimit);
    layout->addLayout(form);
    addButton(layout, page, tr("C&heck Sections"), "SectionCheck", [this] { CheckSections(); });
    addButton(layout, page, tr("Sections from a &File..."), "SectionFile", [this] {
        const QString chosen =
            QFileDialog::getOpenFileName(this, tr("Sections"), QString(), tr("CSV (*.csv);;All files (*)"));
        if (!chosen.isEmpty()) UseCatalogue(chosen);
    });
    addButton(layout, page, tr("&Apply the Selected Section to the Wall"), "SectionApply",
              [this] { ApplySection(); });
    addResults(Sections, page, layout);
    m_graphs[Sections] = nullptr;
    return page;
}

void TDesignWindow::fill(TPage page, const QStringList& headers, const std::vector<QStringList>& rows) {
    QTableWidget* table = m_tables[page];
    table->clear();
    table->setColumnCount(static_cast<int>(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->setRowCount(static_cast<int>(rows.size()));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < rows[static_cast<std::size_t>(r)].size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(rows[static_cast<std::size_t>(r)][c]));
    table->resizeColumnsToContents();
}

void TDesignWindow::note(TPage page, const QString& text) {
    m_notes[page]->setText(text);
}

void TDesignWindow::ComputeLimitEquilibrium() {
    try {
        const auto& model = m_document.Model();
        TLeProblem options;
        options.FactorOfSafety = Factor->value();
        options.SafetyOn = SafetyOn->currentIndex() == 1 ? TLeSafety::Strength : TLeSafety::Passive;
        if (WallFriction->value() > 0.0) {
            options.Coefficients = TLeCoefficients::Coulomb;
            options.WallFriction = WallFriction->value();
        }
        const std::vector<TDesignCase> cases = DesignCases(model, model.FileName, options);
        // The p-y results of the same problems, when the run's outputs belong to the file as saved.
        const std::vector<TPyComparison> py =
            m_document.ResultsAvailable() ? PyComparison(model.FileName) : std::vector<TPyComparison>{};
        const TDesignUnits u = DesignUnits(model.UnitSystem());
        std::vector<QStringList> rows;
        QStringList notes;
        app::model::TGraphPlot& plot = m_graphs[LimitEquilibrium]->Plot;
        plot.SetLineCount(0);
        for (const TDesignCase& c : cases) {
            TLeResult r;
            QString method;
            QString status;
            const int choice = Method->currentIndex();
            const bool apparent = choice == 4 || (choice == 0 && c.Tiebacks.size() > 1);
            const bool freeEarth = !apparent && (choice == 3 || (choice == 0 && c.Tiebacks.size() == 1));
            if (apparent) {
                method = tr("apparent");
                if (c.Tiebacks.size() < 2)
                    status = tr("the apparent-pressure method is for two or more tiebacks");
                else
                    r = ApparentPressure(c.Problem, c.Tiebacks);
            } else if (freeEarth && c.Tiebacks.size() != 1) {
                status = c.Tiebacks.empty() ? tr("free-earth support needs a tieback")
                                            : tr("several tiebacks: choose the apparent-pressure method");
                method = tr("free-earth");
            } else if (freeEarth) {
                r = FreeEarth(c.Problem, c.Tiebacks.front());
                method = tr("free-earth");
            } else {
                r = FixedEarth(c.Problem, choice == 2, Increase->value() / 100.0);
                method = choice == 2 ? tr("full") : tr("simplified");
            }
            if (status.isEmpty()) status = r.Solved ? tr("solved") : text(r.Why);
            auto value = [&r](double v) { return r.Solved ? number(v) : QString(); };
            QStringList forces;
            if (r.Solved && freeEarth) forces << number(r.TiebackForce);
            for (const double f : r.TiebackForces)
                forces << number(f);
            QStringList row{text(c.Name),
                            method,
                            value(r.EmbedmentRequired),
                            value(r.EmbedmentDesign),
                            number(c.WallLength - c.Problem.Excavation),
                            forces.join(QStringLiteral("; ")),
                            value(r.MaxMoment),
                            status};
            const std::size_t at = rows.size();
            if (at < py.size() && py[at].Known) {
                QStringList pyForces;
                for (const double f : py[at].TiebackForces)
                    pyForces << number(f);
                row << pyForces.join(QStringLiteral("; ")) << number(py[at].MaxMoment);
            }
            rows.push_back(row);
            for (const std::string& n : c.Notes)
                notes << text(c.Name) + QStringLiteral(": ") + text(n);
            // The first solved case's diagram: active behind, passive in front, net.
            if (r.Solved && plot.LineCount() == 0) {
                plot.SetLineCount(3);
                const char* names[] = {"Active (behind)", "Passive (in front)", "Net"};
                for (int k = 0; k < 3; ++k) {
                    plot.Line(k).Name = names[k];
                    for (const TLePressure& p : r.Diagram)
                        plot.Line(k).Points.push_back({k == 0   ? p.Active
                                                       : k == 1 ? p.Passive
                                                                : p.Net(),
                                                       p.Depth});
                }
                plot.XCaption = "Pressure (" + u.ForcePerWidth.substr(0, u.ForcePerWidth.find('/')) + "/" +
                                u.Length + "2)";
                plot.YCaption = "Depth (" + u.Length + ")";
                plot.Caption = "Limit-Equilibrium Pressures, " + c.Name;
            }
        }
        const QString L = text(u.Length);
        fill(LimitEquilibrium,
             {tr("Problem"), tr("Method"), tr("Embedment required (%1)").arg(L),
              tr("Embedment design (%1)").arg(L), tr("Embedment provided (%1)").arg(L),
              tr("Tieback force (%1)").arg(text(u.ForcePerWidth)),
              tr("Largest moment (%1)").arg(text(u.MomentPerWidth)), tr("Status"),
              tr("p-y tieback force (%1)").arg(text(u.ForcePerWidth)),
              tr("p-y largest moment (%1)").arg(text(u.MomentPerWidth))},
             rows);
        note(LimitEquilibrium,
             notes.isEmpty() ? tr("Embedments below the excavation.") : notes.join(QLatin1Char('\n')));
        m_graphs[LimitEquilibrium]->update();
    } catch (const std::exception& e) {
        app::widgets::ShowInformation(this, QString::fromStdString(e.what()));
    }
}

std::vector<TSweepRun> TDesignWindow::runAll(const std::vector<std::string>& texts,
                                             const std::vector<double>& embedments,
                                             const std::vector<int>& increments) {
    std::vector<TSweepRun> runs;
    QTemporaryDir folder;
    if (!folder.isValid())
        throw std::runtime_error("no scratch folder for the runs: " + folder.errorString().toStdString());
    QStringList files;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QString file = folder.filePath(QStringLiteral("run-%1.dn5d").arg(i + 1));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(QByteArray::fromStdString(texts[i])) < 0)
            throw std::runtime_error("cannot write " + file.toStdString());
        out.close();
        files << file;
    }
    // Several runs at once through drenok-run beside the engine, one process a core; one at a time in
    // this process when it is not there or cannot start (its exit 2), which runs them all again.
    const QString tool = QDir(m_document.Runner().ProgramFolder()).filePath(QStringLiteral("drenok-run"));
    bool ran = false;
    if (files.size() > 1 && QFileInfo(tool).isExecutable()) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(tool, QStringList{QStringLiteral("-j"),
                                        QString::number(std::clamp(QThread::idealThreadCount(), 1, 8))} +
                                files);
        ran = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
              process.exitCode() != 2;
    }
    for (int i = 0; i < files.size(); ++i) {
        if (!ran) (void)m_document.Runner().Run(files[i].toStdString());
        runs.push_back(ReadSweepRun(files[i].toStdString(), embedments[static_cast<std::size_t>(i)],
                                    increments[static_cast<std::size_t>(i)]));
    }
    return runs;
}

void TDesignWindow::RunSweep() {
    try {
        const auto& model = m_document.Model();
        const double excavation = DeepestExcavation(model, model.FileName);
        const std::vector<double> embedments =
            SweepEmbedments(model, excavation, From->value(), To->value(), Step->value());
        if (embedments.empty()) {
            note(EmbedmentSweep, tr("No embedment of the range makes a wall of whole increments."));
            return;
        }
        std::vector<std::string> texts;
        std::vector<int> increments;
        for (const double d : embedments) {
            increments.push_back(IncrementsFor(model, excavation, d));
            texts.push_back(LengthenedDataText(model, model.FileName, increments.back()));
        }
        const std::vector<TSweepRun> runs = runAll(texts, embedments, increments);
        const app::model::TSummaryUnits u = app::model::SummaryUnits(model.UnitSystem());
        std::vector<QStringList> rows;
        app::model::TGraphPlot& plot = m_graphs[EmbedmentSweep]->Plot;
        plot.SetLineCount(2);
        plot.Line(0).Name = "Converged";
        plot.Line(1).Name = "Not converged";
        plot.XCaption = "Embedment (" + u.Depth + ")";
        plot.YCaption = "Top deflection (" + u.Deflection + ")";
        for (const TSweepRun& r : runs) {
            QStringList row{number(r.Embedment),     QString::number(r.Increments), text(r.Status),
                            number(r.TopDeflection), number(r.MaxMoment),           number(r.MaxShear)};
            for (const double t : r.TiebackForces)
                row << number(t);
            rows.push_back(row);
            // A run that did not converge has no deflection to draw: its mark stands at zero.
            const bool converged = r.State == app::model::TRunState::Converged;
            plot.Line(converged ? 0 : 1).Points.push_back({r.Embedment, converged ? r.TopDeflection : 0.0});
        }
        fill(
            EmbedmentSweep,
            {tr("Embedment (%1)").arg(text(u.Depth)), tr("Increments"), tr("Status"),
             tr("Top deflection (%1)").arg(text(u.Deflection)), tr("Largest moment (%1)").arg(text(u.Moment)),
             tr("Largest shear (%1)").arg(text(u.Shear)), tr("Tieback forces (%1)").arg(text(u.Force))},
            rows);
        const std::optional<double> limit =
            Limit->value() > 0.0 ? std::optional<double>(Limit->value()) : std::nullopt;
        const std::optional<double> shortest = ShortestConvergingEmbedment(runs, limit);
        QString said = shortest ? tr("Every embedment from %1 %2 on converges%3.")
                                      .arg(number(*shortest), text(u.Depth),
                                           limit ? tr(" within the deflection limit") : QString())
                                : tr("The longest embedment of the sweep does not hold.");
        // The limit-equilibrium embedment of the same wall, to mark beside the sweep.
        const TLeResult le = ReferenceDesign(model, model.FileName);
        if (le.Solved) {
            said += tr(" Limit equilibrium (%1, factor 1): %2 %3.")
                        .arg(QString::fromLatin1(MethodName(le.Method)), number(le.EmbedmentRequired),
                             text(u.Depth));
            // The limit-equilibrium embedment as an upright line across the graph.
            double top = 0.0;
            for (const app::model::TFloatPoint& point : plot.Line(0).Points)
                top = std::max(top, static_cast<double>(point.Y));
            plot.SetLineCount(3);
            plot.Line(2).Name = "Limit equilibrium";
            plot.Line(2).Points = {{le.EmbedmentRequired, 0.0},
                                   {le.EmbedmentRequired, top > 0.0 ? top : 1.0}};
        }
        note(EmbedmentSweep, said);
        m_graphs[EmbedmentSweep]->update();
    } catch (const std::exception& e) {
        app::widgets::ShowInformation(this, QString::fromStdString(e.what()));
    }
}

void TDesignWindow::CheckSections() {
    try {
        const auto& model = m_document.Model();
        const double width = static_cast<double>(model.ActiveWidth);
        if (!(width > 0.0)) {
            note(Sections,
                 tr("The wall has no width for earth pressure (Wa): no section per unit width can be set."));
            return;
        }
        const std::vector<TSection>& catalogue = m_catalogue.empty() ? SectionCatalogue() : m_catalogue;
        std::vector<std::string> texts;
        for (const TSection& s : catalogue)
            texts.push_back(
                StiffenedDataText(model, model.FileName, SectionStiffness(s, model.UnitSystem(), width)));
        const std::vector<TSweepRun> runs = runAll(texts, std::vector<double>(catalogue.size(), 0.0),
                                                   std::vector<int>(catalogue.size(), model.IncrementCount));
        const double fy = SteelGrade(Grade->currentText().toStdString())->Yield;
        const bool si = model.UnitSystem() == app::model::kUnitsSI;
        const double divisor = DeflectionLimit->currentIndex() == 0   ? 100.0
                               : DeflectionLimit->currentIndex() == 1 ? 150.0
                                                                      : 200.0;
        const double limit = DeepestExcavation(model, model.FileName) * (si ? 1000.0 : 1.0) / divisor;
        const app::model::TSummaryUnits u = app::model::SummaryUnits(model.UnitSystem());
        std::vector<QStringList> rows;
        QString lightest;
        double lightestMass = 0.0;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const double utilisation =
                BendingUtilisation(catalogue[i], fy, model.UnitSystem(), runs[i].MaxMoment, width);
            const bool passes = runs[i].State == app::model::TRunState::Converged && utilisation <= 1.0 &&
                                runs[i].TopDeflection <= limit;
            if (passes && (lightest.isEmpty() || catalogue[i].Mass < lightestMass)) {
                lightest = text(catalogue[i].Name);
                lightestMass = catalogue[i].Mass;
            }
            rows.push_back({text(catalogue[i].Name), number(catalogue[i].Inertia),
                            number(catalogue[i].Modulus), number(catalogue[i].Mass), text(runs[i].Status),
                            number(runs[i].MaxMoment), number(utilisation), number(runs[i].TopDeflection),
                            passes ? tr("yes") : tr("no")});
        }
        fill(Sections,
             {tr("Section"), tr("I (cm4/m)"), tr("W (cm3/m)"), tr("Mass (kg/m2)"), tr("Status"),
              tr("Largest moment (%1)").arg(text(u.Moment)), tr("Utilisation M/(W fy)"),
              tr("Top deflection (%1)").arg(text(u.Deflection)), tr("Passes")},
             rows);
        note(Sections, (lightest.isEmpty() ? tr("No section passes.")
                                           : tr("The lightest section that passes: %1.").arg(lightest)) +
                           tr(" fy %1 MPa; top deflection within %2 %3.")
                               .arg(number(fy), number(limit), text(u.Deflection)));
    } catch (const std::exception& e) {
        app::widgets::ShowInformation(this, QString::fromStdString(e.what()));
    }
}

void TDesignWindow::ApplySection() {
    try {
        auto& model = m_document.Model();
        const double width = static_cast<double>(model.ActiveWidth);
        const std::vector<TSection>& catalogue = m_catalogue.empty() ? SectionCatalogue() : m_catalogue;
        const int row = std::max(0, m_tables[Sections]->currentRow());
        if (!(width > 0.0) || row >= static_cast<int>(catalogue.size())) {
            note(Sections, tr("No section applied: the wall has no width for earth pressure (Wa)."));
            return;
        }
        const TSection& section = catalogue[static_cast<std::size_t>(row)];
        const double ei = SectionStiffness(section, model.UnitSystem(), width);
        app::model::TGridTable& stiffness = model.Tables().PileSect;
        for (int r = 0; r < stiffness.RowCount(); ++r)
            stiffness.Cell(3, r).SetFloat(static_cast<long double>(ei));
        m_document.SetChanged();
        note(Sections,
             tr("%1 applied: EI = %2 on the wall's %3 width, in every stiffness record of this problem%4.")
                 .arg(text(section.Name), number(ei), number(width),
                      model.StageCount > 1 ? tr(" (this stage)") : QString()));
    } catch (const std::exception& e) {
        app::widgets::ShowInformation(this, QString::fromStdString(e.what()));
    }
}

bool TDesignWindow::UseCatalogue(const QString& file) {
    if (file.isEmpty()) {
        m_catalogue.clear();
        note(Sections, tr("The shipped catalogue."));
        return true;
    }
    try {
        std::vector<TSection> sections = ReadSections(file.toStdString());
        if (sections.empty()) throw std::runtime_error(file.toStdString() + " holds no section");
        m_catalogue = std::move(sections);
        note(Sections, tr("%1 sections from %2.").arg(m_catalogue.size()).arg(file));
        return true;
    } catch (const std::exception& e) {
        app::widgets::ShowInformation(
            this, tr("The sections were not read: %1").arg(QString::fromStdString(e.what())));
        return false;
    }
}

}  // namespace app::ui
