#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <functional>
#include <memory>

#include "app/report/report_document.h"

namespace app::report {

namespace {

TReportBlock block(TReportBlock::Kind kind, QString text = {}) {
    TReportBlock b;
    b.What = kind;
    b.Text = std::move(text);
    return b;
}

}  // namespace

void TReport::Heading(const QString& text, int level) {
    TReportBlock b = block(TReportBlock::Kind::Heading, text);
    b.Level = level;
    Blocks.push_back(std::move(b));
}
void TReport::Paragraph(const QString& text) {
    Blocks.push_back(block(TReportBlock::Kind::Paragraph, text));
}
void TReport::Warning(const QString& text) {
    Blocks.push_back(block(TReportBlock::Kind::Warning, text));
}
void TReport::Table(TReportTable table) {
    TReportBlock b = block(TReportBlock::Kind::Table);
    b.Table = std::move(table);
    Blocks.push_back(std::move(b));
}
void TReport::Figure(TReportFigure figure) {
    TReportBlock b = block(TReportBlock::Kind::Figure);
    b.Figure = std::move(figure);
    Blocks.push_back(std::move(b));
}
void TReport::Preformatted(const QString& text) {
    Blocks.push_back(block(TReportBlock::Kind::Preformatted, text));
}
void TReport::PageBreak() {
    Blocks.push_back(block(TReportBlock::Kind::PageBreak));
}

namespace {

constexpr int kDpi = 600;
constexpr double kPoint = kDpi / 72.0;

QFont font(double points, bool bold = false, bool mono = false) {
    QFont f(mono ? QStringLiteral("Liberation Mono") : QStringLiteral("Liberation Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

using TDraw = std::function<void(QPainter&)>;

// Places the blocks on pages: every page a list of drawing steps, painted once the page count is known.
class TLayout {
public:
    TLayout(QPaintDevice& device, QRectF body) : m_device(device), m_body(body) { newPage(); }

    std::vector<std::vector<TDraw>> Pages;

    /// `next`: the block after `b`, which a heading keeps on its page.
    void Add(const TReportBlock& b, const TReportBlock* next) {
        if (b.What != TReportBlock::Kind::Figure) endRow();
        switch (b.What) {
            case TReportBlock::Kind::Heading:
                heading(b, next ? leastHeight(*next) : 0.0);
                break;
            case TReportBlock::Kind::Paragraph:
                paragraph(b.Text, font(9.5), false);
                break;
            case TReportBlock::Kind::Warning:
                paragraph(b.Text, font(9.5, true), true);
                break;
            case TReportBlock::Kind::Table:
                table(b.Table);
                break;
            case TReportBlock::Kind::Figure:
                figure(b.Figure);
                break;
            case TReportBlock::Kind::Preformatted:
                preformatted(b.Text);
                break;
            case TReportBlock::Kind::PageBreak:
                if (m_y > m_body.top()) newPage();
                break;
        }
    }

private:
    void newPage() {
        Pages.emplace_back();
        m_y = m_body.top();
        m_rowOpen = false;
    }
    // Room for `height` on this page, else a new one (a block taller than a page starts one anyway).
    void ensure(double height) {
        if (m_y + height > m_body.bottom() && m_y > m_body.top()) newPage();
    }
    void draw(TDraw d) { Pages.back().push_back(std::move(d)); }
    [[nodiscard]] double textHeight(const QFont& f, const QString& text, double width) const {
        const QFontMetricsF fm(f, &m_device);
        return fm.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, text).height();
    }

    // The least of a block that must stand on the page of the heading before it: a figure whole, the
    // caption, header and first row of a table, a few lines of anything else.
    [[nodiscard]] double leastHeight(const TReportBlock& b) const {
        if (b.What == TReportBlock::Kind::Figure) {
            const double w = b.Figure.Size.width() * kPoint, h = b.Figure.Size.height() * kPoint;
            return h * std::min({1.0, m_body.width() / w, (m_body.height() * 0.85) / h}) + 30 * kPoint;
        }
        if (b.What == TReportBlock::Kind::Table) return 60 * kPoint;
        return 40 * kPoint;
    }

    void heading(const TReportBlock& b, double following) {
        const QFont f = font(b.Level == 1 ? 15 : b.Level == 2 ? 12 : 10.5, true);
        const double h = textHeight(f, b.Text, m_body.width());
        const double before = (b.Level == 1 ? 10 : 7) * kPoint;
        // Kept with what follows: a heading never ends a page.
        ensure(before + h + std::max(following, 40 * kPoint));
        if (m_y > m_body.top()) m_y += before;
        const QRectF r(m_body.left(), m_y, m_body.width(), h);
        const QString text = b.Text;
        const bool rule = b.Level == 1;
        draw([=](QPainter& p) {
            p.setFont(f);
            p.setPen(Qt::black);
            p.drawText(r, Qt::TextWordWrap, text);
            if (rule) {
                p.setPen(QPen(QColor(120, 120, 120), 0.6 * kPoint));
                p.drawLine(QPointF(r.left(), r.bottom() + 2 * kPoint),
                           QPointF(r.right(), r.bottom() + 2 * kPoint));
            }
        });
        m_y += h + (rule ? 6 : 3) * kPoint;
    }

    void paragraph(const QString& text, const QFont& f, bool warning) {
        const double pad = warning ? 4 * kPoint : 0;
        const double h = textHeight(f, text, m_body.width() - 2 * pad) + 2 * pad;
        ensure(h);
        const QRectF r(m_body.left(), m_y, m_body.width(), h);
        draw([=](QPainter& p) {
            if (warning) {
                p.fillRect(r, QColor(255, 236, 230));
                p.setPen(QPen(QColor(180, 40, 20), 0.8 * kPoint));
                p.drawRect(r);
                p.setPen(QColor(150, 20, 10));
            } else {
                p.setPen(Qt::black);
            }
            p.setFont(f);
            p.drawText(r.adjusted(pad, pad, -pad, -pad), Qt::TextWordWrap, text);
        });
        m_y += h + 5 * kPoint;
    }

    void preformatted(const QString& text) {
        const QFont f = font(6.5, false, true);
        const QFontMetricsF fm(f, &m_device);
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            ensure(fm.height());
            const QPointF at(m_body.left(), m_y + fm.ascent());
            draw([=](QPainter& p) {
                p.setFont(f);
                p.setPen(Qt::black);
                p.drawText(at, line);
            });
            m_y += fm.height();
        }
        m_y += 5 * kPoint;
    }

    // Figures that fit side by side share a row; any other block ends the row.
    void figure(const TReportFigure& fig) {
        const QFont f = font(8.5, false);
        double w = fig.Size.width() * kPoint, h = fig.Size.height() * kPoint;
        const double k = std::min({1.0, m_body.width() / w, (m_body.height() * 0.85) / h});
        w *= k;
        h *= k;
        const double caption = textHeight(f, fig.Caption, w);
        const double gap = 8 * kPoint;
        if (m_rowOpen && m_rowX + w <= m_body.right() + 0.5 &&
            m_rowTop + h + caption + 4 * kPoint <= m_body.bottom()) {
            // Beside the previous figure.
        } else {
            endRow();
            ensure(h + caption + 4 * kPoint);
            m_rowOpen = true;
            m_rowTop = m_y;
            m_rowX = m_body.left();
            m_rowBottom = m_y;
        }
        const QRectF r(m_rowX, m_rowTop, w, h);
        const QRectF c(m_rowX, m_rowTop + h + 2 * kPoint, w, caption);
        m_rowX += w + gap;
        m_rowBottom = std::max(m_rowBottom, m_rowTop + h + caption + 12 * kPoint);
        m_y = m_rowBottom;
        const app::results::TPaintPicture paint = fig.Paint;
        const QString text = fig.Caption;
        draw([=](QPainter& p) {
            p.save();
            p.translate(r.topLeft());
            p.setClipRect(QRectF(0, 0, r.width(), r.height()));
            paint(p, QSize(static_cast<int>(r.width()), static_cast<int>(r.height())), kDpi);
            p.restore();
            p.setFont(f);
            p.setPen(Qt::black);
            p.drawText(c, Qt::AlignHCenter | Qt::TextWordWrap, text);
        });
    }
    void endRow() {
        if (!m_rowOpen) return;
        m_rowOpen = false;
        m_y = m_rowBottom;
    }

    void table(const TReportTable& t) {
        const QFont body = font(8), bold = font(8, true), captionFont = font(9, true);
        const QFontMetricsF fm(body, &m_device), fb(bold, &m_device);
        const int columns = std::max<int>(static_cast<int>(t.Header.size()),
                                          t.Rows.empty() ? 0 : static_cast<int>(t.Rows.front().size()));
        if (columns == 0) return;
        const double pad = 3 * kPoint;
        // Natural widths, then the widest columns give way until the table fits.
        std::vector<double> widths(static_cast<std::size_t>(columns), 0.0);
        auto natural = [&](const QStringList& row, const QFontMetricsF& m) {
            for (int c = 0; c < std::min(columns, static_cast<int>(row.size())); ++c)
                for (const QString& part : row[c].split(QLatin1Char('\n')))
                    widths[static_cast<std::size_t>(c)] = std::max(widths[static_cast<std::size_t>(c)],
                                                                   m.horizontalAdvance(part) + 2 * pad + 1);
        };
        natural(t.Header, fb);
        for (const QStringList& row : t.Rows)
            natural(row, fm);
        if (t.Keys && columns > 0) {
            widths[0] = 0;
            for (const QStringList& row : t.Rows)
                if (!row.isEmpty())
                    widths[0] = std::max(widths[0], fb.horizontalAdvance(row[0]) + 2 * pad + 1);
        }
        const double available = m_body.width();
        if (t.Widths.size() == widths.size())
            for (std::size_t c = 0; c < widths.size(); ++c)
                widths[c] = std::max(widths[c], t.Widths[c] * available);
        double total = 0;
        for (const double w : widths)
            total += w;
        while (total > available + 0.5) {
            auto widest = std::max_element(widths.begin(), widths.end());
            const double second = [&] {
                double s = 0;
                for (auto it = widths.begin(); it != widths.end(); ++it)
                    if (it != widest) s = std::max(s, *it);
                return s;
            }();
            const double cut = std::min(total - available, std::max(*widest - second, (*widest) * 0.1 + 1));
            *widest -= cut;
            total -= cut;
        }
        auto rowHeight = [&](const QStringList& row, bool header) {
            double h = 0;
            for (int c = 0; c < std::min(columns, static_cast<int>(row.size())); ++c)
                h = std::max(h, textHeight(header || (t.Keys && c == 0) ? bold : body, row[c],
                                           widths[static_cast<std::size_t>(c)] - 2 * pad));
            return h + 2 * pad;
        };
        auto numeric = [](const QString& s) {
            bool ok = false;
            s.trimmed().toDouble(&ok);
            return ok;
        };
        auto place = [&](const QStringList& row, bool header, double h) {
            const double y = m_y;
            const double x0 = m_body.left();
            const std::vector<double> w = widths;
            const bool keys = t.Keys;
            draw([=](QPainter& p) {
                double x = x0;
                for (int c = 0; c < columns; ++c) {
                    const QRectF cell(x, y, w[static_cast<std::size_t>(c)], h);
                    if (header) p.fillRect(cell, QColor(228, 232, 238));
                    p.setPen(QPen(QColor(150, 150, 150), 0.4 * kPoint));
                    p.drawRect(cell);
                    const QString text = c < row.size() ? row[c] : QString();
                    p.setPen(Qt::black);
                    p.setFont(header || (keys && c == 0) ? bold : body);
                    const Qt::Alignment align = !header && numeric(text) ? Qt::AlignRight : Qt::AlignLeft;
                    p.drawText(cell.adjusted(pad, pad, -pad, -pad), align | Qt::AlignTop | Qt::TextWordWrap,
                               text);
                    x += w[static_cast<std::size_t>(c)];
                }
            });
            m_y += h;
        };
        const double headerHeight = t.Header.isEmpty() ? 0 : rowHeight(t.Header, true);
        const double captionHeight = t.Caption.isEmpty() ? 0 : textHeight(captionFont, t.Caption, available);
        const double firstRow = t.Rows.empty() ? 0 : rowHeight(t.Rows.front(), false);
        ensure(captionHeight + 3 * kPoint + headerHeight + firstRow);
        auto caption = [&](const QString& text) {
            if (text.isEmpty()) return;
            const QRectF r(m_body.left(), m_y, available, captionHeight);
            draw([=](QPainter& p) {
                p.setFont(captionFont);
                p.setPen(Qt::black);
                p.drawText(r, Qt::TextWordWrap, text);
            });
            m_y += captionHeight + 3 * kPoint;
        };
        caption(t.Caption);
        if (!t.Header.isEmpty()) place(t.Header, true, headerHeight);
        for (const QStringList& row : t.Rows) {
            const double h = rowHeight(row, false);
            if (m_y + h > m_body.bottom() && m_y > m_body.top()) {
                // A row never splits: it goes to the next page under the repeated header.
                newPage();
                caption(t.Caption.isEmpty() ? QString() : t.Caption + QStringLiteral(" (continued)"));
                if (!t.Header.isEmpty()) place(t.Header, true, headerHeight);
            }
            place(row, false, h);
        }
        m_y += 9 * kPoint;
    }

    QPaintDevice& m_device;
    QRectF m_body;
    double m_y = 0;
    bool m_rowOpen = false;
    double m_rowTop = 0, m_rowX = 0, m_rowBottom = 0;
};

}  // namespace

QString WriteReportPdf(const TReport& report, const QString& file) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2").arg(file, out.errorString());
    {
        QPdfWriter pdf(&out);
        pdf.setResolution(kDpi);
        pdf.setTitle(report.Title);
        pdf.setCreator(QStringLiteral("drenok-report"));
        pdf.setPageLayout(QPageLayout(QPageSize(report.Metric ? QPageSize::A4 : QPageSize::Letter),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        const QRectF page(0, 0, pdf.width(), pdf.height());
        const double mm = kDpi / 25.4;
        const QRectF body = page.adjusted(18 * mm, 22 * mm, -18 * mm, -20 * mm);
        TLayout layout(pdf, body);
        for (std::size_t i = 0; i < report.Blocks.size(); ++i)
            layout.Add(report.Blocks[i], i + 1 < report.Blocks.size() ? &report.Blocks[i + 1] : nullptr);
        QPainter painter;
        if (!painter.begin(&pdf)) return QStringLiteral("Cannot write %1: no PDF painter").arg(file);
        const int count = static_cast<int>(layout.Pages.size());
        for (int i = 0; i < count; ++i) {
            if (i > 0) pdf.newPage();
            // The title and the page on every page.
            painter.setPen(QColor(60, 60, 60));
            painter.setFont(font(8));
            const QRectF top(body.left(), 10 * mm, body.width(), 6 * mm);
            painter.drawText(top, Qt::AlignLeft | Qt::AlignBottom, report.Title);
            painter.drawText(top, Qt::AlignRight | Qt::AlignBottom, report.Subtitle);
            painter.setPen(QPen(QColor(150, 150, 150), 0.5 * kPoint));
            painter.drawLine(QPointF(body.left(), 16.5 * mm), QPointF(body.right(), 16.5 * mm));
            painter.setPen(QColor(60, 60, 60));
            painter.drawText(QRectF(body.left(), page.bottom() - 14 * mm, body.width(), 6 * mm),
                             Qt::AlignHCenter | Qt::AlignTop,
                             QStringLiteral("Page %1 of %2").arg(i + 1).arg(count));
            for (const TDraw& d : layout.Pages[static_cast<std::size_t>(i)])
                d(painter);
        }
        painter.end();
    }
    if (!out.commit()) return QStringLiteral("Cannot write %1: %2").arg(file, out.errorString());
    return {};
}

}  // namespace app::report
