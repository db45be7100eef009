#pragma once
// The limit-equilibrium problem of each problem or stage of a data file, from what the user has
// entered: soil layers, water, the uniform surcharge, the excavation and the tiebacks. Lengths in
// feet and forces in pounds for English files (unit weights lb/ft³, pressures lb/ft²), metres and
// kilonewtons for SI files.

#include <filesystem>
#include <string>
#include <vector>

#include "app/design/limit_equilibrium.h"
#include "app/model/program_data.h"

namespace app::design {

struct TDesignCase {
    std::string Name;  // "Problem", "Stage 2", …
    TLeProblem Problem;
    std::vector<double> Tiebacks;    // depths of the tiebacks
    double WallLength = 0.0;         // the wall as entered, for the embedment it has
    std::vector<std::string> Notes;  // what the method leaves out (surcharge loads, a sloping backfill)
};

struct TDesignUnits {
    std::string Length, Force, ForcePerWidth, MomentPerWidth;
};
[[nodiscard]] TDesignUnits DesignUnits(int units);

/// The cases of `model` (the file's first problem or stage, as read) and of the other stages of
/// `dataFile`; `options` sets the coefficients and the factor of safety of every case.
[[nodiscard]] std::vector<TDesignCase> DesignCases(const app::model::TProgramData& model,
                                                   const std::filesystem::path& dataFile,
                                                   const TLeProblem& options);

/// One case from one problem: English lengths of the problem (inches) and table values (feet) both
/// come out in feet.
[[nodiscard]] TDesignCase DesignCaseOf(const app::model::TProgramData& model, const TLeProblem& options);

/// The limit-equilibrium embedment to set beside a sweep of the wall of `dataFile`: its deepest stage's
/// (the problem's own without stages), by the method its tiebacks call for (fixed earth simplified,
/// free-earth support, apparent pressure), factor 1, Rankine.
[[nodiscard]] TLeResult ReferenceDesign(const app::model::TProgramData& model,
                                        const std::filesystem::path& dataFile);

}  // namespace app::design
