// The free-form reader alone: the input's first byte picks the sequence of reads.

#include <cstdint>
#include <string>

#include "engine/data_reader.h"
#include "engine/run_stop.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t pattern = data[0];
    engine::DataReader in(std::string(reinterpret_cast<const char*>(data + 1), size - 1), "INPUT DATA FILE");
    try {
        for (int i = 0; i < 10000; ++i) {
            switch ((pattern >> (i % 8)) & 3) {
                case 0:
                    in.readTitle();
                    break;
                case 1:
                    in.beginRecord();
                    [[fallthrough]];
                case 2:
                    in.readInt();
                    break;
                default:
                    in.readReal();
                    break;
            }
        }
    } catch (const engine::RunStop&) {
        // every fault ends in the run's one exception
    }
    return 0;
}
