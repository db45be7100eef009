// The report's pages as a checker reads them: a long table whose rows never split across pages, its
// header on every page it runs on, every page numbered, figures as drawings; and the same blocks as
// HTML that parses as XML.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "app/report/report_document.h"

namespace app::report {
namespace {

TReport longReport() {
    TReport r;
    r.Title = QStringLiteral("Layout check");
    r.Subtitle = QStringLiteral("wall.dn5d");
    r.Heading(QStringLiteral("Inputs"));
    TReportTable t;
    t.Caption = QStringLiteral("Rows of two lines");
    t.Header = {QStringLiteral("Quantity"), QStringLiteral("Value")};
    for (int i = 1; i <= 150; ++i)
        t.Rows.push_back({QStringLiteral("row %1\nsecond line %1").arg(i), QString::number(i * 1.5)});
    r.Table(std::move(t));
    r.Figure({QStringLiteral("Figure 1: a square"), QSizeF(240, 200),
              [](QPainter& p, QSize size, int) { p.drawRect(QRect(QPoint(10, 10), size - QSize(20, 20))); }});
    return r;
}

TEST(ReportLayout, RowsNeverSplitAndEveryPageIsTitledAndNumbered) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    ASSERT_EQ(WriteReportPdf(longReport(), pdf), QString());
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!text.waitForFinished(60000) || text.exitCode() != 0) GTEST_SKIP() << "pdftotext is not installed";
    const QStringList pages =
        QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 3);
    int rowsSeen = 0;
    for (int p = 0; p < pages.size(); ++p) {
        const QString& page = pages[p];
        EXPECT_TRUE(page.contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size()))) << p;
        EXPECT_TRUE(page.contains(QStringLiteral("Layout check"))) << p;
        bool rows = false;
        for (int i = 1; i <= 150; ++i) {
            const bool first = page.contains(QStringLiteral("row %1\n").arg(i));
            const bool second = page.contains(QStringLiteral("second line %1\n").arg(i));
            EXPECT_EQ(first, second) << "row " << i << " split on page " << p + 1;
            if (first) {
                rows = true;
                ++rowsSeen;
            }
        }
        // The header stands over the rows of every page the table runs on.
        if (rows) {
            EXPECT_TRUE(page.contains(QStringLiteral("Quantity"))) << p;
        }
    }
    EXPECT_EQ(rowsSeen, 150);
}

TEST(ReportLayout, HtmlParsesWithItsRowsAndFigures) {
    QXmlStreamReader xml(ReportHtml(longReport()));
    int rows = 0, svg = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("tr")) ++rows;
        if (xml.isStartElement() && xml.name() == QLatin1String("svg")) ++svg;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
    EXPECT_EQ(rows, 151);  // the header and the rows
    EXPECT_EQ(svg, 1);
}

}  // namespace
}  // namespace app::report

int main(int argc, char** argv) {
    // The fonts of the pages, without a display (test discovery runs this too).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
