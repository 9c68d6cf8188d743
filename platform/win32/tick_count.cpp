// GetTickCount over a clock the engine can pin, so that animated frames (the water's waves) are
// reproducible; by default it counts real milliseconds from the first call.
#include "platform_control.h"

#include <atomic>
#include <chrono>

namespace platform {
namespace {

std::atomic<bool> g_fixed{false};
std::atomic<DWORD> g_fixedValue{0};

DWORD RealMilliseconds() {
    using Clock = std::chrono::steady_clock;
    static const Clock::time_point start = Clock::now();
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    // Wraps after 49.7 days, as on Windows.
    return static_cast<DWORD>(elapsed);
}

} // namespace

void SetTickCount(DWORD milliseconds) {
    g_fixedValue = milliseconds;
    g_fixed = true;
}

void UseRealTickCount() {
    g_fixed = false;
}

} // namespace platform

extern "C" DWORD WINAPI GetTickCount(void) {
    return platform::g_fixed ? platform::g_fixedValue.load() : platform::RealMilliseconds();
}
