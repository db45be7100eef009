#include "app/results/graph/plot_form.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRubberBand>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <utility>

#include "app/results/export/picture_export.h"
#include "app/results/graph/plot_dialogs.h"
#include "app/widgets/messages.h"

namespace app::results {

using app::model::TGraphPlot;

namespace {

constexpr int kMostActiveCurves = 20;

}  // namespace

QString CurveText(const TGraphPlot& plot, int index) {
    return QString::fromStdString(plot.LegendText(index));
}

// ---- Legend list
// -------------------------------------------------------------------------------------------

TLegendList::TLegendList(TPlotForm& form) : QWidget(&form), m_form(form) {
    setObjectName(QStringLiteral("Legend"));
    m_font = QFont(QStringLiteral("Liberation Serif"));
    m_font.setPixelSize(15);
    resize(21, 3);
    setCursor(Qt::SizeAllCursor);
    hide();
}

void TLegendList::SetEntries(const QStringList& texts, const std::vector<int>& curves) {
    m_texts = texts;
    m_curves = curves;
    updateHeight();
    Widen(screen() ? static_cast<int>(screen()->logicalDotsPerInchX()) / 4 : 24);
    update();
}

void TLegendList::updateHeight() {
    resize(width(), static_cast<int>(m_texts.size()) * m_itemHeight + 3);
}

void TLegendList::Widen(int extraPixels) {
    const QFontMetrics metrics(m_font);
    int widest = 0;
    for (const QString& text : m_texts)
        widest = std::max(widest, metrics.horizontalAdvance(text + QStringLiteral(" *")));
    resize(std::max(width(), widest + extraPixels), height());
}

void TLegendList::Setup(int scale) {
    const int points = std::max(1, scale * m_form.Plot().LegendFont / 10);
    m_font.setPointSize(points);
    m_itemHeight = std::max(1, 3 * points / 2);
    resize(21, height());
    Widen(screen() ? static_cast<int>(screen()->logicalDotsPerInchX()) / 4 : 24);
    updateHeight();
    update();
}

int TLegendList::EntryAt(QPoint point) const {
    const int entry = point.y() / std::max(m_itemHeight, 1);
    return entry >= 0 && entry < m_texts.size() ? entry : -1;
}

void TLegendList::ToggleEntry(int entry) {
    if (entry < 0 || entry >= static_cast<int>(m_curves.size())) return;
    m_form.ToggleCurve(m_curves[static_cast<std::size_t>(entry)]);
}

void TLegendList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(m_font);
    const QFontMetrics metrics(m_font);
    for (int n = 0; n < m_texts.size(); ++n) {
        const int curve = m_curves[static_cast<std::size_t>(n)];
        const bool shown = curve < m_form.Plot().LineCount() && m_form.Plot().Line(curve).Shown;
        const QString text = m_texts[n] + (shown ? QStringLiteral(" *") : QString());
        painter.setPen(CurveQColor(n));
        const QRect row(4, n * m_itemHeight + 1, width() - 5, m_itemHeight);
        painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void TLegendList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_dragging = true;
    m_grip = event->position().toPoint();
}

void TLegendList::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging || !parentWidget()) return;
    QPoint to = mapToParent(event->position().toPoint()) - m_grip;
    to.setX(std::clamp(to.x(), 0, std::max(0, parentWidget()->width() - width())));
    to.setY(std::clamp(to.y(), 0, std::max(0, parentWidget()->height() - height())));
    if (to != pos()) m_moved = true;
    move(to);
}

void TLegendList::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = false;
    if (std::exchange(m_moved, false)) m_form.LegendPlacedByUser();
}

void TLegendList::mouseDoubleClickEvent(QMouseEvent* event) {
    ToggleEntry(EntryAt(event->position().toPoint()));
}

// ---- Window
// ------------------------------------------------------------------------------------------------

TPlotForm::TPlotForm(TGraphPlot& plot, QWidget* parent)
    : QWidget(parent),
      m_plot(&plot),
      m_pageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(1, 1, 1, 1),
                   QPageLayout::Inch) {
    setObjectName(QStringLiteral("PlotForm"));
    m_shownNotice = plot.Notice;
    setWindowTitle(titleText());
    setMouseTracking(true);
    setMinimumSize(200, 160);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(14);
    setFont(font);
    m_view = MakeView(plot);
    for (int i = 0; i < plot.LineCount(); ++i)
        plot.Line(i).Active = i < kMostActiveCurves;
    m_legend = new TLegendList(*this);
    m_band = new QRubberBand(QRubberBand::Rectangle, this);
    buildMenu();
    RebuildLegend();
    m_legend->setVisible(plot.LineCount() > 0 && plot.ShowLegend);
    auto* shortcut = new QShortcut(QKeySequence(tr("Ctrl+Z")), this);
    connect(shortcut, &QShortcut::activated, this, [this] { m_menu->popup(mapToGlobal(QPoint(20, 20))); });
    resize(800, 600);
    LayOut(true);
}

void TPlotForm::buildMenu() {
    m_menu = new QMenu(tr("&Plot"), this);
    m_menu->setObjectName(QStringLiteral("PlotMenu"));
    auto item = [this](const QString& text, const char* name, auto&& slot) {
        QAction* action = m_menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_legendItem = item(tr("Show &Legend"), "PlotLegend", [this] {
        m_plot->ShowLegend = !m_plot->ShowLegend;
        m_legend->setVisible(m_plot->ShowLegend && m_plot->LineCount() > 0);
        update();
    });
    m_legendItem->setCheckable(true);
    m_soilItem = item(tr("Show &Soil Layer"), "PlotSoilLayer", [this] {
        m_plot->ShowLayers = !m_plot->ShowLayers;
        LayOut(true);
    });
    m_soilItem->setCheckable(true);
    m_wallItem = item(tr("Show &Wall Geometry"), "ShowWallGeometry", [this] {
        m_plot->ShowWall = !m_plot->ShowWall;
        LayOut(true);
    });
    m_wallItem->setCheckable(true);
    m_levelsItem = item(tr("Show E&xcavation and Water"), "PlotLevels", [this] {
        m_plot->ShowLevels = !m_plot->ShowLevels;
        update();
    });
    m_levelsItem->setCheckable(true);

    auto radioMenu = [this](const QString& title, const char* name,
                            const std::vector<std::pair<QString, int>>& choices, auto&& apply) {
        QMenu* menu = m_menu->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        auto* group = new QActionGroup(menu);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        for (const auto& [text, value] : choices) {
            QAction* action = menu->addAction(text);
            action->setCheckable(true);
            action->setData(value);
            group->addAction(action);
            connect(action, &QAction::triggered, this, [apply, value = value] { apply(value); });
        }
        return menu;
    };
    m_markersMenu = radioMenu(tr("Show &Markers"), "PlotMarkers",
                              {{tr("&Never"), 0},
                               {tr("Every &Increment"), 1},
                               {tr("Every &2 Increments"), 2},
                               {tr("Every &3 Incrments"), 3},
                               {tr("Every &5 Increments"), 5},
                               {tr("Every &10 Incements"), 10}},
                              [this](int v) { setMarkers(v); });
    m_fontMenu = radioMenu(tr("&Font Size"), "FontSize",
                           {{tr("&Default"), 10},
                            {tr("1.5 * Default"), 15},
                            {tr("2 * Default"), 20},
                            {tr("2.5 * Default"), 25},
                            {tr("3 * Default"), 30},
                            {tr("4 * Default"), 40}},
                           [this](int v) { setFontSize(v); });
    m_widthMenu = radioMenu(tr("Line W&idth"), "LineWidth",
                            {{tr("&Default"), 1},
                             {tr("2 * Default"), 2},
                             {tr("4 * Default"), 4},
                             {tr("6 * Default"), 6},
                             {tr("10 * Default"), 10}},
                            [this](int v) { setLineWidth(v); });
    auto tick = [](QMenu* menu, int value) {
        for (QAction* action : menu->actions())
            action->setChecked(action->data().toInt() == value);
    };
    connect(m_markersMenu, &QMenu::aboutToShow, this, [this, tick] { tick(m_markersMenu, m_plot->Markers); });
    connect(m_fontMenu, &QMenu::aboutToShow, this, [this, tick] { tick(m_fontMenu, m_plot->SizeFont); });
    connect(m_widthMenu, &QMenu::aboutToShow, this, [this, tick] { tick(m_widthMenu, m_plot->WidthLine); });
    item(tr("&Graph Title"), "PlotCaption", [this] { EditGraphTitle(); });
    item(tr("&Edit Legend"), "mLineName", [this] { EditLegend(); });
    item(tr("&Active Curves"), "ActiveGraphs", [this] { ChooseActiveCurves(); });
    m_menu->addSeparator();
    // Qt's print dialog can always print to a PDF file, so printing needs no installed printer.
    m_printItem = item(tr("&Print..."), "PlotPrint", [this] { Print(); });
    m_pageItem = item(tr("Page Set&up"), "PlotPage", [this] { PageSetup(); });
    item(tr("Save To &Disk..."), "PlotSave", [this] { SaveToDisk(); });
    QAction* copy = item(tr("&Copy"), "PlotCopy", [this] { CopyToClipboard(); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(copy);
    m_curveSeparator = m_menu->addSeparator();
    connect(m_menu, &QMenu::aboutToShow, this, &TPlotForm::RefreshMenu);
}

void TPlotForm::RefreshMenu() {
    m_legendItem->setChecked(m_plot->ShowLegend);
    m_soilItem->setChecked(m_plot->ShowLayers);
    m_soilItem->setVisible(m_plot->LayerLineCount() > 0);
    m_wallItem->setVisible(m_plot->WallLineCount > 0);
    m_wallItem->setEnabled(m_plot->ShowLayers);
    m_wallItem->setChecked(m_plot->ShowWall);
    m_levelsItem->setVisible(!m_plot->Levels.empty());
    m_levelsItem->setChecked(m_plot->ShowLevels);
    m_fontMenu->menuAction()->setVisible(m_plot->ShowFontWidth);
    m_widthMenu->menuAction()->setVisible(m_plot->ShowFontWidth);
    for (std::size_t n = 0; n < m_curveItems.size(); ++n)
        m_curveItems[n]->setChecked(m_plot->Line(m_legendCurves[n]).Shown);
}

void TPlotForm::RebuildLegend() {
    for (QAction* action : m_curveItems) {
        m_menu->removeAction(action);
        action->deleteLater();
    }
    m_curveItems.clear();
    m_legendCurves.clear();
    QStringList texts;
    for (int i = 0; i < m_plot->LineCount(); ++i) {
        if (!m_plot->Line(i).Active) continue;
        m_legendCurves.push_back(i);
        const QString text = CurveText(*m_plot, i);
        texts << text;
        QAction* action = m_menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(m_plot->Line(i).Shown);
        connect(action, &QAction::triggered, this, [this, i] { ToggleCurve(i); });
        m_curveItems.push_back(action);
    }
    m_legend->SetEntries(texts, m_legendCurves);
    update();
}

void TPlotForm::ToggleCurve(int index) {
    if (index < 0 || index >= m_plot->LineCount()) return;
    m_plot->Line(index).Shown = !m_plot->Line(index).Shown;
    RefreshMenu();
    m_legend->update();
    update();
}

void TPlotForm::setMarkers(int every) {
    m_plot->Markers = every;
    update();
}

void TPlotForm::setFontSize(int size) {
    m_plot->SizeFont = size;
    m_legend->Setup(size);
    LayOut(true);
}

void TPlotForm::setLineWidth(int width) {
    m_plot->WidthLine = width;
    update();
}

TLayout TPlotForm::screenLayout() const {
    return ScreenLayout(LayoutInput(*m_plot, width(), height(), logicalDpiX(), logicalDpiY()));
}

void TPlotForm::keepLegendInside() {
    QPoint at = m_legend->pos();
    at.setX(std::min(at.x(), width() - m_legend->width()));
    at.setY(std::min(at.y(), height() - m_legend->height()));
    at.setX(std::max(at.x(), 0));
    at.setY(std::max(at.y(), 0));
    m_legend->move(at);
}

void TPlotForm::LayOut(bool placeLegend) {
    m_layout = screenLayout();
    if (placeLegend) m_legendPlaced = false;
    placeLegendBox();
    update();
}

void TPlotForm::LegendPlacedByUser() {
    const int roomX = width() - m_legend->width(), roomY = height() - m_legend->height();
    m_legendPlaced = true;
    m_legendPlace = QPointF(roomX > 0 ? double(m_legend->x()) / roomX : 0.0,
                            roomY > 0 ? double(m_legend->y()) / roomY : 0.0);
}

// The legend sits at the plot's lower right corner until the user drags it; from then on it keeps
// its place as a share of the room the window leaves it, so resizing the window (as switching
// between maximized windows does) never leaves it over the curves.
void TPlotForm::placeLegendBox() {
    if (!m_legendPlaced) {
        m_legend->move(m_layout.Plot.Right - m_legend->width(), m_layout.Plot.Bottom - m_legend->height());
    } else {
        const int roomX = std::max(0, width() - m_legend->width());
        const int roomY = std::max(0, height() - m_legend->height());
        m_legend->move(qRound(m_legendPlace.x() * roomX), qRound(m_legendPlace.y() * roomY));
    }
    keepLegendInside();
}

QString TPlotForm::titleText() const {
    QString title = QString::fromStdString(m_plot->Caption);
    if (!m_plot->Notice.empty()) title += QStringLiteral(" - ") + QString::fromStdString(m_plot->Notice);
    return title;
}

void TPlotForm::paintEvent(QPaintEvent*) {
    m_painted = true;
    // The plot's notice can come or go while the window is open: title and band follow it.
    if (m_shownNotice != m_plot->Notice) {
        m_shownNotice = m_plot->Notice;
        m_layout = screenLayout();
        setWindowTitle(titleText());
    }
    QPainter painter(this);
    TPaintTarget target;
    target.DpiX = logicalDpiX();
    target.DpiY = logicalDpiY();
    target.FontPixels = FontPixelsAt(target.DpiY);
    PaintPlot(painter, *m_plot, m_view, m_layout, target);
}

void TPlotForm::resizeEvent(QResizeEvent*) {
    // Until the window is first drawn its size is the program's (maximized on opening) and the legend
    // goes to the plot's corner; after that a size the user chose keeps the legend where it is.
    LayOut(!m_painted);
}

int TPlotForm::panelAt(QPoint point) const {
    if (!m_plot->ShowThree) return 0;
    for (int p = 2; p > 0; --p)
        if (point.x() >= m_layout.Panels[static_cast<std::size_t>(p)].Left) return p;
    return 0;
}

void TPlotForm::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!m_layout.Plot.Contains(at.x(), at.y())) return;
    if (event->button() == Qt::LeftButton && !m_plot->ShowThree) {
        m_zooming = true;
        m_anchor = at;
        m_band->setGeometry(QRect(at, QSize()));
        m_band->show();
    } else if (event->button() == Qt::RightButton) {
        ZoomOutAt(at);
    }
}

void TPlotForm::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const TRect& plot = m_layout.Plot;
    const QPoint clamped(std::clamp(at.x(), plot.Left, plot.Right),
                         std::clamp(at.y(), plot.Top, plot.Bottom));
    const int p = panelAt(clamped);
    const auto [x, y] = ToData(clamped.x(), clamped.y(), m_view.Current[static_cast<std::size_t>(p)],
                               m_layout.Panels[static_cast<std::size_t>(p)], m_plot->XOnTop);
    setWindowTitle(titleText() + QStringLiteral(" X: ") + QString::fromStdString(TickLabel(x, 5)) +
                   QStringLiteral(" Y: ") + QString::fromStdString(TickLabel(y, 5)));
    if (m_zooming) m_band->setGeometry(QRect(m_anchor, at).normalized());
}

void TPlotForm::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_zooming) return;
    m_zooming = false;
    m_band->hide();
    ZoomTo(m_anchor, event->position().toPoint());
}

void TPlotForm::ZoomTo(QPoint anchor, QPoint release) {
    if (release.x() == anchor.x() || release.y() == anchor.y()) return;
    const TRect& plot = m_layout.Plot;
    release.setX(std::clamp(release.x(), plot.Left, plot.Right));
    release.setY(std::clamp(release.y(), plot.Top, plot.Bottom));
    const auto [x1, y1] = ToData(anchor.x(), anchor.y(), m_view.Current[0], plot, m_plot->XOnTop);
    const auto [x2, y2] = ToData(release.x(), release.y(), m_view.Current[0], plot, m_plot->XOnTop);
    m_view.Current[0] = ZoomWindow(m_view.Full[0], x1, y1, x2, y2);
    update();
}

void TPlotForm::ZoomOutAt(QPoint point) {
    const auto [x, y] = ToData(point.x(), point.y(), m_view.Current[0], m_layout.Panels[0], m_plot->XOnTop);
    m_view.Current[0] = ZoomOut(m_view.Current[0], m_view.Full[0], x, y);
    update();
}

void TPlotForm::EditLegend() {
    QStringList names;
    for (int i = 0; i < m_plot->LineCount(); ++i)
        names << QString::fromStdString(m_plot->Line(i).GetName());
    TfrmLineNames dialog(names, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QStringList edited = dialog.Names();
    for (int i = 0; i < m_plot->LineCount() && i < edited.size(); ++i)
        m_plot->Line(i).Name = edited[i].toStdString();
    RebuildLegend();
    placeLegendBox();
}

void TPlotForm::ChooseActiveCurves() {
    QStringList names;
    std::vector<std::string> flags;
    for (int i = 0; i < m_plot->LineCount(); ++i) {
        names << QString::fromStdString(m_plot->Line(i).GetName());
        flags.emplace_back(m_plot->Line(i).Active ? kActiveFlag : kInactiveFlag);
    }
    TfrmActiveLines dialog(names, flags, this);
    if (dialog.exec() != QDialog::Accepted) return;
    for (int i = 0; i < m_plot->LineCount(); ++i)
        m_plot->Line(i).Active = dialog.Flags()[static_cast<std::size_t>(i)] == kActiveFlag;
    RebuildLegend();
    placeLegendBox();
}

void TPlotForm::EditGraphTitle() {
    TfrmGraphCaption dialog(QString::fromStdString(m_plot->GraphTitle), m_plot->TitleAtTop, this);
    dialog.exec();
    // Whatever the result, the text and place are taken.
    m_plot->GraphTitle = dialog.Title().toStdString();
    m_plot->TitleAtTop = dialog.AtTop();
    LayOut(false);
}

void TPlotForm::PrintTo(QPagedPaintDevice& device) {
    RenderPage(device, *m_plot, m_view, m_legend->isVisible() ? m_legend->geometry() : QRect(), size());
}

void TPlotForm::Print() {
    if (!app::widgets::ConfirmResultsOutput(this, m_plot->Notice)) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_pageLayout);
    printer.setDocName(QString::fromStdString(m_plot->Caption));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    PrintTo(printer);
    update();
}

void TPlotForm::PageSetup() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_pageLayout);
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) m_pageLayout = printer.pageLayout();
}

TPaintPicture TPlotForm::Picture() const {
    const QRect legend = m_legend->isVisible() ? m_legend->geometry() : QRect();
    const QSize window = size();
    return [this, legend, window](QPainter& painter, QSize picture, int dpi) {
        PaintPlotPicture(painter, *m_plot, m_view, picture, dpi, legend, window);
    };
}

bool TPlotForm::SaveBitmapTo(const QString& file, QSize size) {
    return SavePictureTo(file, size, logicalDpiX());
}

bool TPlotForm::SavePictureTo(const QString& file, QSize size, int dpi) {
    const QString failed = WritePicture(file, size, dpi, Picture(), QString::fromStdString(m_plot->Caption));
    if (!failed.isEmpty()) {
        app::widgets::ShowInformation(this, tr("The picture was not saved: %1.").arg(failed));
        return false;
    }
    return true;
}

void TPlotForm::CopyToClipboard() {
    if (!app::widgets::ConfirmResultsOutput(this, m_plot->Notice)) return;
    QApplication::clipboard()->setMimeData(
        PictureMimeData(size(), logicalDpiX(), Picture(), QString::fromStdString(m_plot->Caption)));
}

void TPlotForm::SaveToDisk() {
    if (!app::widgets::ConfirmResultsOutput(this, m_plot->Notice)) return;
    if (const std::optional<TPictureChoice> picture = ChoosePicture(this))
        SavePictureTo(picture->File, picture->Size, picture->Ppi);
}

}  // namespace app::results
