#pragma once
// "Export to Excel": the seven exportable graphs in a check list, written to a spreadsheet workbook
// that is then opened with the desktop's handler.

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "app/model/plot_definitions.h"
#include "app/model/results_summary.h"

class QListWidget;
class QPushButton;

namespace app::results {

class TDlgExport : public QDialog {
    Q_OBJECT
public:
    /// `offered`: for each of the seven graphs, whether its menu item in the main window is enabled.
    TDlgExport(app::model::PlotDefinitions& plots, const std::array<bool, 7>& offered,
               QWidget* parent = nullptr);

    /// The graphs in list order: p-y curves, deflection, shear, moment, soil reaction, earth pressure,
    /// combined earth pressure.
    [[nodiscard]] static std::array<app::model::TGraphPlot*, 7> ExportPlots(
        app::model::PlotDefinitions& plots);

    [[nodiscard]] QListWidget* List() const { return m_list; }
    [[nodiscard]] QPushButton* GenerateButton() const { return m_generate; }
    void SelectAll(bool ticked);
    /// Writes the ticked graphs to `file` and opens it; false with the message when it failed.
    bool Generate(const QString& file);

    /// Asks for the file name; empty when cancelled. Tests replace it.
    std::function<QString()> ChooseFile;
    /// Opens the written file; false when no program takes it. Tests replace it.
    std::function<bool(const QString& file)> OpenFile;
    /// The summary sheet's results and the project named in the workbook; no sheet without it.
    std::function<app::model::TResultsSummary()> Summary;

private:
    void refreshButton();

    app::model::PlotDefinitions* m_plots;
    QListWidget* m_list;
    QPushButton* m_generate;
};

}  // namespace app::results
