#include "engine/stations.h"

#include <gtest/gtest.h>

#include "engine/run_stop.h"

using namespace engine;

namespace {

StationValues ei(double v) {
    return StationValues{v, 0, 0, 0, 0, 0};
}

bool stops(const std::function<void()>& f, const std::string& message) {
    try {
        f();
    } catch (const RunStop& s) {
        return s.reportLines().find(message) != std::string::npos;
    }
    return false;
}

}  // namespace

TEST(Distribution, RangesGiveHalfValuesAtTheirEnds) {
    Stations st;
    st.reset(80, 1.0);
    RangeDistributor r;
    r.add(st, 0, 80, 1, ei(1000));
    EXPECT_EQ(st.ei(0), 500);
    EXPECT_EQ(st.ei(1), 1000);
    EXPECT_EQ(st.ei(79), 1000);
    EXPECT_EQ(st.ei(80), 500);

    // Two ranges meeting at node 40 add up to the full value there.
    st.reset(80, 1.0);
    RangeDistributor r2;
    r2.add(st, 0, 40, 1, ei(1000));
    r2.add(st, 40, 80, 1, ei(1000));
    EXPECT_EQ(st.ei(40), 1000);
    EXPECT_EQ(st.ei(0), 500);

    // A continued record starts a linear range that the next record ends at its TO node.
    st.reset(80, 1.0);
    RangeDistributor r3;
    EXPECT_EQ(r3.add(st, 0, 40, 2, ei(1000)), 2);
    EXPECT_EQ(st.ei(10), 0.0);  // nothing distributed yet
    EXPECT_EQ(r3.add(st, 0, 80, 1, ei(3000)), 3);
    EXPECT_DOUBLE_EQ(st.ei(0), 500);
    EXPECT_DOUBLE_EQ(st.ei(40), 2000);
    EXPECT_DOUBLE_EQ(st.ei(80), 1500);

    // Continued on both sides: the second range starts at the TO node of the record between.
    st.reset(80, 1.0);
    RangeDistributor r4;
    r4.add(st, 0, 0, 2, ei(0));
    EXPECT_EQ(r4.add(st, 0, 40, 2, ei(4000)), 4);
    r4.add(st, 0, 80, 1, ei(0));
    EXPECT_DOUBLE_EQ(st.ei(20), 2000);
    EXPECT_DOUBLE_EQ(st.ei(40), 4000);
    EXPECT_DOUBLE_EQ(st.ei(60), 2000);
}

TEST(Distribution, SingleNodesOrderAndBounds) {
    Stations st;
    st.reset(40, 1.0);
    RangeDistributor springs;
    springs.add(st, 12, 12, 1, StationValues{0, 0, 250, 0, 0, 0});
    EXPECT_EQ(st.s(12), 250);  // in full
    EXPECT_EQ(st.s(11) + st.s(13), 0);
    EXPECT_TRUE(stops([&] { st.distribute(20, 10, ei(1), ei(1)); }, "ERROR STOP -- STATIONS NOT IN ORDER"));
    EXPECT_TRUE(stops([&] { st.distribute(0, 100000, ei(1), ei(1)); }, "LIES OUTSIDE THE WALL"));
    EXPECT_TRUE(stops([&] { st.distribute(-4, 0, ei(1), ei(1)); }, "LIES OUTSIDE THE WALL"));
}

TEST(Distribution, RestraintCodes) {
    Stations st;
    st.reset(40, 1.0);
    st.addRestraint(1, 0, 0.5, 9.0);
    st.addRestraint(2, 10, 9.0, 0.01);
    st.addRestraint(3, 40, 0.0, 0.0);
    EXPECT_EQ(st.codeAt(0), kDeflection);
    EXPECT_EQ(st.codeAt(9), kAboveSlope);
    EXPECT_EQ(st.codeAt(10), kFree);
    EXPECT_EQ(st.codeAt(11), kBelowSlope);
    EXPECT_EQ(st.codeAt(39), kAboveSlope);
    EXPECT_EQ(st.codeAt(40), kDeflectionAtSlope);
    EXPECT_EQ(st.codeAt(41), kBelowSlope);
    EXPECT_EQ(st.deflectionAt(1), 0.5);
    EXPECT_EQ(st.slopeAt(2), 0.01);
    EXPECT_EQ(st.slopeAt(4), 0.0);  // beyond the records: nothing read out of bounds
}

TEST(Distribution, PressureReachesTheNodesDownToTheEndDepth) {
    Stations st;
    st.reset(20, 1.0);
    // generated table: applied down to the free height of 10.2 increments
    std::vector<PressureRow> rows;
    for (int i = 1; i <= 30; ++i)
        rows.push_back({i * 0.5, 2.0 * i * 0.5, 0, 0});  // total = 2 z
    st.applyPressure(rows, 10.2);
    EXPECT_EQ(st.q(0), 0.0);
    EXPECT_DOUBLE_EQ(st.q(1), 2.0);
    EXPECT_DOUBLE_EQ(st.q(10), 20.0);
    EXPECT_EQ(st.q(11), 0.0);

    // user table ending at 10.6 increments: node 11 takes the value of node 10
    st.reset(20, 1.0);
    std::vector<PressureRow> user = {{4.0, 8.0, 8.0, 0}, {10.6, 10.0, 10.0, 0}};
    st.applyPressure(user, 10.6);
    EXPECT_DOUBLE_EQ(st.q(2), 4.0);  // from depth 0 with load 0 to the first row
    EXPECT_DOUBLE_EQ(st.q(10), 8.0 + 2.0 * 6.0 / 6.6);
    EXPECT_DOUBLE_EQ(st.q(11), st.q(10));
    EXPECT_EQ(st.q(12), 0.0);

    // a table reaching far below the tip stays within the stations and is caught by the tip check
    st.reset(20, 1.0);
    std::vector<PressureRow> deep = {{1.0e9, 1.0, 1.0, 0}};
    st.applyPressure(deep, 1.0e9);
    EXPECT_TRUE(stops([&] { st.checkBeyondTip(); }, "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"));
}

TEST(Distribution, BeyondTipCheck) {
    Stations st;
    st.reset(40, 1.0);
    RangeDistributor r;
    r.add(st, 0, 40, 1, ei(1e6));
    EXPECT_NO_THROW(st.checkBeyondTip());
    st.distribute(0, 42, ei(1.0), ei(1.0));
    EXPECT_TRUE(stops([&] { st.checkBeyondTip(); }, "NON-ZERO TABLE 4 DATA BEYOND END"));
    // station NI+3 is not looked at
    Stations st2;
    st2.reset(40, 1.0);
    st2.q(43) = 5.0;
    EXPECT_NO_THROW(st2.checkBeyondTip());
}

TEST(CurveRanges, InterpolatedRangesSingleNodesAndTheTip) {
    Stations st;
    st.reset(40, 1.0);
    auto curve = [](int node, int flag) { return StoredCurve{node, flag, {-1, 0, 1}, {1, 0, -1}}; };
    st.curves = {curve(20, 1), curve(25, 1), curve(30, 1)};
    auto ranges = st.curveRanges();
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[0].start, 20);
    EXPECT_EQ(ranges[0].end, 25);
    EXPECT_EQ(ranges[1].start, 25);
    EXPECT_EQ(ranges[1].end, 30);  // the last curve starts a range nobody ends: no third range

    st.curves = {curve(5, 0), curve(6, 0), curve(45, 0)};
    ranges = st.curveRanges();
    ASSERT_EQ(ranges.size(), 2u);  // the single-node curve below the tip is skipped
    EXPECT_EQ(ranges[1].start, 6);

    st.curves = {curve(30, 1), curve(30, 1), curve(50, 0)};
    ranges = st.curveRanges();
    ASSERT_EQ(ranges.size(), 1u);  // second curve at the start node skipped
    EXPECT_EQ(ranges[0].second, 2);
    EXPECT_EQ(ranges[0].end, 50);
    EXPECT_EQ(ranges[0].lastNode, 40);  // cut at the tip

    st.curves = {curve(40, 1), curve(44, 0)};
    EXPECT_TRUE(st.curveRanges().empty());  // starts at the tip

    st.curves = {curve(30, 1), curve(20, 0)};
    EXPECT_TRUE(stops([&] { st.curveRanges(); }, "STATIONS NOT IN ORDER"));
}
