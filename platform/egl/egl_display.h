// The process's one EGL display: Mesa's surfaceless platform where EGL offers it, otherwise the
// first device of EGL_EXT_platform_device that can make a context current without a surface.
// VTR3_EGL_PLATFORM=surfaceless or =device forces one of them.
#ifndef VTR3_PLATFORM_EGL_EGL_DISPLAY_H
#define VTR3_PLATFORM_EGL_EGL_DISPLAY_H

#include <EGL/egl.h>

#include <string>

namespace platform::egl {

bool HasExtension(const char* list, const char* name);

// Opened and initialised once for the process and never terminated: terminating it while another
// thread or a late destructor still uses it is worse than keeping it. EGL_NO_DISPLAY with a reason
// in *error when no platform works.
EGLDisplay OpenDisplay(std::string* error);

} // namespace platform::egl

#endif
