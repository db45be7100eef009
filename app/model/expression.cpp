#include "app/model/expression.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include <locale.h>
#include <stdlib.h>

#if defined(__x86_64__) || defined(__i386__)
#include <fpu_control.h>

#include "app/model/number_format.h"
#endif

namespace app::model {
namespace {

constexpr std::string_view kBlank = "entry cannot be blank";
constexpr std::string_view kParentheses = "() (parentheses) do not match";
constexpr std::string_view kInvalidExpression = "invalid expression";
constexpr std::string_view kInvalidCharacters = "invalid character(s) in expression";
constexpr std::string_view kInvalidHex = "invalid use of $ (hex function)";
constexpr std::string_view kFactorialOfFraction = "! (factoral) applicable to integers only";
// An integer remainder by zero has no value; refusing it names the cause instead of letting an
// undefined value surface later as "invalid characters".
constexpr std::string_view kRemainderByZero =
    "% (remainder) by zero: divisor must be at least 1 in magnitude";
// A lone operand such as 'sqrt-1' or 'ln0' is never printed as text, so nothing else would stop an
// infinite or undefined value from reaching the caller's range checks.
constexpr std::string_view kNotFinite = "result is infinite or undefined";

// Partial results are printed with this many significant digits and read back.

[[noreturn]] void refuse(std::string_view reason) {
    throw EAssignError(std::string("Entry could not be evaluated:\r").append(reason));
}

// Evaluation runs with every floating-point exception masked, rounding to nearest and (on x87) a 64-bit
// mantissa, whatever the caller set; the caller's environment and flags come back afterwards.
class FloatingPointGuard {
public:
    FloatingPointGuard() {
        std::feholdexcept(&m_saved);
        std::fesetround(FE_TONEAREST);
#if defined(__x86_64__) || defined(__i386__)
        fpu_control_t word = 0;
        _FPU_GETCW(word);
        word = static_cast<fpu_control_t>((word & ~_FPU_EXTENDED) | _FPU_EXTENDED);
        _FPU_SETCW(word);
#endif
    }
    ~FloatingPointGuard() {
        std::fesetenv(&m_saved);
    }
    FloatingPointGuard(const FloatingPointGuard&) = delete;
    FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

private:
    std::fenv_t m_saved{};
};

std::string lowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

struct Function {
    std::string_view name;
    long double (*apply)(long double);
};

// Tried in this order on the leading characters of an operand: every name comes before the names
// that are its prefixes ("tanh" before "tan", "cosec" before "cos"), so the longer name wins.
constexpr Function kFunctions[] = {
    {"arctanh", [](long double x) { return std::atanh(x); }},
    {"arctan", [](long double x) { return std::atan(x); }},
    {"cotan", [](long double x) { return 1.0L / std::tan(x); }},
    {"tanh", [](long double x) { return std::tanh(x); }},
    {"tan", [](long double x) { return std::tan(x); }},
    {"arccosh", [](long double x) { return std::acosh(x); }},
    {"arccos", [](long double x) { return std::acos(x); }},
    {"cosh", [](long double x) { return std::cosh(x); }},
    {"cosec", [](long double x) { return cosecant(x); }},
    {"cos", [](long double x) { return std::cos(x); }},
    {"sec", [](long double x) { return secant(x); }},
    {"arcsinh", [](long double x) { return std::asinh(x); }},
    {"arcsin", [](long double x) { return std::asin(x); }},
    {"sinh", [](long double x) { return std::sinh(x); }},
    {"sin", [](long double x) { return std::sin(x); }},
    {"csc", [](long double x) { return cosecant(x); }},
    {"abs", [](long double x) { return std::fabs(x); }},
    {"frac", [](long double x) { return x - std::trunc(x); }},
    {"int", [](long double x) { return std::trunc(x); }},
    {"ln", [](long double x) { return std::log(x); }},
    // Halves go to the even neighbour: the guard has set rounding to nearest.
    {"round", [](long double x) { return std::nearbyint(x); }},
    {"ceil", [](long double x) { return std::ceil(x); }},
    {"floor", [](long double x) { return std::floor(x); }},
    {"log", [](long double x) { return std::log10(x); }},
    {"sqrt", [](long double x) { return std::sqrt(x); }},
};

long double readHex(std::string_view text) {
    std::string_view digits = text.substr(1);
    if (digits.empty()) refuse(kInvalidHex);
    std::uint64_t value = 0;
    for (const char c : digits) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            refuse(kInvalidHex);
        }
        if (value > (UINT64_MAX >> 4)) refuse(kInvalidHex);
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return static_cast<long double>(value);  // exact: the mantissa holds 64 bits
}

// Conversions always use "."; the process locale (set from the environment by a GUI toolkit) must not
// change what an entry means.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// [-] digits [. digits] [e [+|-] digits], at least one mantissa digit. Checked here because the C
// conversion would also take "inf", "nan" and hexadecimal floats.
long double readDecimal(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && text[i] == '-') ++i;
    std::size_t mantissaDigits = 0;
    for (; i < n && isDigit(text[i]); ++i)
        ++mantissaDigits;
    if (i < n && text[i] == '.') {
        for (++i; i < n && isDigit(text[i]); ++i)
            ++mantissaDigits;
    }
    if (mantissaDigits == 0) refuse(kInvalidCharacters);
    if (i < n && text[i] == 'e') {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        for (; i < n && isDigit(text[i]); ++i)
            ++exponentDigits;
        if (exponentDigits == 0) refuse(kInvalidCharacters);
    }
    if (i != n) refuse(kInvalidCharacters);

    char* end = nullptr;
    const long double value = strtold_l(text.c_str(), &end, cLocale());
    // Too large for the type: not a number the user can mean. Underflow keeps the rounded value.
    if (end != text.c_str() + n || std::isinf(value)) refuse(kInvalidCharacters);
    return value;
}

bool isConstant(std::string_view text) {
    return text == "pi" || text == "-pi" || text == "e" || text == "-e";
}

long double readOperand(std::string_view operand) {
    std::string text;
    text.reserve(operand.size());
    for (std::size_t i = 0; i < operand.size(); ++i) {
        if (operand[i] == '-' && i + 1 < operand.size() && operand[i + 1] == '-') {
            ++i;
            continue;
        }
        text += operand[i];
    }
    text = lowerCase(text);

    // An operand is: function prefixes, then a constant, hexadecimal or decimal number, then "!"
    // suffixes. Read in a loop rather than recursively, so a long pasted entry cannot exhaust the stack.
    std::string_view rest = text;
    std::vector<const Function*> functions;
    for (bool matched = true; matched && !isConstant(rest);) {
        matched = false;
        for (const Function& function : kFunctions) {
            if (rest.starts_with(function.name)) {
                functions.push_back(&function);
                rest.remove_prefix(function.name.size());
                matched = true;
                break;
            }
        }
    }
    std::size_t factorials = 0;
    while (rest.ends_with('!')) {  // no constant ends in "!"
        ++factorials;
        rest.remove_suffix(1);
    }

    long double value = 0;
    if (isConstant(rest)) {
        const bool pi = rest.ends_with("pi");
        value = pi ? std::numbers::pi_v<long double> : std::numbers::e_v<long double>;
        if (rest.front() == '-') value = -value;
    } else if (rest.starts_with('$')) {
        value = readHex(rest);
    } else {
        value = readDecimal(std::string(rest));
    }
    for (; factorials > 0; --factorials)
        value = factorial(value);
    for (auto it = functions.rbegin(); it != functions.rend(); ++it)
        value = (*it)->apply(value);
    return value;
}

// Remainder of the parts truncated towards zero, with the sign of the left one. fmod is exact, so it
// equals the 64-bit integer remainder wherever the operands fit and needs no cast that could overflow.
long double integerRemainder(long double left, long double right) {
    const long double divisor = std::trunc(right);
    if (divisor == 0) refuse(kRemainderByZero);
    return std::fmod(std::trunc(left), divisor);
}

long double applyOperator(char op, const std::string& leftText, const std::string& rightText) {
    const long double left = readOperand(leftText);
    if (op == '|' && left != 0) return 1;  // the right operand is not read at all
    const long double right = readOperand(rightText);
    switch (op) {
        case '^':
            return std::pow(left, right);
        case '*':
            return left * right;
        case '/':
            return left / right;
        case '%':
            return integerRemainder(left, right);
        case '&':
            return left != 0 && right != 0 ? 1 : 0;
        case '+':
            return left + right;
        case '-':
            return left - right;
        case '|':
            return right != 0 ? 1 : 0;
        default:  // '='
            return left == right ? 1 : 0;
    }
}

bool isOperatorCharacter(char c) {
    return std::string_view("^*/%&+|=").find(c) != std::string_view::npos;
}

// A minus is a sign when it opens the text, follows a whole-text function name ('sin-1'), or follows an
// operator, an exponent letter or another minus; every other minus subtracts.
bool isSignMinus(const std::string& text, std::size_t pos) {
    if (pos == 0) return true;
    if (IsFunctionName(std::string_view(text).substr(0, pos))) return true;
    return std::string_view("%&*+/=Ee^|-").find(text[pos - 1]) != std::string_view::npos;
}

long double evaluate(std::string text) {
    if (text.empty()) refuse(kBlank);
    std::erase_if(text, [](char c) { return c == ' ' || c == '\t'; });

    // Innermost parentheses first; the result text simply takes the place of the brackets.
    for (std::size_t close = text.find(')'); close != std::string::npos; close = text.find(')')) {
        const std::size_t open = text.rfind('(', close);
        if (open == std::string::npos) refuse(kParentheses);
        const long double inner = evaluate(text.substr(open + 1, close - open - 1));
        text.replace(open, close - open + 1, FormatExpressionResult(inner));
    }

    // Operators here are the operator characters, with '-' standing for a subtraction only.
    std::vector<std::string> operands(1);
    std::vector<char> operators;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool splits = c == '-' ? !isSignMinus(text, i) : isOperatorCharacter(c);
        if (splits) {
            operators.push_back(c);
            operands.emplace_back();
        } else {
            operands.back() += c;
        }
    }
    // An empty last operand is no operand: the text is empty or ends in an operator.
    if (operands.back().empty()) refuse(kInvalidExpression);

    constexpr std::string_view kLevels[] = {"^", "*/%&", "+-|", "="};
    for (const std::string_view level : kLevels) {
        for (std::size_t i = 0; i < operators.size();) {
            if (level.find(operators[i]) == std::string_view::npos) {
                ++i;
                continue;
            }
            operands[i] = FormatExpressionResult(applyOperator(operators[i], operands[i], operands[i + 1]));
            operands.erase(operands.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            operators.erase(operators.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

    const long double result = readOperand(operands.front());
    if (!std::isfinite(result)) refuse(kNotFinite);
    return result;
}

}  // namespace

long double EvaluateExpression(std::string_view text) {
    const FloatingPointGuard guard;
    return evaluate(std::string(text));
}

long double EvaluateOperand(std::string_view text) {
    const FloatingPointGuard guard;
    return readOperand(text);
}

bool IsFunctionName(std::string_view text) {
    const std::string lower = lowerCase(text);
    if (lower == "!" || lower == "$") return true;
    for (const Function& function : kFunctions) {
        if (lower == function.name) return true;
    }
    return false;
}

long double factorial(long double n) {
    if (n != std::trunc(n)) refuse(kFactorialOfFraction);  // NaN included
    const long double magnitude = std::fabs(n);
    long double product = 1;
    // Stops once the product overflows, so a huge argument cannot keep the loop running.
    for (long double k = 2; k <= magnitude && std::isfinite(product); k += 1)
        product *= k;
    return n < 0 ? -product : product;
}

long double secant(long double x) {
    return 1.0L / std::cos(x);
}

long double cosecant(long double x) {
    return 1.0L / std::sin(x);
}

long double EvaluateEntry(std::string_view text) {
    const long double value = EvaluateExpression(text);
    // Extended reals reach far beyond what the data file and the engine hold (double precision):
    // such a value would be saved as infinity and the file could not be opened again.
    if (std::fabs(value) > static_cast<long double>(std::numeric_limits<double>::max()))
        throw EAssignError(kEntryNotFiniteMessage);
    return value;
}

}  // namespace app::model
