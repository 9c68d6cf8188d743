#include "egl/gl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>

#include <cstring>
#include <mutex>

namespace platform::egl {
namespace {

// The context current on this thread, so that MakeCurrent skips the EGL call in the common case.
thread_local const void* t_current = nullptr;

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

// The surfaceless display, initialised once for the process and never terminated: terminating it
// while another thread or a late destructor still uses it is worse than keeping it.
EGLDisplay OpenDisplay(std::string* error) {
    static std::once_flag once;
    static EGLDisplay display = EGL_NO_DISPLAY;
    static std::string failure;
    std::call_once(once, [] {
        const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
        if (!HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
            failure = "EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)";
            return;
        }
        auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getPlatformDisplay) {
            failure = "eglGetPlatformDisplayEXT is missing";
            return;
        }
        EGLDisplay candidate =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint major = 0;
        EGLint minor = 0;
        if (candidate == EGL_NO_DISPLAY || !eglInitialize(candidate, &major, &minor)) {
            failure = "the surfaceless EGL display cannot be initialised";
            return;
        }
        display = candidate;
    });
    if (display == EGL_NO_DISPLAY && error)
        *error = failure;
    return display;
}

// Surfaceless llvmpipe offers no EGLConfig for desktop GL at all, so a config-less context is the
// first choice; a config is chosen only where the display lacks EGL_KHR_no_config_context.
bool ChooseConfig(EGLDisplay display, EGLConfig* config) {
    if (HasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_no_config_context")) {
        *config = EGL_NO_CONFIG_KHR;
        return true;
    }
    const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLint count = 0;
    return eglChooseConfig(display, attributes, config, 1, &count) && count == 1;
}

bool IsGl45Core() {
    GLint major = 0;
    GLint minor = 0;
    GLint profile = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    return (major > 4 || (major == 4 && minor >= 5)) && (profile & GL_CONTEXT_CORE_PROFILE_BIT);
}

} // namespace

std::unique_ptr<GlContext> GlContext::Create(std::string* error) {
    EGLDisplay display = OpenDisplay(error);
    if (display == EGL_NO_DISPLAY)
        return nullptr;
    if (!HasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context")) {
        if (error)
            *error = "EGL cannot make a context current without a surface (EGL_KHR_surfaceless_context)";
        return nullptr;
    }
    EGLConfig config = nullptr;
    if (!eglBindAPI(EGL_OPENGL_API) || !ChooseConfig(display, &config)) {
        if (error)
            *error = "EGL has no configuration for desktop OpenGL";
        return nullptr;
    }
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                 4,
                                 EGL_CONTEXT_MINOR_VERSION,
                                 5,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                 EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) {
        if (error)
            *error = "EGL cannot create an OpenGL 4.5 core context";
        return nullptr;
    }
    std::unique_ptr<GlContext> result(new GlContext(display, context));
    if (!result->MakeCurrent() || !IsGl45Core()) {
        if (error)
            *error = "the EGL context is not OpenGL 4.5 core";
        return nullptr;
    }
    return result;
}

GlContext::~GlContext() {
    if (t_current == context_) {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        t_current = nullptr;
    }
    eglDestroyContext(display_, context_);
}

bool GlContext::MakeCurrent() {
    if (t_current == context_)
        return true;
    if (!eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_))
        return false;
    t_current = context_;
    return true;
}

} // namespace platform::egl
