// drenok-report [options] -o report.pdf|report.html wall.dn5d
//
// The calculation report of a data file and the run beside it, as the program's File menu exports it.
// Exit 0 when written (a run that did not converge is written too, marked so, and named on standard
// error); 1 when the results beside the file are not its own or the report cannot be written; 2 for
// usage or a missing data file.

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "app/design/sections.h"
#include "app/report/report_builder.h"
#include "output_guard.h"
#include "results_loader.h"
#include "usage.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: drenok-report [--no-inputs] [--no-drawing] [--no-results] [--no-figures] [--no-messages]\n"
    "                     [--no-methods] [--appendix] [--design [--fs F]] [--section NAME [--grade NAME]]\n"
    "                     [--engineer NAME] [--checker NAME] -o report.pdf|report.html wall.dn5d\n"
    "  The calculation report: cover, inputs, section drawing, each problem's or stage's results and\n"
    "  figures, warnings, method notes; --appendix adds the fixed-width report of the run; --design adds\n"
    "  the limit-equilibrium check of each stage (factor F on the passive resistance, 1.5 unless given);\n"
    "  --section checks a catalogue section in bending (grade S355GP unless given). Run the analysis first\n"
    "  for results; without them the report holds the inputs.\n";

struct TOptions {
    app::report::TReportOptions report;
    std::string output;
    fs::path dataFile;
};

bool parse(int argc, char** argv, TOptions& o) {
    for (int k = 1; k < argc; ++k) {
        const std::string_view a = argv[k];
        auto value = [&](std::string& into) {
            if (k + 1 >= argc) return false;
            into = argv[++k];
            return true;
        };
        std::string text;
        if (a == "--no-inputs") {
            o.report.Inputs = false;
        } else if (a == "--no-drawing") {
            o.report.Drawing = false;
        } else if (a == "--no-results") {
            o.report.Results = false;
        } else if (a == "--no-figures") {
            o.report.Figures = false;
        } else if (a == "--no-messages") {
            o.report.Messages = false;
        } else if (a == "--no-methods") {
            o.report.Methods = false;
        } else if (a == "--appendix") {
            o.report.Appendix = true;
        } else if (a == "--design") {
            o.report.Design = true;
        } else if (a == "--fs") {
            if (!value(text)) return false;
            char* end = nullptr;
            o.report.FactorOfSafety = std::strtod(text.c_str(), &end);
            if (end == text.c_str() || *end != '\0' || !(o.report.FactorOfSafety >= 1.0) ||
                o.report.FactorOfSafety > 10.0) {
                std::cerr << "drenok-report: --fs takes a factor from 1 to 10, not " << text << '\n';
                return false;
            }
        } else if (a == "--section") {
            if (!value(o.report.Section)) return false;
        } else if (a == "--grade") {
            if (!value(o.report.Grade)) return false;
        } else if (a == "--engineer") {
            if (!value(text)) return false;
            o.report.Engineer = QString::fromStdString(text);
        } else if (a == "--checker") {
            if (!value(text)) return false;
            o.report.Checker = QString::fromStdString(text);
        } else if (a == "-o") {
            if (!value(o.output)) return false;
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << "drenok-report: unknown option " << a << '\n';
            return false;
        } else if (o.dataFile.empty()) {
            o.dataFile = std::string(a);
        } else {
            return false;
        }
    }
    return !o.dataFile.empty() && !o.output.empty();
}

}  // namespace

int main(int argc, char** argv) {
    if (tools::AskedForHelp(argc, argv)) {
        std::cout << kUsage;
        return 0;
    }
    TOptions o;
    if (!parse(argc, argv, o)) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string extension = fs::path(o.output).extension().string();
    if (extension != ".pdf" && extension != ".html" && extension != ".htm") {
        std::cerr << "drenok-report: the report " << o.output << " is written as .pdf or .html\n";
        return 2;
    }
    if (!o.report.Section.empty()) {
        const auto& catalogue = app::design::SectionCatalogue();
        if (std::none_of(catalogue.begin(), catalogue.end(),
                         [&](const app::design::TSection& s) { return s.Name == o.report.Section; })) {
            std::cerr << "drenok-report: no section named " << o.report.Section << " in the catalogue\n";
            return 2;
        }
        if (!app::design::SteelGrade(o.report.Grade)) {
            std::cerr << "drenok-report: no steel grade named " << o.report.Grade << '\n';
            return 2;
        }
        o.report.Design = true;
    }
    if (const auto refusal = tools::OverwriteRefusal("drenok-report", "output", o.output, o.dataFile)) {
        std::cerr << *refusal << '\n';
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);

    tools::TLoadedResults results;
    std::string message;
    if (const int status = tools::LoadResults(o.dataFile, results, message, "drenok-report", false);
        status != 0) {
        std::cerr << message << '\n';
        return status;
    }
    const app::report::TReportInput input =
        app::report::ReportInputFor(results.model, *results.plots, o.dataFile);
    const app::report::TReport report = app::report::BuildReport(input, o.report);
    const QString why = app::report::WriteReport(report, QString::fromStdString(o.output));
    if (!why.isEmpty()) {
        std::cerr << "drenok-report: " << why.toStdString() << '\n';
        return 1;
    }
    if (input.ReportText.empty())
        std::cerr << "drenok-report: " << o.dataFile.string()
                  << " has not been run; the report holds its inputs\n";
    else if (!input.Status.AllConverged())
        std::cerr << "drenok-report: the run did not converge ("
                  << app::model::RunStateWord(input.Status.Worst()) << "); the report says so\n";
    return 0;
}
