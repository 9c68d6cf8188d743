// What the stand-in engine needs from the operating system beyond Direct3D 9: its window, the clock
// that GetTickCount reads, a device limited to shader model 2 and the plug-in's loading. On Linux
// the platform library and the dynamic loader supply them (system_platform.cpp, system_posix.cpp);
// on Windows, Win32 (system_win32.cpp).
#ifndef VTR3_HOST_SYSTEM_H
#define VTR3_HOST_SYSTEM_H

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

namespace host::system {

// The engine's application window; null when it cannot be created.
HWND CreateEngineWindow(int width, int height, const char* title);
void DestroyEngineWindow(HWND window);

// Sets the clock GetTickCount reads, so that frames are reproducible; UseRealClock gives it back.
void SetClock(DWORD milliseconds);
void UseRealClock();

// Devices created after LimitToShaderModel2(true) report the capabilities of a shader-model-2 card;
// false while the system cannot do that (then nothing changes).
bool LimitToShaderModel2(bool enabled);

// The plug-in's library, loaded from `file` (a path the file system finds); null with `error` set
// when it does not load. The library's GetTickCount reads the clock above.
void* LoadLibraryFile(const std::string& file, std::string* error);
// The export's address; null when the library has none of that name.
void* FindExport(void* library, const char* name);
void UnloadLibrary(void* library);

// vantor-run --window: the frames shown live. On Linux a window of its own on the X display named by
// DISPLAY, painted from the back buffer after each frame; on Windows the engine's window, shown and
// presented into. False with `error` set when it cannot be opened (no DISPLAY, no X server).
bool OpenFrameWindow(HWND engineWindow, int width, int height, const char* title, std::string* error);
// Shows the frame in the back buffer and answers the window's events; nothing while none is open or
// after the window was closed.
void ShowFrame(IDirect3DDevice9* device);
void CloseFrameWindow();

// What draws the frames, for the run's summary: "EGL surfaceless" or "EGL device" (the display the
// platform library chose) on Linux, "Direct3D 9" on Windows.
std::string GraphicsName();

// Files written, created, renamed or deleted in watched directories (not below them), for
// vantor-run --watch: inotify on Linux (file_watch_inotify.cpp), ReadDirectoryChangesW on Windows
// (file_watch_win32.cpp). One thread polls it; nothing runs behind its back.
struct DirectoryWatch;
// Null with `error` set when the system refuses.
DirectoryWatch* OpenDirectoryWatch(std::string* error);
// Adds a directory; false with `error` set when it cannot be watched (it does not exist, say).
bool WatchDirectory(DirectoryWatch* watch, const std::string& directory, std::string* error);
// Waits up to `milliseconds` (0: not at all) for a change, then appends the path of every file
// changed since the last call (the watched directory's path, a separator and the file's name).
void TakeChangedFiles(DirectoryWatch* watch, int milliseconds, std::vector<std::string>* paths);
void CloseDirectoryWatch(DirectoryWatch* watch);

// Whether standard error is a terminal (progress lines are only drawn there).
bool ErrorIsTerminal();

} // namespace host::system

#endif
