// The exported workbook read back from its package: sheets, cells, links, charts.

#include "app/results/export/workbook_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>

#include "app/model/data_file.h"
#include "app/model/plot_definitions.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/results_reader.h"

namespace app::results {
namespace {

namespace fs = std::filesystem;
using app::model::TGraphPlot;

// A part of the package, by unzip.
std::string part(const fs::path& workbook, const std::string& name) {
    const std::string command = "unzip -p '" + workbook.string() + "' '" + name + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        text.append(buffer, n);
    return text;
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

std::vector<std::string> sheetNames(const fs::path& workbook) {
    const std::string xml = part(workbook, "xl/workbook.xml");
    std::vector<std::string> names;
    const std::regex sheet("<sheet name=\"([^\"]+)\"");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), sheet); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    return names;
}

struct Scratch {
    fs::path path = fs::temp_directory_path() / ("workbook-test-" + std::to_string(::getpid()));
    Scratch() { fs::create_directories(path); }
    ~Scratch() { fs::remove_all(path); }
};

// The graphs of a real staged run: the example run by the engine, read by the results reader.
struct StagedRun {
    Scratch scratch;
    app::model::TGridTableRegistry plain, chart;
    app::model::TProblemTables tables{plain, chart};
    app::model::TProgramData model{tables};
    std::unique_ptr<app::model::PlotDefinitions> plots = app::model::CreatePlotDefinitions();
    StagedRun() {
        const fs::path data = scratch.path / "three_stages.dn5d";
        fs::copy_file(DRENOK_EXAMPLES "/three_stages.dn5d", data);
        const std::string run = std::string(DRENOK_RUN) + " '" + data.string() + "' > /dev/null";
        EXPECT_EQ(std::system(run.c_str()), 0);
        app::model::CreateFromFile(model, data, app::model::TDataFileFormat::Current);
        app::model::TResultsReader reader(*plots, model);
        EXPECT_TRUE(reader.ReadResults(fs::path(data).replace_extension(".dn5p"), false));
    }
};

TEST(WorkbookWriter, ColumnLetters) {
    EXPECT_EQ(GetExcelCol(1), "A");
    EXPECT_EQ(GetExcelCol(26), "Z");
    EXPECT_EQ(GetExcelCol(27), "AA");
    EXPECT_EQ(GetExcelCol(28), "AB");  // curve 14's Y values
    EXPECT_EQ(GetExcelCol(702), "ZZ");
    EXPECT_EQ(GetExcelCol(703), "");
    EXPECT_EQ(GetExcelCol(0), "");
}

TEST(WorkbookWriter, StagedRunGraphsAtPositionsTwoAndFive) {
    StagedRun run;
    TGraphPlot& deflection = run.plots->pltDef;  // list position 2
    TGraphPlot& reaction = run.plots->pltSoil;   // list position 5
    ASSERT_EQ(deflection.LineCount(), 3);
    deflection.Line(1).Active = false;  // inactive curves are exported like the others
    const fs::path book = run.scratch.path / "export.xlsx";
    const TExportResult result = WriteWorkbook(book.string(), {&deflection, &reaction});
    ASSERT_TRUE(result.Written) << result.Error;
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(result.Statuses, (std::vector<std::string>{kStatusComplete, kStatusComplete}));
    EXPECT_FALSE(fs::exists(book.string() + ".writing"));

    EXPECT_EQ(sheetNames(book), (std::vector<std::string>{"Legend", "Page_1", "Plot_1", "Page_2", "Plot_2"}));
    const std::string strings = part(book, "xl/sharedStrings.xml");
    for (const char* text : {"Deflection vs Depth", "Soil Reaction vs Depth", "Page_1", "Plot_2", "Complete",
                             "Go to Legend Page", "Stage: 2", "Depth (ft)", "Deflection (in)"})
        EXPECT_NE(strings.find(text), std::string::npos) << text;
    EXPECT_NE(strings.find("     N    "), std::string::npos);  // the headers keep their blanks

    // Legend: the numbers in B, the links of D to each data sheet.
    const std::string legend = part(book, "xl/worksheets/sheet1.xml");
    EXPECT_NE(legend.find("<c r=\"B3\" t=\"s\">"), std::string::npos);
    EXPECT_NE(legend.find("<c r=\"F4\" t=\"s\">"), std::string::npos);
    EXPECT_NE(legend.find("location=\"Page_1!A1\""), std::string::npos);
    EXPECT_NE(legend.find("location=\"Page_2!A1\""), std::string::npos);

    // A data sheet: numbers as numbers from row 6, the link back, the three curves in six columns.
    const std::string page = part(book, "xl/worksheets/sheet2.xml");
    EXPECT_NE(page.find("location=\"Legend!A1\""), std::string::npos);
    EXPECT_NE(page.find("<c r=\"G1\""), std::string::npos);
    EXPECT_TRUE(std::regex_search(page, std::regex("<c r=\"A6\"><v>[-0-9.eE]+</v></c>")));
    EXPECT_TRUE(std::regex_search(page, std::regex("<c r=\"F6\"><v>")));
    EXPECT_EQ(page.find("<c r=\"G6\""), std::string::npos);

    // The charts: one series per curve with its name and ranges, the graph's title, axis titles, gridlines,
    // the value axis reversed for depth, the legend framed.
    const std::string chart = part(book, "xl/charts/chart1.xml");
    EXPECT_EQ(count(chart, "<c:ser>"), 3);
    const std::string last = std::to_string(5 + deflection.PointCount());
    EXPECT_NE(chart.find("<c:f>Page_1!$A$6:$A$" + last + "</c:f>"), std::string::npos);
    EXPECT_NE(chart.find("<c:f>Page_1!$F$6:$F$" + last + "</c:f>"), std::string::npos);
    EXPECT_NE(chart.find("<c:v>Stage: 2</c:v>"), std::string::npos);
    EXPECT_NE(chart.find(deflection.Caption), std::string::npos);
    EXPECT_EQ(count(chart, "<c:majorGridlines/>"), 2);
    EXPECT_EQ(count(chart, "<c:orientation val=\"maxMin\"/>"), 1);
    EXPECT_NE(
        chart.find(
            "<c:legend><c:legendPos val=\"r\"/><c:layout/><c:spPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/>"),
        std::string::npos);
    EXPECT_NE(chart.find("<a:ln><a:solidFill><a:srgbClr val=\"000000\"/>"), std::string::npos);
    EXPECT_NE(chart.find("Depth (ft)"), std::string::npos);
    EXPECT_EQ(std::system(("unzip -tq '" + book.string() + "' > /dev/null").c_str()), 0);  // a sound package

    // p-y curves: the value axis is not reversed.
    if (run.plots->pltPY.HasCurveData()) {
        const fs::path py = run.scratch.path / "py.xlsx";
        ASSERT_TRUE(WriteWorkbook(py.string(), {&run.plots->pltPY}).Written);
        EXPECT_EQ(count(part(py, "xl/charts/chart1.xml"), "maxMin"), 0);
    }
}

TEST(WorkbookWriter, ASpreadsheetApplicationOpensIt) {
    if (std::system("command -v soffice > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "no spreadsheet application here";
    StagedRun run;
    const fs::path book = run.scratch.path / "open.xlsx";
    ASSERT_TRUE(WriteWorkbook(book.string(), {&run.plots->pltDef, &run.plots->pltMom}).Written);
    const std::string convert =
        "cd '" + run.scratch.path.string() +
        "' && timeout 180 soffice --headless --convert-to pdf open.xlsx > /dev/null 2>&1";
    ASSERT_EQ(std::system(convert.c_str()), 0);
    std::ifstream pdf(run.scratch.path / "open.pdf", std::ios::binary);
    std::stringstream text;
    text << pdf.rdbuf();
    EXPECT_EQ(text.str().rfind("%PDF", 0), 0u);
    const std::string& t = text.str();
    const int pages =
        count(t, "/Type/Page") - count(t, "/Type/Pages") + count(t, "/Type /Page") - count(t, "/Type /Pages");
    EXPECT_GE(pages, 5);  // the index, two data sheets, two charts
}

TEST(WorkbookWriter, CurvesBeyondThreeHundredFiftyOneAndFailures) {
    Scratch scratch;
    TGraphPlot plot;
    plot.Caption = "p-y Curves";
    plot.XOnTop = false;
    plot.SetLineCount(kMaxExportCurves + 1);
    plot.SetPointCount(2);
    for (int i = 0; i < plot.LineCount(); ++i)
        plot.Point(i, 1) = {1, static_cast<long double>(i)};
    const fs::path book = scratch.path / "many.xlsx";
    const TExportResult result = WriteWorkbook(book.string(), {&plot});
    ASSERT_TRUE(result.Written) << result.Error;
    const std::string chart = part(book, "xl/charts/chart1.xml");
    EXPECT_EQ(count(chart, "<c:ser>"), kMaxExportCurves);
    EXPECT_NE(chart.find("$ZZ$6:$ZZ$7"), std::string::npos);
    EXPECT_EQ(count(chart, "maxMin"), 0);

    // A folder that does not exist: nothing written, the reason told, an older file untouched.
    const TExportResult missing =
        WriteWorkbook((scratch.path / "no such folder" / "x.xlsx").string(), {&plot});
    EXPECT_FALSE(missing.Written);
    EXPECT_NE(missing.Error.find("could not be"), std::string::npos) << missing.Error;
    const auto before = fs::file_size(book);
    fs::permissions(scratch.path, fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() != 0) {  // the owner of everything writes anywhere
        EXPECT_FALSE(WriteWorkbook(book.string(), {&plot}).Written);
        EXPECT_EQ(fs::file_size(book), before);
    }
    fs::permissions(scratch.path, fs::perms::owner_all);
}

TEST(WorkbookWriter, DrenokResultsWritesTheWorkbookOfEveryGraph) {
    Scratch scratch;
    const fs::path data = scratch.path / "three_stages.dn5d";
    fs::copy_file(DRENOK_EXAMPLES "/three_stages.dn5d", data);
    ASSERT_EQ(std::system((std::string(DRENOK_RUN) + " '" + data.string() + "' > /dev/null").c_str()), 0);
    const fs::path book = scratch.path / "all.xlsx";
    ASSERT_EQ(
        std::system((std::string(DRENOK_RESULTS) + " --xlsx '" + book.string() + "' '" + data.string() + "'")
                        .c_str()),
        0);
    const std::vector<std::string> names = sheetNames(book);
    ASSERT_GE(names.size(), 1u + 2 * 5);  // deflection, shear, moment, reaction and pressure at least
    EXPECT_EQ(names.front(), "Legend");
    EXPECT_EQ(names[1], "Summary");
    EXPECT_EQ(names[2], "Page_1");
    EXPECT_EQ(names[3], "Plot_1");
    // The summary sheet: a row per stage under the header, numbers as numbers.
    const std::string summary = part(book, "xl/worksheets/sheet2.xml");
    EXPECT_NE(summary.find("<row r=\"8\""), std::string::npos);
    EXPECT_EQ(summary.find("<row r=\"9\""), std::string::npos);
    const std::string strings = part(book, "xl/sharedStrings.xml");
    EXPECT_NE(strings.find("Stage 3"), std::string::npos);
    EXPECT_NE(strings.find("max moment (kip-in)"), std::string::npos);
    EXPECT_NE(std::system((std::string(DRENOK_RESULTS) + " --xlsx '" + book.string() + "' --wide '" +
                           data.string() + "' 2> /dev/null")
                              .c_str()),
              0);  // not together with a CSV form
}

}  // namespace
}  // namespace app::results
