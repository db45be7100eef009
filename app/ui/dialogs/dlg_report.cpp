#include "app/ui/dialogs/dlg_report.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/widgets/messages.h"

namespace app::ui {

TDlgReport::TDlgReport(const QString& initial, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgReport"));
    setWindowTitle(tr("Export Calculation Report"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* fileRow = new QHBoxLayout;
    FileEdit = new QLineEdit(initial, this);
    FileEdit->setObjectName(QStringLiteral("ReportFile"));
    FileEdit->setMinimumWidth(380);
    auto* browse = new QPushButton(tr("&Browse..."), this);
    fileRow->addWidget(FileEdit, 1);
    fileRow->addWidget(browse);
    auto* fileLabel = new QLabel(tr("Report &file (.pdf or .html):"), this);
    fileLabel->setBuddy(FileEdit);
    form->addRow(fileLabel, fileRow);
    layout->addLayout(form);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(this, tr("Calculation Report"), FileEdit->text(),
                                                          tr("PDF (*.pdf);;HTML (*.html)"));
        if (!file.isEmpty()) FileEdit->setText(file);
    });

    auto box = [this, layout](const QString& text, const char* name, bool on) {
        auto* b = new QCheckBox(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setChecked(on);
        layout->addWidget(b);
        return b;
    };
    Inputs = box(tr("&Inputs in tables"), "ReportInputs", true);
    Drawing = box(tr("Section &drawing"), "ReportDrawing", true);
    Results = box(tr("&Results of each problem or stage"), "ReportResults", true);
    Figures = box(tr("Fi&gures of the results"), "ReportFigures", true);
    Messages = box(tr("&Warnings and messages"), "ReportMessages", true);
    Methods = box(tr("&Method notes and references"), "ReportMethods", true);
    auto* designRow = new QHBoxLayout;
    Design = new QCheckBox(tr("&Limit-equilibrium check, factor of safety on passive:"), this);
    Design->setObjectName(QStringLiteral("ReportDesign"));
    Factor = new QDoubleSpinBox(this);
    Factor->setObjectName(QStringLiteral("ReportFactor"));
    Factor->setRange(1.0, 10.0);
    Factor->setSingleStep(0.1);
    Factor->setValue(1.5);
    designRow->addWidget(Design);
    designRow->addWidget(Factor);
    designRow->addStretch();
    layout->addLayout(designRow);
    Appendix = box(tr("The fixed-width report of the run as an &appendix"), "ReportAppendix", false);
    auto* names = new QFormLayout;
    Engineer = new QLineEdit(this);
    Engineer->setObjectName(QStringLiteral("ReportEngineer"));
    Checker = new QLineEdit(this);
    Checker->setObjectName(QStringLiteral("ReportChecker"));
    names->addRow(tr("&Engineer:"), Engineer);
    names->addRow(tr("&Checker:"), Checker);
    layout->addLayout(names);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::optional<TReportChoice> TDlgReport::Choice() const {
    const QString file = FileEdit->text().trimmed();
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (file.isEmpty() ||
        (suffix != QLatin1String("pdf") && suffix != QLatin1String("html") && suffix != QLatin1String("htm")))
        return std::nullopt;
    TReportChoice c;
    c.File = file;
    c.Options.Inputs = Inputs->isChecked();
    c.Options.Drawing = Drawing->isChecked();
    c.Options.Results = Results->isChecked();
    c.Options.Figures = Figures->isChecked();
    c.Options.Messages = Messages->isChecked();
    c.Options.Methods = Methods->isChecked();
    c.Options.Design = Design->isChecked();
    c.Options.FactorOfSafety = Factor->value();
    c.Options.Appendix = Appendix->isChecked();
    c.Options.Engineer = Engineer->text();
    c.Options.Checker = Checker->text();
    return c;
}

void TDlgReport::done(int result) {
    if (result == QDialog::Accepted && !Choice()) {
        app::widgets::ShowInformation(this, tr("Name the report file with the extension .pdf or .html."));
        FileEdit->setFocus();
        return;
    }
    QDialog::done(result);
}

}  // namespace app::ui
