#include "device/gl_functions.h"

namespace platform::device {

const GlFunctions& SystemGl() {
#define VTR3_GL_SYSTEM(name) gl##name,
    static const GlFunctions functions{VTR3_GL_FUNCTIONS(VTR3_GL_SYSTEM)};
#undef VTR3_GL_SYSTEM
    return functions;
}

} // namespace platform::device
