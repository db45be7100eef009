#pragma once
// The Design window: the limit-equilibrium embedment of every problem or stage with its pressure
// diagram, the embedment sweep with its graph, and the check of steel sheet-pile sections, all from
// the problem as entered and with the computations drenok-design uses.

#include <QWidget>
#include <vector>

#include "app/design/embedment_sweep.h"
#include "app/design/limit_equilibrium.h"
#include "app/design/sections.h"
#include "app/model/graph_plot.h"
#include "app/widgets/child_window.h"

class QBoxLayout;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTableWidget;
class QTabWidget;

namespace app::session {
class TDocumentController;
}

namespace app::ui {

/// A graph painted by the graph windows' routine, for the design window's diagrams.
class TDesignGraph : public QWidget {
public:
    explicit TDesignGraph(QWidget* parent = nullptr);
    app::model::TGraphPlot Plot;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TDesignWindow : public QWidget, public app::widgets::TChildWindow {
    Q_OBJECT
public:
    enum TPage { LimitEquilibrium, EmbedmentSweep, Sections };

    explicit TDesignWindow(app::session::TDocumentController& document, QWidget* parent = nullptr);

    void CommitEdit() override {}
    void Reload() override {}  // the inputs stay; results are recomputed on request

    void ShowPage(TPage page);
    /// The commands of the three pages; a problem the methods cannot take is said in the table.
    void ComputeLimitEquilibrium();
    void RunSweep();
    void CheckSections();
    /// The section of the selected row of the section table (the first when none) becomes the wall's:
    /// every stiffness record of the problem in hand takes its EI, as an edit that Undo takes back.
    void ApplySection();
    /// Sections of the user's from a CSV file in place of the shipped catalogue (empty: the catalogue);
    /// false with the message shown when the file cannot be read.
    bool UseCatalogue(const QString& file);

    [[nodiscard]] QTableWidget* Table(TPage page) const { return m_tables[page]; }
    [[nodiscard]] TDesignGraph* Graph(TPage page) const { return m_graphs[page]; }
    /// The fields of the pages, for tests and for the window's own use.
    QComboBox* Method = nullptr;
    QComboBox* SafetyOn = nullptr;
    QDoubleSpinBox* Factor = nullptr;
    QDoubleSpinBox* WallFriction = nullptr;
    QDoubleSpinBox* Increase = nullptr;
    QDoubleSpinBox* From = nullptr;
    QDoubleSpinBox* To = nullptr;
    QDoubleSpinBox* Step = nullptr;
    QDoubleSpinBox* Limit = nullptr;
    QComboBox* Grade = nullptr;
    QComboBox* DeflectionLimit = nullptr;

private:
    QWidget* limitPage();
    /// The result table and the note under it of `page`, in `layout`.
    void addResults(TPage page, QWidget* parent, QBoxLayout* layout);
    QWidget* sweepPage();
    QWidget* sectionPage();
    /// Each run on its own data file in a scratch folder, through the program's engine runner.
    std::vector<app::design::TSweepRun> runAll(const std::vector<std::string>& texts,
                                               const std::vector<double>& embedments,
                                               const std::vector<int>& increments);
    void fill(TPage page, const QStringList& headers, const std::vector<QStringList>& rows);
    void note(TPage page, const QString& text);

    app::session::TDocumentController& m_document;
    QTabWidget* m_tabs = nullptr;
    QTableWidget* m_tables[3] = {};
    TDesignGraph* m_graphs[3] = {};
    QLabel* m_notes[3] = {};
    std::vector<app::design::TSection> m_catalogue;
};

}  // namespace app::ui
