#include "engine/data_reader.h"

#include <gtest/gtest.h>

#include "engine/run_stop.h"

using engine::DataReader;
using engine::RunStop;

namespace {

std::string stopText(const std::function<void()>& f) {
    try {
        f();
    } catch (const RunStop& s) {
        return s.reportLines();
    }
    return "no stop";
}

}  // namespace

TEST(DataReader, RecordsRunOverLinesAndIgnoreTheRestOfTheirLine) {
    DataReader in("Title line\n1 2 3\n4  5 trailing comment 99\n6,7\t8\n  \n9\n", "INPUT DATA FILE");
    EXPECT_EQ(in.readTitle(), "Title line" + std::string(60, ' '));
    in.beginRecord();
    // five values over two lines: the record reads on; "trailing comment 99" is ignored
    int v[5];
    for (int& x : v)
        x = in.readInt();
    EXPECT_EQ(v[0] + v[1] + v[2] + v[3] + v[4], 15);
    in.beginRecord();
    EXPECT_EQ(in.readInt(), 6);  // commas and tabs separate too
    EXPECT_EQ(in.readInt(), 7);
    in.beginRecord();            // skips " 8" of the same line
    EXPECT_EQ(in.readInt(), 9);  // a blank line inside a record is passed over
}

TEST(DataReader, TitlesAreCutAtSeventyAndPadded) {
    const std::string longTitle(90, 'x');
    DataReader in(longTitle + "\r\nshort\r\n", "INPUT DATA FILE");
    EXPECT_EQ(in.readTitle(), std::string(70, 'x'));
    EXPECT_EQ(in.readTitle(), "short" + std::string(65, ' '));  // the carriage return is not part of it
}

TEST(DataReader, NumeralForms) {
    double d = 0;
    EXPECT_TRUE(engine::parseReal("80", d));
    EXPECT_EQ(d, 80.0);
    EXPECT_TRUE(engine::parseReal("1E-5", d));
    EXPECT_EQ(d, 1e-5);
    EXPECT_TRUE(engine::parseReal("1D-5", d));
    EXPECT_EQ(d, 1e-5);
    EXPECT_TRUE(engine::parseReal("+.5", d));
    EXPECT_EQ(d, 0.5);
    EXPECT_TRUE(engine::parseReal("0.100+101", d));  // three-digit exponent written without its letter
    EXPECT_EQ(d, 0.1e101);
    EXPECT_TRUE(engine::parseReal("-0.123-101", d));
    EXPECT_EQ(d, -0.123e-101);
    for (const char* bad : {"", "abc", "inf", "nan", "1e999", "1.2.3", "1e", "--1", "1x", "0x10", "*****"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(engine::parseReal(bad, d));
    }
    int i = 0;
    EXPECT_TRUE(engine::parseInt("-12", i));
    EXPECT_EQ(i, -12);
    EXPECT_TRUE(engine::parseInt("+7", i));
    EXPECT_EQ(i, 7);
    for (const char* bad : {"1.0", "1E2", "2147483648", "x", ""}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(engine::parseInt(bad, i));
    }
}

TEST(DataReader, FaultsNameTheLineAndEndTheRun) {
    {
        DataReader in("t\n1 2\n", "INPUT DATA FILE");
        in.readTitle();
        in.beginRecord();
        in.readInt();
        in.readInt();
        const std::string msg = stopText([&] { in.readInt(); });
        EXPECT_NE(msg.find("ERROR -- INPUT DATA FILE ENDS BEFORE A RECORD IS COMPLETE (LINE 2)"),
                  std::string::npos)
            << msg;
    }
    {
        DataReader in("1 2\n3 x4\n", "INPUT DATA FILE");
        in.beginRecord();
        in.readInt();
        in.readInt();
        in.readInt();
        const std::string msg = stopText([&] { in.readReal(); });
        EXPECT_NE(msg.find("NUMBER EXPECTED IN INPUT DATA FILE (LINE 2): 'x4'"), std::string::npos) << msg;
    }
    {
        DataReader in("12.5\n", "INPUT DATA FILE");
        in.beginRecord();
        EXPECT_NE(stopText([&] { in.readInt(); }).find("INTEGER EXPECTED"), std::string::npos);
    }
    {
        DataReader in("", "INPUT DATA FILE");
        EXPECT_NE(stopText([&] { in.readTitle(); }).find("ENDS WHERE A TITLE IS EXPECTED"),
                  std::string::npos);
    }
    EXPECT_NE(stopText([] {
                  DataReader::fromFile("/nonexistent/wall.dn5d", "INPUT DATA FILE");
              }).find("CANNOT BE OPENED"),
              std::string::npos);
}
