// What the stand-in engine needs from the operating system beyond Direct3D 9: its window, the clock
// that GetTickCount reads and a device limited to shader model 2. On Linux the platform library
// supplies them (system_platform.cpp); a Windows build implements the same functions with Win32.
#ifndef VTR3_HOST_SYSTEM_H
#define VTR3_HOST_SYSTEM_H

#include <windows.h>

#include <string>

namespace host::system {

// The engine's application window; null when it cannot be created.
HWND CreateEngineWindow(int width, int height, const char* title);
void DestroyEngineWindow(HWND window);
// The window's title as last set (by the engine or the plug-in's SetWindowTextA).
std::string WindowTitle(HWND window);

// Sets the clock GetTickCount reads, so that frames are reproducible; UseRealClock gives it back.
void SetClock(DWORD milliseconds);
void UseRealClock();

// Devices created after LimitToShaderModel2(true) report the capabilities of a shader-model-2 card;
// false while the system cannot do that (then nothing changes).
bool LimitToShaderModel2(bool enabled);

} // namespace host::system

#endif
