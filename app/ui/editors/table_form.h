#pragma once
// The editors of the grid tables: a grid with one header block, a row-number column and one column per
// visible table column, the row buttons, the table's comments and help picture. The chart variant adds a
// preview of two columns and the import of rows from a text file or the clipboard. The table holds the
// data; every cell is committed through the table's own checks when it is left.

#include <QDialog>
#include <QPointer>
#include <QTableWidget>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/model/grid_table.h"
#include "app/model/grid_table_chart.h"
#include "app/widgets/child_window.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace app::ui {

inline constexpr const char* kRowRangeMessage = "Grid.Row not in valid range";
inline constexpr const char* kNoClipboardTextMessage = "There is no text on the Clipboard";

/// The grid: Enter moves down a row, then to the top of the next column.
class TTableGrid : public QTableWidget {
    Q_OBJECT
public:
    using QTableWidget::QTableWidget;
    /// Hands the text of an open cell editor to its cell.
    void CommitOpenEditor();
    /// The cell Enter leads to from (row, column).
    void MoveAfterEnter();

signals:
    void KeyReleased();

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

class TTableForm : public QWidget, public widgets::TChildWindow {
    Q_OBJECT
public:
    explicit TTableForm(app::model::TGridTable& table, QWidget* parent = nullptr);
    ~TTableForm() override;

    [[nodiscard]] app::model::TGridTable& Table() const { return *m_table; }
    [[nodiscard]] TTableGrid* Grid() const { return m_grid; }
    [[nodiscard]] QPushButton* AddButton() const { return m_add; }
    [[nodiscard]] QPushButton* InsertButton() const { return m_insert; }
    [[nodiscard]] QPushButton* DeleteButton() const { return m_delete; }
    /// Grid column of table column `column`, -1 when it is hidden.
    [[nodiscard]] int GridColumn(int column) const;

    /// Commits the cell being edited; false (message shown, cursor kept there) when it is invalid.
    bool CommitCell();
    void CommitEdit() override;
    void Reload() override { Rebuild(); }
    /// The grid made again from the table.
    void Rebuild();

    void AddRow();
    void InsertRow();
    void DeleteRow();

    /// The table closed its editor: the window goes without asking and without telling the table.
    void Detach();
    /// A modal run ends with the dialog; the table knows without being told.
    void SetModalRun() { m_modalRun = true; }
    void Activate();

protected:
    void closeEvent(QCloseEvent* event) override;
    /// Called after the table's values changed.
    virtual void valuesChanged() {}
    QVBoxLayout* m_layout;

private:
    bool commitItem(int row, int gridColumn, const QString& text);
    void itemChanged(QTableWidgetItem* item);
    void currentChanged(int row, int column, int previousRow, int previousColumn);
    void refreshCells();
    void scrollToRow(int row);

    app::model::TGridTable* m_table;
    TTableGrid* m_grid;
    QLabel* m_topLeft;
    QLabel* m_comments;
    QLabel* m_picture;
    QPushButton* m_add;
    QPushButton* m_insert;
    QPushButton* m_delete;
    std::vector<int> m_columns;  // visible table columns in grid order
    int m_invalidRow = -1, m_invalidColumn = -1;
    bool m_rebuilding = false;
    bool m_detached = false;
    bool m_modalRun = false;
};

/// Curve preview of a chart table: x column against y column, the flat-curve and two-curve rules.
class TCurvePreview : public QWidget {
    Q_OBJECT
public:
    explicit TCurvePreview(const app::model::TGridTableChart& table, QWidget* parent = nullptr);
    /// Draws the preview into `area`.
    void Paint(QPainter& painter, const QRect& area) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const app::model::TGridTableChart* m_table;
};

class TTableChartForm : public TTableForm {
    Q_OBJECT
public:
    /// `editor` gives the text-editor program for "View/Edit File".
    TTableChartForm(app::model::TGridTableChart& table, std::function<QString()> editor,
                    QWidget* parent = nullptr);

    [[nodiscard]] QLineEdit* FileNameEdit() const { return m_fileName; }
    [[nodiscard]] TCurvePreview* Preview() const { return m_preview; }
    /// Imports the lines of `text`; false and the message when no line fits.
    bool ImportText(const QString& text);
    void ReadFromFile();
    void PasteFromClipboard();

protected:
    void valuesChanged() override;

private:
    void updateFileButtons();

    app::model::TGridTableChart* m_chart;
    std::function<QString()> m_editor;
    TCurvePreview* m_preview = nullptr;
    QLineEdit* m_fileName = nullptr;
    QPushButton* m_view = nullptr;
    QPushButton* m_read = nullptr;
};

/// A table editor run modally (nested in a modal editor): closing commits the cell first.
class TModalTableDialog : public QDialog {
    Q_OBJECT
public:
    TModalTableDialog(TTableForm* form, QWidget* parent = nullptr);
    void done(int result) override;

private:
    TTableForm* m_form;
};

/// The window-side half of an open editor, owned by its table.
class TTableEditorLink : public app::model::TTableEditor {
public:
    explicit TTableEditorLink(TTableForm* form) : m_form(form) {}
    void Close() override;
    void Activate() override;

private:
    QPointer<TTableForm> m_form;
};

}  // namespace app::ui
