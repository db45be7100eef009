// drenok-plot on a staged run: the stage curves in their colours, a one-page PDF, the bitmap size and
// the exit statuses.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>

namespace {

struct Outcome {
    int status;
    QString errors;
};

Outcome run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

int countColour(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) ++n;
    return n;
}

class DrenokPlot : public ::testing::Test {
protected:
    void SetUp() override {
        data = folder.filePath(QStringLiteral("three_stages.dn5d"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(DRENOK_EXAMPLES "/three_stages.dn5d"), data));
        ASSERT_EQ(run(QStringLiteral(DRENOK_RUN), {data}).status, 0);
    }
    QTemporaryDir folder;
    QString data;
    const QString plot = QStringLiteral(DRENOK_PLOT);
};

TEST_F(DrenokPlot, StageCurvesInTheirColoursPdfAndBitmap) {
    const QString png = folder.filePath(QStringLiteral("deflection.png"));
    ASSERT_EQ(run(plot, {QStringLiteral("--plot"), QStringLiteral("deflection"), QStringLiteral("--size"),
                         QStringLiteral("800x600"), QStringLiteral("-o"), png, data})
                  .status,
              0);
    const QImage image(png);
    ASSERT_EQ(image.size(), QSize(800, 600));
    EXPECT_GT(countColour(image, QColor(0, 0, 255)), 200);  // stage 2
    EXPECT_GT(countColour(image, QColor(255, 0, 0)), 200);  // stage 3
    EXPECT_EQ(countColour(image, QColor(0, 128, 0)), 0);    // there is no fourth stage

    const QString bmp = folder.filePath(QStringLiteral("moment.bmp"));
    ASSERT_EQ(run(plot, {QStringLiteral("--plot"), QStringLiteral("moment"), QStringLiteral("-o"), bmp, data})
                  .status,
              0);
    QFile raw(bmp);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_EQ(raw.read(2), QByteArray("BM"));
    EXPECT_EQ(QImage(bmp).size(), QSize(432, 288));  // the Save Attributes default

    const QString pdf = folder.filePath(QStringLiteral("dms.pdf"));
    ASSERT_EQ(
        run(plot, {QStringLiteral("--plot"), QStringLiteral("dms"), QStringLiteral("-o"), pdf, data}).status,
        0);
    QFile page(pdf);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);
}

// The notice of a run that did not converge is painted in its own red, absent from converged runs.
TEST(DrenokPlotStatus, NotConvergedNoticeOnThePicture) {
    QTemporaryDir folder;
    const QString data = folder.filePath(QStringLiteral("w.dn5d"));
    QFile in(QStringLiteral(DRENOK_EXAMPLES "/cantilever_check.dn5d"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray text = in.readAll();
    const QColor notice(190, 0, 0);
    for (const bool exceeded : {false, true}) {
        SCOPED_TRACE(exceeded ? "exceeded" : "converged");
        // The third line holds the allowable deflection: 10 in is passed by the top's 21.3 in.
        QByteArray written = text;
        if (exceeded) written.replace("40 1 100 ", "40 1 10 ");
        QFile out(data);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(written);
        out.close();
        EXPECT_EQ(run(QStringLiteral(DRENOK_RUN), {data}).status, exceeded ? 3 : 0);
        const QString png = folder.filePath(QStringLiteral("d.png"));
        ASSERT_EQ(run(QStringLiteral(DRENOK_PLOT), {QStringLiteral("-o"), png, data}).status, 0);
        const int red = countColour(QImage(png), notice);
        if (exceeded)
            EXPECT_GT(red, 100);
        else
            EXPECT_EQ(red, 0);
    }
}

TEST_F(DrenokPlot, SideViewAnd3DViewsWithoutADisplay) {
    const QString side = folder.filePath(QStringLiteral("side.png"));
    ASSERT_EQ(run(plot, {QStringLiteral("--view"), QStringLiteral("side"), QStringLiteral("--size"),
                         QStringLiteral("800x600"), QStringLiteral("-o"), side, data})
                  .status,
              0);
    const QImage picture(side);
    ASSERT_EQ(picture.size(), QSize(800, 600));
    EXPECT_GT(countColour(picture, QColor(0, 0, 0)), 2000);  // the wall is filled
    const QString pdf = folder.filePath(QStringLiteral("side.pdf"));
    ASSERT_EQ(
        run(plot, {QStringLiteral("--view"), QStringLiteral("side"), QStringLiteral("-o"), pdf, data}).status,
        0);
    QFile page(pdf);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().startsWith("%PDF"));
    EXPECT_EQ(run(plot, {QStringLiteral("--view"), QStringLiteral("top"), data}).status, 2);
    EXPECT_EQ(
        run(plot, {QStringLiteral("--view"), QStringLiteral("3d"), QStringLiteral("--all"), data}).status, 2);
    // Without any display the 3D view is drawn all the same.
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    bare.remove(QStringLiteral("DISPLAY"));
    bare.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess process;
    process.setProcessEnvironment(bare);
    process.start(plot, {QStringLiteral("--view"), QStringLiteral("3d"), QStringLiteral("-o"),
                         folder.filePath(QStringLiteral("3d.png")), data});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(QImage(folder.filePath(QStringLiteral("3d.png"))).size(), QSize(432, 288));
}

// The side view shows the problem as entered: no run needed. Graphs and the deformed wall need one.
TEST(DrenokPlotProblemOnly, SideViewBeforeAnyRun) {
    QTemporaryDir folder;
    const QString data = folder.filePath(QStringLiteral("wall.dn5d"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(DRENOK_EXAMPLES "/sand_cantilever_triangular.dn5d"), data));
    const QString plot = QStringLiteral(DRENOK_PLOT);
    const QString side = folder.filePath(QStringLiteral("side.png"));
    const Outcome drawn =
        run(plot, {QStringLiteral("--view"), QStringLiteral("side"), QStringLiteral("-o"), side, data});
    EXPECT_EQ(drawn.status, 0) << drawn.errors.toStdString();
    EXPECT_EQ(QImage(side).size(), QSize(432, 288));
    for (const QStringList& arguments :
         {QStringList{data}, QStringList{QStringLiteral("--view"), QStringLiteral("deformed"), data}}) {
        const Outcome refused = run(plot, arguments);
        EXPECT_EQ(refused.status, 2);
        EXPECT_TRUE(refused.errors.contains(QStringLiteral("run the analysis first")))
            << refused.errors.toStdString();
    }
}

TEST_F(DrenokPlot, AllPlotsAndExitStatuses) {
    const QString out = folder.filePath(QStringLiteral("figures"));
    QDir().mkpath(out);
    ASSERT_EQ(run(plot, {QStringLiteral("--all"), QStringLiteral("-o"), out, data}).status, 0);
    const QStringList written = QDir(out).entryList({QStringLiteral("three_stages-*.png")}, QDir::Files);
    EXPECT_GE(written.size(), 6) << written.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(written.contains(QStringLiteral("three_stages-dms.png")));

    EXPECT_EQ(run(plot, {}).status, 2);
    EXPECT_EQ(run(plot, {QStringLiteral("--size"), QStringLiteral("10x10"), data}).status, 2);
    EXPECT_EQ(run(plot, {QStringLiteral("--plot"), QStringLiteral("nothing"), data}).status, 2);
    EXPECT_EQ(run(plot, {QStringLiteral("-o"), folder.filePath(QStringLiteral("x.gif")), data}).status, 2);
    // A zoom draws another picture of the same graph; bounds out of order or not numbers are refused.
    const QString full = folder.filePath(QStringLiteral("full.png")),
                  zoom = folder.filePath(QStringLiteral("zoom.png"));
    ASSERT_EQ(
        run(plot, {QStringLiteral("--plot"), QStringLiteral("py"), QStringLiteral("-o"), full, data}).status,
        0);
    ASSERT_EQ(run(plot, {QStringLiteral("--plot"), QStringLiteral("py"), QStringLiteral("--x-range"),
                         QStringLiteral("-0.1:0.1"), QStringLiteral("-o"), zoom, data})
                  .status,
              0);
    EXPECT_NE(QImage(full), QImage(zoom));
    for (const char* bad : {"1:0", "a:1", "1", "-1:nan"})
        EXPECT_EQ(run(plot, {QStringLiteral("--x-range"), QString::fromLatin1(bad), data}).status, 2) << bad;
    // Never over a file it reads: the plot data beside the data file stays as the run wrote it.
    QFile plotData(QString(data).replace(QStringLiteral(".dn5d"), QStringLiteral(".dn5p")));
    ASSERT_TRUE(plotData.open(QIODevice::ReadOnly));
    const QByteArray before = plotData.readAll();
    plotData.close();
    EXPECT_EQ(run(plot, {QStringLiteral("--format"), QStringLiteral("png"), QStringLiteral("-o"),
                         plotData.fileName(), data})
                  .status,
              2);
    ASSERT_TRUE(plotData.open(QIODevice::ReadOnly));
    EXPECT_EQ(plotData.readAll(), before);
    // A page that cannot be written is a failure, not a silent success.
    const QString nowhere = folder.filePath(QStringLiteral("no such folder/page.pdf"));
    EXPECT_EQ(
        run(plot, {QStringLiteral("--plot"), QStringLiteral("moment"), QStringLiteral("-o"), nowhere, data})
            .status,
        1);
    EXPECT_EQ(
        run(plot, {QStringLiteral("--view"), QStringLiteral("side"), QStringLiteral("-o"), nowhere, data})
            .status,
        1);
    EXPECT_FALSE(QFileInfo::exists(nowhere));

    // Plot data that cannot be read: 1, with the reason.
    QFile damaged(folder.filePath(QStringLiteral("three_stages.dn5p")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("12 x\n");
    damaged.close();
    const Outcome broken = run(plot, {data});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.errors.contains(QStringLiteral("damaged"))) << broken.errors.toStdString();
}

TEST(DrenokPlotExamples, EveryPlotOfEveryExample) {
    QTemporaryDir folder;
    const QStringList examples =
        QDir(QStringLiteral(DRENOK_EXAMPLES)).entryList({QStringLiteral("*.dn5d")}, QDir::Files);
    ASSERT_GE(examples.size(), 10);
    QStringList files;
    for (const QString& name : examples) {
        files << folder.filePath(name);
        ASSERT_TRUE(QFile::copy(QStringLiteral(DRENOK_EXAMPLES "/") + name, files.last()));
    }
    ASSERT_EQ(run(QStringLiteral(DRENOK_RUN), files).status, 0);
    for (const QString& file : files) {
        const Outcome all = run(QStringLiteral(DRENOK_PLOT), {QStringLiteral("--all"), file});
        EXPECT_EQ(all.status, 0) << file.toStdString() << all.errors.toStdString();
        const QString stem = QFileInfo(file).completeBaseName();
        const QStringList written =
            QDir(folder.path()).entryList({stem + QStringLiteral("-*.png")}, QDir::Files);
        // Deflection, moment, shear, reaction and the three panels at least.
        EXPECT_GE(written.size(), 5) << stem.toStdString();
        for (const QString& picture : written)
            EXPECT_FALSE(QImage(folder.filePath(picture)).isNull()) << picture.toStdString();
        // The same graphs as SVG drawings: each one is valid and draws what its picture shows.
        const Outcome svg =
            run(QStringLiteral(DRENOK_PLOT),
                {QStringLiteral("--all"), QStringLiteral("--format"), QStringLiteral("svg"), file});
        EXPECT_EQ(svg.status, 0) << file.toStdString() << svg.errors.toStdString();
        const QStringList drawings =
            QDir(folder.path()).entryList({stem + QStringLiteral("-*.svg")}, QDir::Files);
        EXPECT_EQ(drawings.size(), written.size()) << stem.toStdString();
        for (const QString& drawing : drawings) {
            QSvgRenderer renderer(folder.filePath(drawing));
            ASSERT_TRUE(renderer.isValid()) << drawing.toStdString();
            const QImage png(
                folder.filePath(QString(drawing).replace(QStringLiteral(".svg"), QStringLiteral(".png"))));
            QImage drawn(png.size(), QImage::Format_RGB32);
            drawn.fill(Qt::white);
            QPainter painter(&drawn);
            renderer.render(&painter);
            painter.end();
            // Inked where the picture is inked, to within a pixel (the drawing is smoothed at its edges).
            auto inkNear = [&drawn](int x, int y) {
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (drawn.valid(x + dx, y + dy) && drawn.pixelColor(x + dx, y + dy) != Qt::white)
                            return true;
                return false;
            };
            int inked = 0, missing = 0;
            for (int y = 0; y < png.height(); ++y)
                for (int x = 0; x < png.width(); ++x) {
                    if (png.pixelColor(x, y) == Qt::white) continue;
                    ++inked;
                    missing += inkNear(x, y) ? 0 : 1;
                }
            EXPECT_GT(inked, 500) << drawing.toStdString();
            EXPECT_LT(missing, inked / 20) << drawing.toStdString() << ": " << missing << " of " << inked;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Reading the SVG drawings back draws their text, which needs the application's fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
