#include "engine/soil/generators.h"

#include <cstdio>
#include <memory>

#include "engine/output_file.h"
#include "engine/plot_data.h"
#include "engine/run_stop.h"
#include "engine/soil/earth_pressure.h"
#include "engine/soil/excavation_profile.h"
#include "engine/soil/py_framework.h"
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

void generatePyCurves(GenerationContext& ctx, const std::string& scratchPath) {
    std::fputs(" READ SOIL DATA....\n", stderr);
    const int unitSystem = ctx.control.unitSystem;
    const ExcavationProfile profile(ctx.soil, ctx.wall.h, ctx.wall.increments, unitSystem,
                                    UnitLabels::forSystem(unitSystem), ctx.report);
    OutputFile file;
    if (!file.open(scratchPath)) stopDataFault("THE SCRATCH FILE SOILDATA CANNOT BE WRITTEN");
    std::string& out = file.buffer();
    const size_t count = ctx.userCurves.size() + kCurvesPerLayer * profile.layers().size();
    out += ' ' + std::to_string(count) + '\n';
    for (const UserCurve& c : ctx.userCurves) {
        out += ' ' + std::to_string(c.node) + ' ' + std::to_string(c.points.size()) + '\n';
        int number = 0;
        for (const CurvePoint& pt : c.points)
            out +=
                ' ' + std::to_string(++number) + ' ' + freeFormReal(pt.p) + ' ' + freeFormReal(pt.y) + '\n';
    }
    PyFramework fw(ctx.soil, profile, ctx.modifiers, unitSystem, ctx.excavationOverburden, ctx.report, out);
    generateLayers(fw, ctx.modifiers);
    file.close();
}

}  // namespace engine::soil
