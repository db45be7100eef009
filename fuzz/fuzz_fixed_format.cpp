// The fixed-format writer with arbitrary values, widths and decimals: a field is always exactly
// as wide as its descriptor says.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "engine/fixed_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 11) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    const char kinds[] = {'I', 'F', 'E', 'D'};
    const char kind = kinds[data[8] % 4];
    const int width = 1 + data[9] % 60;
    const int decimals = data[10] % 40;
    std::string descriptor(1, kind);
    descriptor += std::to_string(width);
    if (kind != 'I' || decimals % 2)
        descriptor += "." + std::to_string(kind == 'I' ? decimals / 2 : decimals);
    if ((kind == 'E' || kind == 'D') && decimals == 0) descriptor.back() = '1';
    const std::string field = engine::ff::formatField(descriptor, value);
    if (static_cast<int>(field.size()) != width) std::abort();
    // The rest of the input as a layout must never crash: a bad layout is an exception.
    try {
        const std::string layout(reinterpret_cast<const char*>(data + 11), size - 11);
        (void)engine::ff::format(layout, {1, 2.5, "text", -3, value});
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
