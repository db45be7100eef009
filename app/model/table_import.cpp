#include "app/model/table_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "app/model/number_format.h"
#include "app/model/word_reader.h"

namespace app::model {

namespace {

bool takesNumber(const TColumn& column) {
    return column.Visible() &&
           (column.Kind() == kFloatColumn || column.Kind() == kIntColumn || column.Kind() == kEnumColumn);
}

bool fitsInteger(long double value) {
    return value == std::trunc(value) && value >= std::numeric_limits<int>::min() &&
           value <= std::numeric_limits<int>::max();
}

}  // namespace

std::vector<std::string> ImportLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

std::vector<long double> ImportNumbers(std::string_view line) {
    std::vector<long double> numbers;
    std::size_t i = 0;
    while (i < line.size() && static_cast<int>(numbers.size()) < kMaxImportNumbers) {
        auto separator = [](char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n'; };
        while (i < line.size() && separator(line[i]))
            ++i;
        std::size_t end = i;
        while (end < line.size() && !separator(line[end]))
            ++end;
        if (end == i) break;
        const std::string piece(line.substr(i, end - i));
        char* stop = nullptr;
        const long double value = std::strtold(piece.c_str(), &stop);
        if (stop != piece.c_str() + piece.size() || !IsFileNumber(value)) return {};
        numbers.push_back(value);
        i = end;
    }
    return numbers;
}

int ImportColumnCount(const TGridTable& table) {
    int count = 0;
    for (int c = 0; c < table.ColumnCount(); ++c)
        if (takesNumber(table.Column(c))) ++count;
    return count;
}

int ImportRows(TGridTable& table, const std::vector<std::string>& lines) {
    const int columns = ImportColumnCount(table);
    if (columns == 0) return 0;
    std::vector<std::vector<long double>> rows;
    for (const std::string& line : lines) {
        std::vector<long double> numbers = ImportNumbers(line);
        if (static_cast<int>(numbers.size()) != columns) continue;
        bool fits = true;
        int k = 0;
        for (int c = 0; c < table.ColumnCount() && fits; ++c) {
            const TColumn& column = table.Column(c);
            if (!takesNumber(column)) continue;
            if (column.Kind() != kFloatColumn && !fitsInteger(numbers[static_cast<std::size_t>(k)]))
                fits = false;
            ++k;
        }
        if (!fits) continue;
        rows.push_back(std::move(numbers));
        if (table.MaxRows() > 0 && static_cast<int>(rows.size()) == table.MaxRows()) break;
    }
    if (rows.empty()) return 0;

    int filled = 0;
    for (const std::vector<long double>& numbers : rows) {
        while (filled >= table.RowCount())
            table.AddRows();
        int k = 0;
        for (int c = 0; c < table.ColumnCount(); ++c) {
            TColumn& column = table.Column(c);
            if (!takesNumber(column)) continue;
            const long double value = numbers[static_cast<std::size_t>(k++)];
            if (column.Kind() == kFloatColumn)
                column.SetFloat(filled, value);
            else
                column.SetInt(filled, static_cast<int>(value));
        }
        ++filled;
    }
    while (table.RowCount() > filled)
        table.DeleteRows(table.RowCount() - 1);
    return filled;
}

TPreview PreviewCurves(const TGridTableChart& table) {
    TPreview preview;
    const TGraphicParameters& graphic = table.GraphicParameters();
    const int xc = graphic.XColumn, yc = graphic.YColumn;
    if (xc < 0 || yc < 0 || xc >= table.ColumnCount() || yc >= table.ColumnCount() || table.RowCount() == 0)
        return preview;
    auto value = [&table](int column, int row) { return NumberAt(table, column, row); };
    auto caption = [&table](int column) {
        const auto& captions = table.Column(column).Captions();
        return captions.empty() ? std::string() : captions.front();
    };
    auto curve = [&](int x, int y) {
        TPreviewCurve c{caption(y), {}};
        for (int r = 0; r < table.RowCount(); ++r)
            c.Points.emplace_back(value(x, r), value(y, r));
        return c;
    };
    preview.Curves.push_back(curve(xc, yc));
    if (table.ColumnCount() == 3 && xc == 0 && yc == 1) preview.Curves.push_back(curve(0, 2));
    preview.XTitle = caption(xc);
    preview.YTitle = caption(yc);

    long double xmin = std::numeric_limits<long double>::max(), xmax = -xmin, ymin = xmin, ymax = -xmin;
    for (const TPreviewCurve& c : preview.Curves)
        for (const auto& [x, y] : c.Points) {
            xmin = std::min(xmin, x);
            xmax = std::max(xmax, x);
            ymin = std::min(ymin, y);
            ymax = std::max(ymax, y);
        }
    if (preview.Curves.size() == 1 && ymin == ymax) {
        const long double flat = ymin;
        auto& points = preview.Curves.front().Points;
        if (points.size() > 1) points[1].second = flat * 1.001L;
        ymin = std::min(flat * 0.9L, flat * 1.1L);
        ymax = std::max(flat * 0.9L, flat * 1.1L);
        if (ymin == ymax) {  // a flat curve at zero: an axis around it
            ymin = -1;
            ymax = 1;
        }
    }
    if (xmin == xmax) {
        xmin -= 1;
        xmax += 1;
    }
    if (ymin == ymax) {
        ymin -= 1;
        ymax += 1;
    }
    preview.XMin = xmin;
    preview.XMax = xmax;
    preview.YMin = ymin;
    preview.YMax = ymax;
    return preview;
}

}  // namespace app::model
