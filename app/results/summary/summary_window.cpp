#include "app/results/summary/summary_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/model/number_format.h"

namespace app::results {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QPushButton* button(QWidget* parent, QHBoxLayout* row, const QString& caption, const char* name) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    row->addWidget(b);
    return b;
}

}  // namespace

TSummaryWindow::TSummaryWindow(std::function<app::model::TResultsSummary()> source, QWidget* parent)
    : QWidget(parent), m_source(std::move(source)) {
    setWindowTitle(tr("Results Summary"));
    setObjectName(QStringLiteral("ResultsSummary"));
    auto* layout = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("SummaryText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_text);
    auto* row = new QHBoxLayout;
    connect(button(this, row, tr("Copy &Text"), "CopyText"), &QPushButton::clicked, this,
            [this] { CopyText(); });
    connect(button(this, row, tr("Copy as T&able"), "CopyTable"), &QPushButton::clicked, this,
            [this] { CopyTable(); });
    connect(button(this, row, tr("&Print..."), "Print"), &QPushButton::clicked, this, [this] { Print(); });
    row->addStretch();
    layout->addLayout(row);
    resize(760, 520);
    Reload();
}

void TSummaryWindow::Reload() {
    m_summary = m_source ? m_source() : app::model::TResultsSummary{};
    m_text->setPlainText(m_summary.Cases.empty() ? tr("No results: run the analysis first.")
                                                 : text(app::model::SummaryText(m_summary)));
}

void TSummaryWindow::CopyText() const {
    QApplication::clipboard()->setText(text(app::model::SummaryText(m_summary)));
}

void TSummaryWindow::CopyTable() const {
    // Plain text for editors, and the same cells as a table for spreadsheets that read HTML.
    const QString tabbed = text(app::model::SummaryTabbed(m_summary));
    QString html = QStringLiteral("<table>");
    for (const QString& line : tabbed.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : line.split(QLatin1Char('\t')))
            html += QStringLiteral("<td>") + cell.toHtmlEscaped() + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    auto* mime = new QMimeData;
    mime->setText(tabbed);
    mime->setHtml(html);
    QApplication::clipboard()->setMimeData(mime);
}

void TSummaryWindow::Print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    QTextDocument document;
    document.setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    document.setPlainText(text(app::model::SummaryText(m_summary)));
    document.print(&printer);
}

TNodeTableWindow::TNodeTableWindow(TNodeTableSource source, QWidget* parent)
    : QWidget(parent), m_source(std::move(source)) {
    setWindowTitle(tr("Node Tables"));
    setObjectName(QStringLiteral("NodeTables"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(tr("&Problem:"), this);
    m_case = new QComboBox(this);
    m_case->setObjectName(QStringLiteral("NodeTableCase"));
    label->setBuddy(m_case);
    top->addWidget(label);
    top->addWidget(m_case);
    connect(button(this, top, tr("&Copy Table"), "CopyNodeTable"), &QPushButton::clicked, this,
            [this] { CopyTable(); });
    top->addStretch();
    layout->addLayout(top);
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("NodeTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    layout->addWidget(m_table);
    connect(m_case, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) ShowCase(index);
    });
    resize(900, 560);
    Reload();
}

void TNodeTableWindow::Reload() {
    const app::model::TResultsSummary summary =
        m_source.Summary ? m_source.Summary() : app::model::TResultsSummary{};
    m_units = summary.UnitNames;
    const int keep = std::max(m_case->currentIndex(), 0);
    {
        const QSignalBlocker block(m_case);
        m_case->clear();
        for (const app::model::TCaseSummary& c : summary.Cases)
            m_case->addItem(text(c.Name));
        m_case->setCurrentIndex(std::min(keep, m_case->count() - 1));
    }
    ShowCase(m_case->currentIndex());
}

void TNodeTableWindow::ShowCase(int caseIndex) {
    m_rows = caseIndex >= 0 && m_source.Rows ? m_source.Rows(caseIndex) : std::vector<app::model::TNodeRow>{};
    if (caseIndex >= 0 && caseIndex < m_case->count() && m_case->currentIndex() != caseIndex) {
        const QSignalBlocker block(m_case);
        m_case->setCurrentIndex(caseIndex);
    }
    const QStringList headers =
        text(app::model::NodeTableText({}, m_units, '\t')).trimmed().split(QLatin1Char('\t'));
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(headers.size()));
    m_table->setHorizontalHeaderLabels(headers);
    m_table->setRowCount(static_cast<int>(m_rows.size()));
    const QStringList lines = TableText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int r = 1; r < lines.size(); ++r) {
        const QStringList cells = lines[r].split(QLatin1Char('\t'));
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r - 1, c, item);
        }
    }
    m_table->resizeColumnsToContents();
}

int TNodeTableWindow::CaseIndex() const {
    return m_case->currentIndex();
}

int TNodeTableWindow::RowCount() const {
    return static_cast<int>(m_rows.size());
}

QString TNodeTableWindow::TableText() const {
    return text(app::model::NodeTableText(m_rows, m_units, '\t', 4));
}

void TNodeTableWindow::CopyTable() const {
    QApplication::clipboard()->setText(TableText());
}

}  // namespace app::results
