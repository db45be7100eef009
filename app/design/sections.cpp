#include "app/design/sections.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/model/units.h"

namespace app::design {

namespace {

constexpr double kSteelModulusMPa = 210000.0;
constexpr double kCmPerIn = 2.54;
constexpr double kMPerFt = 0.3048;
constexpr double kKgPerLb = 0.45359237;
constexpr double kMPaPerKsi = 6.894757;

std::string trimmed(std::string s) {
    const auto first = s.find_first_not_of(" \t\r");
    const auto last = s.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

}  // namespace

const std::vector<TSection>& SectionCatalogue() {
    // Hot-rolled U-sections per metre of wall, from the manufacturer's published section tables
    // (ArcelorMittal Sheet Piling, U-sections: moment of inertia, elastic section modulus, mass of wall).
    static const std::vector<TSection> catalogue = {
        {"GU 6N", 9670, 625, 69.9},      {"PU 12", 21600, 1200, 110}, {"PU 12 10/10", 22580, 1255, 116},
        {"AU 14", 28680, 1405, 104},     {"AU 16", 32850, 1600, 115}, {"AU 17", 34270, 1665, 119},
        {"AU 18", 39300, 1780, 118},     {"AU 20", 44440, 2000, 129}, {"AU 21", 46180, 2075, 133},
        {"AU 23", 50700, 2270, 136},     {"AU 25", 56240, 2500, 147}, {"AU 26", 58140, 2580, 151},
        {"PU 28+1", 68380, 3000, 177.1},
    };
    return catalogue;
}

std::vector<TSection> ReadSections(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read the section file " + file.string());
    std::string header;
    std::getline(in, header);
    const bool imperial = header.find("in4") != std::string::npos;
    if (!imperial && header.find("cm4") == std::string::npos)
        throw std::runtime_error(file.string() +
                                 ", line 1: the header must name the units, cm4/m,cm3/m,kg/m2 or " +
                                 "in4/ft,in3/ft,lb/ft2");
    std::vector<TSection> sections;
    int line = 1;
    for (std::string text; std::getline(in, text);) {
        ++line;
        if (trimmed(text).empty()) continue;
        std::istringstream fields(text);
        std::string name, values[3];
        std::getline(fields, name, ',');
        TSection s;
        s.Name = trimmed(name);
        double* targets[3] = {&s.Inertia, &s.Modulus, &s.Mass};
        static const char* const names[3] = {"moment of inertia", "section modulus", "mass"};
        for (int k = 0; k < 3; ++k) {
            std::getline(fields, values[k], ',');
            const std::string v = trimmed(values[k]);
            const auto r = std::from_chars(v.data(), v.data() + v.size(), *targets[k]);
            if (r.ec != std::errc() || r.ptr != v.data() + v.size() || !(*targets[k] > 0.0))
                throw std::runtime_error(file.string() + ", line " + std::to_string(line) + ": the " +
                                         names[k] + " '" + v + "' is not a positive number");
        }
        if (s.Name.empty())
            throw std::runtime_error(file.string() + ", line " + std::to_string(line) + ": no name");
        if (imperial) {
            // Per foot of wall to per metre: in⁴/ft and in³/ft to cm⁴/m and cm³/m, lb/ft² to kg/m².
            s.Inertia *= std::pow(kCmPerIn, 4) / kMPerFt;
            s.Modulus *= std::pow(kCmPerIn, 3) / kMPerFt;
            s.Mass *= kKgPerLb / (kMPerFt * kMPerFt);
        }
        sections.push_back(s);
    }
    return sections;
}

const std::vector<TSteelGrade>& SteelGrades() {
    // Minimum yield strengths: EN 10248-1 grades, and ASTM A572 grades 50 and 60 (50 and 60 ksi).
    static const std::vector<TSteelGrade> grades = {
        {"S240GP", 240},
        {"S270GP", 270},
        {"S320GP", 320},
        {"S355GP", 355},
        {"S390GP", 390},
        {"S430GP", 430},
        {"S460AP", 460},
        {"A572-50", 50 * kMPaPerKsi},
        {"A572-60", 60 * kMPaPerKsi},
    };
    return grades;
}

std::optional<TSteelGrade> SteelGrade(const std::string& name) {
    for (const TSteelGrade& g : SteelGrades())
        if (g.Name == name) return g;
    return std::nullopt;
}

double SectionStiffness(const TSection& section, int units, double width) {
    const double inertia = section.Inertia * 1e-8;                                          // m⁴/m
    if (units == app::model::kUnitsSI) return kSteelModulusMPa * 1000.0 * inertia * width;  // kN-m²
    // English: E = 29 000 ksi as customary there, I per inch of wall, the width in inches.
    constexpr double kSteelModulusPsi = 29.0e6;
    const double inchesPerMetre = 1.0 / 0.0254;
    return kSteelModulusPsi * inertia * std::pow(inchesPerMetre, 3) * width;
}

double BendingUtilisation(const TSection& section, double yieldMPa, int units, double moment, double width) {
    if (!(width > 0.0) || !(section.Modulus > 0.0) || !(yieldMPa > 0.0)) return 0.0;
    // The moment per metre of wall in kN-m/m (from kip-in on inches for English), against W fy.
    const double perMetre =
        units == app::model::kUnitsSI ? moment / width : moment * 4.4482216 * 0.0254 / (width * 0.0254);
    const double resistance = section.Modulus * 1e-6 * yieldMPa * 1000.0;  // m³/m × kPa
    return std::fabs(perMetre) / resistance;
}

}  // namespace app::design
