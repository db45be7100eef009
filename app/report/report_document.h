#pragma once
// A calculation report as a list of blocks — headings, paragraphs, tables, figures — written as a PDF
// of pages (figures as vector drawings, table rows never split, the header row repeated, the title
// and page numbers on every page) or as one self-contained HTML file (figures as inline SVG) that
// prints to the same breaks.

#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

#include "app/results/export/picture_export.h"

namespace app::report {

struct TReportTable {
    QString Caption;
    QStringList Header;
    std::vector<QStringList> Rows;
    /// A key-value table: no header row, the first column bold.
    bool Keys = false;
    /// The least width of each column as a fraction of the page's (empty: as the text needs).
    std::vector<double> Widths;
};

/// Figures that fit side by side on the page stand in one row.
struct TReportFigure {
    QString Caption;
    QSizeF Size;  // points
    app::results::TPaintPicture Paint;
};

struct TReportBlock {
    enum class Kind { Heading, Paragraph, Warning, Table, Figure, Preformatted, PageBreak };
    Kind What = Kind::Paragraph;
    int Level = 1;  // headings 1 … 3
    QString Text;   // heading, paragraph, or the lines of preformatted text
    TReportTable Table;
    TReportFigure Figure;
};

struct TReport {
    QString Title;        // on every page
    QString Subtitle;     // beside it: the data file
    bool Metric = false;  // A4 pages, else Letter
    std::vector<TReportBlock> Blocks;

    void Heading(const QString& text, int level = 1);
    void Paragraph(const QString& text);
    void Warning(const QString& text);
    void Table(TReportTable table);
    void Figure(TReportFigure figure);
    void Preformatted(const QString& text);
    void PageBreak();
};

/// The report as PDF pages in `file`, written whole or not at all; empty when written, else why not.
[[nodiscard]] QString WriteReportPdf(const TReport& report, const QString& file);
/// The report as one self-contained HTML document (XHTML syntax, figures as inline SVG).
[[nodiscard]] QByteArray ReportHtml(const TReport& report);
/// ReportHtml into `file`, whole or not at all; empty when written, else why not.
[[nodiscard]] QString WriteReportHtml(const TReport& report, const QString& file);

}  // namespace app::report
