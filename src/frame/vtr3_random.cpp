#include "frame/vtr3_random.h"

#include <stdint.h>

namespace {

uint32_t g_randomState = 1;

} // namespace

int VTR3RandomRaw() {
    g_randomState = g_randomState * 214013u + 2531011u;
    return static_cast<int>((g_randomState >> 16) & 0x7fffu);
}

int VTR3Random(int lo, int hi) {
    const int r = VTR3RandomRaw();
    // In 64 bits: r * (hi - lo) overflows 32 bits for wide ranges, and that must not change the result's
    // range. The division truncates toward zero, as the 32-bit original does for ranges that fit.
    const int64_t value = lo + (static_cast<int64_t>(r) * (static_cast<int64_t>(hi) - lo)) / 32767;
    return value < hi ? static_cast<int>(value) : lo;
}
