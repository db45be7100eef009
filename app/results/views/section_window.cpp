#include "app/results/views/section_window.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/results/graph/plot_dialogs.h"
#include "app/widgets/messages.h"

namespace app::results {

namespace {

// No exception leaves a button's slot: its message is shown instead.
template <typename F>
void guarded(QWidget* parent, F&& command) {
    try {
        command();
    } catch (const std::exception& e) {
        app::widgets::ShowInformation(parent, QString::fromStdString(e.what()));
    }
}

}  // namespace

TSectionWindow::TSectionWindow(std::function<TSectionDrawing()> source, QWidget* parent)
    : QWidget(parent), m_source(std::move(source)) {
    setObjectName(QStringLiteral("SectionWindow"));
    setWindowTitle(tr("Section Drawing"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("The wall as entered, every stage, to scale"), this));
    top->addStretch();
    auto* copy = new QPushButton(tr("&Copy"), this);
    copy->setObjectName(QStringLiteral("SectionCopy"));
    auto* save = new QPushButton(tr("&Save..."), this);
    save->setObjectName(QStringLiteral("SectionSave"));
    auto* print = new QPushButton(tr("&Print..."), this);
    print->setObjectName(QStringLiteral("SectionPrint"));
    for (QPushButton* b : {copy, save, print})
        top->addWidget(b);
    layout->addLayout(top);
    m_canvas = new QWidget(this);
    m_canvas->setObjectName(QStringLiteral("SectionCanvas"));
    m_canvas->setMinimumSize(400, 320);
    m_canvas->installEventFilter(this);
    layout->addWidget(m_canvas, 1);
    connect(copy, &QPushButton::clicked, this, [this] { guarded(this, [&] { CopyToClipboard(); }); });
    connect(save, &QPushButton::clicked, this, [this] {
        guarded(this, [&] {
            if (const std::optional<TPictureChoice> picture = ChoosePicture(this))
                SavePictureTo(picture->File, picture->Size, picture->Ppi);
        });
    });
    connect(print, &QPushButton::clicked, this, [this] {
        guarded(this, [&] {
            QPrinter printer(QPrinter::HighResolution);
            printer.setPageOrientation(QPageLayout::Landscape);
            printer.setDocName(QStringLiteral("Section drawing"));
            QPrintDialog dialog(&printer, this);
            if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
        });
    });
    resize(900, 700);
    Reload();
}

void TSectionWindow::Reload() {
    guarded(this, [&] { m_drawing = m_source(); });
    m_canvas->update();
}

TPaintPicture TSectionWindow::Picture() const {
    return [this](QPainter& painter, QSize size, int dpi) {
        if (m_drawing.WallLength <= 0) return;
        PaintSectionDrawing(painter, QRectF(QPointF(0, 0), QSizeF(size)), m_drawing, dpi);
    };
}

void TSectionWindow::PrintTo(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device)) return;
    const QRect page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    Picture()(painter, QSize(page.width(), page.height()), device.logicalDpiX());
}

void TSectionWindow::CopyToClipboard() {
    QApplication::clipboard()->setMimeData(
        PictureMimeData(m_canvas->size(), logicalDpiX(), Picture(), QStringLiteral("Section drawing")));
}

bool TSectionWindow::SavePictureTo(const QString& file, QSize size, int dpi) {
    const QString failed = WritePicture(file, size, dpi, Picture(), QStringLiteral("Section drawing"));
    if (!failed.isEmpty()) {
        app::widgets::ShowInformation(this, tr("The picture was not saved: %1.").arg(failed));
        return false;
    }
    return true;
}

bool TSectionWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_canvas && event->type() == QEvent::Paint) {
        QPainter painter(m_canvas);
        if (m_drawing.WallLength <= 0) {
            painter.fillRect(m_canvas->rect(), palette().color(QPalette::Window));
            painter.drawText(m_canvas->rect(), Qt::AlignCenter, tr("The wall has no length to draw yet."));
        } else {
            Picture()(painter, m_canvas->size(), logicalDpiX());
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace app::results
