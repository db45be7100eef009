#include "app/results/views/side_view.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/results/graph/plot_dialogs.h"
#include "app/widgets/messages.h"

namespace app::results {

using app::model::TProgramData;

TDlgSideView::TDlgSideView(std::function<const TProgramData&()> model, QWidget* parent)
    : QWidget(parent), m_model(std::move(model)) {
    setObjectName(QStringLiteral("DlgSideView"));
    setWindowTitle(tr("Side View"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Wall Profile"), this));
    top->addStretch();
    auto* copy = new QPushButton(tr("&Copy"), this);
    copy->setObjectName(QStringLiteral("SideCopy"));
    top->addWidget(copy);
    auto* save = new QPushButton(tr("&Save..."), this);
    save->setObjectName(QStringLiteral("SideSave"));
    top->addWidget(save);
    auto* print = new QPushButton(tr("&Print"), this);
    top->addWidget(print);
    layout->addLayout(top);
    m_canvas = new QWidget(this);
    m_canvas->setObjectName(QStringLiteral("SideCanvas"));
    m_canvas->setMouseTracking(true);
    m_canvas->setMinimumSize(300, 300);
    m_canvas->installEventFilter(this);
    layout->addWidget(m_canvas, 1);
    connect(print, &QPushButton::clicked, this, &TDlgSideView::Print);
    connect(copy, &QPushButton::clicked, this, &TDlgSideView::CopyToClipboard);
    connect(save, &QPushButton::clicked, this, &TDlgSideView::SaveToDisk);
    resize(700, 600);
    Rebuild();
}

void TDlgSideView::Rebuild() {
    m_geometry = SideGeometry(m_model());
    if (m_geometry.Base.Degenerate()) return;  // nothing to show until the wall has a section
    m_window = FitWindow(m_geometry.Base, m_canvas->width(), m_canvas->height());
    m_canvas->update();
}

void TDlgSideView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Rebuild();
}

bool TDlgSideView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_canvas) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Paint: {
            QPainter painter(m_canvas);
            if (m_geometry.Base.Degenerate()) {
                painter.fillRect(m_canvas->rect(), palette().color(QPalette::Window));
            } else {
                PaintSideView(painter, m_canvas->rect(), m_model(), m_geometry, m_window, false);
            }
            return true;
        }
        case QEvent::Resize:
            if (!m_geometry.Base.Degenerate())
                m_window = FitWindow(m_geometry.Base, m_canvas->width(), m_canvas->height());
            return false;
        case QEvent::MouseMove: {
            if (m_window.Degenerate() || m_canvas->height() == 0) return false;
            const int py = static_cast<QMouseEvent*>(event)->position().toPoint().y();
            const long double y = m_window.YMin + (m_window.YMax - m_window.YMin) * py / m_canvas->height();
            setWindowTitle(QStringLiteral("  Depth: ") +
                           QString::number(static_cast<double>(y - m_geometry.Margin), 'f', 1));
            return false;
        }
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void TDlgSideView::PrintTo(QPagedPaintDevice& device) {
    if (m_window.Degenerate()) return;
    PaintSideViewPage(device, m_model(), m_geometry, &m_window);
}

TPaintPicture TDlgSideView::Picture() const {
    return [this](QPainter& painter, QSize size, int) {
        if (m_geometry.Base.Degenerate()) return;
        const TWorldWindow window = FitWindow(m_geometry.Base, size.width(), size.height());
        PaintSideView(painter, QRect(QPoint(0, 0), size), m_model(), m_geometry, window, false);
    };
}

void TDlgSideView::CopyToClipboard() {
    QApplication::clipboard()->setMimeData(
        PictureMimeData(m_canvas->size(), logicalDpiX(), Picture(), QStringLiteral("Soil-Pile Profile")));
}

bool TDlgSideView::SavePictureTo(const QString& file, QSize size, int dpi) {
    const QString failed = WritePicture(file, size, dpi, Picture(), QStringLiteral("Soil-Pile Profile"));
    if (!failed.isEmpty()) {
        app::widgets::ShowInformation(this, tr("The picture was not saved: %1.").arg(failed));
        return false;
    }
    return true;
}

void TDlgSideView::SaveToDisk() {
    if (const std::optional<TPictureChoice> picture = ChoosePicture(this))
        SavePictureTo(picture->File, picture->Size, picture->Ppi);
}

void TDlgSideView::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Soil-Pile Profile"));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

}  // namespace app::results
