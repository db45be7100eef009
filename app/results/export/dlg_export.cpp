#include "app/results/export/dlg_export.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/results/export/workbook_writer.h"
#include "app/session/desktop_open.h"
#include "app/widgets/messages.h"

namespace app::results {

std::array<app::model::TGraphPlot*, 7> TDlgExport::ExportPlots(app::model::PlotDefinitions& p) {
    return {&p.pltPY, &p.pltDef, &p.pltShear, &p.pltMom, &p.pltSoil, &p.pltLD, &p.PltCombine};
}

TDlgExport::TDlgExport(app::model::PlotDefinitions& plots, const std::array<bool, 7>& offered,
                       QWidget* parent)
    : QDialog(parent), m_plots(&plots) {
    setWindowTitle(tr("Export to Excel"));
    setObjectName(QStringLiteral("DlgExport"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(tr("Available Plots"), this);
    auto* inner = new QVBoxLayout(group);
    m_list = new QListWidget(group);
    inner->addWidget(m_list);
    layout->addWidget(group, 1);
    const auto graphs = ExportPlots(plots);
    for (std::size_t i = 0; i < graphs.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(graphs[i]->Caption), m_list);
        item->setFlags(offered[i] ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable
                                  : Qt::NoItemFlags);
        item->setCheckState(offered[i] ? Qt::Checked : Qt::Unchecked);
    }
    auto* buttons = new QHBoxLayout;
    auto* all = new QPushButton(tr("Select All"), this);
    auto* none = new QPushButton(tr("Unselect All"), this);
    m_generate = new QPushButton(tr("Generate Excel File"), this);
    auto* close = new QPushButton(tr("Close Window"), this);
    for (QPushButton* b : {all, none, m_generate, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    for (const QString& text : {tr("An Excel instance (if available) will open. "),
                                tr("Please wait until all the data has been exported to Excel."),
                                tr("Please note that you need to save the excel file afterwards.")})
        layout->addWidget(new QLabel(text, this));
    connect(all, &QPushButton::clicked, this, [this] { SelectAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { SelectAll(false); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_generate, &QPushButton::clicked, this, [this] {
        // Every result plot carries the same out-of-date notice; the deflection's stands for them.
        if (!app::widgets::ConfirmResultsOutput(this, m_plots->pltDef.Notice)) return;
        const QString file = ChooseFile ? ChooseFile() : QString();
        if (!file.isEmpty()) Generate(file);
    });
    ChooseFile = [this] {
        QString file = QFileDialog::getSaveFileName(this, tr("Generate Excel File"), QString(),
                                                    tr("Excel Workbook (*.xlsx)"));
        if (!file.isEmpty() &&
            QFileInfo(file).suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) != 0)
            file += QStringLiteral(".xlsx");
        return file;
    };
    OpenFile = [this](const QString& file) {
        // The handler may fail after this dialog has closed: the window behind it hears of it.
        QWidget* owner = parentWidget() ? parentWidget() : this;
        app::session::OpenWithDesktop(
            file, owner, [owner](const QString& message) { app::widgets::ShowInformation(owner, message); });
        return true;
    };
    refreshButton();
}

void TDlgExport::refreshButton() {
    bool any = false;
    for (int i = 0; i < m_list->count(); ++i)
        any = any || m_list->item(i)->checkState() == Qt::Checked;
    m_generate->setEnabled(any);
}

void TDlgExport::SelectAll(bool ticked) {
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem* item = m_list->item(i);
        if (item->flags() & Qt::ItemIsEnabled) item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    refreshButton();
}

bool TDlgExport::Generate(const QString& file) {
    std::vector<const app::model::TGraphPlot*> graphs;
    const auto plots = ExportPlots(*m_plots);
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            graphs.push_back(plots[static_cast<std::size_t>(i)]);
    if (graphs.empty()) return false;
    TWorkbookExtras extras;
    app::model::TResultsSummary summary;
    if (Summary) {
        summary = Summary();
        extras.ProjectTitle = summary.Title;
        extras.DataFile = summary.DataFile;
        extras.Summary = &summary;
    }
    extras.Date = WorkbookDate();
    const TExportResult result = WriteWorkbook(file.toStdString(), graphs, extras);
    if (!result.Written) {
        app::widgets::ShowInformation(this, tr("The workbook was not written: %1. Nothing else has changed.")
                                                .arg(QString::fromStdString(result.Error)));
        return false;
    }
    if (!result.Error.empty())
        app::widgets::ShowInformation(
            this, tr("Not every graph could be exported: %1. The Legend sheet shows how far each got.")
                      .arg(QString::fromStdString(result.Error)));
    // Where it went, said either way: the desktop may open it in a window that hides the path.
    if (!OpenFile || !OpenFile(file))
        app::widgets::ShowInformation(
            this, tr("The workbook was written to %1. No program is set up to open it.").arg(file));
    else
        app::widgets::ShowInformation(this, tr("The workbook was written to %1.").arg(file));
    return result.Error.empty();
}

}  // namespace app::results
