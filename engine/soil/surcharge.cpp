#include "engine/soil/surcharge.h"

#include <cmath>

#include "engine/fixed_format.h"
#include "engine/soil/constants.h"

namespace engine::soil {

namespace {

// Factors of the wall-modified Boussinesq forms, at single precision like every soil constant.
constexpr double kNearLimit = 0.4f;    // offset ratio up to which a load acts as if at 0.4 H
constexpr double kNearSquare = 0.16f;  // 0.4 squared, as a constant of its own
constexpr double kPointNear = 0.28f;
constexpr double kPointFar = 1.77f;
constexpr double kLineNear = 0.203f;
// The entry force uses 4/pi and 2/pi rounded to four decimals; the pressure at a depth divides by kPi.
constexpr double kLineFarEntry = 1.273f;
constexpr double kStripEntry = 0.6366f;
constexpr double kMinSingleLoad = 1.0e-4f;  // a single-surcharge part at or below this is absent
constexpr int kSlices = 200;                // sampling grid of the wall length
constexpr int kEntrySteps = 10;             // samples of an entry's surcharge force

double square(double a) {
    return a * a;
}
double cube(double a) {
    return a * a * a;
}

double pointPressure(double q, double m, double n, double H) {
    const double n2 = n * n;
    if (m <= kNearLimit) return kPointNear * q * n2 / (H * H * cube(kNearSquare + n2));
    return kPointFar * q * m * m * n2 / (H * H * cube(m * m + n2));
}

double linePressure(double q, double m, double n, double H, double kappa) {
    const double n2 = n * n;
    if (m <= kNearLimit) return kLineNear * q * n / (H * square(kNearSquare + n2));
    return kappa * q * m * m * n / (H * square(m * m + n2));
}

double stripPressure(double q, double x, double w, double z, double lambda) {
    const double alpha = std::atan(x / z);
    const double beta = std::atan((x + w / 2) / z) - std::atan((x - w / 2) / z);
    return lambda * q * (beta - std::sin(beta) * std::cos(2 * alpha));
}

}  // namespace

double loadPressure(int type, double magnitude, double distance, double width, double z, double H,
                    bool forEntryForce) {
    // The ratios divide by H and the strip angles by z. Point and line forms vanish at the surface
    // anyway; 0 there and for a wall without free height keeps every table finite.
    if (H <= 0.0 || z <= 0.0) return 0.0;
    const double m = distance / H;
    const double n = z / H;
    switch (type) {
        case 2:
            return linePressure(magnitude, m, n, H, forEntryForce ? kLineFarEntry : 4.0 / kPi);
        case 3:
            return stripPressure(magnitude, distance, width, z, forEntryForce ? kStripEntry : 2.0 / kPi);
        default:
            // Codes outside 1..3 are never written by the data-entry program; summing them as point
            // loads keeps a hand-edited file from silently losing a load.
            return pointPressure(magnitude, m, n, H);
    }
}

Surcharges::Surcharges(const SoilBlock& soil, double H, double wallLength)
    : m_listed(soil.surcharges), m_uniform(soil.uniformSurcharge), m_H(H), m_wallLength(wallLength) {
    const auto& s = soil.singleSurcharge;
    m_single = {s[0], s[1], s[2], s[3], s[4]};
    // Each listed load in turn becomes the single surcharge; the last one stays.
    for (const Surcharge& l : m_listed) {
        switch (l.type) {
            case 1:
                m_single = {l.distance, l.magnitude, 0.0, 0.0, m_single.width};
                break;
            case 2:
                m_single = {l.distance, 0.0, l.magnitude, 0.0, m_single.width};
                break;
            case 3:
                m_single = {l.distance, 0.0, 0.0, l.magnitude, l.width};
                break;
            default:
                break;  // an unknown code leaves the single surcharge as it is
        }
    }
    // The pressure at a depth only ever takes the values at the slice depths: sum them once, since
    // a pressure table asks for thousands of depths.
    if (!m_listed.empty()) {
        m_slicePressure.assign(kSlices + 1, 0.0);
        for (int i = 1; i <= kSlices; ++i) {
            const double zs = i * m_wallLength / kSlices;
            for (const Surcharge& l : m_listed)
                m_slicePressure[static_cast<size_t>(i)] +=
                    loadPressure(l.type, l.magnitude, l.distance, l.width, zs, m_H, false);
        }
    }
}

void Surcharges::writeInformation(std::string& report, const UnitLabels& u) const {
    ff::formatTo(report,
                 "(/,/,6X,50('*'),/,6X,'*              SURCHARGE INFORMATION             *',/,6X,50('*'),/)",
                 {});
    ff::formatTo(report, "(/,6X,'UNIFORM SURFACE PRESSURE     =',E10.3,A4,A1,A2,A2,A1)",
                 {m_uniform, u.F, "/", u.L2, "**", "2"});
    int number = 0;
    for (const Surcharge& l : m_listed) {
        ++number;  // unknown codes print nothing but keep their number
        switch (l.type) {
            case 1:
                ff::formatTo(report,
                             "(/,6X,'SURCHARGE LOADING NO.        = ',I10,/,"
                             "6X,'POINT LOAD                   = ',E10.3,A4,/,"
                             "6X,'HORIZONTAL DISTANCE BETWEEN  = ',E10.3,A3,/,"
                             "6X,'THE WALL AND SURCHARGE         ',/)",
                             {number, l.magnitude, u.F, l.distance, u.L});
                break;
            case 2:
                ff::formatTo(report,
                             "(/,6X,'SURCHARGE LOADING NO.        = ',I10,/,"
                             "6X,'LINE LOAD                    = ',E10.3,A4,A1,A2,/,"
                             "6X,'HORIZONTAL DISTANCE BETWEEN  = ',E10.3,A3,/,"
                             "6X,'THE WALL AND SURCHARGE         ',/)",
                             {number, l.magnitude, u.F, "/", u.L2, l.distance, u.L});
                break;
            case 3:
                ff::formatTo(report,
                             "(/,6X,'SURCHARGE LOADING NO.        = ',I10,/,"
                             "6X,'STRIP LOAD                   = ',E10.3,A4,A1,A2,A2,A1,/,"
                             "6X,'WIDTH OF THE STRIP LOAD      = ',E10.3,A3,/,"
                             "6X,'HORIZONTAL DISTANCE BETWEEN  = ',E10.3,A3,/,"
                             "6X,'THE WALL AND SURCHARGE         ',/)",
                             {number, l.magnitude, u.F, "/", u.L2, "**", "2", l.width, u.L, l.distance, u.L});
                break;
            default:
                break;
        }
    }
}

double Surcharges::pressureAt(double z) const {
    if (m_listed.empty()) return 0.0;
    // The deepest slice depth strictly above z. Row depths are computed or read independently of the
    // grid, so a slice within the depth tolerance of z counts as z itself and is not taken.
    // The deepest slice i with i*L/200 < z - tolerance: estimated from the quotient, then settled
    // with the same comparison the grid is defined by.
    auto above = [&](int i) { return i * m_wallLength / kSlices < z - kDepthTolerance; };
    double estimate = m_wallLength > 0.0 ? (z - kDepthTolerance) * kSlices / m_wallLength : 0.0;
    int slice = estimate < 0.0 ? 0 : estimate > kSlices ? kSlices : static_cast<int>(estimate);
    while (slice > 0 && !above(slice))
        --slice;
    while (slice < kSlices && above(slice + 1))
        ++slice;
    if (slice == 0 || !(m_wallLength > 0.0)) return 0.0;
    return m_slicePressure[static_cast<size_t>(slice)];
}

double Surcharges::singleForce(double zTop, double t) const {
    const struct {
        int type;
        double magnitude;
    } parts[] = {{1, m_single.point}, {2, m_single.line}, {3, m_single.strip}};
    const double dz = t / kEntrySteps;
    double force = 0.0;
    for (const auto& p : parts) {
        if (!(p.magnitude > kMinSingleLoad)) continue;
        for (int j = 1; j <= kEntrySteps; ++j) {
            const double z = zTop + j * t / kEntrySteps;
            force += loadPressure(p.type, p.magnitude, m_single.distance, m_single.width, z, m_H, true) * dz;
        }
    }
    return force;
}

}  // namespace engine::soil
