#pragma once
// The embedment sweep: the p-y analysis of the wall as entered, lengthened or shortened below the
// excavation, run for a range of embedments, and what each run gave: whether it converged, the top
// deflection, the largest moment and shear and the tieback forces. The runs themselves are the
// engine's (drenok-run runs them side by side); this part writes their data files and reads them back.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/model/program_data.h"
#include "app/model/run_status.h"

namespace app::design {

/// The excavation the embedment is measured from: the problem's, or the deepest stage's of a staged
/// file (in the problem's unit: inches or metres).
[[nodiscard]] double DeepestExcavation(const app::model::TProgramData& model,
                                       const std::filesystem::path& dataFile);

/// The embedments from `from` to `to` by `step` (the file's length unit of depths: feet or metres) below
/// `excavation`, each rounded to whole increments of the wall; empty when the range is not one.
[[nodiscard]] std::vector<double> SweepEmbedments(const app::model::TProgramData& model, double excavation,
                                                  double from, double to, double step);

/// The increment count that gives the wall `embedment` below `excavation`.
[[nodiscard]] int IncrementsFor(const app::model::TProgramData& model, double excavation, double embedment);

/// The data file of the problem with the wall of `increments` increments, everything else as entered;
/// every stage of a staged file (the stages as saved in `dataFile`).
[[nodiscard]] std::string LengthenedDataText(const app::model::TProgramData& model,
                                             const std::filesystem::path& dataFile, int increments);

/// The data file with every stiffness record of every problem or stage set to `ei`.
[[nodiscard]] std::string StiffenedDataText(const app::model::TProgramData& model,
                                            const std::filesystem::path& dataFile, double ei);

struct TSweepRun {
    double Embedment = 0.0;  // feet or metres
    int Increments = 0;
    app::model::TRunState State = app::model::TRunState::NoResults;
    std::string Status;                 // the status word
    double TopDeflection = 0.0;         // in or mm
    double MaxMoment = 0.0;             // kip-in or kN-m
    double MaxShear = 0.0;              // kips or kN
    std::vector<double> TiebackForces;  // horizontal, kips or kN
};

/// What the run of the data file `dataFile` (run already, outputs beside it) gave; the worst problem
/// of a file with several.
[[nodiscard]] TSweepRun ReadSweepRun(const std::filesystem::path& dataFile, double embedment, int increments);

/// What the p-y analysis of each problem or stage of `dataFile` gave (the outputs beside it, when they
/// are there and belong to it), in the limit-equilibrium units: the largest moment per unit width
/// (lb-ft/ft or kN-m/m) and the horizontal tieback forces per unit width (lb/ft or kN/m).
struct TPyComparison {
    bool Known = false;
    std::string Status;
    double MaxMoment = 0.0;
    std::vector<double> TiebackForces;
};
[[nodiscard]] std::vector<TPyComparison> PyComparison(const std::filesystem::path& dataFile);

/// The shortest embedment from which every longer one of the sweep converged with its top deflection
/// within `limit` (none: no limit); nothing when not even the longest did.
[[nodiscard]] std::optional<double> ShortestConvergingEmbedment(const std::vector<TSweepRun>& runs,
                                                                std::optional<double> limit);

}  // namespace app::design
