#pragma once
// Rows of numbers taken into a grid table from a text file or the clipboard, and the number format of
// the chart editor's preview axes.

#include <string>
#include <string_view>
#include <vector>

#include "app/model/grid_table.h"
#include "app/model/grid_table_chart.h"

namespace app::model {

inline constexpr int kMaxImportNumbers = 15;

/// Lines of a file's or the clipboard's text: cut at carriage returns (a line feed right after one
/// dropped) and at line feeds, the line ends of every platform. A last line without a line end counts:
/// a block copied without its final line end keeps its last row.
[[nodiscard]] std::vector<std::string> ImportLines(std::string_view text);

/// The numbers of one line, cut at blanks, TABs, commas and carriage returns, at most 15. Empty when a
/// piece is not a number ("." is the decimal separator, an exponent allowed).
[[nodiscard]] std::vector<long double> ImportNumbers(std::string_view line);

/// Columns that take a number from an imported line: the visible integer, real and choice columns.
[[nodiscard]] int ImportColumnCount(const TGridTable& table);

/// Fills the table's rows from the lines that give exactly ImportColumnCount numbers, in order, adding
/// rows as needed and stopping at MaxRows; rows after the last one filled are deleted. Other lines are
/// skipped. When no line fits nothing changes and 0 is returned; otherwise the number of rows filled.
/// A value a column refuses (an integer column given 2.5) throws EAssignError with the table as it was.
int ImportRows(TGridTable& table, const std::vector<std::string>& lines);

/// What the chart editor's preview draws: the y column against the x column for every row, and for a
/// table of exactly three columns over column 0 the third column as a second curve. A flat single curve
/// has its second point drawn 0.1 % higher on a vertical axis of 0.9 … 1.1 times its value.
struct TPreviewCurve {
    std::string Name;  // the first caption line of its y column
    std::vector<std::pair<long double, long double>> Points;
};
struct TPreview {
    std::vector<TPreviewCurve> Curves;  // empty: nothing to draw
    long double XMin = 0, XMax = 1, YMin = 0, YMax = 1;
    std::string XTitle, YTitle;
};
[[nodiscard]] TPreview PreviewCurves(const TGridTableChart& table);

}  // namespace app::model
