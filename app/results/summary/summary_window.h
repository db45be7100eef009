#pragma once
// The results summary and the node tables as windows: the numbers of a run to read, copy into a
// calculation (as text or as a tab-separated table) and print.

#include <QWidget>
#include <functional>
#include <vector>

#include "app/model/results_summary.h"
#include "app/widgets/child_window.h"

class QComboBox;
class QPlainTextEdit;
class QTableWidget;

namespace app::results {

/// The summary of every problem or stage of the results shown; `source` gives it afresh on Reload.
class TSummaryWindow : public QWidget, public app::widgets::TChildWindow {
    Q_OBJECT
public:
    explicit TSummaryWindow(std::function<app::model::TResultsSummary()> source, QWidget* parent = nullptr);

    void CommitEdit() override {}
    void Reload() override;

    /// The summary as shown.
    [[nodiscard]] const app::model::TResultsSummary& Summary() const { return m_summary; }
    void CopyText() const;
    void CopyTable() const;
    void Print();

private:
    std::function<app::model::TResultsSummary()> m_source;
    app::model::TResultsSummary m_summary;
    QPlainTextEdit* m_text = nullptr;
};

/// How a node table window reaches the results: the number of problems, their names and the rows of one.
struct TNodeTableSource {
    std::function<app::model::TResultsSummary()> Summary;
    std::function<std::vector<app::model::TNodeRow>(int caseIndex)> Rows;
};

/// The results at every node of a chosen problem or stage.
class TNodeTableWindow : public QWidget, public app::widgets::TChildWindow {
    Q_OBJECT
public:
    explicit TNodeTableWindow(TNodeTableSource source, QWidget* parent = nullptr);

    void CommitEdit() override {}
    void Reload() override;

    void ShowCase(int caseIndex);
    [[nodiscard]] int CaseIndex() const;
    [[nodiscard]] int RowCount() const;
    /// The table as tab-separated text, units in the header.
    [[nodiscard]] QString TableText() const;
    void CopyTable() const;

private:
    TNodeTableSource m_source;
    app::model::TSummaryUnits m_units;
    std::vector<app::model::TNodeRow> m_rows;
    QComboBox* m_case = nullptr;
    QTableWidget* m_table = nullptr;
};

}  // namespace app::results
