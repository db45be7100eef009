#pragma once
// Steel sheet-pile sections and their checks: a catalogue of hot-rolled U-sections shipped with the
// program (per metre of wall, as the manufacturer publishes them), sections the user adds from a CSV
// file, steel grades, and for a run of the wall with a section's stiffness the bending utilisation
// M / (W fy) and the top deflection against a limit.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace app::design {

/// Per metre of wall.
struct TSection {
    std::string Name;
    double Inertia = 0.0;  // cm⁴/m
    double Modulus = 0.0;  // elastic section modulus, cm³/m
    double Mass = 0.0;     // kg/m²
};

/// The shipped catalogue, lightest first.
[[nodiscard]] const std::vector<TSection>& SectionCatalogue();

/// Sections from a CSV file: a header line, then name, moment of inertia, section modulus and mass per
/// unit width, in the units the header names: "cm4/m,cm3/m,kg/m2" or "in4/ft,in3/ft,lb/ft2" (converted
/// to the catalogue's). Throws std::runtime_error naming the line and the field when a value cannot
/// be read.
[[nodiscard]] std::vector<TSection> ReadSections(const std::filesystem::path& file);

struct TSteelGrade {
    std::string Name;
    double Yield = 0.0;  // MPa
};
[[nodiscard]] const std::vector<TSteelGrade>& SteelGrades();
[[nodiscard]] std::optional<TSteelGrade> SteelGrade(const std::string& name);

/// The wall's EI for a section on the analysed width `width`: lb-in² for English problems (width in
/// inches, E = 29 000 ksi), kN-m² for SI (width in metres, E = 210 GPa).
[[nodiscard]] double SectionStiffness(const TSection& section, int units, double width);

/// The bending utilisation of a moment `moment` on the analysed width `width` (kip-in and in for
/// English, kN-m and m for SI): M / (W fy).
[[nodiscard]] double BendingUtilisation(const TSection& section, double yieldMPa, int units, double moment,
                                        double width);

}  // namespace app::design
