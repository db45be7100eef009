// Fixed-width formatting checked against reference outputs from a Fortran runtime
// (tests/data/fixed_format/gen_cases.f90 writes cases.txt and layouts.txt).
#include "engine/fixed_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include <array>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ff = engine::ff;

namespace {

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in.is_open()) << "cannot open " << path;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Text between the first '[' and the last ']', so leading and trailing blanks survive.
bool bracketed(std::string_view s, std::string& out) {
    if (s.size() < 2 || s.front() != '[' || s.back() != ']') return false;
    out = std::string(s.substr(1, s.size() - 2));
    return true;
}

bool parseDouble(const std::string& s, double& out) {
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return !s.empty() && end == s.c_str() + s.size();
}

// format() only takes an initializer_list; expand a vector into one for each possible size.
using Formatter = std::string (*)(std::string_view, const std::vector<ff::Arg>&);

template <std::size_t... I>
std::string formatExpanded(std::string_view layout, [[maybe_unused]] const std::vector<ff::Arg>& args,
                           std::index_sequence<I...>) {
    return ff::format(layout, {args[I]...});
}

template <std::size_t... N>
constexpr std::array<Formatter, sizeof...(N)> makeFormatters(std::index_sequence<N...>) {
    return {[](std::string_view layout, const std::vector<ff::Arg>& args) {
        return formatExpanded(layout, args, std::make_index_sequence<N>{});
    }...};
}

constexpr auto kFormatters = makeFormatters(std::make_index_sequence<17>{});

struct Item {
    ff::Arg::Kind kind;
    long long i = 0;
    double r = 0.0;
    std::string t;
};

struct LayoutCase {
    std::size_t line = 0;
    std::string layout;
    std::vector<Item> items;
    std::string expected;
};

std::vector<LayoutCase> readLayoutCases(const std::string& path) {
    std::vector<LayoutCase> cases;
    LayoutCase cur;
    bool open = false;
    const auto lines = readLines(path);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        const auto bad = [&] { ADD_FAILURE() << path << ':' << n + 1 << ": bad line: " << line; };
        if (line.starts_with("layout ")) {
            if (open) bad();
            cur = LayoutCase{n + 1, std::string(line.substr(7)), {}, {}};
            open = true;
            continue;
        }
        if (!open) {
            if (!line.empty()) bad();
            continue;
        }
        Item item{ff::Arg::Kind::Text, 0, 0.0, {}};
        std::string text;
        if (line == "end") {
            cases.push_back(std::move(cur));
            open = false;
        } else if (line.starts_with("out ") && bracketed(line.substr(4), text)) {
            cur.expected += text + '\n';
        } else if (line.starts_with("int ")) {
            item.kind = ff::Arg::Kind::Int;
            item.i = std::stoll(std::string(line.substr(4)));
            cur.items.push_back(item);
        } else if (line.starts_with("real ") && parseDouble(std::string(line.substr(5)), item.r)) {
            item.kind = ff::Arg::Kind::Real;
            cur.items.push_back(item);
        } else if (line.starts_with("text ") && bracketed(line.substr(5), item.t)) {
            cur.items.push_back(item);
        } else {
            bad();
        }
    }
    EXPECT_FALSE(open) << "unterminated block in " << path;
    return cases;
}

const std::string kDataDir = std::string(DRENOK_TEST_DATA) + "/fixed_format/";

}  // namespace

TEST(FixedFormatField, MatchesReference) {
    const auto lines = readLines(kDataDir + "cases.txt");
    std::size_t checked = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty()) continue;
        SCOPED_TRACE("cases.txt:" + std::to_string(n + 1) + ": " + line);
        const auto bar1 = line.find('|');
        const auto bar2 = bar1 == std::string::npos ? bar1 : line.find('|', bar1 + 1);
        double value = 0.0;
        std::string expected;
        ASSERT_NE(bar2, std::string::npos);
        ASSERT_TRUE(parseDouble(line.substr(bar1 + 1, bar2 - bar1 - 1), value));
        ASSERT_TRUE(bracketed(std::string_view(line).substr(bar2 + 1), expected));
        EXPECT_EQ(ff::formatField(line.substr(0, bar1), value), expected);
        ++checked;
    }
    EXPECT_GE(checked, 180u);
}

TEST(FixedFormatLayout, MatchesReference) {
    const auto cases = readLayoutCases(kDataDir + "layouts.txt");
    EXPECT_GE(cases.size(), 46u);
    for (const auto& c : cases) {
        SCOPED_TRACE("layouts.txt:" + std::to_string(c.line) + ": " + c.layout);
        ASSERT_LT(c.items.size(), kFormatters.size());
        std::vector<ff::Arg> args;
        for (const auto& item : c.items) {
            switch (item.kind) {
                case ff::Arg::Kind::Int:
                    args.emplace_back(item.i);
                    break;
                case ff::Arg::Kind::Real:
                    args.emplace_back(item.r);
                    break;
                case ff::Arg::Kind::Text:
                    args.emplace_back(std::string_view(item.t));
                    break;
                case ff::Arg::Kind::Logical:
                    args.push_back(ff::Arg::logical(item.i != 0));
                    break;
            }
        }
        EXPECT_EQ(kFormatters[args.size()](c.layout, args), c.expected);
    }
}

TEST(FixedFormatLayout, LogicalFields) {
    // gfortran writes .true. and .false. under (A,L1,A,L3,A) as [T][  F]
    EXPECT_EQ(ff::format("('[',L1,'][',L3,']')", {ff::Arg::logical(true), ff::Arg::logical(false)}),
              "[T][  F]\n");
    EXPECT_THROW(ff::format("(L1)", {1}), std::invalid_argument);
}

// The fields and layouts the reports rely on most.
TEST(FixedFormatLayout, ReportLines) {
    EXPECT_EQ(ff::formatField("E10.3", 12.34), " 0.123E+02");
    EXPECT_EQ(ff::formatField("E10.3", -0.01234), "-0.123E-01");
    EXPECT_EQ(ff::formatField("E12.3", 1.234E-5), "   0.123E-04");
    EXPECT_EQ(ff::format("(5X,73('='))", {}), std::string(5, ' ') + std::string(73, '=') + "\n");
    EXPECT_EQ(ff::format("(/,'                    ')", {}), "\n" + std::string(20, ' ') + "\n");
    EXPECT_EQ(
        ff::format("(2X,I4,2X,E10.3,6E12.3)", {12, 12.34, -0.01234, 1.234E-5, 0.0, 1e100, -9.9995, 0.5}),
        "    12   0.123E+02  -0.123E-01   0.123E-04   0.000E+00   0.100+101  -0.100E+02   0.500E+00\n");

    std::string out = "head\n";
    ff::formatTo(out, "('n=',I3)", {42, 7});
    EXPECT_EQ(out, "head\nn= 42\nn=  7\n");
}

TEST(FixedFormatLayout, RejectsMalformedLayoutsAndMismatchedItems) {
    EXPECT_THROW((void)ff::format("", {1}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("I3", {1}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(I3", {1}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(I3))", {1}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(2(I3)", {1}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("('abc)", {}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(Q3)", {1}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(E10)", {1.0}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(F5.)", {1.0}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(E.3)", {1.0}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(I3,5)", {1, 2}), std::invalid_argument);
    // Items left over and a repeated group that takes none: refused, never repeated for ever.
    EXPECT_THROW((void)ff::format("(2X,I3,(5'ab')/)", {1, 2}), std::invalid_argument);
    EXPECT_EQ(ff::format("(2X,I3,(5'ab')/)", {1}), "    1ababababab\n\n");

    EXPECT_THROW((void)ff::format("(I3)", {"x"}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(I3)", {2.5}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(E10.3)", {"x"}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(A)", {3}), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(A5)", {1.0}), std::invalid_argument);
}

// The fast rounding path must agree with the C library's exact rounding of the binary value for
// every magnitude, including values that sit on a decimal half-way point.
TEST(FixedFormatField, AgreesWithExactRoundingOnRandomValues) {
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30), decimals(1, 9);
    for (int i = 0; i < 200000; ++i) {
        double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        const int d = decimals(rng);
        if (i % 4 == 1) v = std::round(v * std::pow(10.0, d)) / std::pow(10.0, d) + 0.5 * std::pow(10.0, -d);
        if (i % 4 == 2)
            v = std::pow(10.0, exponent(rng)) * (i % 8 == 2 ? 1.0 : i % 16 == 6 ? 1.0 - 1e-12 : 1.0 + 1e-12);
        if (i % 4 == 3 && i % 3 == 0) v = (std::pow(10.0, d) - 0.5) * std::pow(10.0, exponent(rng) / 3);
        if (i % 2) v = -v;
        char ref[512];
        // E form from the library's %e: d.ddd e+XX -> 0.dddd E+XX+1
        std::snprintf(ref, sizeof ref, "%.*e", d - 1, std::fabs(v));
        std::string digits;
        const char* p = ref;
        for (; *p != 'e'; ++p)
            if (*p != '.') digits += *p;
        const int e = std::atoi(p + 1) + 1;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%s0.%sE%c%02d", v < 0 ? "-" : "", digits.c_str(),
                      e < 0 ? '-' : '+', std::abs(e));
        const int w = static_cast<int>(std::strlen(expected)) + 2;
        if (std::abs(e) <= 99) {
            char descriptor[16];
            std::snprintf(descriptor, sizeof descriptor, "E%d.%d", w, d);
            ASSERT_EQ(ff::formatField(descriptor, v), std::string(2, ' ').append(expected)) << v;
        }
        if (std::fabs(v) < 1e15) {
            std::snprintf(ref, sizeof ref, "%.*f", d, v);
            const int fw = static_cast<int>(std::strlen(ref)) + 1;
            char descriptor[16];
            std::snprintf(descriptor, sizeof descriptor, "F%d.%d", fw, d);
            ASSERT_EQ(ff::formatField(descriptor, v), std::string(1, ' ').append(ref)) << v;
        }
    }
}

// A compiled numeric line writes what the layout writes, and refuses layouts it cannot take.
TEST(FixedFormatLayout, CompiledNumericLinesMatchTheLayout) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> value(-1e4, 1e4);
    for (const char* layout : {"(I5,1X,E10.3,1X,E10.3)", "(I5,2(2X,E10.3))", "(21X,2F20.3)",
                               "(1X,20X,2D20.3)", "(5(1X,E13.4))", "(2X,I4,2X,E10.3,6E12.3)"}) {
        SCOPED_TRACE(layout);
        ff::NumericLine line;
        ASSERT_TRUE(line.compile(layout));
        for (int i = 0; i < 200; ++i) {
            double v[8];
            for (double& x : v)
                x = i % 10 == 0 ? 0.0 : value(rng) * std::pow(10.0, i % 7 - 3);
            v[0] = std::round(v[0]);
            std::string compiled, interpreted;
            switch (line.fieldCount()) {
                case 2:
                    line.write(compiled, {v[0], v[1]});
                    ff::formatTo(interpreted, layout, {v[0], v[1]});
                    break;
                case 3:
                    line.write(compiled, {v[0], v[1], v[2]});
                    ff::formatTo(interpreted, layout, {static_cast<int>(v[0]), v[1], v[2]});
                    break;
                case 5:
                    line.write(compiled, {v[0], v[1], v[2], v[3], v[4]});
                    ff::formatTo(interpreted, layout, {v[0], v[1], v[2], v[3], v[4]});
                    break;
                default:
                    line.write(compiled, {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]});
                    ff::formatTo(interpreted, layout,
                                 {static_cast<int>(v[0]), v[1], v[2], v[3], v[4], v[5], v[6], v[7]});
                    break;
            }
            ASSERT_EQ(compiled, interpreted);
        }
    }
    ff::NumericLine line;
    for (const char* layout : {"(A,E10.3)", "(E10.3,/,E10.3)", "('x',E10.3)", "(L1)", "(5X)"})
        EXPECT_FALSE(line.compile(layout)) << layout;
    ASSERT_TRUE(line.compile("(I5,1X,E10.3)"));
    std::string out;
    EXPECT_THROW(line.write(out, {1.0}), std::invalid_argument);
}

// Found by fuzzing: nested repeat counts multiply, and this layout once expanded to millions of
// descriptors before failing. Such layouts are refused at once.
TEST(FixedFormatLayout, RefusesLayoutsThatExpandTooFar) {
    EXPECT_THROW((void)ff::format("(1(881(8809A)"), std::invalid_argument);
    EXPECT_THROW((void)ff::format("(100(100(100I1)))", {1}), std::invalid_argument);
    EXPECT_EQ(ff::format("(2(3('ab')))"), "abababababab\n");  // modest nesting still expands
}
