// Linux: the platform library's stand-in window.
#include "probe_window.h"

#include "platform_control.h"

HWND OpenProbeWindow(int width, int height) {
    return platform::CreateStandInWindow(width, height, "device probe");
}

void CloseProbeWindow(HWND window) {
    platform::DestroyStandInWindow(window);
}
