#pragma once
// "Staged Construction Options": whether the problem is staged and how many stages it has. The dialog
// only chooses the count; the main window applies it.

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace app::ui {

class TDlgStaged : public QDialog {
    Q_OBJECT
public:
    /// Opens showing `stageCount` (1: not staged).
    explicit TDlgStaged(int stageCount, QWidget* parent = nullptr);

    /// The count the dialog shows: 1 … 5.
    [[nodiscard]] int StageCount() const;

    QCheckBox* StagedCheck() const { return m_check; }
    QSpinBox* CountBox() const { return m_count; }

private:
    void CheckClick(bool checked);

    QCheckBox* m_check;
    QSpinBox* m_count;
};

}  // namespace app::ui
