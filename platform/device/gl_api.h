// OpenGL 4.5 core for the device: every core entry point is declared by glcorearb.h and links
// directly from libOpenGL (libglvnd), so no loader is needed.
#ifndef VTR3_PLATFORM_DEVICE_GL_API_H
#define VTR3_PLATFORM_DEVICE_GL_API_H

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>

#endif
