// The stand-in engine's system functions on Windows: a real (hidden) window, the plug-in loaded with
// LoadLibraryA, and a settable clock. The plug-in reads the time through kernel32's GetTickCount;
// to give it the engine's clock, its import of that function is pointed at the engine's own.
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "system.h"

namespace host::system {
namespace {

constexpr const char* kWindowClass = "Vantor3StandInEngine";

bool g_clockSet = false;
DWORD g_clock = 0;

DWORD WINAPI EngineTickCount() {
    return g_clockSet ? g_clock : GetTickCount();
}

bool RegisterWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExA(&windowClass) != 0;
    }();
    return registered;
}

// Points the library's import of kernel32's GetTickCount at EngineTickCount. A library that does not
// import it keeps nothing to redirect.
void RedirectTickCount(HMODULE library) {
    auto* base = reinterpret_cast<BYTE*>(library);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) {
        return;
    }
    for (auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import) {
        if (_stricmp(reinterpret_cast<const char*>(base + import->Name), "kernel32.dll") != 0 ||
            import->OriginalFirstThunk == 0) {
            continue;
        }
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "GetTickCount") != 0) {
                continue;
            }
            DWORD protection = 0;
            if (VirtualProtect(&addresses->u1.Function, sizeof addresses->u1.Function, PAGE_READWRITE,
                               &protection)) {
                addresses->u1.Function = reinterpret_cast<ULONG_PTR>(&EngineTickCount);
                VirtualProtect(&addresses->u1.Function, sizeof addresses->u1.Function, protection,
                               &protection);
            }
        }
    }
}

} // namespace

HWND CreateEngineWindow(int width, int height, const char* title) {
    if (!RegisterWindowClass()) {
        return nullptr;
    }
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    // Shown only for --window: the device draws into its back buffer and the engine reads it back.
    return CreateWindowExA(0, kWindowClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void DestroyEngineWindow(HWND window) {
    DestroyWindow(window);
}

void SetClock(DWORD milliseconds) {
    g_clock = milliseconds;
    g_clockSet = true;
}

void UseRealClock() {
    g_clockSet = false;
}

bool LimitToShaderModel2(bool) {
    return false; // the system's Direct3D reports what the card has
}

std::string GraphicsName() {
    return "Direct3D 9";
}

void* LoadLibraryFile(const std::string& file, std::string* error) {
    HMODULE library = LoadLibraryA(file.c_str());
    if (!library) {
        *error = "LoadLibraryA failed with error " + std::to_string(GetLastError());
        return nullptr;
    }
    RedirectTickCount(library);
    return reinterpret_cast<void*>(library);
}

void* FindExport(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void UnloadLibrary(void* library) {
    FreeLibrary(static_cast<HMODULE>(library));
}

namespace {
HWND g_shown = nullptr;
} // namespace

// Present draws into the engine's window once it is shown; its messages are answered after each frame.
bool OpenFrameWindow(HWND engineWindow, int, int, const char*, std::string*) {
    ShowWindow(engineWindow, SW_SHOWNORMAL);
    g_shown = engineWindow;
    return true;
}

void ShowFrame(IDirect3DDevice9*) {
    MSG message;
    while (g_shown && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void CloseFrameWindow() {
    if (g_shown && IsWindow(g_shown)) {
        ShowWindow(g_shown, SW_HIDE);
    }
    g_shown = nullptr;
}

bool ErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

} // namespace host::system
