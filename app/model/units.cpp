#include "app/model/units.h"

#include <cctype>
#include <cmath>
#include <initializer_list>

namespace app::model {

namespace {

struct UnitToken {
    const char* token;
    const char* text[3];  // English, SI, other
};

// Two-character tokens come before the bare letters so that 'F2' is not read as 'F' followed by '2'.
// 'F0' and 'L0' name the bare letters' variant and read the same.
constexpr UnitToken kTokens[] = {
    {"F2", {"tons", "kN", "F"}}, {"F1", {"kips", "kN", "F"}}, {"F4", {"lb-sec2/in", "Mg", "M"}},
    {"F5", {"sec", "sec", "T"}}, {"F6", {"slug", "Mg", "F"}}, {"F0", {"lbs", "kN", "F"}},
    {"F", {"lbs", "kN", "F"}},   {"L3", {"rad", "rad", "L"}}, {"L2", {"ft", "m", "L"}},
    {"L1", {"in", "mm", "L"}},   {"L0", {"in", "m", "L"}},    {"L", {"in", "m", "L"}},
};

constexpr long double kForce = 224.8089237L;     // lbs per kN
constexpr long double kLength = 39.37007874L;    // in per m
constexpr long double kLengthFt = 3.280839895L;  // ft per m

// SI value × factor = English value, per variant digit (the mass variants follow from F / L).
long double forceFactor(int variant) {
    switch (variant) {
        case 0:
            return kForce;
        case 1:
            return 0.2248089237L;  // kips per kN
        case 2:
            return 0.1124044745L;  // tons per kN
        case 4:
            return kForce / kLength;  // lb-sec2/in per Mg
        case 6:
            return kForce / kLengthFt;  // slug per Mg
        default:
            return 1.0L;  // seconds, or an unknown variant
    }
}

long double lengthFactor(int variant) {
    switch (variant) {
        case 0:
            return kLength;
        case 1:
            return 0.03937007874L;  // in per mm
        case 2:
            return kLengthFt;
        default:
            return 1.0L;  // radians, or an unknown variant
    }
}

// Product of the letters of one side of the quotient; text without a letter contributes 1.
long double partFactor(std::string_view part) {
    long double factor = 1.0L;
    size_t i = 0;
    while (i < part.size()) {
        const char letter = part[i++];
        if (letter != 'F' && letter != 'L') continue;
        int variant = 0;
        if (i < part.size() && std::isdigit(static_cast<unsigned char>(part[i]))) variant = part[i++] - '0';
        int power = 1;
        if (i < part.size() && part[i] == '^') {
            size_t j = i + 1;
            bool negative = false;
            if (j < part.size() && part[j] == '-') {
                negative = true;
                ++j;
            }
            int n = 0;
            const size_t digitsStart = j;
            while (j < part.size() && std::isdigit(static_cast<unsigned char>(part[j])) && n < 1000) {
                n = n * 10 + (part[j] - '0');
                ++j;
            }
            if (j > digitsStart) {
                power = negative ? -n : n;
                i = j;
            }
        }
        const long double base = letter == 'F' ? forceFactor(variant) : lengthFactor(variant);
        factor *= std::pow(base, static_cast<long double>(power));
    }
    return factor;
}

}  // namespace

std::string UnitText(std::string_view label, int unitSystem) {
    const int column = (unitSystem == kUnitsSI) ? 1 : (unitSystem == kUnitsOther ? 2 : 0);
    std::string text(label);
    for (const UnitToken& t : kTokens) {
        const std::string_view token = t.token;
        const std::string_view replacement = t.text[column];
        size_t at = 0;
        while ((at = text.find(token, at)) != std::string::npos) {
            text.replace(at, token.size(), replacement);
            at += replacement.size();
        }
    }
    return text;
}

long double UnitFactor(std::string_view label) {
    const size_t slash = label.find('/');
    if (slash == std::string_view::npos) return partFactor(label);
    return partFactor(label.substr(0, slash)) / partFactor(label.substr(slash + 1));
}

long double ConvertUnits(long double value, std::string_view label, int from, int to) {
    if (from == kUnitsSI && to == kUnitsEnglish) return value * UnitFactor(label);
    if (from == kUnitsEnglish && to == kUnitsSI) return value / UnitFactor(label);
    return value;
}

std::string EditUnitText(std::string_view label, int unitSystem) {
    std::string text(label);
    if (unitSystem == kUnitsOther) return text;
    const int column = unitSystem == kUnitsSI ? 1 : 0;
    auto textOf = [column](std::string_view token) {
        for (const UnitToken& t : kTokens)
            if (token == t.token) return std::string(t.text[column]);
        return std::string(token);
    };
    auto replaceFirstPresent = [&text, &textOf](std::initializer_list<const char*> forms) {
        for (const char* form : forms) {
            const std::string token(form);
            if (text.find(token) == std::string::npos) continue;
            const std::string replacement = textOf(token);
            std::string result;
            for (std::size_t at = 0;;) {
                const std::size_t next = text.find(token, at);
                result.append(text, at, next == std::string::npos ? std::string::npos : next - at);
                if (next == std::string::npos) break;
                result += replacement;
                at = next + token.size();
            }
            text = std::move(result);
            return;
        }
    };
    replaceFirstPresent({"F6", "F5", "F4", "F2", "F1", "F"});
    replaceFirstPresent({"L2", "L1", "L3", "L"});
    return text;
}

}  // namespace app::model
