// The constant registers of bytecode shaders (Set/Get{Vertex,Pixel}ShaderConstant{F,I,B}): a copy
// for the getters and one uniform buffer per stage, bound at the translator's block bindings and
// written when a setter changes it, so draws upload nothing.
#ifndef VTR3_PLATFORM_DEVICE_SHADER_CONSTANTS_H
#define VTR3_PLATFORM_DEVICE_SHADER_CONSTANTS_H

#include "device/gl_api.h"
#include "device/shader_bytecode/translator.h"

#include <d3d9.h>

namespace platform::device {

class ShaderConstants {
  public:
    enum Kind { kFloat, kInt, kBool };

    bool Create(); // context current
    void Destroy();

    // D3DERR_INVALIDCALL for registers past the stage's count or null data. Set needs the context.
    HRESULT Set(bool pixel, Kind kind, UINT start, const void* data, UINT count);
    HRESULT Get(bool pixel, Kind kind, UINT start, void* data, UINT count) const;

  private:
    using VertexBlock = bytecode::ShaderConstantBlock<bytecode::kVertexFloatConstants>;
    using PixelBlock = bytecode::ShaderConstantBlock<bytecode::kPixelFloatConstants>;

    VertexBlock vertex_{};
    PixelBlock pixel_{};
    GLuint buffers_[2] = {};
};

} // namespace platform::device

#endif
