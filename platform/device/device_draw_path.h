// The GL objects and the applied-state record of the device's drawing path: one vertex array
// object, one program pipeline, the streaming buffers behind DrawPrimitiveUP and
// DrawIndexedPrimitiveUP, the fixed-function uniform buffers, one sampler object per stage and the
// cache of generated programs. Created with the device, deleted while its context is current.
#ifndef VTR3_PLATFORM_DEVICE_DEVICE_DRAW_PATH_H
#define VTR3_PLATFORM_DEVICE_DEVICE_DRAW_PATH_H

#include "device/device_state.h"
#include "device/fixed_function/fvf_layout.h"
#include "device/fixed_function/program_cache.h"
#include "device/fixed_function/uniform_blocks.h"
#include "device/gl_api.h"
#include "device/shader.h"
#include "device/shader_constants.h"
#include "device/vertex_input.h"

#include <cstddef>

namespace platform::device {

// A buffer written front to back by user-pointer draws; when full it is orphaned and written from
// the start again, so the GL never waits for a draw still reading the old contents.
class StreamBuffer {
  public:
    bool Create(GLsizeiptr capacity);
    void Destroy();
    // Copies the bytes in and gives their offset, aligned as `alignment` asks; false when the data
    // is larger than the buffer.
    bool Write(const void* data, GLsizeiptr size, GLsizeiptr alignment, GLintptr* offset);
    GLuint Name() const { return buffer_; }

  private:
    GLuint buffer_ = 0;
    GLsizeiptr capacity_ = 0;
    GLintptr position_ = 0;
};

class DrawPath {
  public:
    static constexpr GLsizeiptr kVertexStreamBytes = 4 << 20;
    static constexpr GLsizeiptr kIndexStreamBytes = 1 << 20;

    bool Create();
    void Destroy(); // context current

    GLuint vertexArray = 0;
    GLuint pipeline = 0;
    GLuint vertexBlockBuffer = 0;
    GLuint pixelBlockBuffer = 0;
    GLuint samplers[kSamplerSlotCount] = {}; // by sampler slot, which is also the texture unit
    StreamBuffer vertexStream;
    StreamBuffer indexStream;
    ProgramCache programs;

    // The programs that draw instead of the fixed-function ones (0: fixed function): the effect
    // framework's, or those of the bytecode shaders set, which are held here.
    GLuint shaderVertexProgram = 0;
    GLuint shaderPixelProgram = 0;
    com::PrivateRef<VertexShader> vertexShader;
    com::PrivateRef<PixelShader> pixelShader;
    ShaderConstants shaderConstants;

    // What the last draw left in GL.
    VertexInput fvfInput; // the input of the FVF fvfInputOf
    DWORD fvfInputOf = ~0u;
    const VertexInput* input = &fvfInput; // fvfInput or the set declaration's
    GLuint vertexStage = 0;
    GLuint pixelStage = 0;
    GLuint epilogueProgram = 0; // the vertex program whose fix-up and clip planes are current
    bool epilogueDirty = true;
    D3DVIEWPORT9 appliedViewport{};
    // The vertex array's buffers as last bound, forgotten when a buffer is deleted anywhere.
    GLuint elementBuffer = ~0u;
    struct VertexBinding {
        GLuint buffer = ~0u;
        GLintptr offset = 0;
        GLsizei stride = 0;
    } vertexBindings[16];
    GLuint divisors[16] = {}; // each stream binding's instance divisor as set in GL
    std::uint32_t bufferDeletions = 0;
    VertexProgramKey vertexKey{};
    PixelProgramKey pixelKey{};
    StageTextureKind textureKinds[kFixedStages] = {};
    FixedVertexBlock vertexBlock{};
    FixedPixelBlock pixelBlock{};
    float positionFixup[4] = {};
    float clipPlanes[kClipPlaneCount][4] = {};
};

} // namespace platform::device

#endif
