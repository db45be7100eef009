#include "app/model/expression.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace {

using app::model::EAssignError;
using app::model::EvaluateExpression;
using app::model::EvaluateOperand;
using app::model::IsFunctionName;

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kE = std::numbers::e_v<long double>;
constexpr const char* kInvalidCharacters = "invalid character(s) in expression";
constexpr const char* kNotFinite = "result is infinite or undefined";

struct Case {
    const char* text;
    long double expected;
};

void expectValues(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            EXPECT_EQ(EvaluateExpression(c.text), c.expected);
        } catch (const EAssignError& e) {
            ADD_FAILURE() << "refused: " << e.what();
        }
    }
}

std::string message(const char* reason) {
    return std::string("Entry could not be evaluated:\r").append(reason);
}

struct Refusal {
    const char* text;
    const char* reason;
};

void expectRefusals(std::initializer_list<Refusal> cases) {
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ADD_FAILURE() << "accepted as " << EvaluateExpression(c.text);
        } catch (const EAssignError& e) {
            EXPECT_EQ(e.what(), message(c.reason));
        }
    }
}

// Each pair of a level is chosen so that another order or grouping gives another value; a sign
// belongs to its operand ('-2^2' is 4) and blanks vanish anywhere.
TEST(Expression, PrecedenceAndAssociativity) {
    expectValues({{"2+3*4", 14}, {"(2+3)*4", 20},      {"2*3+4", 10}, {"2^-1", 0.5L}, {"-2^2", 4},
                  {"2^3^2", 64}, {"2*3^2", 18},        {"8/2/2", 2},  {"10-2-3", 5},  {"2-3+4", 3},
                  {"2+2=4", 1},  {"2+2=5", 0},         {"1=2=0", 1},  {"1|0-1", 0},   {"1+1&0", 1},
                  {"3*2%4", 2},  {"7%4*2", 6},         {"2*-3", -6},  {"5--3", 8},    {"5---3", 2},
                  {"--3", 3},    {" 1 000\t+ 1", 1001}});
}

TEST(Expression, OperatorsOfEachLevel) {
    expectValues({{"10%4", 2},
                  {"7.9%2.5", 1},
                  {"-7%2", -1},
                  {"7%-2", 1},
                  {"2&0", 0},
                  {"2&3", 1},
                  {"0&0", 0},
                  {"0|0", 0},
                  {"0|2", 1},
                  {"3|0", 1},
                  {"1|x", 1},
                  {"0.5*4", 2},
                  {"1/4", 0.25L},
                  {"1.5e2", 150},
                  {"1E-3*1000", 1},
                  {"2e3", 2000}});
}

// Partial results are read back from 18 significant digits, in general format: "E" without "+" for
// large and small magnitudes, and a parenthesised result simply takes the place of its brackets.
TEST(Expression, PartialResultsTravelAsText) {
    expectValues({{"1/3", 0.333333333333333333L},
                  {"1/3*3", 0.999999999999999999L},
                  {"1/3*3=1", 0},
                  {"pi*1", 3.14159265358979324L},
                  {"2(3)", 23},
                  {"2(0.5)", 20.5L},
                  {"2(1-3)", 0},  // "2-2"
                  {"5-(1-3)", 7},
                  {"(10^20)*2", 2e20L},
                  {"(10^-6)*3", 3e-6L},
                  {"(2^70)+1", 1.1805916207174113e21L},  // the 1 is lost again in 18 digits
                  {"2(10^-4)", 20.0001L},
                  {"2(10^-5)", 0.00021L},                // "21E-5"
                  {"(10^17)1", 1000000000000000001.0L},  // all digits printed
                  {"(10^18)1", 1e181L},                  // "1E181"
                  {"((2))", 2},
                  {"(((1+1)*(2+1)))^2", 36}});
}

TEST(Expression, ConstantsNumbersAndFactorials) {
    expectValues({{"PI", kPi},
                  {"pi", kPi},
                  {"-pi", -kPi},
                  {"e", kE},
                  {"-E", -kE},
                  {"$1F", 31},
                  {"$1f", 31},
                  {"$0", 0},
                  {"$FFFFFFFFFFFFFFFF", 18446744073709551615.0L},
                  {"$1F+1", 32},
                  {".5", 0.5L},
                  {"5.", 5},
                  {"-0.25", -0.25L},
                  {"1e-4940", 1e-4940L},
                  {"5!", 120},
                  {"0!", 1},
                  {"1!", 1},
                  {"-3!", -6},
                  {"3!!", 720},
                  {"$5!", 120},
                  {"25!", 15511210043330985984000000.0L},
                  {"sqrt4!", std::sqrt(24.0L)}});  // a function takes the rest of its operand
    EXPECT_NEAR(EvaluateExpression("1754!") / std::exp(std::lgamma(1755.0L)), 1, 1e-14L);
}

TEST(Expression, FunctionsAtTheirDomainEdges) {
    expectValues({{"sqrt16", 4},
                  {"sqrt0", 0},
                  {"sqrt2", std::sqrt(2.0L)},
                  {"SQRT16", 4},
                  {"sin0", 0},
                  {"sin(pi/2)", 1},
                  {"sinpi", std::sin(kPi)},
                  {"sin-pi", std::sin(-kPi)},
                  {"sin-1", -std::sin(1.0L)},
                  {"cos0", 1},
                  {"cospi", -1},
                  {"tan0", 0},
                  {"cotan(pi/4)", 1.0L / std::tan(0.78539816339744831L)},
                  {"sec0", 1},
                  {"secpi", -1},
                  {"cosec(pi/2)", 1},
                  {"csc(pi/2)", 1},
                  {"csc-1", 1.0L / std::sin(-1.0L)},
                  {"arcsin1", kPi / 2},
                  {"arcsin-1", -kPi / 2},
                  {"arccos1", 0},
                  {"arccos-1", kPi},
                  {"arctan1", kPi / 4},
                  {"arctan1e4000", kPi / 2},
                  {"sinh0", 0},
                  {"cosh0", 1},
                  {"tanh0", 0},
                  {"tanh100", 1},
                  {"arcsinh0", 0},
                  {"arccosh1", 0},
                  {"arctanh0", 0},
                  {"abs-3", 3},
                  {"abs3", 3},
                  {"frac2.75", 0.75L},
                  {"frac-2.75", -0.75L},
                  {"frac0.5", 0.5L},
                  {"int2.7", 2},
                  {"int-2.7", -2},
                  {"ln1", 0},
                  {"lne", 1},
                  {"round2.5", 2},
                  {"round3.5", 4},
                  {"round-2.5", -2},
                  {"round2.4999", 2},
                  {"round0.5", 0},
                  {"ceil1.2", 2},
                  {"ceil-1.5", -1},
                  {"floor1.8", 1},
                  {"floor-1.5", -2},
                  {"abs(1-3)*2", 4},
                  {"sqrt16+sqrt9", 7},
                  {"sqrtfrac4.25", 0.5L}});
    // Closed forms within about one unit in the last place, where the library decides the last bit.
    const long double tolerance = 5e-19L;
    EXPECT_NEAR(EvaluateExpression("log1000"), 3, tolerance);
    EXPECT_NEAR(EvaluateExpression("log0.001"), -3, tolerance);
    EXPECT_NEAR(EvaluateExpression("sinh1"), (kE - 1 / kE) / 2, tolerance);
    EXPECT_NEAR(EvaluateExpression("cosh1"), (kE + 1 / kE) / 2, tolerance);
    EXPECT_NEAR(EvaluateExpression("tanh0.5"), (kE - 1) / (kE + 1), tolerance);
    EXPECT_NEAR(EvaluateExpression("arcsinh1"), std::log(1 + std::sqrt(2.0L)), tolerance);
    EXPECT_NEAR(EvaluateExpression("arccosh2"), std::log(2 + std::sqrt(3.0L)), tolerance);
    EXPECT_NEAR(EvaluateExpression("arctanh0.5"), std::log(3.0L) / 2, tolerance);
}

TEST(Expression, EveryRefusalMessage) {
    const char* hex = "invalid use of $ (hex function)";
    const char* fraction = "! (factoral) applicable to integers only";
    expectRefusals({
        {"", "entry cannot be blank"},
        {"()", "entry cannot be blank"},  // the text inside the brackets
        {"2)", "() (parentheses) do not match"},
        {"(1))", "() (parentheses) do not match"},
        {"3+", "invalid expression"},
        {"3-", "invalid expression"},
        {"   ", "invalid expression"},
        {"\t", "invalid expression"},
        {"e-1", kInvalidCharacters},      // a minus after "e" is an exponent sign
        {"2e+3", kInvalidCharacters},     // "+" always splits
        {"2*sin-1", kInvalidCharacters},  // "2*sin" is no function name
        {"-sin1", kInvalidCharacters},    // a function name must open its operand
        {"(2", kInvalidCharacters},
        {"((2)", kInvalidCharacters},
        {"1/0", kInvalidCharacters},
        {"0/0", kInvalidCharacters},
        {"sqrt-1+1", kInvalidCharacters},
        {"abc", kInvalidCharacters},
        {"1,5", kInvalidCharacters},
        {"*3", kInvalidCharacters},
        {"2**3", kInvalidCharacters},
        {"3*-", kInvalidCharacters},
        {"sin", kInvalidCharacters},
        {"!", kInvalidCharacters},
        {"1.2.3", kInvalidCharacters},
        {"inf", kInvalidCharacters},
        {"nan", kInvalidCharacters},
        {"0x10", kInvalidCharacters},
        {"1e", kInvalidCharacters},
        {"1e5000", kInvalidCharacters},
        {"0|x", kInvalidCharacters},
        {"x|1", kInvalidCharacters},
        {"-$1F", kInvalidCharacters},
        {"$1G", hex},
        {"$", hex},
        {"$1.5", hex},
        {"$10000000000000000", hex},  // 65 bits
        {"2.5!", fraction},
        {"pi!", fraction},
        {"1+0.5!", fraction},
    });
}

// "%" truncates both operands; a divisor that truncates to zero is refused with its own reason.
TEST(Expression, RemainderByZeroIsRefused) {
    const char* reason = "% (remainder) by zero: divisor must be at least 1 in magnitude";
    expectRefusals({{"5%0", reason}, {"5%0.9", reason}, {"5%-0.5", reason}, {"1|5%0", reason}});
    expectValues({{"5%1", 0}, {"5%-1.9", 0}, {"1e20%7", 2}, {"-9223372036854775808%-1", 0}});
}

// A lone operand with an infinite or undefined value is refused rather than handed to the caller.
TEST(Expression, NonFiniteResultIsRefused) {
    expectRefusals({{"sqrt-1", kNotFinite},
                    {"ln0", kNotFinite},
                    {"log-1", kNotFinite},
                    {"arcsin1.0000001", kNotFinite},
                    {"arccosh0.5", kNotFinite},
                    {"arctanh1", kNotFinite},
                    {"cotan0", kNotFinite},
                    {"cosec0", kNotFinite},
                    {"1755!", kNotFinite},
                    {"1e4000!", kNotFinite},
                    {"(sqrt-1)*0", kNotFinite},
                    {"sinh20000", kNotFinite}});
    EXPECT_EQ(EvaluateExpression("sqrt-1|1"), 1);  // an operator consumed the undefined value
}

// The operand reader itself hands back infinite and undefined values.
TEST(Expression, OperandReader) {
    EXPECT_EQ(EvaluateOperand("PI"), kPi);
    EXPECT_EQ(EvaluateOperand("--5"), 5);
    EXPECT_EQ(EvaluateOperand("sin--1"), std::sin(1.0L));
    EXPECT_TRUE(std::isnan(EvaluateOperand("sqrt-1")));
    EXPECT_EQ(EvaluateOperand("ln0"), -std::numeric_limits<long double>::infinity());
    EXPECT_THROW((void)EvaluateOperand("INF"), EAssignError);
    EXPECT_THROW((void)EvaluateOperand("1+1"), EAssignError);
    EXPECT_THROW((void)app::model::factorial(0.5L), EAssignError);
    EXPECT_EQ(app::model::secant(0), 1);
    EXPECT_EQ(app::model::cosecant(kPi / 2), 1);
}

// Chains of functions and factorials are read without one stack frame per link.
TEST(Expression, LongChainsInOneOperand) {
    std::string sines;
    for (int i = 0; i < 200000; ++i)
        sines += "sin";
    EXPECT_EQ(EvaluateExpression(sines + "0"), 0);
    EXPECT_EQ(EvaluateExpression(std::string("1").append(200000, '!')), 1);
    EXPECT_EQ(EvaluateExpression("3!!-1"), 719);
}

TEST(Expression, FunctionNames) {
    const char* functions[] = {"arctanh", "arctan", "cotan", "tanh",    "tan",    "arccosh", "arccos",
                               "cosh",    "cos",    "sec",   "arcsinh", "arcsin", "sinh",    "sin",
                               "cosec",   "csc",    "abs",   "frac",    "int",    "ln",      "round",
                               "ceil",    "floor",  "log",   "sqrt"};
    for (const char* name : {"!", "$", "SIN", "ArcTanH"})
        EXPECT_TRUE(IsFunctionName(name)) << name;
    for (const char* name : {"", "pi", "e", "si", "sinx", "exp", "asin", "-", "%", "sin-", "!!"}) {
        EXPECT_FALSE(IsFunctionName(name)) << name;
    }
    // After a whole-text function name a minus is the argument's sign: the operand is a function
    // application, giving a value or an undefined one, never unreadable text.
    for (const char* name : functions) {
        EXPECT_TRUE(IsFunctionName(name)) << name;
        const std::string text = std::string(name).append("-1");
        SCOPED_TRACE(text);
        try {
            (void)EvaluateExpression(text);
        } catch (const EAssignError& e) {
            EXPECT_EQ(e.what(), message(kNotFinite));
        }
    }
}

// A caller that enabled traps and another rounding is not stopped by a division by zero, and gets
// its environment back without the evaluator's flags.
TEST(Expression, NeverTrapsAndRestoresTheEnvironment) {
    const int traps = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
    std::feclearexcept(FE_ALL_EXCEPT);
    ASSERT_NE(feenableexcept(traps), -1);
    std::fesetround(FE_UPWARD);
    EXPECT_THROW((void)EvaluateExpression("1/0"), EAssignError);
    EXPECT_THROW((void)EvaluateExpression("sqrt-1"), EAssignError);
    EXPECT_THROW((void)EvaluateExpression("1755!"), EAssignError);
    EXPECT_EQ(EvaluateExpression("round2.5"), 2);
    EXPECT_EQ(EvaluateExpression("1/3"), 0.333333333333333333L);
    const int stillEnabled = fegetexcept();
    const int roundingAfter = std::fegetround();
    const int flagsAfter = std::fetestexcept(traps);
    std::fesetround(FE_TONEAREST);
    fedisableexcept(traps);
    EXPECT_EQ(stillEnabled, traps);
    EXPECT_EQ(roundingAfter, FE_UPWARD);
    EXPECT_EQ(flagsAfter, 0);
}

}  // namespace
