// The generated fixed-function programs by key. A program is compiled and linked (separable) the
// first time its key is seen and kept for the device's life; a lookup allocates nothing.
#ifndef VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_PROGRAM_CACHE_H
#define VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_PROGRAM_CACHE_H

#include "device/fixed_function/program_keys.h"
#include "device/gl_api.h"

#include <unordered_map>

namespace platform::device {

class ProgramCache {
  public:
    ProgramCache() = default;
    ProgramCache(const ProgramCache&) = delete;
    ProgramCache& operator=(const ProgramCache&) = delete;
    ~ProgramCache(); // needs the device's context current

    // The program for a key, or 0 when GL refused the generated source (reported on stderr once).
    GLuint VertexProgram(const VertexProgramKey& key);
    GLuint PixelProgram(const PixelProgramKey& key);
    std::size_t ProgramCount() const { return vertexPrograms_.size() + pixelPrograms_.size(); }

  private:
    std::unordered_map<VertexProgramKey, GLuint, ProgramKeyHash> vertexPrograms_;
    std::unordered_map<PixelProgramKey, GLuint, ProgramKeyHash> pixelPrograms_;
};

} // namespace platform::device

#endif
