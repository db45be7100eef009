#include "app/ui/editors/table_form.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/model/expression.h"
#include "app/model/number_format.h"
#include "app/model/table_import.h"
#include "app/session/text_editor.h"
#include "app/ui/dialogs/sketches.h"
#include "app/widgets/messages.h"

namespace app::ui {

using app::model::TColumn;
using app::model::TGridTable;

namespace {

QString fromModelText(const std::string& text) {
    // The model separates lines of comments by carriage returns.
    QString result = QString::fromStdString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

QMdiSubWindow* subWindowOf(QWidget* widget) {
    for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) return sub;
    return nullptr;
}

}  // namespace

// ---- Grid -----------------------------------------------------------------------------------------------

void TTableGrid::CommitOpenEditor() {
    if (state() != QAbstractItemView::EditingState) return;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) {
        for (QWidget* child : viewport()->findChildren<QWidget*>()) {
            if (child->isVisible() && child->hasFocus()) {
                editor = child;
                break;
            }
        }
    }
    if (editor) {
        commitData(editor);
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TTableGrid::MoveAfterEnter() {
    int row = currentRow();
    int column = currentColumn();
    if (rowCount() == 0 || columnCount() == 0) return;
    if (row + 1 < rowCount()) {
        ++row;
    } else {
        row = 0;
        column = column + 1 < columnCount() ? column + 1 : 0;
    }
    setCurrentCell(row, std::max(column, 0));
}

void TTableGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableWidget::closeEditor(
        editor, hint == QAbstractItemDelegate::SubmitModelCache ? QAbstractItemDelegate::NoHint : hint);
    if (hint == QAbstractItemDelegate::SubmitModelCache) MoveAfterEnter();
}

void TTableGrid::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        MoveAfterEnter();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TTableGrid::keyReleaseEvent(QKeyEvent* event) {
    QTableWidget::keyReleaseEvent(event);
    emit KeyReleased();
}

// ---- Plain editor
// -------------------------------------------------------------------------------------------

TTableForm::TTableForm(TGridTable& table, QWidget* parent)
    : QWidget(parent), m_layout(new QVBoxLayout(this)), m_table(&table) {
    setObjectName(QStringLiteral("TableForm"));
    setWindowTitle(QString::fromStdString(table.EditorTitle()));
    m_grid = new TTableGrid(this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter | Qt::AlignBottom);
    m_grid->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Typing starts an edit as in a spreadsheet; merely moving to a cell does not.
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_topLeft = new QLabel(m_grid);
    m_topLeft->setAlignment(Qt::AlignCenter);
    m_layout->addWidget(m_grid, 1);

    auto* buttons = new QHBoxLayout;
    m_add = new QPushButton(tr("&Add Row"), this);
    m_insert = new QPushButton(tr("&Insert Row"), this);
    m_delete = new QPushButton(tr("&Delete Row"), this);
    buttons->addWidget(m_add);
    buttons->addWidget(m_insert);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    m_layout->addLayout(buttons);
    connect(m_add, &QPushButton::clicked, this, &TTableForm::AddRow);
    connect(m_insert, &QPushButton::clicked, this, &TTableForm::InsertRow);
    connect(m_delete, &QPushButton::clicked, this, &TTableForm::DeleteRow);

    m_comments = new QLabel(this);
    m_comments->setWordWrap(true);
    m_comments->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_layout->addWidget(m_comments);
    m_picture = new QLabel(this);
    m_picture->setAlignment(Qt::AlignCenter);
    m_layout->addWidget(m_picture);
    const QString comments = fromModelText(table.Comments());
    m_comments->setText(comments);
    m_comments->setVisible(!comments.isEmpty());
    const QPixmap picture = HelpPicture(table.HelpPicture());
    m_picture->setPixmap(picture);
    m_picture->setVisible(!picture.isNull());

    connect(m_grid, &QTableWidget::itemChanged, this, &TTableForm::itemChanged);
    connect(m_grid, &QTableWidget::currentCellChanged, this, &TTableForm::currentChanged);
    Rebuild();
}

TTableForm::~TTableForm() {
    if (!m_detached && !m_modalRun) m_table->EditorClosed();
}

int TTableForm::GridColumn(int column) const {
    const auto at = std::find(m_columns.begin(), m_columns.end(), column);
    return at == m_columns.end() ? -1 : static_cast<int>(at - m_columns.begin());
}

void TTableForm::Rebuild() {
    if (m_detached) return;
    m_rebuilding = true;
    TGridTable& table = *m_table;
    m_columns.clear();
    for (int c = 0; c < table.ColumnCount(); ++c)
        if (table.Column(c).Visible()) m_columns.push_back(c);
    const int currentRow = m_grid->currentRow();
    const int currentColumn = m_grid->currentColumn();
    m_grid->clear();
    m_grid->setColumnCount(static_cast<int>(m_columns.size()));
    m_grid->setRowCount(table.RowCount());

    // Header rows: as many as the most caption lines; shorter captions sit at the bottom.
    int lines = 1;
    for (int c : m_columns)
        lines = std::max(lines, table.Column(c).CaptionLineCount());
    const QFontMetrics metrics(m_grid->font());
    const double pixelsPerInch = m_grid->logicalDpiX();
    auto textWidth = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    };
    for (int g = 0; g < static_cast<int>(m_columns.size()); ++g) {
        const TColumn& column = table.Column(m_columns[static_cast<std::size_t>(g)]);
        QStringList header;
        for (int k = column.CaptionLineCount(); k < lines; ++k)
            header << QString();
        for (int k = 0; k < column.CaptionLineCount(); ++k)
            header << QString::fromStdString(column.CaptionLine(k)).trimmed();
        m_grid->setHorizontalHeaderItem(g, new QTableWidgetItem(header.join(QLatin1Char('\n'))));
        int width = std::max(column.MinWidth(pixelsPerInch, textWidth), 60) + 12;
        // A choice column shows its longest choice whole, beside the drop-down arrow.
        if (const auto* choices = dynamic_cast<const app::model::TEnumColumn*>(&column))
            for (const std::string& choice : choices->Choices())
                width = std::max(width, textWidth(choice) + 40);
        m_grid->setColumnWidth(g, width);
    }
    QStringList numbers;
    for (int r = 0; r < table.RowCount(); ++r)
        numbers << QString::number(r / table.RowGroup() + 1);
    m_grid->setVerticalHeaderLabels(numbers);
    m_grid->verticalHeader()->setMinimumWidth(
        std::max(static_cast<int>(pixelsPerInch / 3),
                 metrics.horizontalAdvance(QString::fromStdString(table.TopLeft())) + 10));

    for (int g = 0; g < static_cast<int>(m_columns.size()); ++g) {
        TColumn& column = table.Column(m_columns[static_cast<std::size_t>(g)]);
        for (int r = 0; r < table.RowCount(); ++r) {
            switch (column.Kind()) {
                case app::model::kEnumColumn: {
                    auto* box = new QComboBox;
                    for (const std::string& choice : static_cast<app::model::TEnumColumn&>(column).Choices())
                        box->addItem(QString::fromStdString(choice));
                    box->setCurrentIndex(column.IntAt(r) - 1);
                    connect(box, &QComboBox::activated, this, [this, g, r](int k) {
                        if (m_detached) return;
                        try {
                            m_table->Column(m_columns[static_cast<std::size_t>(g)]).SetInt(r, k + 1);
                        } catch (const std::exception& e) {
                            widgets::ShowInformation(this, QString::fromStdString(e.what()));
                        }
                        // A new choice may rebuild the row's nested table: the buttons change too.
                        QTimer::singleShot(0, this, [this] {
                            Rebuild();
                            valuesChanged();
                        });
                    });
                    auto* item = new QTableWidgetItem;
                    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                    m_grid->setItem(r, g, item);
                    m_grid->setCellWidget(r, g, box);
                    break;
                }
                case app::model::kTableColumn: {
                    auto& nested = static_cast<app::model::TTableColumn&>(column);
                    auto* button = new QPushButton(QString::fromStdString(nested.ButtonCaption(r)));
                    connect(button, &QPushButton::clicked, this, [this, g, r] {
                        if (m_detached || !CommitCell()) return;
                        auto& tableColumn = static_cast<app::model::TTableColumn&>(
                            m_table->Column(m_columns[static_cast<std::size_t>(g)]));
                        tableColumn.OpenEditor(r);
                    });
                    auto* item = new QTableWidgetItem;
                    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                    m_grid->setItem(r, g, item);
                    m_grid->setCellWidget(r, g, button);
                    break;
                }
                default:
                    m_grid->setItem(r, g, new QTableWidgetItem(QString::fromStdString(column.TextAt(r))));
                    break;
            }
        }
    }
    m_topLeft->setText(QString::fromStdString(table.TopLeft()));
    m_topLeft->setGeometry(m_grid->frameWidth(), m_grid->frameWidth(), m_grid->verticalHeader()->width(),
                           m_grid->horizontalHeader()->height());

    const bool buttons = table.MinRows() != table.MaxRows();
    m_add->setVisible(buttons);
    m_insert->setVisible(buttons);
    m_delete->setVisible(buttons);
    m_add->setEnabled(table.CanAddRows());
    m_insert->setEnabled(table.CanAddRows());
    m_delete->setEnabled(table.CanDeleteRows());

    // Up to ten data rows in view.
    const int shown = std::clamp(table.RowCount(), 1, 10);
    int width = m_grid->verticalHeader()->sizeHint().width() + 2 * m_grid->frameWidth() + 4;
    for (int g = 0; g < m_grid->columnCount(); ++g)
        width += m_grid->columnWidth(g);
    m_grid->setMinimumHeight(m_grid->horizontalHeader()->sizeHint().height() +
                             shown * m_grid->verticalHeader()->defaultSectionSize() +
                             2 * m_grid->frameWidth() + 4);
    m_grid->setMinimumWidth(std::min(width, 900));
    if (currentRow >= 0 && currentRow < m_grid->rowCount() && currentColumn >= 0)
        m_grid->setCurrentCell(currentRow, std::min(currentColumn, m_grid->columnCount() - 1));
    m_rebuilding = false;
}

void TTableForm::refreshCells() {
    m_rebuilding = true;
    for (int g = 0; g < static_cast<int>(m_columns.size()); ++g) {
        const TColumn& column = m_table->Column(m_columns[static_cast<std::size_t>(g)]);
        for (int r = 0; r < m_table->RowCount() && r < m_grid->rowCount(); ++r) {
            if (column.Kind() == app::model::kEnumColumn) {
                if (auto* box = qobject_cast<QComboBox*>(m_grid->cellWidget(r, g)))
                    box->setCurrentIndex(column.IntAt(r) - 1);
            } else if (column.Kind() != app::model::kTableColumn) {
                if (r == m_invalidRow && g == m_invalidColumn) continue;
                if (QTableWidgetItem* item = m_grid->item(r, g))
                    item->setText(QString::fromStdString(column.TextAt(r)));
            }
        }
    }
    m_rebuilding = false;
}

bool TTableForm::commitItem(int row, int gridColumn, const QString& text) {
    TColumn& column = m_table->Column(m_columns[static_cast<std::size_t>(gridColumn)]);
    try {
        column.SetText(row, text.toStdString());
    } catch (const std::exception& e) {
        m_invalidRow = row;
        m_invalidColumn = gridColumn;
        widgets::ShowInformation(this, QString::fromStdString(e.what()));
        // Back to the cell, with the text as typed.
        QTimer::singleShot(0, this, [this, row, gridColumn] {
            if (m_detached || row >= m_grid->rowCount()) return;
            m_grid->setCurrentCell(row, gridColumn);
            if (QTableWidgetItem* item = m_grid->item(row, gridColumn)) m_grid->editItem(item);
        });
        return false;
    }
    m_invalidRow = m_invalidColumn = -1;
    refreshCells();
    valuesChanged();
    return true;
}

void TTableForm::itemChanged(QTableWidgetItem* item) {
    if (m_rebuilding || m_detached || !item) return;
    const int g = item->column();
    if (g < 0 || g >= static_cast<int>(m_columns.size())) return;
    const int kind = m_table->Column(m_columns[static_cast<std::size_t>(g)]).Kind();
    if (kind == app::model::kEnumColumn || kind == app::model::kTableColumn) return;
    commitItem(item->row(), g, item->text());
}

void TTableForm::currentChanged(int row, int column, int previousRow, int previousColumn) {
    if (m_rebuilding || m_detached) return;
    // Leaving a cell that is still invalid: check it again, and come back when it fails.
    if (previousRow == m_invalidRow && previousColumn == m_invalidColumn &&
        (row != previousRow || column != previousColumn)) {
        if (QTableWidgetItem* item = m_grid->item(previousRow, previousColumn))
            commitItem(previousRow, previousColumn, item->text());
    }
}

bool TTableForm::CommitCell() {
    if (m_detached) return true;
    m_grid->CommitOpenEditor();
    if (m_invalidRow < 0) return true;
    QTableWidgetItem* item = m_grid->item(m_invalidRow, m_invalidColumn);
    return item ? commitItem(m_invalidRow, m_invalidColumn, item->text()) : true;
}

void TTableForm::CommitEdit() {
    if (!CommitCell()) throw widgets::ECommitRefused();
}

void TTableForm::scrollToRow(int row) {
    if (row < 0 || row >= m_grid->rowCount()) return;
    m_grid->setCurrentCell(row, std::max(0, m_grid->currentColumn()));
    m_grid->scrollToItem(m_grid->item(row, std::max(0, m_grid->currentColumn())));
}

void TTableForm::AddRow() {
    if (!CommitCell() || !m_table->CanAddRows()) return;
    m_table->AddRows();
    Rebuild();
    scrollToRow(m_table->RowCount() - 1);
    valuesChanged();
}

void TTableForm::InsertRow() {
    if (!CommitCell()) return;
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_table->RowCount()) {
        widgets::ShowInformation(this, QString::fromLatin1(kRowRangeMessage));
        return;
    }
    if (!m_table->CanAddRows()) return;
    m_table->InsertRows(row);
    Rebuild();
    scrollToRow(row);
    valuesChanged();
}

void TTableForm::DeleteRow() {
    if (!CommitCell()) return;
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_table->RowCount()) {
        widgets::ShowInformation(this, QString::fromLatin1(kRowRangeMessage));
        return;
    }
    if (!m_table->CanDeleteRows()) return;
    m_table->DeleteRows(row);
    Rebuild();
    scrollToRow(std::min(row, m_table->RowCount() - 1));
    valuesChanged();
}

void TTableForm::closeEvent(QCloseEvent* event) {
    if (!m_detached && !CommitCell()) {
        event->ignore();
        return;
    }
    event->accept();
}

void TTableForm::Detach() {
    m_detached = true;
    if (QMdiSubWindow* sub = subWindowOf(this)) {
        sub->hide();
        sub->deleteLater();
    } else {
        hide();
        deleteLater();
    }
}

void TTableForm::Activate() {
    if (QMdiSubWindow* sub = subWindowOf(this)) {
        if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
        sub->showNormal();
    } else {
        raise();
        activateWindow();
    }
}

TModalTableDialog::TModalTableDialog(TTableForm* form, QWidget* parent) : QDialog(parent), m_form(form) {
    setWindowTitle(form->windowTitle());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(form);
    auto* close = new QPushButton(tr("&Close"), this);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void TModalTableDialog::done(int result) {
    if (!m_form->CommitCell()) return;
    QDialog::done(result);
}

void TTableEditorLink::Close() {
    if (m_form) m_form->Detach();
}

void TTableEditorLink::Activate() {
    if (m_form) m_form->Activate();
}

// ---- Chart editor
// ------------------------------------------------------------------------------------------

TCurvePreview::TCurvePreview(const app::model::TGridTableChart& table, QWidget* parent)
    : QWidget(parent), m_table(&table) {
    setMinimumSize(300, 220);
}

void TCurvePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter, rect());
}

void TCurvePreview::Paint(QPainter& painter, const QRect& area) const {
    using app::model::FormatAxisNumber;
    using app::model::ScientificAxis;
    const app::model::TGridTableChart& table = *m_table;
    painter.fillRect(area, Qt::white);
    const app::model::TPreview preview = app::model::PreviewCurves(table);
    if (preview.Curves.empty()) return;
    struct Curve {
        std::vector<QPointF> points;
        QString name;
        QColor colour;
    };
    std::vector<Curve> curves;
    const QColor colours[] = {QColor(30, 80, 200), QColor(200, 60, 40)};
    for (const app::model::TPreviewCurve& c : preview.Curves) {
        Curve drawn{{}, QString::fromStdString(c.Name), colours[curves.size() % 2]};
        for (const auto& [x, y] : c.Points)
            drawn.points.emplace_back(static_cast<double>(x), static_cast<double>(y));
        curves.push_back(std::move(drawn));
    }
    const double xmin = static_cast<double>(preview.XMin), xmax = static_cast<double>(preview.XMax);
    const double ymin = static_cast<double>(preview.YMin), ymax = static_cast<double>(preview.YMax);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const bool xScientific = ScientificAxis(xmin, xmax);
    const bool yScientific = ScientificAxis(ymin, ymax);
    int labelWidth = 0;
    for (int k = 0; k <= 4; ++k)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(QString::fromStdString(
                                              FormatAxisNumber(ymin + (ymax - ymin) * k / 4, yScientific))));
    const QRect plot =
        area.adjusted(labelWidth + 2 * metrics.height() + 8,
                      metrics.height() * (curves.size() > 1 ? 2 : 1) + 6, -14, -(2 * metrics.height() + 10));
    if (plot.width() < 20 || plot.height() < 20) return;
    const bool invertX = table.InvertedXAxis(), invertY = table.InvertedYAxis();
    auto toPixel = [&](QPointF p) {
        double fx = (p.x() - xmin) / (xmax - xmin);
        double fy = (p.y() - ymin) / (ymax - ymin);
        if (invertX) fx = 1 - fx;
        if (!invertY) fy = 1 - fy;
        return QPointF(plot.left() + fx * plot.width(), plot.top() + fy * plot.height());
    };

    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.drawRect(plot);
    for (int k = 0; k <= 4; ++k) {
        const double xv = xmin + (xmax - xmin) * k / 4;
        const double yv = ymin + (ymax - ymin) * k / 4;
        const QPointF px = toPixel(QPointF(xv, ymin));
        const QPointF py = toPixel(QPointF(xmin, yv));
        painter.setPen(QPen(QColor(225, 225, 225), 1, Qt::DotLine));
        painter.drawLine(QPointF(px.x(), plot.top()), QPointF(px.x(), plot.bottom()));
        painter.drawLine(QPointF(plot.left(), py.y()), QPointF(plot.right(), py.y()));
        painter.setPen(Qt::black);
        const QString xl = QString::fromStdString(FormatAxisNumber(xv, xScientific));
        painter.drawText(QRectF(px.x() - 50, plot.bottom() + 2, 100, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, xl);
        const QString yl = QString::fromStdString(FormatAxisNumber(yv, yScientific));
        painter.drawText(QRectF(plot.left() - labelWidth - 4, py.y() - metrics.height() / 2.0, labelWidth,
                                metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, yl);
    }
    painter.drawText(
        QRectF(plot.left(), plot.bottom() + metrics.height() + 4, plot.width(), metrics.height()),
        Qt::AlignHCenter, QString::fromStdString(preview.XTitle));
    painter.save();
    painter.translate(area.left() + 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2.0, 0, plot.height(), metrics.height()), Qt::AlignHCenter,
                     QString::fromStdString(preview.YTitle));
    painter.restore();

    painter.setRenderHint(QPainter::Antialiasing);
    for (const Curve& c : curves) {
        QPolygonF line;
        for (const QPointF& p : c.points)
            line << toPixel(p);
        painter.setPen(QPen(c.colour, 1.5));
        painter.drawPolyline(line);
        painter.setBrush(c.colour);
        for (const QPointF& p : line) {
            QPolygonF diamond;
            diamond << p + QPointF(0, -4) << p + QPointF(4, 0) << p + QPointF(0, 4) << p + QPointF(-4, 0);
            painter.drawPolygon(diamond);
        }
        painter.setBrush(Qt::NoBrush);
    }
    if (curves.size() > 1) {
        int x = plot.left();
        for (const Curve& c : curves) {
            painter.setPen(QPen(c.colour, 2));
            painter.drawLine(x, area.top() + 8, x + 18, area.top() + 8);
            painter.setPen(Qt::black);
            painter.drawText(x + 22, area.top() + 4 + metrics.ascent() / 2, c.name);
            x += 30 + metrics.horizontalAdvance(c.name);
        }
    }
}

TTableChartForm::TTableChartForm(app::model::TGridTableChart& table, std::function<QString()> editor,
                                 QWidget* parent)
    : TTableForm(table, parent), m_chart(&table), m_editor(std::move(editor)) {
    setObjectName(QStringLiteral("TableChartForm"));
    if (table.GraphicParameters().ShowGraph) {
        m_preview = new TCurvePreview(table, this);
        m_layout->insertWidget(1, m_preview, 1);
        connect(Grid(), &TTableGrid::KeyReleased, m_preview, qOverload<>(&QWidget::update));
    }
    if (table.GetDataFromFile()) {
        auto* fileRow = new QHBoxLayout;
        auto* label = new QLabel(tr("File &Name:"), this);
        m_fileName = new QLineEdit(this);
        label->setBuddy(m_fileName);
        auto* browse = new QPushButton(tr("&Browse"), this);
        m_view = new QPushButton(tr("&View/Edit File"), this);
        m_read = new QPushButton(tr("&Read values from File"), this);
        m_read->setObjectName(QStringLiteral("ReadFile"));
        fileRow->addWidget(label);
        fileRow->addWidget(m_fileName, 1);
        fileRow->addWidget(browse);
        m_layout->addLayout(fileRow);
        auto* importRow = new QHBoxLayout;
        auto* paste = new QPushButton(tr("&Paste values from  Clipboard (text)"), this);
        paste->setObjectName(QStringLiteral("Paste"));
        importRow->addWidget(m_view);
        importRow->addWidget(m_read);
        importRow->addWidget(paste);
        importRow->addStretch();
        m_layout->addLayout(importRow);
        connect(m_fileName, &QLineEdit::textChanged, this, &TTableChartForm::updateFileButtons);
        connect(browse, &QPushButton::clicked, this, [this] {
            const QString file =
                QFileDialog::getOpenFileName(this, tr("Browse"), m_fileName->text(),
                                             tr("Text Files (*.txt);;Data Files (*.dat);;All Files (*)"));
            if (!file.isEmpty()) m_fileName->setText(file);
        });
        connect(m_view, &QPushButton::clicked, this, [this] {
            if (!app::session::StartTextEditor(m_editor ? m_editor() : QString(), m_fileName->text()))
                widgets::ShowInformation(this, tr("An error occurred in running the Word Processor"));
        });
        connect(m_read, &QPushButton::clicked, this, &TTableChartForm::ReadFromFile);
        connect(paste, &QPushButton::clicked, this, &TTableChartForm::PasteFromClipboard);
        updateFileButtons();
    }
    if (table.OKCancelButtons()) {
        auto* row = new QHBoxLayout;
        auto* ok = new QPushButton(tr("OK"), this);
        auto* cancel = new QPushButton(tr("Cancel"), this);
        row->addStretch();
        row->addWidget(ok);
        row->addWidget(cancel);
        m_layout->addLayout(row);
        auto closeWindow = [this] {
            if (QMdiSubWindow* sub = subWindowOf(this))
                sub->close();
            else if (QWidget* top = window(); top != this)
                top->close();
            else
                close();
        };
        connect(ok, &QPushButton::clicked, this, [this, closeWindow] {
            if (CommitCell()) closeWindow();
        });
        connect(cancel, &QPushButton::clicked, this, [this, closeWindow] {
            Rebuild();  // the cell being typed is dropped
            closeWindow();
        });
    }
}

void TTableChartForm::updateFileButtons() {
    const bool exists = QFileInfo(m_fileName->text()).isFile();
    m_view->setEnabled(exists);
    m_read->setEnabled(exists);
}

void TTableChartForm::valuesChanged() {
    if (m_preview) m_preview->update();
}

bool TTableChartForm::ImportText(const QString& text) {
    // Reached from buttons: whatever the text holds, no exception may leave here.
    try {
        if (!CommitCell()) return false;
        const int filled = app::model::ImportRows(*m_chart, app::model::ImportLines(text.toStdString()));
        if (filled == 0) {
            widgets::ShowInformation(
                this, tr("No line holds %1 numbers, one for each column of the table (each a finite number); "
                         "nothing was changed.")
                          .arg(app::model::ImportColumnCount(*m_chart)));
            return false;
        }
        Rebuild();
        valuesChanged();
        return true;
    } catch (const std::exception& e) {
        widgets::ShowInformation(
            this, tr("The values could not be taken: %1").arg(QString::fromStdString(e.what())));
        return false;
    }
}

void TTableChartForm::ReadFromFile() {
    QFile file(m_fileName->text());
    if (!file.open(QIODevice::ReadOnly)) {
        widgets::ShowInformation(this, tr("The file %1 cannot be read.").arg(m_fileName->text()));
        return;
    }
    ImportText(QString::fromLocal8Bit(file.readAll()));
}

void TTableChartForm::PasteFromClipboard() {
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty()) {
        widgets::ShowInformation(this, QString::fromLatin1(kNoClipboardTextMessage));
        return;
    }
    ImportText(text);
}

}  // namespace app::ui
