// Bytecode shader objects, their binding and their constant registers. A bytecode shader's program
// takes the same place in the drawing path as an effect's (SetShaderPrograms), so either stage may
// be a shader while the other stays fixed-function.
#include "device/device.h"
#include "device/device_draw_path.h"

namespace platform::device {
namespace {

template <typename Interface>
HRESULT CreateShader(Device* device, const DWORD* function, Interface** shader) {
    if (!shader)
        return D3DERR_INVALIDCALL;
    *shader = nullptr;
    return Shader<Interface>::Create(device, function, shader);
}

// The bound program belongs to the held shader unless an effect's program replaced it since.
template <typename Interface>
HRESULT GetShader(const com::PrivateRef<Shader<Interface>>& held, GLuint program, Interface** shader) {
    if (!shader)
        return D3DERR_INVALIDCALL;
    *shader = nullptr;
    if (held.Get() && held->Program() == program) {
        held->AddRef();
        *shader = held.Get();
        return D3D_OK;
    }
    return program ? D3DERR_INVALIDCALL : D3D_OK;
}

} // namespace

HRESULT Device::CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) {
    const DeviceLock lock(this);
    return CreateShader(this, function, shader);
}

HRESULT Device::CreatePixelShader(const DWORD* function, IDirect3DPixelShader9** shader) {
    const DeviceLock lock(this);
    return CreateShader(this, function, shader);
}

HRESULT Device::SetVertexShader(IDirect3DVertexShader9* shader) {
    const DeviceLock lock(this);
    VertexShader* own = shader ? VertexShader::From(shader) : nullptr;
    if (shader && (!own || own->Owner() != this))
        return D3DERR_INVALIDCALL;
    drawPath_->vertexShader = com::PrivateRef<VertexShader>(own);
    SetShaderPrograms(own ? own->Program() : 0, drawPath_->shaderPixelProgram);
    return D3D_OK;
}

void Device::BindApplicationShaders() {
    const DrawPath& path = *drawPath_;
    SetShaderPrograms(path.vertexShader.Get() ? path.vertexShader->Program() : 0,
                      path.pixelShader.Get() ? path.pixelShader->Program() : 0);
}

HRESULT Device::GetVertexShader(IDirect3DVertexShader9** shader) {
    const DeviceLock lock(this);
    return GetShader(drawPath_->vertexShader, drawPath_->shaderVertexProgram, shader);
}

HRESULT Device::SetPixelShader(IDirect3DPixelShader9* shader) {
    const DeviceLock lock(this);
    PixelShader* own = shader ? PixelShader::From(shader) : nullptr;
    if (shader && (!own || own->Owner() != this))
        return D3DERR_INVALIDCALL;
    drawPath_->pixelShader = com::PrivateRef<PixelShader>(own);
    SetShaderPrograms(drawPath_->shaderVertexProgram, own ? own->Program() : 0);
    return D3D_OK;
}

HRESULT Device::GetPixelShader(IDirect3DPixelShader9** shader) {
    const DeviceLock lock(this);
    return GetShader(drawPath_->pixelShader, drawPath_->shaderPixelProgram, shader);
}

// Constants. The setters write the stage's uniform buffer at once, so they need the context.

#define VTR3_SHADER_CONSTANTS(Stage, pixel, Suffix, Kind, Type)                                              \
    HRESULT Device::Set##Stage##ShaderConstant##Suffix(UINT start, const Type* data, UINT count) {           \
        const DeviceLock lock(this);                                                                         \
        if (!MakeCurrent())                                                                                  \
            return D3DERR_DRIVERINTERNALERROR;                                                               \
        return drawPath_->shaderConstants.Set(pixel, ShaderConstants::Kind, start, data, count);             \
    }                                                                                                        \
    HRESULT Device::Get##Stage##ShaderConstant##Suffix(UINT start, Type* data, UINT count) {                 \
        const DeviceLock lock(this);                                                                         \
        return drawPath_->shaderConstants.Get(pixel, ShaderConstants::Kind, start, data, count);             \
    }

VTR3_SHADER_CONSTANTS(Vertex, false, F, kFloat, float)
VTR3_SHADER_CONSTANTS(Vertex, false, I, kInt, int)
VTR3_SHADER_CONSTANTS(Vertex, false, B, kBool, BOOL)
VTR3_SHADER_CONSTANTS(Pixel, true, F, kFloat, float)
VTR3_SHADER_CONSTANTS(Pixel, true, I, kInt, int)
VTR3_SHADER_CONSTANTS(Pixel, true, B, kBool, BOOL)

#undef VTR3_SHADER_CONSTANTS

} // namespace platform::device
