// Windows: a real window, never shown.
#include "probe_window.h"

#include <windows.h>

HWND OpenProbeWindow(int width, int height) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Vantor3DeviceProbe";
    RegisterClassExA(&windowClass);
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return CreateWindowExA(0, windowClass.lpszClassName, "device probe", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

void CloseProbeWindow(HWND window) {
    DestroyWindow(window);
}
