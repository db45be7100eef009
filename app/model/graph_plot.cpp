#include "graph_plot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "app/model/number_format.h"

namespace app::model {

TLine::TLine(TGraphPlot& owner)
    : Points(static_cast<std::size_t>(owner.PointCount())),
      Value(static_cast<long double>(owner.LineCount()) + 1.0L),
      Owner(&owner) {}

std::string TLine::GetName() const {
    if (!Name.empty()) return Name;
    return std::string(Owner->CurveName).append(FormatGeneral(Value, 15));
}

void TGraphPlot::SetCount(TLineList& set, int n) {
    const auto wanted = static_cast<std::size_t>(std::max(n, 0));
    if (set.size() > wanted) set.resize(wanted);
    // Each new curve is built before it joins the set, so it counts the curves already there.
    while (set.size() < wanted)
        set.push_back(std::make_unique<TLine>(*this));
}

void TGraphPlot::SetPoints(TLineList& set, int n) {
    const auto wanted = static_cast<std::size_t>(std::max(n, 0));
    for (auto& line : set)
        line->Points.resize(wanted);
}

int TGraphPlot::Points(const TLineList& set) {
    return set.empty() ? 0 : static_cast<int>(set.front()->Points.size());
}

TLine& TGraphPlot::At(const TLineList& set, int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= set.size())
        throw std::out_of_range("curve index out of range");
    return *set[static_cast<std::size_t>(i)];
}

TFloatPoint& TGraphPlot::At(const TLineList& set, int i, int j) {
    auto& points = At(set, i).Points;
    if (j < 0 || static_cast<std::size_t>(j) >= points.size())
        throw std::out_of_range("point index out of range");
    return points[static_cast<std::size_t>(j)];
}

bool TGraphPlot::HasCurveData() const {
    return std::any_of(m_lines.begin(), m_lines.end(),
                       [](const auto& line) { return line->Points.size() > 1; });
}

std::string TGraphPlot::LegendText(int i) const {
    std::string text = Line(i).GetName();
    if (onGetCaption) onGetCaption(i, text);
    return text;
}

std::string TGraphPlot::XTitle(int panel) const {
    if (panel == 2) return AxisTitle(XCaption2, XUnits2, m_units);
    if (panel == 3) return AxisTitle(XCaption3, XUnits3, m_units);
    return AxisTitle(XCaption, XUnits, m_units);
}

std::string TGraphPlot::YTitle(int panel) const {
    if (panel == 2) return AxisTitle(YCaption2, YUnits2, m_units);
    if (panel == 3) return AxisTitle(YCaption3, YUnits3, m_units);
    return AxisTitle(YCaption, YUnits, m_units);
}

void TGraphPlot::SetUnits(int units) {
    m_units = std::clamp(units, 1, 3);
}

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
}

// Replaces every occurrence of the first form found, in the order given; the others stay.
void ReplaceFirstForm(std::string& text, const char* const (&forms)[3], const char* const (&names)[3]) {
    for (int k = 0; k < 3; ++k) {
        if (text.find(forms[k]) != std::string::npos) {
            ReplaceAll(text, forms[k], names[k]);
            return;
        }
    }
}

}  // namespace

std::string UnitsTitle(const std::string& letters, int units) {
    static const char* const forceForms[3] = {"F2", "F1", "F"};
    static const char* const lengthForms[3] = {"L2", "L1", "L"};
    static const char* const englishForce[3] = {"tons", "kips", "lbs"};
    static const char* const englishLength[3] = {"ft", "in", "in"};
    static const char* const siForce[3] = {"kN", "kN", "kN"};
    static const char* const siLength[3] = {"m", "mm", "m"};
    std::string text = letters;
    if (units >= 3) return text;
    const bool english = units <= 1;
    ReplaceFirstForm(text, forceForms, english ? englishForce : siForce);
    ReplaceFirstForm(text, lengthForms, english ? englishLength : siLength);
    return text;
}

std::string AxisTitle(const std::string& caption, const std::string& unitLetters, int units) {
    if (unitLetters.empty()) return caption;
    return std::string(caption).append(" (").append(UnitsTitle(unitLetters, units)).append(")");
}

}  // namespace app::model
