#include "app/results/export/workbook_writer.h"

#include <xlsxwriter.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace app::results {

using app::model::TGraphPlot;

std::string GetExcelCol(int n) {
    if (n >= 1 && n <= 26) return std::string(1, static_cast<char>('A' + n - 1));
    if (n >= 27 && n <= 702) {
        const int first = (n - 1) / 26, second = (n - 1) % 26 + 1;
        return std::string{static_cast<char>('A' + first - 1), static_cast<char>('A' + second - 1)};
    }
    return std::string();
}

namespace {

// ---- The legend's frame --------------------------------------------------------------------------------
// The chart writer offers no border or fill for a chart's legend, so the chart parts of the finished
// package get them afterwards: each legend a white fill and a black line.

std::uint32_t read32(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}
std::uint16_t read16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1])
                                                                             << 8);
}
void put32(std::string& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void put16(std::string& b, std::uint16_t v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>(v >> 8);
}

bool inflateRaw(const std::string& in, std::size_t size, std::string& out) {
    out.assign(size, '\0');
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return status == Z_STREAM_END && z.total_out == size;
}

bool deflateRaw(const std::string& in, std::string& out) {
    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    out.assign(deflateBound(&z, static_cast<uLong>(in.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return status == Z_STREAM_END;
}

std::string framedLegend(std::string xml) {
    const std::string frame =
        "<c:spPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill><a:ln><a:solidFill><a:srgbClr "
        "val=\"000000\"/></a:solidFill></a:ln></c:spPr>";
    const std::size_t legend = xml.find("<c:legend>");
    if (legend == std::string::npos) return xml;
    const std::size_t end = xml.find("</c:legend>", legend);
    if (end == std::string::npos) return xml;
    // The shape properties come before the text properties of the legend, if it has any.
    const std::size_t text = xml.find("<c:txPr>", legend);
    xml.insert(text != std::string::npos && text < end ? text : end, frame);
    return xml;
}

// Writes the package `source` to `target` with framed legends, through a temporary file renamed over
// `target`; false, `target` untouched, when it fails.
bool frameLegends(const std::string& source, const std::string& path, std::string& error) {
    std::ifstream in(source, std::ios::binary);
    const std::string zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const std::size_t eocd = zip.rfind(std::string("PK\x05\x06", 4));
    if (eocd == std::string::npos || eocd + 22 > zip.size()) {
        error = "the workbook package could not be read back";
        return false;
    }
    const std::uint16_t entries = read16(zip, eocd + 10);
    std::size_t at = read32(zip, eocd + 16);
    std::string body, directory;
    for (std::uint16_t e = 0; e < entries; ++e) {
        if (at + 46 > zip.size() || read32(zip, at) != 0x02014b50) {
            error = "the workbook package could not be read back";
            return false;
        }
        const std::uint16_t method = read16(zip, at + 10);
        std::uint32_t crc = read32(zip, at + 16);
        std::uint32_t packed = read32(zip, at + 20);
        std::uint32_t size = read32(zip, at + 24);
        const std::uint16_t nameLength = read16(zip, at + 28), extra = read16(zip, at + 30),
                            comment = read16(zip, at + 32);
        const std::uint32_t local = read32(zip, at + 42);
        const std::string name = zip.substr(at + 46, nameLength);
        const std::size_t dataAt = local + 30 + read16(zip, local + 26) + read16(zip, local + 28);
        std::string data = zip.substr(dataAt, packed);
        std::uint16_t newMethod = method;
        if (name.rfind("xl/charts/chart", 0) == 0 && method == Z_DEFLATED) {
            std::string xml;
            if (!inflateRaw(data, size, xml)) {
                error = "a chart of the workbook could not be read back";
                return false;
            }
            xml = framedLegend(std::move(xml));
            if (!deflateRaw(xml, data)) {
                error = "a chart of the workbook could not be written";
                return false;
            }
            crc = static_cast<std::uint32_t>(
                crc32(0L, reinterpret_cast<const Bytef*>(xml.data()), static_cast<uInt>(xml.size())));
            packed = static_cast<std::uint32_t>(data.size());
            size = static_cast<std::uint32_t>(xml.size());
            newMethod = Z_DEFLATED;
        }
        const std::uint32_t offset = static_cast<std::uint32_t>(body.size());
        // Local header with the sizes in place: no data descriptor follows.
        put32(body, 0x04034b50);
        put16(body, 20);
        put16(body, 0);
        put16(body, newMethod);
        body.append(zip, local + 10, 4);  // time and date
        put32(body, crc);
        put32(body, packed);
        put32(body, size);
        put16(body, nameLength);
        put16(body, 0);
        body += name;
        body += data;
        put32(directory, 0x02014b50);
        directory.append(zip, at + 4, 2);  // made by
        put16(directory, 20);
        put16(directory, 0);
        put16(directory, newMethod);
        directory.append(zip, at + 12, 4);  // time and date
        put32(directory, crc);
        put32(directory, packed);
        put32(directory, size);
        put16(directory, nameLength);
        put16(directory, 0);
        put16(directory, 0);
        directory.append(zip, at + 34, 8);  // disk, internal and external attributes
        put32(directory, offset);
        directory += name;
        at += 46 + nameLength + extra + comment;
    }
    std::string out = body;
    const std::uint32_t directoryAt = static_cast<std::uint32_t>(out.size());
    out += directory;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, entries);
    put16(out, entries);
    put32(out, static_cast<std::uint32_t>(directory.size()));
    put32(out, directoryAt);
    put16(out, 0);
    const std::string temporary = path + ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
        if (!file) {
            std::remove(temporary.c_str());
            error = "the workbook could not be written";
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = "the workbook could not be written";
        return false;
    }
    return true;
}

// ---- The workbook --------------------------------------------------------------------------------------

std::string pageName(int k) {
    return "Page_" + std::to_string(k);
}
std::string plotName(int k) {
    return "Plot_" + std::to_string(k);
}

struct TWorkbook {
    lxw_workbook* book = nullptr;
    ~TWorkbook() {
        if (book) workbook_close(book);  // only reached when the file was not finished
    }
};

// One graph: its row on the index sheet, its data sheet and its chart sheet. Returns its status.
std::string exportGraph(lxw_workbook* book, lxw_worksheet* legend, int k, const TGraphPlot& plot,
                        lxw_format* bold, std::string& error) {
    const auto row = static_cast<lxw_row_t>(k + 1);
    worksheet_write_string(legend, row, 2, plot.Caption.c_str(), nullptr);
    const std::string page = pageName(k), chartName = plotName(k);
    worksheet_write_url_opt(legend, row, 3, ("internal:" + page + "!A1").c_str(), nullptr, page.c_str(),
                            nullptr);
    worksheet_write_string(legend, row, 4, chartName.c_str(), nullptr);
    worksheet_write_string(legend, row, 5, kStatusData, nullptr);

    lxw_worksheet* data = workbook_add_worksheet(book, page.c_str());
    if (!data) {
        error = "the data sheet " + page + " could not be added";
        return kStatusData;
    }
    worksheet_write_url_opt(data, 0, 6, "internal:Legend!A1", nullptr, "Go to Legend Page", nullptr);
    worksheet_write_string(data, 0, 0, plot.Caption.c_str(), bold);
    worksheet_write_string(data, 1, 0, "X", nullptr);
    worksheet_write_string(data, 1, 1, plot.XTitle().c_str(), nullptr);
    worksheet_write_string(data, 2, 0, "Y", nullptr);
    worksheet_write_string(data, 2, 1, plot.YTitle().c_str(), nullptr);
    const int curves = std::min(plot.LineCount(), kMaxExportCurves);
    const int points = plot.PointCount();
    for (int c = 0; c < curves; ++c) {
        const auto x = static_cast<lxw_col_t>(2 * c), y = static_cast<lxw_col_t>(2 * c + 1);
        worksheet_write_string(data, 3, x, plot.Line(c).GetName().c_str(), nullptr);
        worksheet_write_string(data, 4, x, "X", nullptr);
        worksheet_write_string(data, 4, y, "Y", nullptr);
        const auto& line = plot.Line(c).Points;
        for (int j = 0; j < points && j < static_cast<int>(line.size()); ++j) {
            worksheet_write_number(data, static_cast<lxw_row_t>(5 + j), x,
                                   static_cast<double>(line[static_cast<std::size_t>(j)].X), nullptr);
            worksheet_write_number(data, static_cast<lxw_row_t>(5 + j), y,
                                   static_cast<double>(line[static_cast<std::size_t>(j)].Y), nullptr);
        }
    }
    worksheet_write_string(legend, row, 5, kStatusChart, nullptr);

    lxw_chartsheet* sheet = workbook_add_chartsheet(book, chartName.c_str());
    lxw_chart* chart = workbook_add_chart(book, LXW_CHART_SCATTER_STRAIGHT_WITH_MARKERS);
    if (!sheet || !chart) {
        error = "the chart sheet " + chartName + " could not be added";
        return kStatusChart;
    }
    const std::string last = std::to_string(5 + points);
    for (int c = 0; c < curves && points > 0; ++c) {
        const std::string xc = GetExcelCol(2 * c + 1), yc = GetExcelCol(2 * c + 2);
        const std::string xs = "=" + page + "!$" + xc + "$6:$" + xc + "$" + last;
        const std::string ys = "=" + page + "!$" + yc + "$6:$" + yc + "$" + last;
        lxw_chart_series* series = chart_add_series(chart, xs.c_str(), ys.c_str());
        if (!series) {
            error = "a series of " + chartName + " could not be added";
            return kStatusChart;
        }
        chart_series_set_name(series, plot.LegendText(c).c_str());
    }
    chart_title_set_name(chart, plot.Caption.c_str());
    chart_axis_set_name(chart->x_axis, plot.XTitle().c_str());
    chart_axis_set_name(chart->y_axis, plot.YTitle().c_str());
    chart_axis_major_gridlines_set_visible(chart->x_axis, LXW_TRUE);
    chart_axis_major_gridlines_set_visible(chart->y_axis, LXW_TRUE);
    // Depth grows downwards in the depth graphs.
    if (plot.XOnTop) chart_axis_set_reverse(chart->y_axis);
    if (chartsheet_set_chart(sheet, chart) != LXW_NO_ERROR) {
        error = "the chart of " + chartName + " could not be placed";
        return kStatusChart;
    }
    return kStatusComplete;
}

}  // namespace

std::string WorkbookDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

namespace {

// The summary as a sheet: a header row with units, a row per problem; numbers as numbers.
void writeSummary(lxw_workbook* book, const app::model::TResultsSummary& summary,
                  const TWorkbookExtras& extras, lxw_format* bold) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Summary");
    if (!sheet) return;
    worksheet_write_string(sheet, 0, 0, extras.ProjectTitle.c_str(), bold);
    worksheet_write_string(sheet, 1, 0, extras.DataFile.c_str(), nullptr);
    worksheet_write_string(sheet, 2, 0, extras.Date.c_str(), nullptr);
    const std::vector<std::string> columns = app::model::SummaryColumns(summary);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        worksheet_write_string(sheet, 4, static_cast<lxw_col_t>(c), columns[c].c_str(), bold);
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             std::clamp(static_cast<double>(columns[c].size()) * 0.8, 10.0, 40.0), nullptr);
    }
    lxw_row_t row = 5;
    for (const app::model::TCaseSummary& c : summary.Cases) {
        const std::vector<std::string> fields = app::model::SummaryFields(summary, c);
        for (std::size_t k = 0; k < fields.size(); ++k) {
            const std::string& f = fields[k];
            char* end = nullptr;
            const double value = f.empty() ? 0.0 : std::strtod(f.c_str(), &end);
            if (!f.empty() && end != nullptr && *end == '\0')
                worksheet_write_number(sheet, row, static_cast<lxw_col_t>(k), value, nullptr);
            else
                worksheet_write_string(sheet, row, static_cast<lxw_col_t>(k), f.c_str(), nullptr);
        }
        ++row;
    }
}

}  // namespace

TExportResult WriteWorkbook(const std::string& path, const std::vector<const TGraphPlot*>& graphs,
                            const TWorkbookExtras& extras) {
    TExportResult result;
    TWorkbook workbook;
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    // Written beside the target first, so a failure never leaves a broken workbook under its name.
    const std::string draft = path + ".writing";
    workbook.book = workbook_new_opt(draft.c_str(), &options);
    if (!workbook.book) {
        result.Error = "the workbook " + path + " could not be started";
        return result;
    }
    lxw_worksheet* legend = workbook_add_worksheet(workbook.book, "Legend");
    lxw_format* bold = workbook_add_format(workbook.book);
    format_set_bold(bold);
    format_set_align(bold, LXW_ALIGN_VERTICAL_CENTER);
    const char* headers[] = {"     N    ",
                             "                             Plot Name                             ",
                             "  Sheet Name  ", "  Chart Name  ", "          Status          "};
    for (int c = 0; c < 5; ++c) {
        worksheet_write_string(legend, 1, static_cast<lxw_col_t>(c + 1), headers[c], bold);
        // The blanks of the headers set the column widths.
        worksheet_set_column(legend, static_cast<lxw_col_t>(c + 1), static_cast<lxw_col_t>(c + 1),
                             static_cast<double>(std::string(headers[c]).size()) + 1, nullptr);
    }
    // The project and the day on the index sheet, above the list.
    if (!extras.ProjectTitle.empty()) worksheet_write_string(legend, 0, 2, extras.ProjectTitle.c_str(), bold);
    if (!extras.Date.empty()) worksheet_write_string(legend, 0, 4, extras.Date.c_str(), nullptr);
    if (extras.Summary != nullptr) writeSummary(workbook.book, *extras.Summary, extras, bold);
    for (std::size_t n = 1; n <= graphs.size(); ++n)
        worksheet_write_string(legend, static_cast<lxw_row_t>(n + 1), 1, std::to_string(n).c_str(), nullptr);
    for (std::size_t k = 1; k <= graphs.size(); ++k) {
        std::string error;
        const std::string status =
            exportGraph(workbook.book, legend, static_cast<int>(k), *graphs[k - 1], bold, error);
        worksheet_write_string(legend, static_cast<lxw_row_t>(k + 1), 5, status.c_str(), nullptr);
        result.Statuses.push_back(status);
        if (!error.empty() && result.Error.empty()) result.Error = error;
    }
    lxw_workbook* book = workbook.book;
    workbook.book = nullptr;
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        std::remove(draft.c_str());
        result.Error = std::string("the workbook ") + path + " could not be written: " + lxw_strerror(closed);
        return result;
    }
    std::string frameError;
    const bool framed = frameLegends(draft, path, frameError);
    std::remove(draft.c_str());
    if (!framed) {
        result.Error = "the workbook " + path + " could not be written: " + frameError;
        return result;
    }
    result.Written = true;
    return result;
}

}  // namespace app::results
