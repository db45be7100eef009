#pragma once
// The choices of File > Export Calculation Report: the file (PDF or HTML), the parts of the report,
// the design check and the names for the cover.

#include <QDialog>
#include <optional>

#include "app/report/report_builder.h"

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;

namespace app::ui {

struct TReportChoice {
    app::report::TReportOptions Options;
    QString File;
};

class TDlgReport : public QDialog {
    Q_OBJECT
public:
    /// `initial`: the report file offered (beside the data file).
    explicit TDlgReport(const QString& initial, QWidget* parent = nullptr);
    /// The choices; nullopt while the file is not a .pdf or .html name.
    [[nodiscard]] std::optional<TReportChoice> Choice() const;

    QLineEdit* FileEdit = nullptr;
    QCheckBox *Inputs = nullptr, *Drawing = nullptr, *Results = nullptr, *Figures = nullptr,
              *Messages = nullptr, *Methods = nullptr, *Design = nullptr, *Appendix = nullptr;
    QDoubleSpinBox* Factor = nullptr;
    QLineEdit *Engineer = nullptr, *Checker = nullptr;

protected:
    void done(int result) override;
};

}  // namespace app::ui
