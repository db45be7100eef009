#pragma once
// Pictures of a graph or a view in the formats users paste into reports: PNG and BMP at the size
// asked for, SVG and PDF as vector drawings of the same layout. Every format is painted by the
// view's own routine through `TPaintPicture`, so they all show the same thing.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

class QMimeData;
class QPainter;

namespace app::results {

enum class TPictureFormat { Png, Bmp, Svg, Pdf, Unknown };

/// Paints the picture on `painter` over (0, 0) – `size`, at `dpi` dots per inch.
using TPaintPicture = std::function<void(QPainter& painter, QSize size, int dpi)>;

/// The format a file name's extension names (case ignored); Unknown for any other.
[[nodiscard]] TPictureFormat PictureFormatOf(const QString& file);
/// The save dialog's filters, PNG first, and the extension each one adds.
[[nodiscard]] QStringList PictureFilters();
[[nodiscard]] QString PictureExtension(int filterIndex);

/// A white picture of `size` pixels.
[[nodiscard]] QImage RasterPicture(QSize size, int dpi, const TPaintPicture& paint);
/// The SVG document of the picture (`title` as its title).
[[nodiscard]] QByteArray SvgPicture(QSize size, int dpi, const TPaintPicture& paint, const QString& title);

/// Writes `file` in the format of its extension: a raster of `size` pixels, or a vector drawing of the
/// same size at `dpi` (one PDF page of that size). Empty when written, else why not (the file is then
/// not left half-written).
[[nodiscard]] QString WritePicture(const QString& file, QSize size, int dpi, const TPaintPicture& paint,
                                   const QString& title);

/// The picture for the clipboard: an image, and the same picture as SVG ("image/svg+xml").
[[nodiscard]] QMimeData* PictureMimeData(QSize size, int dpi, const TPaintPicture& paint,
                                         const QString& title);

}  // namespace app::results
