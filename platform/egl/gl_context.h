// A headless OpenGL 4.5 core context on the process's EGL display (egl_display.h). It has no default
// framebuffer: everything is drawn into framebuffer objects. The Direct3D part sees only this class.
#ifndef VTR3_PLATFORM_EGL_GL_CONTEXT_H
#define VTR3_PLATFORM_EGL_GL_CONTEXT_H

#include <cstdint>
#include <memory>
#include <string>

namespace platform::egl {

class GlContext {
  public:
    // Null with a reason in *error when EGL offers no usable display or no OpenGL 4.5 core context.
    static std::unique_ptr<GlContext> Create(std::string* error);
    ~GlContext();

    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    // Makes the context current on the calling thread, asking EGL whether it already is. False while
    // it is current on another thread.
    bool MakeCurrent();
    // The same for the calls a frame makes many of (draws, an effect pass's uploads): trusts what
    // the last MakeCurrent or Release on this thread saw, without asking EGL (whose dispatch makes a
    // system call per question).
    bool MakeCurrentTrusted();
    // Leaves the calling thread without a context if this one is current there, so that another
    // thread can make it current.
    void Release();

  private:
    bool IsCurrent() const;

    GlContext(void* display, void* context);

    void* display_;
    void* context_;
    // Never reused, unlike the object's address: what the calling thread's record of the current
    // context compares against.
    const std::uint64_t identity_;
};

} // namespace platform::egl

#endif
