#include "engine/soil/generators.h"

#include <memory>

#include "engine/run_stop.h"
#include "engine/soil/earth_pressure.h"
#include "engine/soil/surcharge.h"

namespace engine::soil {

namespace {
double wallLength(const GenerationContext& ctx) {
    return ctx.wall.increments * ctx.wall.h;
}
}  // namespace

void generateEarthPressure(GenerationContext& ctx, const std::string& scratchPath) {
    const Surcharges surcharges(ctx.soil, ctx.wall.freeHeight, wallLength(ctx));
    const EarthPressureInput input{
        ctx.soil,         ctx.control.unitSystem, ctx.control.pressureOption, wallLength(ctx),
        ctx.supportCount, ctx.firstSupportDepth,  ctx.lastSupportDepth};
    const EarthPressureResult result = generateEarthPressureTable(input, surcharges, ctx.report, ctx.notes);
    ctx.excavationOverburden = result.excavationOverburden;
    writePressureScratch(scratchPath, result);
}

std::function<double(double)> surchargePressure(const GenerationContext& ctx) {
    auto surcharges = std::make_shared<const Surcharges>(ctx.soil, ctx.wall.freeHeight, wallLength(ctx));
    return [surcharges](double z) { return surcharges->pressureAt(z); };
}

// p-y curve generation is not part of this build yet: a problem that asks for it ends the run in
// order with a message saying so, instead of running without soil springs.
void generatePyCurves(GenerationContext&, const std::string&) {
    stopDataFault("GENERATED P-Y CURVES ARE NOT AVAILABLE IN THIS VERSION");
}

}  // namespace engine::soil
