#include "device/gl_limits.h"

#include "device/gl_api.h"
#include "egl/gl_context.h"

#include <cstdio>
#include <mutex>

namespace platform::device {
namespace {

int Integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GlLimits QueryCurrentContext() {
    GlLimits limits;
    limits.maxTextureSize = Integer(GL_MAX_TEXTURE_SIZE);
    limits.maxCubeMapSize = Integer(GL_MAX_CUBE_MAP_TEXTURE_SIZE);
    limits.max3DTextureSize = Integer(GL_MAX_3D_TEXTURE_SIZE);
    limits.maxRenderbufferSize = Integer(GL_MAX_RENDERBUFFER_SIZE);
    limits.maxClipDistances = Integer(GL_MAX_CLIP_DISTANCES);
    limits.maxDrawBuffers = Integer(GL_MAX_DRAW_BUFFERS);
    limits.maxVertexAttribs = Integer(GL_MAX_VERTEX_ATTRIBS);
    limits.maxTextureUnits = Integer(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS);
    const GLubyte* renderer = glGetString(GL_RENDERER);
    limits.renderer = renderer ? reinterpret_cast<const char*>(renderer) : "";
    return limits;
}

} // namespace

bool GetGlLimits(GlLimits* limits) {
    static std::once_flag once;
    static bool available = false;
    static GlLimits cached;
    std::call_once(once, [] {
        // A context of its own, so that IDirect3D9 can answer before any device exists.
        std::string error;
        std::unique_ptr<egl::GlContext> context = egl::GlContext::Create(&error);
        if (!context) {
            std::fprintf(stderr, "Direct3D 9: no OpenGL 4.5 core context: %s\n", error.c_str());
            return;
        }
        cached = QueryCurrentContext();
        available = true;
    });
    if (available && limits)
        *limits = cached;
    return available;
}

} // namespace platform::device
