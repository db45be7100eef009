#pragma once
// The hand-over points between the run and the soil computations: earth-pressure generation
// (result in the scratch file ZKTEMP.001), the surcharge pressure at a depth, and p-y curve
// generation (result in the scratch file SOILDATA).

#include <functional>
#include <string>
#include <vector>

#include "engine/problem.h"

namespace engine::soil {

/// Everything of a problem that the generators read, and where they write.
struct GenerationContext {
    const ControlRecord& control;
    const WallRecord& wall;
    const SoilBlock& soil;
    const std::vector<Modifier>& modifiers;
    /// User curves with their multipliers applied (p and y), in data-file order.
    const std::vector<UserCurve>& userCurves;
    std::string& report;
    std::string& notes;  // the run notes
    /// Supports of the wall (spring records and tiebacks): their count and the depths of the first
    /// and the last when those act on a single node (0 otherwise) [L].
    int supportCount = 0;
    double firstSupportDepth = 0.0;
    double lastSupportDepth = 0.0;
    /// Effective vertical stress behind the wall at the excavation level, kept by the run: set by
    /// each earth-pressure generation, read by the p-y generation.
    double& excavationOverburden;
};

/// Writes the generated earth-pressure table to `scratchPath` and the generator's report sections.
void generateEarthPressure(GenerationContext& ctx, const std::string& scratchPath);

/// Lateral pressure [F/L^2] of the problem's listed surcharge loads as a function of the depth z
/// below the top of the wall.
std::function<double(double)> surchargePressure(const GenerationContext& ctx);

/// Writes the user curves and the generated curves to `scratchPath` and the report sections.
void generatePyCurves(GenerationContext& ctx, const std::string& scratchPath);

}  // namespace engine::soil
