#pragma once
// The sketches of the data dialogs and the help pictures of the table editors, drawn with QPainter so
// they scale with the window and print sharply.

#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QWidget>
#include <functional>
#include <string>

class QPainter;

namespace app::ui {

void DrawWallConfiguration(QPainter& painter, const QRectF& area);
void DrawSurcharge(QPainter& painter, const QRectF& area);
void DrawConcentratedLoads(QPainter& painter, const QRectF& area);
void DrawSprings(QPainter& painter, const QRectF& area);
void DrawTieback(QPainter& painter, const QRectF& area);

/// The picture a table names as its help picture; a null pixmap for an unknown name.
[[nodiscard]] QPixmap HelpPicture(const std::string& name, const QSize& size = QSize(300, 240));

/// A widget that shows one sketch.
class TSketch : public QWidget {
public:
    explicit TSketch(std::function<void(QPainter&, const QRectF&)> draw, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(QPainter&, const QRectF&)> m_draw;
};

}  // namespace app::ui
