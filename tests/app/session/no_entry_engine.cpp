// A library with the engine's plain name but without the entry callers look up: it must never be
// called. If it were, it would leave a marker in the current folder.

#include <cstdint>
#include <fstream>

extern "C" __attribute__((visibility("default"))) std::int32_t IDRENOK(std::int32_t) {
    std::ofstream("called") << "called\n";
    return 0;
}
