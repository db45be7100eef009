#pragma once
// Readers of the two scratch files through which the soil generators hand back their results.

#include <string>
#include <vector>

#include "engine/plot_data.h"
#include "engine/problem.h"
#include "engine/stations.h"

namespace engine {

/// Reads SOILDATA into the curve store and writes the p-y section of the plot data. The first
/// `userCount` curves are the user curves handed over; the generated curves follow, 34 points each,
/// and are assembled into two-sided curves.
void readGeneratedCurves(const std::string& path, size_t userCount, Stations& st, PlotData& plot,
                         int unitSystem);

/// Reads the earth-pressure table of ZKTEMP.001 (per unit width, before any width factor).
std::vector<PressureRow> readGeneratedPressure(const std::string& path);

}  // namespace engine
