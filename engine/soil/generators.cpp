#include "engine/soil/generators.h"

#include "engine/run_stop.h"

namespace engine::soil {

// The soil computations are not part of this build yet: a problem that needs them ends the run in
// order with a message saying so, instead of running with missing loads or springs.

void generateEarthPressure(GenerationContext&, const std::string&) {
    stopDataFault("GENERATED EARTH PRESSURE IS NOT AVAILABLE IN THIS VERSION");
}

double surchargePressureAt(const GenerationContext&, double) {
    stopDataFault("SURCHARGE LOADS WITH A USER PRESSURE TABLE ARE NOT AVAILABLE IN THIS VERSION");
}

void generatePyCurves(GenerationContext&, const std::string&) {
    stopDataFault("GENERATED P-Y CURVES ARE NOT AVAILABLE IN THIS VERSION");
}

}  // namespace engine::soil
