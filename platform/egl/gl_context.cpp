#include "egl/gl_context.h"

#include "egl/egl_display.h"

#include <atomic>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>

namespace platform::egl {
namespace {

// The identity of the context this thread has current, as this library last saw or made it; 0 for
// none. Other code on the thread may change the current context behind it: MakeCurrent asks EGL.
thread_local std::uint64_t t_currentIdentity = 0;
std::atomic<std::uint64_t> g_nextIdentity{1};

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

GlContext::GlContext(void* display, void* context)
    : display_(display), context_(context), identity_(g_nextIdentity++) {}

GlContext::~GlContext() {
    Release();
    eglDestroyContext(display_, context_); // deferred by EGL while current on another thread
}

// EGL says what is current: other code on the thread (the engine, another library) may have made
// its own context current or released ours. eglGetCurrentContext answers for the thread's bound
// API, which starts as OpenGL ES on every new thread.
bool GlContext::IsCurrent() const {
    // One question, not two: while the thread's bound API is OpenGL ES the answer is an ES context
    // or none, never ours, and MakeCurrent binds OpenGL again.
    const bool current = eglGetCurrentContext() == context_;
    if (current)
        t_currentIdentity = identity_;
    else if (t_currentIdentity == identity_)
        t_currentIdentity = 0;
    return current;
}

bool GlContext::MakeCurrent() {
    if (IsCurrent())
        return true;
    if (!eglBindAPI(EGL_OPENGL_API) || !eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_))
        return false;
    t_currentIdentity = identity_;
    return true;
}

bool GlContext::MakeCurrentTrusted() {
    return t_currentIdentity == identity_ || MakeCurrent();
}

void GlContext::Release() {
    if (IsCurrent() && eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT))
        t_currentIdentity = 0;
}

} // namespace platform::egl
