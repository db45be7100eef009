#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

#include "app/report/report_document.h"

namespace app::report {

namespace {

QString esc(const QString& text) {
    return text.toHtmlEscaped();
}

// Line breaks inside a cell or paragraph as <br/>.
QString lines(const QString& text) {
    return esc(text).replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
}

bool numeric(const QString& s) {
    bool ok = false;
    s.trimmed().toDouble(&ok);
    return ok;
}

// The SVG of a figure without its XML prologue, sized by the page.
QString inlineSvg(const TReportFigure& f, int index) {
    const QSize size(static_cast<int>(f.Size.width() * 2), static_cast<int>(f.Size.height() * 2));
    QString svg = QString::fromUtf8(app::results::SvgPicture(size, 144, f.Paint, f.Caption));
    const qsizetype at = svg.indexOf(QStringLiteral("<svg"));
    if (at > 0) svg.remove(0, at);
    // Width from the style sheet, height from the view box.
    svg.replace(QRegularExpression(QStringLiteral("<svg([^>]*?) width=\"[^\"]*\" height=\"[^\"]*\"")),
                QStringLiteral("<svg\\1 id=\"figure-%1\"").arg(index));
    return svg;
}

}  // namespace

QByteArray ReportHtml(const TReport& r) {
    QString h;
    h += QStringLiteral(
             "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
             "<meta charset=\"utf-8\"/>\n<title>%1</title>\n<style>\n")
             .arg(esc(r.Title));
    h += QStringLiteral("@page { size: %1; margin: 22mm 18mm 20mm 18mm; }\n").arg(r.Metric ? "A4" : "letter");
    h += QStringLiteral(
        "body { font-family: 'Liberation Sans', Arial, sans-serif; font-size: 9.5pt; max-width: 180mm; "
        "margin: 1em auto; color: #000; }\n"
        "header.running { color: #444; font-size: 8pt; border-bottom: 1px solid #999; display: flex; "
        "justify-content: space-between; margin-bottom: 1em; }\n"
        "h1 { font-size: 15pt; border-bottom: 1px solid #888; margin-top: 1.2em; }\n"
        "h2 { font-size: 12pt; margin-top: 1em; } h3 { font-size: 10.5pt; }\n"
        "h1, h2, h3 { break-after: avoid; }\n"
        "table { border-collapse: collapse; font-size: 8pt; margin: 0.3em 0 1em 0; }\n"
        "caption { font-weight: bold; font-size: 9pt; text-align: left; padding-bottom: 3pt; }\n"
        "th, td { border: 0.5pt solid #999; padding: 2pt 3pt; vertical-align: top; text-align: left; }\n"
        "th { background: #e4e8ee; } td.n { text-align: right; } td.k { font-weight: bold; }\n"
        "tr { break-inside: avoid; } thead { display: table-header-group; }\n"
        "figure { margin: 0.5em 0 1.2em 0; text-align: center; break-inside: avoid; display: inline-block; "
        "vertical-align: top; }\n"
        "figure svg { width: 100%; height: auto; max-height: 200mm; }\n"
        "table.w { width: 100%; }\n"
        "figcaption { font-size: 8.5pt; }\n"
        "p.warning { background: #ffece6; border: 1px solid #b42814; color: #96140a; font-weight: bold; "
        "padding: 4pt; }\n"
        "pre { font-family: 'Liberation Mono', monospace; font-size: 6.5pt; white-space: pre; }\n"
        ".break { break-before: page; }\n"
        "@media print { body { max-width: none; margin: 0; } }\n"
        "</style>\n</head>\n<body>\n");
    h += QStringLiteral("<header class=\"running\"><span>%1</span><span>%2</span></header>\n")
             .arg(esc(r.Title), esc(r.Subtitle));
    bool pendingBreak = false;
    int figure = 0;
    // An opening tag with its classes, the page break asked for before it among them.
    auto open = [&pendingBreak](const QString& tag, QString classes = {}) {
        if (pendingBreak)
            classes = classes.isEmpty() ? QStringLiteral("break") : classes + QStringLiteral(" break");
        pendingBreak = false;
        return QStringLiteral("<") + tag +
               (classes.isEmpty() ? QString() : QStringLiteral(" class=\"%1\"").arg(classes));
    };
    for (const TReportBlock& b : r.Blocks) {
        switch (b.What) {
            case TReportBlock::Kind::Heading: {
                const QString tag = QStringLiteral("h%1").arg(std::clamp(b.Level, 1, 3));
                h += open(tag) + QStringLiteral(">%1</%2>\n").arg(esc(b.Text), tag);
                break;
            }
            case TReportBlock::Kind::Paragraph:
                h += open("p") + ">" + lines(b.Text) + "</p>\n";
                break;
            case TReportBlock::Kind::Warning:
                h += open("p", "warning") + ">" + lines(b.Text) + "</p>\n";
                break;
            case TReportBlock::Kind::Preformatted:
                h += open("pre") + ">" + esc(b.Text) + "</pre>\n";
                break;
            case TReportBlock::Kind::PageBreak:
                pendingBreak = true;
                break;
            case TReportBlock::Kind::Figure:
                // As wide on the page as in the PDF: a share of the 180 mm text width.
                h += open("figure") +
                     QStringLiteral(" style=\"width: %1%\"")
                         .arg(std::min(100, static_cast<int>(b.Figure.Size.width() / 5.10 + 0.5))) +
                     ">\n" + inlineSvg(b.Figure, ++figure) + "\n<figcaption>" + esc(b.Figure.Caption) +
                     "</figcaption>\n</figure>\n";
                break;
            case TReportBlock::Kind::Table: {
                const TReportTable& t = b.Table;
                h += open("table", t.Widths.empty() ? QString() : QStringLiteral("w")) + ">\n";
                if (!t.Caption.isEmpty()) h += "<caption>" + esc(t.Caption) + "</caption>\n";
                if (!t.Header.isEmpty()) {
                    h += "<thead><tr>";
                    for (const QString& c : t.Header)
                        h += "<th>" + lines(c) + "</th>";
                    h += "</tr></thead>\n";
                }
                h += "<tbody>\n";
                for (const QStringList& row : t.Rows) {
                    h += "<tr>";
                    for (int c = 0; c < row.size(); ++c) {
                        const QString cls = t.Keys && c == 0  ? " class=\"k\""
                                            : numeric(row[c]) ? " class=\"n\""
                                                              : "";
                        h += "<td" + cls + ">" + lines(row[c]) + "</td>";
                    }
                    h += "</tr>\n";
                }
                h += "</tbody></table>\n";
                break;
            }
        }
    }
    h += QStringLiteral("</body>\n</html>\n");
    return h.toUtf8();
}

QString WriteReportHtml(const TReport& report, const QString& file) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2").arg(file, out.errorString());
    const QByteArray html = ReportHtml(report);
    if (out.write(html) != html.size() || !out.commit())
        return QStringLiteral("Cannot write %1: %2").arg(file, out.errorString());
    return {};
}

}  // namespace app::report
