#pragma once
// The section drawing's window: the problem as saved with its stages, drawn at each paint; copied,
// saved as a picture or printed through the same painting routine.

#include <QWidget>
#include <functional>

#include "app/results/export/picture_export.h"
#include "app/results/views/section_drawing.h"
#include "app/widgets/child_window.h"

class QPagedPaintDevice;

namespace app::results {

class TSectionWindow : public QWidget, public app::widgets::TChildWindow {
    Q_OBJECT
public:
    /// `source` gives the drawing of the problem as it is now (called on opening and on Reload).
    explicit TSectionWindow(std::function<TSectionDrawing()> source, QWidget* parent = nullptr);
    void CommitEdit() override {}
    void Reload() override;
    [[nodiscard]] const TSectionDrawing& Drawing() const { return m_drawing; }
    [[nodiscard]] QWidget* Canvas() const { return m_canvas; }
    /// What the pictures of the drawing paint, at any size.
    [[nodiscard]] TPaintPicture Picture() const;
    /// The drawing on one page of `device`, inside its margins.
    void PrintTo(QPagedPaintDevice& device) const;
    void CopyToClipboard();
    /// The drawing as a picture file by its extension; false with the message shown.
    bool SavePictureTo(const QString& file, QSize size, int dpi);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<TSectionDrawing()> m_source;
    TSectionDrawing m_drawing;
    QWidget* m_canvas;
};

}  // namespace app::results
