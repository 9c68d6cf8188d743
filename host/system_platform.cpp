// The stand-in engine's system functions on Linux: the platform library's stand-in window, clock
// and capability profile.
#include "system.h"

#include "platform_control.h"

namespace host::system {

HWND CreateEngineWindow(int width, int height, const char* title) {
    return platform::CreateStandInWindow(width, height, title);
}

void DestroyEngineWindow(HWND window) {
    platform::DestroyStandInWindow(window);
}

void SetClock(DWORD milliseconds) {
    platform::SetTickCount(milliseconds);
}

void UseRealClock() {
    platform::UseRealTickCount();
}

bool LimitToShaderModel2(bool enabled) {
    platform::SetShaderModel2Caps(enabled);
    return true;
}

std::string GraphicsName() {
    return "EGL " + platform::EglPlatform();
}

} // namespace host::system
