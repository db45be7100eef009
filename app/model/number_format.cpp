#include "app/model/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace app::model {

namespace {

// `value` rounded to `digits` significant digits, fixed-point for decimal exponents from `lowest` to
// `highest`, otherwise scientific; trailing zeros dropped.
std::string formatDecimal(long double value, int digits, int lowest, int highest) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0.0L) return "0";

    // Rounded decimal digits and exponent, independent of the C locale.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
    const std::string sci(buf, res.ptr);
    const auto ePos = sci.find('e');
    const bool negative = sci.front() == '-';
    std::string mantissa;
    for (std::size_t k = negative ? 1 : 0; k < ePos; ++k)
        if (sci[k] != '.') mantissa.push_back(sci[k]);
    const int exponent = std::atoi(sci.c_str() + ePos + 1);
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= lowest && exponent <= highest) {
        if (exponent < 0) {
            out.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(mantissa);
        } else {
            const auto intDigits = static_cast<std::size_t>(exponent) + 1;
            if (mantissa.size() <= intDigits) {
                out.append(mantissa).append(intDigits - mantissa.size(), '0');
            } else {
                out.append(mantissa, 0, intDigits).append(".").append(mantissa, intDigits);
            }
        }
        return out;
    }
    out.push_back(mantissa.front());
    if (mantissa.size() > 1) out.append(".").append(mantissa, 1);
    return out.append("E").append(std::to_string(exponent));
}

}  // namespace

std::string FormatGeneral(long double value, int significantDigits) {
    const int digits = std::clamp(significantDigits, 1, 18);
    return formatDecimal(value, digits, -5, digits - 1);
}

std::string FormatExpressionResult(long double value) {
    constexpr int kDigits = 18;
    return formatDecimal(value, kDigits, -4, kDigits - 1);
}

bool ScientificAxis(long double minimum, long double maximum) {
    const long double a = std::fabs(minimum);
    const long double b = std::fabs(maximum);
    if (a > 100000.0L || b > 100000.0L) return true;
    return a < 0.001L && b < 0.001L && !(a == 0.0L && b == 0.0L);
}

std::string FormatAxisNumber(long double value, bool scientific) {
    char buffer[64];
    // No number to print: say what it is rather than fail on its text.
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
    if (scientific) {
        if (value == 0.0L) return "0.0E0";
        std::snprintf(buffer, sizeof buffer, "%.3Le", value);
        std::string text(buffer);
        const std::size_t e = text.find('e');
        std::string mantissa = text.substr(0, e);
        while (mantissa.back() == '0' && mantissa[mantissa.size() - 2] != '.')
            mantissa.pop_back();
        // The exponent as printed ("e+05", "e-300"); from_chars throws nothing whatever the text.
        int exponent = 0;
        const char* first = text.data() + e + 1;
        if (*first == '+') ++first;
        std::from_chars(first, text.data() + text.size(), exponent);
        return mantissa + "E" + std::to_string(exponent);
    }
    std::snprintf(buffer, sizeof buffer, "%.3Lf", value);
    std::string text(buffer);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    // Thousands separators in the integer part.
    const bool negative = text.front() == '-';
    const std::size_t begin = negative ? 1 : 0;
    std::size_t point = text.find('.');
    if (point == std::string::npos) point = text.size();
    std::string grouped = negative ? "-" : "";
    for (std::size_t i = begin; i < point; ++i) {
        if (i > begin && (point - i) % 3 == 0) grouped += ',';
        grouped += text[i];
    }
    grouped.append(text, point, std::string::npos);
    text = std::move(grouped);
    return text;
}

}  // namespace app::model
