#include "app/results/view3d/gl_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSurfaceFormat>
#include <cmath>

#include "app/results/view3d/scene_picture.h"

namespace app::results {

namespace {

constexpr double kDetailHeadroom = 1.25;

}  // namespace

TglWindow::TglWindow(QWidget* parent) : QOpenGLWidget(parent) {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(8);
    format.setDepthBufferSize(24);  // the deepest buffer Mesa offers here; 32 is asked for nowhere else
    setFormat(format);
    setMouseTracking(false);
}

TglWindow::~TglWindow() {
    if (m_usable && context()) {
        makeCurrent();
        glDeleteLists(kEmptyList, kLastList);
        doneCurrent();
    }
}

void TglWindow::SetScene(std::vector<TPrimitive> scene, const TSceneSizes& sizes) {
    m_scene = std::move(scene);
    m_sizes = sizes;
    m_needsSetup = true;
    update();
}

void TglWindow::SetMouseMode(TMouseMode mode, bool zoomWindow) {
    m_mode = mode;
    m_zoomWindow = zoomWindow;
}

void TglWindow::Zooming(double factor) {
    m_camera.Zoom *= factor;
    update();
}

void TglWindow::RestartView() {
    m_camera.RX = m_camera.RY = m_camera.RZ = 0;
    m_camera.Zoom = 1;
    m_camera.PX = m_camera.PY = m_camera.PZ = 0;
    update();
}

void TglWindow::RenderFrame() {
    makeCurrent();
    paintGL();
    if (m_usable) glFinish();
    doneCurrent();
}

void TglWindow::initializeGL() {
    m_usable = initializeOpenGLFunctions();
    m_needsSetup = true;
}

void TglWindow::resizeGL(int, int) {
    m_needsSetup = true;
}

void TglWindow::setOrtho() {
    const int w = width(), h = height();
    const double z = OrthoDepth(m_sizes, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-w / 2.0, w / 2.0, -h / 2.0, h / 2.0, -z, z);
    glMatrixMode(GL_MODELVIEW);
}

void TglWindow::setup() {
    while (glGetError() != GL_NO_ERROR) {
    }
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    setOrtho();
    m_camera.Fit = FitScale(m_sizes, width(), height());
    glNewList(kEmptyList, GL_COMPILE);
    glEndList();
    compileGlyphs();
    compile(kSoilList);
    m_needsSetup = false;
}

void TglWindow::compileGlyphs() {
    m_detailScale = m_camera.Zoom * m_camera.Fit;
    compile(kWallList);
    ++m_glyphCompilations;
}

void TglWindow::compile(int list) {
    const TMeshList mesh =
        TessellateList(m_scene, list, m_detailScale * devicePixelRatioF() * kDetailHeadroom);
    glNewList(static_cast<GLuint>(list), GL_COMPILE);
    send(mesh.Opaque);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    send(mesh.Translucent);
    glDisable(GL_BLEND);
    glEndList();
}

void TglWindow::send(const std::vector<TMeshRun>& runs) {
    // A run is one primitive; colours are sent only where they change.
    for (const TMeshRun& run : runs) {
        if (run.Lines) glLineWidth(run.LineWidth);
        glBegin(run.Lines ? GL_LINES : GL_TRIANGLES);
        const TRgba* last = nullptr;
        for (const TMeshVertex& v : run.Vertices) {
            if (!last || !(v.Colour == *last)) glColor4f(v.Colour.R, v.Colour.G, v.Colour.B, v.Colour.A);
            last = &v.Colour;
            glVertex3d(v.At[0], v.At[1], v.At[2]);
        }
        glEnd();
        if (run.Lines && run.LineWidth != 1) glLineWidth(1);
    }
}

QPointF TglWindow::project(const TVec3& v) const {
    // Model view, then projection, then the viewport; y from the top of the widget.
    double eye[4], clip[4];
    for (int r = 0; r < 4; ++r)
        eye[r] = m_modelView[static_cast<std::size_t>(r)] * v[0] +
                 m_modelView[static_cast<std::size_t>(4 + r)] * v[1] +
                 m_modelView[static_cast<std::size_t>(8 + r)] * v[2] +
                 m_modelView[static_cast<std::size_t>(12 + r)];
    for (int r = 0; r < 4; ++r)
        clip[r] = m_projection[static_cast<std::size_t>(r)] * eye[0] +
                  m_projection[static_cast<std::size_t>(4 + r)] * eye[1] +
                  m_projection[static_cast<std::size_t>(8 + r)] * eye[2] +
                  m_projection[static_cast<std::size_t>(12 + r)] * eye[3];
    const double w = clip[3] != 0 ? clip[3] : 1;
    const double nx = clip[0] / w, ny = clip[1] / w;
    const double ratio = devicePixelRatioF();
    return {((nx + 1) / 2 * m_viewport[2] + m_viewport[0]) / ratio,
            height() - ((ny + 1) / 2 * m_viewport[3] + m_viewport[1]) / ratio};
}

void TglWindow::paintGL() {
    if (!m_usable) return;
    if (m_needsSetup) setup();
    // Orthographic: rotating keeps every glyph's size on screen, so only zooming can call for more or
    // fewer circle segments.
    const double zoomed = m_camera.Zoom * m_camera.Fit;
    if (m_detailScale > 0 && (zoomed > m_detailScale * kDetailHeadroom || zoomed < m_detailScale / 2))
        compileGlyphs();
    setOrtho();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    // Translucent soil is seen from both sides: no face is culled.
    glDisable(GL_CULL_FACE);
    glPushMatrix();
    glRotated(-90, 1, 0, 0);
    glPushMatrix();
    glRotated(m_camera.RX, 1, 0, 0);
    glRotated(m_camera.RY, 0, 1, 0);
    glRotated(m_camera.RZ, 0, 0, 1);
    glPushMatrix();
    const double scale = m_camera.Zoom * m_camera.Fit;
    glScaled(scale, scale, scale);
    glTranslated(0, 0, -m_sizes.Centre);
    glTranslated(m_camera.PX, m_camera.PY, m_camera.PZ);
    glGetDoublev(GL_MODELVIEW_MATRIX, m_modelView.data());
    glGetDoublev(GL_PROJECTION_MATRIX, m_projection.data());
    glGetIntegerv(GL_VIEWPORT, m_viewport.data());
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m_camera.Matrix[static_cast<std::size_t>(3 * i + j)] =
                m_modelView[static_cast<std::size_t>(4 * j + i)];
    for (GLuint list = kEmptyList; list <= kLastList; ++list)
        if (glIsList(list)) glCallList(list);
    glDisable(GL_DEPTH_TEST);
    const double axis = scale != 0 ? 80 / scale : 0;  // always 80 pixels
    if (ShowAxes) {
        glBegin(GL_LINES);
        glColor3d(0, 0, 1);
        glVertex3d(0, 0, 0);
        glVertex3d(axis, 0, 0);
        glColor3d(0, 1, 0);
        glVertex3d(0, 0, 0);
        glVertex3d(0, axis, 0);
        glColor3d(1, 0, 0);
        glVertex3d(0, 0, 0);
        glVertex3d(0, 0, -axis);
        glEnd();
    }
    glPopMatrix();
    glPopMatrix();
    glPopMatrix();
    while (glGetError() != GL_NO_ERROR) {
    }

    QPainter painter(this);
    if (ShowAxes)
        PaintAxisLabels(painter, {project({axis, 0, 0}), project({0, axis, 0}), project({0, 0, -axis})});
    if (m_boxing) {
        painter.setPen(QPen(QColor(0, 255, 0), 1));
        painter.drawRect(QRectF(m_press, m_corner).normalized());
    }
    if (!Notice.isEmpty()) {
        QFont bold = painter.font();
        bold.setBold(true);
        painter.setFont(bold);
        const QRect band = rect().adjusted(8, 0, -8, -6);
        const QString shown = painter.fontMetrics().elidedText(Notice, Qt::ElideRight, band.width());
        const QRect box = painter.fontMetrics()
                              .boundingRect(band, Qt::AlignLeft | Qt::AlignBottom, shown)
                              .adjusted(-4, -2, 4, 2);
        painter.fillRect(box, Qt::white);
        painter.setPen(QColor(190, 0, 0));
        painter.drawText(band, Qt::AlignLeft | Qt::AlignBottom, shown);
    }
}

void TglWindow::mousePressEvent(QMouseEvent* event) {
    if (m_mode == TMouseMode::None) return;
    m_pressed = true;
    m_press = event->position();
    m_corner = m_press;
    m_atPress = m_camera;
    m_boxing = m_zoomWindow && event->button() == Qt::LeftButton;
}

void TglWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed || m_mode == TMouseMode::None || !(event->buttons() & Qt::LeftButton)) return;
    const QPointF p = event->position();
    const double dx = p.x() - m_press.x(), dy = p.y() - m_press.y();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const TVec3 pan{m_atPress.PX, m_atPress.PY, m_atPress.PZ};
    if (m_boxing) {
        m_corner = p;
    } else if (m_mode == TMouseMode::Panning) {
        Pan(m_camera, pan, dx, dy, shift);
    } else if (m_mode == TMouseMode::Zooming) {
        ZoomDrag(m_camera, m_atPress.Zoom, dy, height());
    } else if (m_mode == TMouseMode::Rotating) {
        Rotate(m_camera, {m_atPress.RX, m_atPress.RY, m_atPress.RZ}, dx, dy, width(), height(), shift);
    }
    update();
}

void TglWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_pressed) return;
    if (m_boxing) {
        const QPointF p = event->position();
        ZoomBox(m_camera, {m_atPress.PX, m_atPress.PY, m_atPress.PZ}, m_atPress.Zoom, m_press.x(),
                m_press.y(), p.x(), p.y(), width(), height());
    } else {
        mouseMoveEvent(event);
    }
    m_pressed = m_boxing = false;
    update();
}

}  // namespace app::results
