// drenok-plot [--plot NAME] [--size WxH] [-o FILE] wall.dn5d
// drenok-plot --all [--format png|svg|pdf|bmp] [-o FOLDER] wall.dn5d
// drenok-plot --view side|section|3d|deformed [--camera iso|start] [--size WxH] [-o FILE] wall.dn5d
// Paints graphs of the run beside the data file with the routine of the graph windows' printing and
// bitmaps: a PNG or BMP picture, an SVG drawing or a one-page PDF, chosen by the output's extension. The side
// and 3D views are painted without windows or OpenGL, so nothing here needs a display. Exit 0 when written; 1
// when the plot has no curves or the results cannot be read; 2 for a usage error.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "app/results/export/picture_export.h"
#include "app/results/graph/plot_painter.h"
#include "app/results/view3d/scene_picture.h"
#include "app/results/view3d/scene_raster.h"
#include "app/results/views/section_drawing.h"
#include "app/results/views/side_view_painter.h"
#include "output_guard.h"
#include "results_loader.h"
#include "usage.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: drenok-plot [--plot NAME] [--size WxH] [--x-range A:B] [--y-range A:B] [-o "
    "FILE.png|.svg|.pdf|.bmp]\n"
    "                   wall.dn5d\n"
    "       drenok-plot --all [--format png|svg|pdf|bmp] [--size WxH] [-o FOLDER] wall.dn5d\n"
    "  NAME: py, deflection, moment, shear, reaction, dms, pressure, pressure-combined, mobilised\n"
    "        (default deflection)\n"
    "       drenok-plot --view side|section|3d|deformed [--camera iso|start] [--size WxH] [-o FILE] "
    "wall.dn5d\n"
    "  The size is in pixels for pictures and in points for a PDF page; the default is 432x288.\n"
    "  --x-range and --y-range zoom the graph to those bounds of its axes, in its units.\n"
    "  The views: the side view (PNG, SVG or PDF), the section drawing (any picture format), the 3D\n"
    "  view and the deformed wall (PNG), the 3D ones seen from a\n"
    "  turned camera (iso, the default) or from the 3D window's start camera (start).\n";

struct TOptions {
    std::string plot = "deflection";
    int width = 432, height = 288;
    std::string output;
    std::string format;
    bool all = false;
    std::string view;
    std::string camera = "iso";
    fs::path dataFile;
    // Axis bounds of the graph in its units (a zoom), none when not given.
    std::optional<std::pair<long double, long double>> xRange, yRange;
};

// "A:B" with A < B, both numbers.
std::optional<std::pair<long double, long double>> parseRange(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string a(text.substr(0, colon)), b(text.substr(colon + 1));
    char* end = nullptr;
    const long double low = std::strtold(a.c_str(), &end);
    if (a.empty() || *end != '\0') return std::nullopt;
    const long double high = std::strtold(b.c_str(), &end);
    if (b.empty() || *end != '\0' || !(low < high) || !std::isfinite(static_cast<double>(low)) ||
        !std::isfinite(static_cast<double>(high)))
        return std::nullopt;
    return std::make_pair(low, high);
}

bool parseSize(std::string_view text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    try {
        std::size_t used = 0;
        const std::string w(text.substr(0, x)), h(text.substr(x + 1));
        width = std::stoi(w, &used);
        if (used != w.size()) return false;
        height = std::stoi(h, &used);
        if (used != h.size()) return false;
    } catch (const std::exception&) {
        return false;
    }
    return width >= 96 && height >= 96 && width <= 20000 && height <= 20000;
}

bool parseArguments(int argc, char** argv, TOptions& o) {
    bool haveFile = false;
    for (int k = 1; k < argc; ++k) {
        const std::string_view a = argv[k];
        auto value = [&](std::string& into) {
            if (++k >= argc) return false;
            into = argv[k];
            return true;
        };
        if (a == "--all") {
            o.all = true;
        } else if (a == "--plot") {
            if (!value(o.plot)) return false;
        } else if (a == "-o") {
            if (!value(o.output)) return false;
        } else if (a == "--view") {
            if (!value(o.view)) return false;
        } else if (a == "--camera") {
            if (!value(o.camera)) return false;
        } else if (a == "--format") {
            if (!value(o.format)) return false;
        } else if (a == "--x-range" || a == "--y-range") {
            std::string range;
            if (!value(range)) return false;
            const auto bounds = parseRange(range);
            if (!bounds) return false;
            (a == "--x-range" ? o.xRange : o.yRange) = bounds;
        } else if (a == "--size") {
            std::string size;
            if (!value(size) || !parseSize(size, o.width, o.height)) return false;
        } else if (a.starts_with("-") || haveFile) {
            return false;
        } else {
            o.dataFile = std::string(a);
            haveFile = true;
        }
    }
    if (!o.format.empty() && o.format != "png" && o.format != "pdf" && o.format != "bmp" && o.format != "svg")
        return false;
    if (!o.view.empty() && o.view != "side" && o.view != "section" && o.view != "3d" && o.view != "deformed")
        return false;
    if (!o.view.empty() && o.all) return false;
    if (o.camera != "iso" && o.camera != "start") return false;
    return haveFile;
}

std::string lowerExtension(const fs::path& path) {
    std::string e = path.extension().string();
    for (char& c : e)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e.empty() ? e : e.substr(1);
}

// QPdfWriter says nothing when its file cannot be written: a page counts as written only when the file
// is there afterwards, any older file of the name having been removed first.
bool pdfWritten(const QString& name, const std::function<void(QPdfWriter&)>& paint) {
    QFile::remove(name);
    {
        QPdfWriter pdf(name);
        paint(pdf);
    }
    return QFileInfo(name).size() > 0;
}

bool svgWritten(const QString& name, QSize size, const QString& title,
                const app::results::TPaintPicture& paint) {
    return app::results::WritePicture(name, size, 96, paint, title).isEmpty();
}

// One picture or page; false with a message when it cannot be written.
bool write(const app::model::TGraphPlot& plot, const fs::path& file, const std::string& format, int width,
           int height, const TOptions& options) {
    app::results::TPlotView view = app::results::MakeView(plot);
    // A zoom of the main panel, as the window's zoom keeps it.
    if (options.xRange) std::tie(view.Current[0].XMin, view.Current[0].XMax) = *options.xRange;
    if (options.yRange) std::tie(view.Current[0].YMin, view.Current[0].YMax) = *options.yRange;
    const QString name = QString::fromStdString(file.string());
    if (format == "pdf") {
        return pdfWritten(name, [&](QPdfWriter& pdf) {
            pdf.setTitle(QString::fromStdString(plot.Caption));
            pdf.setCreator(QStringLiteral("drenok-plot"));
            pdf.setResolution(300);
            // A page of the size asked for, with half-inch margins.
            pdf.setPageLayout(QPageLayout(
                QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch),
                QPageLayout::Portrait, QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));
            app::results::RenderPage(pdf, plot, view);
        });
    }
    if (format == "svg") {
        // A drawing of the picture's layout, for reports that scale it without blur.
        return svgWritten(name, QSize(width, height), QString::fromStdString(plot.Caption),
                          [&](QPainter& painter, QSize size, int dpi) {
                              app::results::PaintPlotPicture(painter, plot, view, size, dpi);
                          });
    }
    const QImage image = app::results::RenderBitmap(plot, view, QSize(width, height));
    return image.save(name, format == "bmp" ? "BMP" : "PNG");
}

// The side view, or one frame of the 3D view (deformed: the wall bent by the first deflection curve,
// factor 1, with the straight wall outlined).
int writeView(const TOptions& options, tools::TLoadedResults& results, const std::string& stem) {
    const fs::path file = options.output.empty()
                              ? options.dataFile.parent_path() / (stem + "-" + options.view + ".png")
                              : fs::path(options.output);
    const std::string format = options.format.empty() ? lowerExtension(file) : options.format;
    const QString name = QString::fromStdString(file.string());
    if (options.view == "section") {
        // The engineering drawing of the wall as entered, in every picture format, at 150 dots per inch
        // for its vector forms.
        const app::results::TSectionDrawing drawing = app::results::SectionDrawingOf(
            results.model, app::model::CaseInputsOfFile(results.model, options.dataFile));
        if (drawing.WallLength <= 0) {
            std::cerr << "drenok-plot: the wall has no length to draw\n";
            return 1;
        }
        const QString why = app::results::WritePicture(
            name, QSize(options.width, options.height), 150,
            [&](QPainter& painter, QSize size, int dpi) {
                app::results::PaintSectionDrawing(painter, QRectF(QPointF(0, 0), QSizeF(size)), drawing, dpi);
            },
            QStringLiteral("Section drawing"));
        if (!why.isEmpty()) std::cerr << "drenok-plot: " << why.toStdString() << '\n';
        return why.isEmpty() ? 0 : 1;
    }
    if (options.view == "side") {
        const app::results::TSideGeometry geometry = app::results::SideGeometry(results.model);
        if (geometry.Base.Degenerate()) {
            std::cerr << "drenok-plot: the wall has no section to draw\n";
            return 1;
        }
        if (format == "pdf") {
            const bool written = pdfWritten(name, [&](QPdfWriter& pdf) {
                pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                              QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));
                app::results::PaintSideViewPage(pdf, results.model, geometry, nullptr);
            });
            if (!written) std::cerr << "drenok-plot: cannot write " << file.string() << '\n';
            return written ? 0 : 1;
        }
        if (format == "svg") {
            const bool written = svgWritten(
                name, QSize(options.width, options.height), QStringLiteral("Soil-Pile Profile"),
                [&](QPainter& painter, QSize size, int) {
                    app::results::PaintSideView(
                        painter, QRect(QPoint(0, 0), size), results.model, geometry,
                        app::results::FitWindow(geometry.Base, size.width(), size.height()), false);
                });
            if (!written) std::cerr << "drenok-plot: cannot write " << file.string() << '\n';
            return written ? 0 : 1;
        }
        if (format != "png") {
            std::cerr << "drenok-plot: the side view is written as .png, .svg or .pdf\n";
            return 2;
        }
        QImage image(options.width, options.height, QImage::Format_RGB32);
        QPainter painter(&image);
        app::results::PaintSideView(painter, image.rect(), results.model, geometry,
                                    app::results::FitWindow(geometry.Base, options.width, options.height),
                                    false);
        painter.end();
        return image.save(name, "PNG") ? 0 : 1;
    }
    if (format != "png") {
        std::cerr << "drenok-plot: the 3D views are written as .png\n";
        return 2;
    }
    app::results::TSceneOptions scene;
    const app::model::TGraphPlot& deflection = results.plots->pltDef;
    if (options.view == "deformed") {
        if (!deflection.HasCurveData()) {
            std::cerr << "drenok-plot: the run has no deflections to draw\n";
            return 1;
        }
        scene.DeformedShape = true;
        scene.UndeformedModel = true;
    }
    const app::results::TCamera camera =
        options.camera == "start" ? app::results::TCamera{} : app::results::IsometricCamera();
    const QImage frame = app::results::RenderScenePicture(
        app::results::BuildScene(results.model, scene,
                                 deflection.HasCurveData() ? &deflection.Line(0) : nullptr),
        app::results::SceneSizes(results.model), camera, QSize(options.width, options.height), scene.Axes);
    return frame.save(name, "PNG") ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    TOptions options;
    if (tools::AskedForHelp(argc, argv)) {
        std::cout << kUsage;
        return 0;
    }
    if (!parseArguments(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    if (!options.output.empty()) {
        if (const auto refusal =
                tools::OverwriteRefusal("drenok-plot", "output", options.output, options.dataFile)) {
            std::cerr << *refusal << '\n';
            return 2;
        }
    }
    // Pictures need no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);

    tools::TLoadedResults results;
    std::string message;
    const bool problemOnly = options.view == "side" || options.view == "section" || options.view == "3d";
    if (const int status =
            tools::LoadResults(options.dataFile, results, message, "drenok-plot", !problemOnly);
        status != 0) {
        std::cerr << message << '\n';
        return status;
    }
    if (results.outcome.StoppedCase > 0)
        std::cerr << "drenok-plot: " << tools::OneLine(results.outcome.StopMessage) << '\n';

    std::vector<app::model::TNamedPlot> plots = app::model::NamedResultPlots(*results.plots, true);
    const std::string stem = options.dataFile.stem().string();
    if (!options.view.empty()) return writeView(options, results, stem);
    if (options.all) {
        const std::string format = options.format.empty() ? "png" : options.format;
        const fs::path folder =
            options.output.empty() ? options.dataFile.parent_path() : fs::path(options.output);
        int written = 0;
        for (const auto& named : plots) {
            if (!named.plot->HasCurveData()) continue;
            const fs::path file = folder / (stem + "-" + named.name + "." + format);
            if (!write(*named.plot, file, format, options.width, options.height, options)) {
                std::cerr << "drenok-plot: cannot write " << file.string() << '\n';
                return 1;
            }
            std::cout << file.string() << '\n';
            ++written;
        }
        if (written == 0) {
            std::cerr << "drenok-plot: no graph of " << options.dataFile.string() << " has curves\n";
            return 1;
        }
        return 0;
    }

    std::erase_if(plots, [&](const app::model::TNamedPlot& p) { return options.plot != p.name; });
    if (plots.empty()) {
        std::cerr << "drenok-plot: no plot named " << options.plot << '\n' << kUsage;
        return 2;
    }
    const app::model::TGraphPlot& plot = *plots.front().plot;
    if (!plot.HasCurveData()) {
        std::cerr << "drenok-plot: the plot " << options.plot << " has no curves in this run\n";
        return 1;
    }
    fs::path file = options.output.empty()
                        ? options.dataFile.parent_path() / (stem + "-" + options.plot + ".png")
                        : fs::path(options.output);
    std::string format = options.format.empty() ? lowerExtension(file) : options.format;
    if (format != "png" && format != "pdf" && format != "bmp" && format != "svg") {
        std::cerr << "drenok-plot: the output must end in .png, .svg, .pdf or .bmp\n" << kUsage;
        return 2;
    }
    if (!write(plot, file, format, options.width, options.height, options)) {
        std::cerr << "drenok-plot: cannot write " << file.string() << '\n';
        return 1;
    }
    return 0;
}
