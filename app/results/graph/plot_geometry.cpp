#include "app/results/graph/plot_geometry.h"

#include <algorithm>
#include <cmath>

#include "app/model/number_format.h"

namespace app::results {

namespace {

// Quotients that should be whole numbers come out a hair off in binary; this much is taken as exact.
constexpr long double kSnap = 1e-9L;

long double snapped(long double k) {
    const long double whole = std::nearbyint(k);
    return std::fabs(k - whole) < kSnap ? whole : k;
}

}  // namespace

void RoundAxis(long double& minimum, long double& maximum) {
    if (maximum == minimum) {
        maximum += 0.01L;
        minimum -= 0.01L;
    }
    const long double logRange = std::log10(maximum - minimum);
    const long double exponent = std::floor(logRange);
    long double step = std::pow(10.0L, exponent);
    if (logRange - exponent < std::log10(3.0L)) step /= 10.0L;
    minimum = step * std::floor(snapped(minimum / step));
    maximum = step * std::ceil(snapped(maximum / step));
}

TRange FullRange(const app::model::TLineList& lines) {
    TRange r;
    for (const auto& line : lines) {
        for (const app::model::TFloatPoint& p : line->Points) {
            if (p.X < r.XMin)
                r.XMin = p.X;
            else if (p.X > r.XMax)
                r.XMax = p.X;
            if (p.Y < r.YMin)
                r.YMin = p.Y;
            else if (p.Y > r.YMax)
                r.YMax = p.Y;
        }
    }
    RoundAxis(r.YMin, r.YMax);
    RoundAxis(r.XMin, r.XMax);
    return r;
}

TTicks AxisTicks(long double minimum, long double maximum, int pixels, int textUnit, int per) {
    TTicks t;
    const int divisor = per * std::max(textUnit, 1);
    const int intervals = pixels / divisor;
    if (intervals <= 0 || !(maximum > minimum)) return t;
    const long double raw = (maximum - minimum) / intervals;
    const long double g = std::pow(10.0L, std::floor(std::log10(raw)));
    const int h = static_cast<int>(std::trunc(snapped(raw / g)));
    const long double factor = h < 2 ? 1 : h <= 4 ? 2 : h <= 8 ? 5 : 10;
    t.Major = g * factor;
    t.Minor = t.Major / 5;
    // Ticks at whole multiples of the minor step counted from zero.
    t.KMin = static_cast<int>(std::min(0.0L, std::ceil(snapped(minimum / t.Minor))));
    t.KMax = static_cast<int>(std::max(0.0L, std::floor(snapped(maximum / t.Minor))));
    t.Any = t.KMax > t.KMin;
    return t;
}

namespace {

void splitPanels(TLayout& l, const TLayoutInput& in, int soilReserve) {
    TRect& p = l.Plot;
    const int F = in.TextUnit;
    if (in.ShowLayers) {
        const int oldRight = p.Right;
        p.Right -= soilReserve;
        l.Soil = {p.Right + in.DpiX / 5, p.Top, oldRight, p.Bottom};
    }
    l.Panels = {p, p, p};
    if (in.ShowThree) {
        const int w = (p.Right - p.Left - 4 * F - in.DpiX / 2) / 3;
        l.Panels[0] = {p.Left, p.Top, p.Left + w, p.Bottom};
        l.Panels[1].Left = l.Panels[0].Right + 2 * F + in.DpiX / 4;
        l.Panels[1].Right = l.Panels[1].Left + w;
        l.Panels[2].Left = l.Panels[1].Right + 2 * F + in.DpiX / 4;
        l.Panels[2].Right = p.Right;
    }
}

}  // namespace

int NoticeBand(int textUnit) {
    return textUnit + textUnit / 2;
}

namespace {

void reserveNotice(TRect& p, const TLayoutInput& in) {
    if (!in.HasNotice) return;
    if (in.XOnTop)
        p.Bottom -= NoticeBand(in.TextUnit);
    else
        p.Top += NoticeBand(in.TextUnit);
}

}  // namespace

TLayout ScreenLayout(const TLayoutInput& in) {
    const int F = in.TextUnit;
    TLayout l;
    l.Output = {0, 0, in.Width, in.Height};
    TRect& p = l.Plot;
    p.Left = 2 * F + in.DpiX / 8 + F / 8;
    p.Right = in.Width - in.DpiX / 4 - F / 2;
    if (in.XOnTop) {
        p.Top = 2 * F + in.DpiY / 8 + F / 8;
        p.Bottom = in.Height - in.DpiY / 4 - F / 2;
    } else {
        p.Top = F / 2 + in.DpiY / 4;
        p.Bottom = in.Height - 2 * F - in.DpiY / 8 - F / 8;
    }
    if (in.HasTitle) {
        if (in.TitleAtTop)
            p.Top += F / 8 + F;
        else
            p.Bottom -= F;
    }
    reserveNotice(p, in);
    splitPanels(l, in, in.DpiX);
    return l;
}

TLayout PrintLayout(const TLayoutInput& in, const TRect& output) {
    const int F = in.TextUnit;
    TLayout l;
    l.Output = output;
    TRect& p = l.Plot;
    p.Left = output.Left + 2 * F + in.DpiX / 8 + F / 8;
    p.Right = output.Right;
    if (in.XOnTop) {
        p.Top = output.Top + 2 * F + in.DpiX / 8 + F / 8;
        p.Bottom = output.Bottom;
    } else {
        p.Top = output.Top;
        p.Bottom = output.Bottom - 2 * F - in.DpiX / 8 - F / 8;
    }
    if (in.HasTitle) {
        if (in.TitleAtTop)
            p.Top += in.DpiY / 4;
        else
            p.Bottom -= in.DpiY / 2;
    }
    reserveNotice(p, in);
    splitPanels(l, in, in.DpiX);
    return l;
}

TLayout BitmapLayout(const TLayoutInput& in) {
    TLayoutInput plain = in;
    plain.HasTitle = false;
    plain.ShowLayers = false;
    plain.ShowThree = false;
    TLayout l = ScreenLayout(plain);
    splitPanels(l, in, in.DpiX / 2);
    return l;
}

int Nearest(long double value) {
    return static_cast<int>(std::nearbyint(value));  // the default rounding mode: halves to even
}

int ToPixelX(long double x, const TRange& range, const TRect& panel) {
    const long double width = range.XMax - range.XMin;
    if (width == 0) return panel.Left;
    return Nearest((x - range.XMin) / width * panel.Width()) + panel.Left;
}

int ToPixelY(long double y, const TRange& range, const TRect& panel, bool xOnTop) {
    const long double height = range.YMax - range.YMin;
    const int c = height == 0 ? 0 : Nearest((y - range.YMin) / height * panel.Height());
    return xOnTop ? panel.Top + c : panel.Bottom - c;
}

std::pair<long double, long double> ToData(int px, int py, const TRange& range, const TRect& panel,
                                           bool xOnTop) {
    if (panel.Width() == 0 || panel.Height() == 0) return {0, 0};
    const long double x =
        range.XMin + static_cast<long double>(px - panel.Left) / panel.Width() * (range.XMax - range.XMin);
    const long double fraction = xOnTop ? static_cast<long double>(py - panel.Top) / panel.Height()
                                        : static_cast<long double>(panel.Bottom - py) / panel.Height();
    return {x, range.YMin + fraction * (range.YMax - range.YMin)};
}

namespace {

void zoomAxis(long double fullMin, long double fullMax, long double a, long double b, long double& outMin,
              long double& outMax) {
    long double lo = std::min(a, b), hi = std::max(a, b);
    const long double full = fullMax - fullMin;
    if (full > 20 * (hi - lo)) {
        const long double centre = (lo + hi) / 2;
        const long double width = full / 20;
        lo = centre - width / 2;
        hi = centre + width / 2;
        if (lo < fullMin) {
            hi += fullMin - lo;
            lo = fullMin;
        }
        if (hi > fullMax) {
            lo -= hi - fullMax;
            hi = fullMax;
        }
    }
    outMin = lo;
    outMax = hi;
}

void zoomOutAxis(long double currentMin, long double currentMax, long double fullMin, long double fullMax,
                 long double at, long double& outMin, long double& outMax) {
    const long double h = std::min(currentMax - currentMin, (fullMax - fullMin) / 2);
    const long double centre = std::clamp(at, fullMin + h, fullMax - h);
    outMin = centre - h;
    outMax = centre + h;
}

}  // namespace

TRange ZoomWindow(const TRange& full, long double x1, long double y1, long double x2, long double y2) {
    TRange r;
    zoomAxis(full.XMin, full.XMax, x1, x2, r.XMin, r.XMax);
    zoomAxis(full.YMin, full.YMax, y1, y2, r.YMin, r.YMax);
    return r;
}

TRange ZoomOut(const TRange& current, const TRange& full, long double x, long double y) {
    TRange r;
    zoomOutAxis(current.XMin, current.XMax, full.XMin, full.XMax, x, r.XMin, r.XMax);
    zoomOutAxis(current.YMin, current.YMax, full.YMin, full.YMax, y, r.YMin, r.YMax);
    return r;
}

int MarkerShape(int index) {
    return (index % 10 + 10) % 10 + 1;
}

std::vector<std::pair<int, int>> MarkerVertices(int shape, int dpiX, int dpiY) {
    const long double pi = std::acos(-1.0L);
    std::vector<long double> angles;
    if (shape == 1) {
        for (int n = 0; n <= 3; ++n)
            angles.push_back(pi + n * 2 * pi / 3);
    } else if (shape == 2) {
        for (int n = 0; n <= 4; ++n)
            angles.push_back(pi / 4 + n * pi / 2);
    } else {
        for (int n = 0; n <= shape; ++n)
            angles.push_back(n * 2 * pi / shape);
    }
    std::vector<std::pair<int, int>> vertices;
    for (const long double theta : angles)
        vertices.emplace_back(Nearest(std::sin(theta) * dpiX / 32), -Nearest(std::cos(theta) * dpiY / 32));
    return vertices;
}

TColour CurveColour(int position) {
    static constexpr TColour kTable[17] = {
        {0, 0, 0},       {0, 0, 255},     {255, 0, 0},     {0, 128, 0},   {128, 0, 128},   {128, 0, 0},
        {0, 0, 128},     {255, 0, 255},   {128, 128, 0},   {0, 128, 128}, {128, 128, 128}, {0, 255, 0},
        {128, 128, 128}, {192, 192, 192}, {192, 192, 192}, {255, 255, 0}, {0, 255, 255},
    };
    return kTable[(position % 17 + 17) % 17];
}

int CurvePenWidth(int dpiX, int widthLine) {
    return (Nearest(dpiX / 300.0L) + 1) * widthLine;
}

std::string TickLabel(long double value, int digits) {
    return app::model::FormatGeneral(value, digits);
}

}  // namespace app::results
