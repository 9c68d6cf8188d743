// IDirect3DVertexShader9 and IDirect3DPixelShader9: a copy of the bytecode the caller gave (for
// GetFunction) and the separable GL program translated from it (shader_bytecode/).
#ifndef VTR3_PLATFORM_DEVICE_SHADER_H
#define VTR3_PLATFORM_DEVICE_SHADER_H

#include "device/device_child.h"
#include "device/gl_api.h"

#include <type_traits>
#include <vector>

namespace platform::device {

template <typename Interface> class Shader final : public DeviceChild<Interface> {
  public:
    static constexpr bool kPixel = std::is_same_v<Interface, IDirect3DPixelShader9>;

    // Reads, checks and translates the bytecode; D3DERR_INVALIDCALL for bytecode that is malformed,
    // of the other stage, or not translated. The device's lock is held and its context current.
    static HRESULT Create(Device* device, const DWORD* function, Interface** shader);
    // The caller's shader as the platform's own; null for another implementation's object.
    static Shader* From(Interface* shader) { return dynamic_cast<Shader*>(shader); }

    HRESULT STDMETHODCALLTYPE GetFunction(void* data, UINT* size) override;

    GLuint Program() const { return program_; }
    Device* Owner() const { return this->ParentDevice(); }

  private:
    Shader(Device* device, std::vector<DWORD> tokens, GLuint program)
        : DeviceChild<Interface>(device), tokens_(std::move(tokens)), program_(program) {}
    ~Shader() override;

    const std::vector<DWORD> tokens_;
    const GLuint program_;
};

using VertexShader = Shader<IDirect3DVertexShader9>;
using PixelShader = Shader<IDirect3DPixelShader9>;

} // namespace platform::device

#endif
