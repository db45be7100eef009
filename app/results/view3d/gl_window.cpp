#include "app/results/view3d/gl_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSurfaceFormat>
#include <cmath>

namespace app::results {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDetailHeadroom = 1.25;

// Two unit vectors across `d`.
std::pair<TVec3, TVec3> across(const TVec3& d) {
    const TVec3 helper = std::fabs(d[2]) < 0.9 ? TVec3{0, 0, 1} : TVec3{1, 0, 0};
    TVec3 u{d[1] * helper[2] - d[2] * helper[1], d[2] * helper[0] - d[0] * helper[2],
            d[0] * helper[1] - d[1] * helper[0]};
    const double lu = std::hypot(u[0], u[1], u[2]);
    for (double& x : u)
        x /= lu;
    const TVec3 v{d[1] * u[2] - d[2] * u[1], d[2] * u[0] - d[0] * u[2], d[0] * u[1] - d[1] * u[0]};
    return {u, v};
}

TVec3 at(const TVec3& base, const TVec3& d, double along, const TVec3& u, const TVec3& v, double r,
         double angle) {
    TVec3 p{};
    for (int i = 0; i < 3; ++i)
        p[static_cast<std::size_t>(i)] = base[static_cast<std::size_t>(i)] +
                                         along * d[static_cast<std::size_t>(i)] +
                                         r * (std::cos(angle) * u[static_cast<std::size_t>(i)] +
                                              std::sin(angle) * v[static_cast<std::size_t>(i)]);
    return p;
}

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

int TglWindow::segments(double radius) const {
    // Chosen for a quarter more zoom than now, so zooming in that far before the next compilation
    // still shows round circles.
    return CircleSegments(radius * m_detailScale * devicePixelRatioF() * kDetailHeadroom);
}

void TglWindow::compile(int list) {
    // Opaque pieces first, then everything translucent under one blending state: fewer state
    // changes, and translucent faces show what lies behind them.
    // An arrow's outline circles are opaque and drawn with the opaque pieces: lines drawn with blending
    // on cost the software renderer several times more.
    auto translucent = [](const TPrimitive& p) { return p.Blend || p.Shape == TShape::Arrow; };
    glNewList(static_cast<GLuint>(list), GL_COMPILE);
    m_arrowPart = TArrowPart::Outline;
    for (const TPrimitive& p : m_scene)
        if (p.List == list && (!translucent(p) || p.Shape == TShape::Arrow)) draw(p);
    flush();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    m_arrowPart = TArrowPart::Solid;
    for (const TPrimitive& p : m_scene)
        if (p.List == list && translucent(p)) draw(p);
    flush();
    glDisable(GL_BLEND);
    glEndList();
}

void TglWindow::colour(const TRgba& c) {
    m_colour = c;
}

void TglWindow::begin(GLenum mode, float lineWidth) {
    if (mode != m_runMode || lineWidth != m_runWidth) flush();
    m_runMode = mode;
    m_runWidth = lineWidth;
}

void TglWindow::vertex(const TVec3& v) {
    m_run.push_back({v, m_colour});
}

void TglWindow::flush() {
    // Runs of one kind of piece become a single primitive, so thousands of glyphs cost a handful of
    // draws; the order of the pieces, which blending depends on, is kept.
    if (m_run.empty()) return;
    if (m_runMode == GL_LINES) glLineWidth(m_runWidth);
    glBegin(m_runMode);
    const TRgba* last = nullptr;
    for (const TRunVertex& v : m_run) {
        if (!last || !(v.Colour == *last)) glColor4f(v.Colour.R, v.Colour.G, v.Colour.B, v.Colour.A);
        last = &v.Colour;
        glVertex3d(v.At[0], v.At[1], v.At[2]);
    }
    glEnd();
    if (m_runMode == GL_LINES && m_runWidth != 1) glLineWidth(1);
    m_run.clear();
}

void TglWindow::fan(const TVec3& centre, const std::vector<TVec3>& rim) {
    begin(GL_TRIANGLES);
    for (std::size_t k = 0; k + 1 < rim.size(); ++k) {
        vertex(centre);
        vertex(rim[k]);
        vertex(rim[k + 1]);
    }
}

void TglWindow::polyline(const std::vector<TVec3>& points, float lineWidth) {
    begin(GL_LINES, lineWidth);
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        vertex(points[k]);
        vertex(points[k + 1]);
    }
}

void TglWindow::boxFaces(const std::array<TVec3, 8>& c, const TPrimitive& p) {
    static constexpr int kFaces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                         {2, 3, 7, 6}, {0, 4, 7, 3}, {1, 2, 6, 5}};
    std::vector<TVec3> rim(5);
    if (p.Filled) {
        colour(p.Fill);
        for (const auto& face : kFaces) {
            TVec3 centre{};
            for (int k : face)
                for (int i = 0; i < 3; ++i)
                    centre[static_cast<std::size_t>(i)] +=
                        c[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] / 4;
            for (std::size_t k = 0; k < 5; ++k)
                rim[k] = c[static_cast<std::size_t>(face[k % 4])];
            fan(centre, rim);
        }
    }
    colour(p.Outline);
    for (const auto& face : kFaces) {
        for (std::size_t k = 0; k < 5; ++k)
            rim[k] = c[static_cast<std::size_t>(face[k % 4])];
        polyline(rim);
    }
}

void TglWindow::arrow(const TPrimitive& p) {
    const double S = p.GlyphSize;
    const TVec3& d = p.Direction;
    const auto [u, v] = across(d);
    const double shaft = S / 16, cone = 3 * S / 16;
    const int n = segments(shaft), m = segments(cone);
    std::vector<TVec3> circle;
    auto round = [&](double along, double radius, int count) {
        circle.resize(static_cast<std::size_t>(count) + 1);
        for (int k = 0; k <= count; ++k)
            circle[static_cast<std::size_t>(k)] = at(p.Centre, d, along, u, v, radius, 2 * kPi * k / count);
    };
    if (m_arrowPart == TArrowPart::Outline) {
        colour(p.Outline);
        for (const auto& [along, radius] : {std::pair{0.0, shaft}, {3 * S / 4, shaft}, {3 * S / 4, cone}}) {
            round(along, radius, radius == cone ? m : n);
            polyline(circle);
        }
        return;
    }
    colour(p.Fill);
    begin(GL_TRIANGLES);  // the shaft
    for (int k = 0; k < n; ++k) {
        const double a = 2 * kPi * k / n, b = 2 * kPi * (k + 1) / n;
        const TVec3 a0 = at(p.Centre, d, 0, u, v, shaft, a), a1 = at(p.Centre, d, 3 * S / 4, u, v, shaft, a);
        const TVec3 b0 = at(p.Centre, d, 0, u, v, shaft, b), b1 = at(p.Centre, d, 3 * S / 4, u, v, shaft, b);
        for (const TVec3* q : {&a0, &a1, &b0, &a1, &b1, &b0})
            vertex(*q);
    }
    round(3 * S / 4, cone, m);  // the cone
    fan(at(p.Centre, d, S, u, v, 0, 0), circle);
}

void TglWindow::ring(const TPrimitive& p) {
    const double r = p.GlyphSize / 9;
    const auto [u, v] = across(p.Axis);
    colour(p.Outline);
    const int n = segments(r) / 2;
    std::vector<TVec3> half(static_cast<std::size_t>(n) + 1);
    for (int k = 0; k <= n; ++k)
        half[static_cast<std::size_t>(k)] = at(p.Centre, p.Axis, 0, u, v, r, kPi * k / n);
    polyline(half, 2);
    // The cone at the end the sign chooses, pointing along the ring.
    const double end = p.Sign > 0 ? kPi : 0;
    const TVec3 tip = at(p.Centre, p.Axis, 0, u, v, r, end);
    const double side = p.Sign > 0 ? -1 : 1;
    TVec3 tangent{};
    for (int i = 0; i < 3; ++i)
        tangent[static_cast<std::size_t>(i)] = side * (-std::sin(end) * u[static_cast<std::size_t>(i)] +
                                                       std::cos(end) * v[static_cast<std::size_t>(i)]);
    const double head = p.GlyphSize / 9;
    const auto [a, b] = across(tangent);
    colour(p.Fill);
    const int m = segments(head / 3);
    std::vector<TVec3> base(static_cast<std::size_t>(m) + 1);
    for (int k = 0; k <= m; ++k)
        base[static_cast<std::size_t>(k)] = at(tip, tangent, 0, a, b, head / 3, 2 * kPi * k / m);
    fan(at(tip, tangent, head, a, b, 0, 0), base);
}

void TglWindow::pyramid(const TPrimitive& p) {
    const double e = p.Size[0];
    const TVec3 apex = p.Centre;
    const std::vector<TVec3> base = {TVec3{apex[0] - e / 2, apex[1] - e / 2, apex[2] + e},
                                     {apex[0] + e / 2, apex[1] - e / 2, apex[2] + e},
                                     {apex[0] + e / 2, apex[1] + e / 2, apex[2] + e},
                                     {apex[0] - e / 2, apex[1] + e / 2, apex[2] + e},
                                     {apex[0] - e / 2, apex[1] - e / 2, apex[2] + e}};
    colour(p.Fill);
    fan(apex, base);
    colour(p.Outline);
    begin(GL_LINES);
    for (std::size_t k = 0; k < 4; ++k) {
        vertex(apex);
        vertex(base[k]);
    }
    polyline(base);
}

void TglWindow::draw(const TPrimitive& p) {
    switch (p.Shape) {
        case TShape::Box: {
            std::array<TVec3, 8> c{};
            int n = 0;
            for (const double z : {-0.5, 0.5})
                for (const auto& [x, y] : {std::pair{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}})
                    c[static_cast<std::size_t>(n++)] = {p.Centre[0] + x * p.Size[0],
                                                        p.Centre[1] + y * p.Size[1],
                                                        p.Centre[2] + z * p.Size[2]};
            boxFaces(c, p);
            break;
        }
        case TShape::Brick:
            boxFaces(p.Corners, p);
            break;
        case TShape::Arrow:
            arrow(p);
            break;
        case TShape::Ring:
            ring(p);
            break;
        case TShape::Lines:
            colour(p.Outline);
            polyline(p.Points);
            break;
        case TShape::Pyramid:
            pyramid(p);
            break;
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
    if (ShowAxes) {
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPixelSize(12);
        painter.setFont(font);
        const std::pair<TVec3, QString> labels[] = {{{axis, 0, 0}, QStringLiteral("X")},
                                                    {{0, axis, 0}, QStringLiteral("Y")},
                                                    {{0, 0, -axis}, QStringLiteral("D")}};
        for (const auto& [end, text] : labels) {
            painter.setPen(text == QStringLiteral("X")   ? Qt::blue
                           : text == QStringLiteral("Y") ? Qt::darkGreen
                                                         : Qt::red);
            painter.drawText(project(end) + QPointF(3, -3), text);
        }
    }
    if (m_boxing) {
        painter.setPen(QPen(QColor(0, 255, 0), 1));
        painter.drawRect(QRectF(m_press, m_corner).normalized());
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
