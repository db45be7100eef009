#include "app/results/export/picture_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QMimeData>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace app::results {

namespace {

constexpr const char* kSvgMime = "image/svg+xml";

bool paintSvg(QIODevice& device, QSize size, int dpi, const TPaintPicture& paint, const QString& title) {
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(dpi);
    svg.setTitle(title);
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    paint(painter, size, dpi);
    return painter.end();
}

}  // namespace

TPictureFormat PictureFormatOf(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("png")) return TPictureFormat::Png;
    if (suffix == QLatin1String("bmp")) return TPictureFormat::Bmp;
    if (suffix == QLatin1String("svg")) return TPictureFormat::Svg;
    if (suffix == QLatin1String("pdf")) return TPictureFormat::Pdf;
    return TPictureFormat::Unknown;
}

QStringList PictureFilters() {
    return {QStringLiteral("PNG picture (*.png)"), QStringLiteral("SVG drawing (*.svg)"),
            QStringLiteral("PDF document (*.pdf)"), QStringLiteral("Bitmap (*.bmp)")};
}

QString PictureExtension(int filterIndex) {
    static const char* const extensions[] = {".png", ".svg", ".pdf", ".bmp"};
    return QString::fromLatin1(extensions[filterIndex >= 0 && filterIndex < 4 ? filterIndex : 0]);
}

QImage RasterPicture(QSize size, int dpi, const TPaintPicture& paint) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) return image;  // too large to allocate
    const int dotsPerMetre = static_cast<int>(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, size, dpi);
    return image;
}

QByteArray SvgPicture(QSize size, int dpi, const TPaintPicture& paint, const QString& title) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!paintSvg(buffer, size, dpi, paint, title)) return {};
    return buffer.data();
}

QString WritePicture(const QString& file, QSize size, int dpi, const TPaintPicture& paint,
                     const QString& title) {
    const TPictureFormat format = PictureFormatOf(file);
    if (format == TPictureFormat::Unknown)
        return QStringLiteral("%1 is not a picture name: it must end in .png, .svg, .pdf or .bmp").arg(file);
    if (size.width() < 1 || size.height() < 1) return QStringLiteral("the picture has no size");
    // Written under a temporary name and put in place whole, so a failure leaves no half picture.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("%1 cannot be written: %2").arg(file, out.errorString());
    bool painted = false;
    switch (format) {
        case TPictureFormat::Png:
        case TPictureFormat::Bmp: {
            const QImage image = RasterPicture(size, dpi, paint);
            if (image.isNull()) {
                out.cancelWriting();
                return QStringLiteral("a picture of %1 x %2 pixels is too large for the memory")
                    .arg(size.width())
                    .arg(size.height());
            }
            painted = image.save(&out, format == TPictureFormat::Png ? "PNG" : "BMP");
            break;
        }
        case TPictureFormat::Svg:
            painted = paintSvg(out, size, dpi, paint, title);
            break;
        case TPictureFormat::Pdf: {
            QPdfWriter pdf(&out);
            pdf.setTitle(title);
            pdf.setResolution(dpi);
            pdf.setPageSize(
                QPageSize(QSizeF(size.width() * 72.0 / dpi, size.height() * 72.0 / dpi), QPageSize::Point));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter;
            if (painter.begin(&pdf)) {
                paint(painter, QSize(pdf.width(), pdf.height()), dpi);
                painted = painter.end();
            }
            break;
        }
        case TPictureFormat::Unknown:
            break;
    }
    if (!painted) {
        out.cancelWriting();
        return QStringLiteral("%1 could not be written").arg(file);
    }
    if (!out.commit()) return QStringLiteral("%1 could not be written: %2").arg(file, out.errorString());
    return {};
}

QMimeData* PictureMimeData(QSize size, int dpi, const TPaintPicture& paint, const QString& title) {
    auto* data = new QMimeData;
    data->setImageData(RasterPicture(size, dpi, paint));
    data->setData(QString::fromLatin1(kSvgMime), SvgPicture(size, dpi, paint, title));
    return data;
}

}  // namespace app::results
