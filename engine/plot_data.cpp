#include "engine/plot_data.h"

#include <charconv>

#include "engine/fixed_format.h"

namespace engine {

std::string freeFormReal(double v) {
    char buf[40];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
    if (ec != std::errc()) return "0";
    std::string s(buf, ptr);
    // Keep a decimal point or exponent so the value reads as a real, as list-directed output does.
    if (s.find_first_of(".en") == std::string::npos) s += ".0";
    return s;
}

void PlotData::record(std::initializer_list<double> reals) {
    for (double v : reals) {
        char buf[40];
        buf[0] = ' ';
        const auto [ptr, ec] = std::to_chars(buf + 1, buf + sizeof buf - 2, v);
        if (ec != std::errc()) {
            m_out += " 0.0";
            continue;
        }
        char* end = ptr;
        // Keep a decimal point or exponent so the value reads as a real, as list-directed output does.
        if (std::string_view(buf + 1, static_cast<size_t>(end - buf - 1)).find_first_of(".en") ==
            std::string_view::npos) {
            *end++ = '.';
            *end++ = '0';
        }
        m_out.append(buf, end);
    }
    m_out += '\n';
}

namespace {
void appendNumeral(std::string& out, std::string_view text, bool negate) {
    out += ' ';
    if (!negate) {
        out += text;
    } else if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        if (text.front() == '+') out += '-';
        out += text.substr(1);
    } else {
        out += '-';
        out += text;
    }
}
}  // namespace

void PlotData::curvePointText(std::string_view y, bool negateY, std::string_view p, bool negateP) {
    appendNumeral(m_out, y, negateY);
    appendNumeral(m_out, p, negateP);
    m_out += '\n';
}

void PlotData::intRecord(std::initializer_list<long long> ints) {
    for (long long v : ints) {
        m_out += ' ';
        m_out += std::to_string(v);
    }
    m_out += '\n';
}

void PlotData::pressure(const std::vector<PressureRow>& rows) {
    intRecord({static_cast<long long>(rows.size())});
    for (const PressureRow& r : rows) {
        // A soil part of exactly zero is written as 1E-7, the value the graph reader expects there.
        const double soil = r.soil == 0.0 ? 1e-7 : r.soil;
        ff::formatTo(m_out, "(4(2X,E10.3))", {r.depth, r.total, soil, r.surcharge});
    }
}

void PlotData::generatedCurveHeader(double depth, int points) {
    ff::formatTo(m_out, "(1X,F10.2,1X,I5)", {depth, points});
}

void PlotData::response(int caseCount, const ResponseTable& table) {
    static const ff::NumericLine row = [] {
        ff::NumericLine line;
        line.compile("(5(1X,E13.4))");
        return line;
    }();
    intRecord({caseCount, static_cast<long long>(table.rows.size()), table.unitSystem});
    for (const ResponseRow& r : table.rows)
        row.write(m_out, {r.depth, r.deflection, r.moment, r.shear, r.reaction});
}

}  // namespace engine
