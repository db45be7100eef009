// The engine's one exported entry, under two names. Nothing escapes it: whatever happens inside a
// run, the caller gets control back.

#include <cstdint>

#include "engine/interface.h"
#include "engine/run.h"

extern "C" {

__attribute__((visibility("default"))) std::int32_t IDRENOK(std::int32_t interfaceNumber) {
    return engine::callEntry(interfaceNumber, engine::Run::Options{});
}

// The same entry under the decorated name that callers look up.
__attribute__((visibility("default"))) std::int32_t decoratedEntry(std::int32_t interfaceNumber) __asm__(
    DRENOK_DECORATED_ENTRY);
std::int32_t decoratedEntry(std::int32_t interfaceNumber) {
    return IDRENOK(interfaceNumber);
}
}
