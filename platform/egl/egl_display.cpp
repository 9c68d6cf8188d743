#include "egl/egl_display.h"

#include <platform_control.h>

#include <EGL/eglext.h>

#include <cstdlib>
#include <cstring>

namespace platform::egl {
namespace {

struct Opened {
    EGLDisplay display = EGL_NO_DISPLAY;
    const char* platform = "";
    std::string failure;
};

bool Initialize(EGLDisplay display) {
    EGLint major = 0;
    EGLint minor = 0;
    return display != EGL_NO_DISPLAY && eglInitialize(display, &major, &minor);
}

// Every context is surfaceless: a display that cannot do that is of no use.
bool Usable(EGLDisplay display) {
    return Initialize(display) &&
           HasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context");
}

EGLDisplay SurfacelessDisplay(PFNEGLGETPLATFORMDISPLAYEXTPROC getPlatformDisplay) {
    if (!HasExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_MESA_platform_surfaceless"))
        return EGL_NO_DISPLAY;
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    return Usable(display) ? display : EGL_NO_DISPLAY;
}

EGLDisplay DeviceDisplay(PFNEGLGETPLATFORMDISPLAYEXTPROC getPlatformDisplay) {
    if (!HasExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_EXT_platform_device"))
        return EGL_NO_DISPLAY;
    auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    constexpr EGLint kMaxDevices = 16;
    EGLDeviceEXT devices[kMaxDevices];
    EGLint count = 0;
    if (!queryDevices || !queryDevices(kMaxDevices, devices, &count))
        return EGL_NO_DISPLAY;
    for (EGLint i = 0; i < count; ++i) {
        EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
        if (Usable(display))
            return display;
    }
    return EGL_NO_DISPLAY;
}

Opened Open() {
    Opened opened;
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) {
        opened.failure = "eglGetPlatformDisplayEXT is missing";
        return opened;
    }
    const char* forced = std::getenv("VTR3_EGL_PLATFORM");
    const std::string only = forced ? forced : "";
    if (!only.empty() && only != "surfaceless" && only != "device") {
        opened.failure = "VTR3_EGL_PLATFORM is '" + only + "': surfaceless or device";
        return opened;
    }
    if (only != "device") {
        opened.display = SurfacelessDisplay(getPlatformDisplay);
        opened.platform = "surfaceless";
    }
    if (opened.display == EGL_NO_DISPLAY && only != "surfaceless") {
        opened.display = DeviceDisplay(getPlatformDisplay);
        opened.platform = "device";
    }
    if (opened.display == EGL_NO_DISPLAY) {
        opened.platform = "";
        opened.failure = only.empty()
                             ? "EGL offers neither a surfaceless display (EGL_MESA_platform_surfaceless) "
                               "nor a device display (EGL_EXT_platform_device) that works without a "
                               "surface"
                             : "EGL's " + only + " platform offers no display that works without a surface";
    }
    return opened;
}

Opened& TheDisplay() {
    static Opened* opened = new Opened(Open()); // kept for the process, as the display is
    return *opened;
}

} // namespace

bool HasExtension(const char* list, const char* name) {
    if (!list)
        return false;
    const std::size_t length = std::strlen(name);
    for (const char* p = std::strstr(list, name); p; p = std::strstr(p + length, name)) {
        const bool starts = p == list || p[-1] == ' ';
        const bool ends = p[length] == ' ' || p[length] == '\0';
        if (starts && ends)
            return true;
    }
    return false;
}

EGLDisplay OpenDisplay(std::string* error) {
    const Opened& opened = TheDisplay();
    if (opened.display == EGL_NO_DISPLAY && error)
        *error = opened.failure;
    return opened.display;
}

} // namespace platform::egl

namespace platform {

std::string EglPlatform() {
    std::string ignored;
    return egl::OpenDisplay(&ignored) == EGL_NO_DISPLAY ? "" : egl::TheDisplay().platform;
}

} // namespace platform
