// The probe's window: what each side needs before CreateDevice (a hidden Win32 window on Windows,
// the platform's stand-in window on Linux).
#ifndef VTR3_TOOLS_PROBE_PROBE_WINDOW_H
#define VTR3_TOOLS_PROBE_PROBE_WINDOW_H

#include <d3d9.h>

HWND OpenProbeWindow(int width, int height);
void CloseProbeWindow(HWND window);

#endif
