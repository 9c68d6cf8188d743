// What the OpenGL implementation can do, as far as Direct3D 9's capabilities depend on it. Read once
// per process: every context of the surfaceless display runs on the same driver.
#ifndef VTR3_PLATFORM_DEVICE_GL_LIMITS_H
#define VTR3_PLATFORM_DEVICE_GL_LIMITS_H

#include <string>

namespace platform::device {

struct GlLimits {
    int maxTextureSize = 0;
    int maxCubeMapSize = 0;
    int max3DTextureSize = 0;
    int maxRenderbufferSize = 0;
    int maxClipDistances = 0;
    int maxDrawBuffers = 0;
    int maxVertexAttribs = 0;
    int maxTextureUnits = 0;
    std::string renderer;
};

// False when no OpenGL 4.5 core context can be had; the answer (either way) is kept for the process.
bool GetGlLimits(GlLimits* limits);

} // namespace platform::device

#endif
