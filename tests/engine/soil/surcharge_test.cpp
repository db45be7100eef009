// Surcharge pressures against closed forms written out here with the constants as they act
// (single-precision values in double arithmetic), and the report section against hand-laid text.
#include "engine/soil/surcharge.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

using engine::SoilBlock;
using engine::UnitLabels;
using engine::soil::loadPressure;
using engine::soil::Surcharges;

namespace {

const double kPi = 3.1416f;
const double kKappaDepth = 4 / kPi, kLambdaDepth = 2 / kPi;
const double kKappaEntry = 1.273f, kLambdaEntry = 0.6366f;

double point(double Q, double X, double H, double z) {
    const double m = X / H, n = z / H;
    if (m <= double(0.4f)) return double(0.28f) * Q * n * n / (H * H * std::pow(double(0.16f) + n * n, 3));
    return double(1.77f) * Q * m * m * n * n / (H * H * std::pow(m * m + n * n, 3));
}

double line(double Q, double X, double H, double z, double kappa) {
    const double m = X / H, n = z / H;
    if (m <= double(0.4f)) return double(0.203f) * Q * n / (H * std::pow(double(0.16f) + n * n, 2));
    return kappa * Q * m * m * n / (H * std::pow(m * m + n * n, 2));
}

double strip(double q, double X, double W, double z, double lambda) {
    const double b = std::atan((X + W / 2) / z) - std::atan((X - W / 2) / z);
    return lambda * q * (b - std::sin(b) * std::cos(2 * std::atan(X / z)));
}

// Far tighter than the relative gap between a float constant and its decimal (about 1e-8).
#define EXPECT_CLOSE(actual, expected) EXPECT_NEAR(actual, expected, 1e-12 * std::abs(expected))

SoilBlock block(std::vector<engine::Surcharge> listed, std::array<double, 5> single = {}) {
    SoilBlock s;
    s.uniformSurcharge = 0.5;
    s.singleSurcharge = single;
    s.surcharges = std::move(listed);
    return s;
}

}  // namespace

TEST(SurchargeLoad, EdgeCasesOfEachTypeAndTheirConstants) {
    const double H = 120, Q = 1000;
    const double p1 = loadPressure(1, Q, 0.2 * H, 0, 0.4 * H, H, false);
    EXPECT_NEAR(p1 * H * H / Q, 1.367, 5e-4);
    EXPECT_CLOSE(p1, point(Q, 0.2 * H, H, 0.4 * H));
    const double p2 = loadPressure(1, Q, H, 0, H, H, false);
    EXPECT_NEAR(p2 * H * H / Q, 0.221, 5e-4);
    EXPECT_CLOSE(p2, point(Q, H, H, H));
    EXPECT_EQ(loadPressure(1, Q, H, 0, H, H, true), p2);  // the point form has no entry constant

    const double l = loadPressure(2, Q, 0.5 * H, 0, 0.5 * H, H, false);
    EXPECT_NEAR(l * H / Q, 0.637, 5e-4);
    EXPECT_CLOSE(l, line(Q, 0.5 * H, H, 0.5 * H, kKappaDepth));
    const double le = loadPressure(2, Q, 0.5 * H, 0, 0.5 * H, H, true);
    EXPECT_CLOSE(le, line(Q, 0.5 * H, H, 0.5 * H, kKappaEntry));

    const double X = 30, q = 2.5;
    const double s = loadPressure(3, q, X, 2 * X, X, H, false);
    EXPECT_NEAR(s / q, 0.705, 5e-4);
    EXPECT_CLOSE(s, strip(q, X, 2 * X, X, kLambdaDepth));
    const double se = loadPressure(3, q, X, 2 * X, X, H, true);
    EXPECT_CLOSE(se, strip(q, X, 2 * X, X, kLambdaEntry));
}

TEST(SurchargeLoad, NearFormHoldsUpToPointFourH) {
    // The limit is the float 0.4, inclusive; with H = 128, X/H is exactly that value.
    for (int type : {1, 2}) {
        const double atWall = loadPressure(type, 500, 0, 0, 35, 128, false);
        EXPECT_EQ(loadPressure(type, 500, 128 * double(0.4f), 0, 35, 128, false), atWall) << type;
        EXPECT_NE(loadPressure(type, 500, 128 * 0.40000001, 0, 35, 128, false), atWall) << type;
    }
}

TEST(SurchargeLoad, GuardsAndUnknownTypeCodes) {
    for (int type : {1, 2, 3, 7}) {
        EXPECT_EQ(loadPressure(type, 100, 0, 10, 0, 50, false), 0.0) << type;
        EXPECT_EQ(loadPressure(type, 100, 0, 10, -2, 50, true), 0.0) << type;
        EXPECT_EQ(loadPressure(type, 100, 20, 10, 5, 0, false), 0.0) << type;
        EXPECT_EQ(loadPressure(type, 100, 20, 10, 5, -3, false), 0.0) << type;
    }
    // A strip centred on the wall: alpha is 0, the pressure finite.
    const double s = loadPressure(3, 4, 0, 10, 5, 50, false);
    EXPECT_CLOSE(s, strip(4, 0, 10, 5, kLambdaDepth));
    for (int type : {0, 4, -1})
        EXPECT_EQ(loadPressure(type, 100, 30, 10, 25, 50, false),
                  loadPressure(1, 100, 30, 10, 25, 50, false));
}

TEST(SurchargePressure, StepsOnTheSliceGrid) {
    const double H = 120, Q = 1000, X = 30;
    const Surcharges s(block({{1, Q, X, 0}}), H, 80 * 2.5);  // slices 1.0 apart
    EXPECT_EQ(s.pressureAt(0.5), 0.0);
    EXPECT_EQ(s.pressureAt(1.0), 0.0);  // at the first slice: none strictly above
    EXPECT_EQ(s.pressureAt(-1.0), 0.0);
    for (auto [z, slice] : {std::pair{1.25, 1.0}, {10.0, 9.0}, {10.5, 10.0}, {199.0, 198.0}, {250.0, 200.0}})
        EXPECT_CLOSE(s.pressureAt(z), point(Q, X, H, slice)) << z;
    EXPECT_NE(point(Q, X, H, 9.0), point(Q, X, H, 10.0));

    // A depth off a slice depth by rounding only (0.1 + 0.2 against 0.3) counts as that slice depth.
    const Surcharges r(block({{1, Q, X, 0}}), H, 30.0);  // slices 0.15 apart
    EXPECT_CLOSE(r.pressureAt(0.1 + 0.2), point(Q, X, H, 0.15));
}

TEST(Surcharges, PointThenStripListed) {
    const double H = 120;
    const Surcharges s(block({{1, 1000, 30, 0}, {3, 2, 50, 20}}, {10, 500, 40, 3, 6}), H, 200);
    EXPECT_TRUE(s.anyListed());
    std::string info;
    s.writeInformation(info, UnitLabels::forSystem(1));
    EXPECT_NE(info.find("=          1\n      POINT LOAD"), std::string::npos) << info;
    EXPECT_NE(info.find("=          2\n      STRIP LOAD"), std::string::npos) << info;

    const double sum = point(1000, 30, H, 60) + strip(2, 50, 20, 60, kLambdaDepth);
    EXPECT_CLOSE(s.pressureAt(60.5), sum);
    // The strip, the last record, replaced the whole surface record.
    double force = 0;
    for (int j = 1; j <= 10; ++j)
        force += strip(2, 50, 20, 24 + j * 1.2, kLambdaEntry) * 1.2;
    EXPECT_CLOSE(s.singleForce(24, 12), force);

    // A point record alone replaces it the same way.
    const Surcharges p(block({{1, 1000, 60, 0}}, {10, 500, 40, 3, 6}), H, 200);
    force = 0;
    for (int j = 1; j <= 10; ++j)
        force += point(1000, 60, H, 24 + j * 1.2) * 1.2;
    EXPECT_CLOSE(p.singleForce(24, 12), force);
}

TEST(Surcharges, SurfaceRecordAloneLoadsEntriesOnly) {
    const double H = 96;
    const Surcharges s(block({}, {36, 800, 30, 2, 24}), H, 192);
    EXPECT_FALSE(s.anyListed());
    for (double z : {5.0, 50.0, 150.0})
        EXPECT_EQ(s.pressureAt(z), 0.0);
    double force = 0;
    for (int j = 1; j <= 10; ++j) {
        const double z = 12 + j * 0.6;
        force +=
            (point(800, 36, H, z) + line(30, 36, H, z, kKappaEntry) + strip(2, 36, 24, z, kLambdaEntry)) *
            0.6;
    }
    EXPECT_CLOSE(s.singleForce(12, 6), force);

    // Parts at or below 1.0E-4 (its float value) are absent; no load at all gives nothing anywhere.
    EXPECT_EQ(Surcharges(block({}, {36, 0.9e-4, 0, 0, 0}), H, 192).singleForce(12, 6), 0.0);
    EXPECT_GT(Surcharges(block({}, {36, 1e-4, 0, 0, 0}), H, 192).singleForce(12, 6), 0.0);
    const Surcharges none(block({}), H, 192);
    for (double z : {0.0, 1.0, 50.0, 300.0})
        EXPECT_EQ(none.pressureAt(z) + none.singleForce(z, 6), 0.0) << z;
}

TEST(Surcharges, UnknownCodesCountButNeverBecomeTheSingleSurcharge) {
    const double H = 100;
    const Surcharges s(block({{5, 1000, 30, 0}, {2, 50, 55, 0}, {-1, 300, 60, 0}}, {10, 500, 40, 3, 6}), H,
                       200);
    std::string info;
    s.writeInformation(info, UnitLabels::forSystem(1));
    EXPECT_EQ(info.find("=          1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("=          2\n      LINE LOAD"), std::string::npos) << info;
    EXPECT_EQ(info.find("=          3\n"), std::string::npos) << info;

    const double sum = point(1000, 30, H, 44) + line(50, 55, H, 44, kKappaDepth) + point(300, 60, H, 44);
    EXPECT_CLOSE(s.pressureAt(44.2), sum);
    double force = 0;
    for (int j = 1; j <= 10; ++j)
        force += line(50, 55, H, 20 + j, kKappaEntry);  // the line record cleared the surface record
    EXPECT_CLOSE(s.singleForce(20, 10), force);
}

TEST(SurchargeInformation, ReportTextOfEachType) {
    const Surcharges s(block({{1, 1000, 24, 0}, {2, 50, 36, 0}, {3, 2.5, 60, 48}}), 120, 240);
    std::string info = "before\n";
    s.writeInformation(info, UnitLabels::forSystem(1));
    const std::string stars(50, '*');
    const std::string tail = "      HORIZONTAL DISTANCE BETWEEN  = ";
    const std::string wall = "      THE WALL AND SURCHARGE         \n\n";
    EXPECT_EQ(info, "before\n\n\n      " + stars +
                        "\n      *              SURCHARGE INFORMATION             *\n      " + stars +
                        "\n\n" + "\n      UNIFORM SURFACE PRESSURE     = 0.500E+00 LBS/IN**2\n" +
                        "\n      SURCHARGE LOADING NO.        =          1\n" +
                        "      POINT LOAD                   =  0.100E+04 LBS\n" + tail + " 0.240E+02 IN\n" +
                        wall + "\n      SURCHARGE LOADING NO.        =          2\n" +
                        "      LINE LOAD                    =  0.500E+02 LBS/IN\n" + tail +
                        " 0.360E+02 IN\n" + wall + "\n      SURCHARGE LOADING NO.        =          3\n" +
                        "      STRIP LOAD                   =  0.250E+01 LBS/IN**2\n" +
                        "      WIDTH OF THE STRIP LOAD      =  0.480E+02 IN\n" + tail + " 0.600E+02 IN\n" +
                        wall);
}
