// Stand-in windows: a title and a size behind a handle. Handles come from a counter and are looked
// up in a registry, so a stale or made-up handle is recognised instead of dereferenced.
#include "platform_control.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace platform {
namespace {

struct StandInWindow {
    int width;
    int height;
    std::string title;
};

struct Registry {
    std::mutex mutex;
    std::map<HWND, StandInWindow> windows;
    std::uintptr_t nextHandle = 0x10000;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

} // namespace

HWND CreateStandInWindow(int width, int height, const char* title) {
    if (width < 0 || height < 0)
        return nullptr;
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    // Handles are never reused, as Windows does not reuse a handle soon either.
    HWND handle = reinterpret_cast<HWND>(registry.nextHandle);
    registry.nextHandle += 4;
    registry.windows[handle] = StandInWindow{width, height, title ? title : ""};
    return handle;
}

void DestroyStandInWindow(HWND window) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.windows.erase(window);
}

std::string GetStandInWindowTitle(HWND window) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.windows.find(window);
    return it == registry.windows.end() ? std::string() : it->second.title;
}

bool GetStandInWindowSize(HWND window, int* width, int* height) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.windows.find(window);
    if (it == registry.windows.end())
        return false;
    if (width)
        *width = it->second.width;
    if (height)
        *height = it->second.height;
    return true;
}

} // namespace platform

extern "C" BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    platform::Registry& registry = platform::TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.windows.find(hWnd);
    if (it == registry.windows.end())
        return FALSE;
    // Windows takes a null text as the empty title.
    it->second.title = lpString ? lpString : "";
    return TRUE;
}
