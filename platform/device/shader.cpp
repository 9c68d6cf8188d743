#include "device/shader.h"

#include "device/shader_bytecode/reader.h"
#include "device/shader_bytecode/translator.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace platform::device {
namespace {

// The linked separable program, or 0: a translation GL refuses is the translator's fault, so the
// log goes to stderr for its developer.
GLuint Compile(bool pixel, const std::string& glsl) {
    const char* text = glsl.c_str();
    const GLuint program = glCreateShaderProgramv(pixel ? GL_FRAGMENT_SHADER : GL_VERTEX_SHADER, 1, &text);
    GLint linked = GL_FALSE;
    if (program)
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE)
        return program;
    char log[2048] = "";
    if (program)
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
    std::fprintf(stderr, "Direct3D 9 device: translated shader failed:\n%s\n%s\n", log, text);
    glDeleteProgram(program);
    return 0;
}

} // namespace

template <typename Interface>
HRESULT Shader<Interface>::Create(Device* device, const DWORD* function, Interface** shader) {
    std::size_t count = 0;
    bytecode::Program program;
    std::string glsl;
    if (FAILED(bytecode::MeasureBytecode(function, &count)) ||
        FAILED(bytecode::ReadBytecode(function, count, &program)) || program.pixel != kPixel ||
        FAILED(bytecode::TranslateProgram(program, &glsl)))
        return D3DERR_INVALIDCALL;
    if (!device->MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    const GLuint linked = Compile(kPixel, glsl);
    if (!linked)
        return D3DERR_INVALIDCALL;
    auto* created = new Shader(device, std::vector<DWORD>(function, function + count), linked);
    created->AddRef();
    *shader = created;
    return D3D_OK;
}

template <typename Interface> Shader<Interface>::~Shader() {
    Device* device = this->ParentDevice();
    const DeviceLock lock(device);
    if (device->MakeCurrent())
        glDeleteProgram(program_);
}

template <typename Interface> HRESULT Shader<Interface>::GetFunction(void* data, UINT* size) {
    if (!size)
        return D3DERR_INVALIDCALL;
    const UINT bytes = static_cast<UINT>(tokens_.size() * sizeof(DWORD));
    if (data) {
        if (*size < bytes)
            return D3DERR_INVALIDCALL;
        std::memcpy(data, tokens_.data(), bytes);
    }
    *size = bytes;
    return D3D_OK;
}

template class Shader<IDirect3DVertexShader9>;
template class Shader<IDirect3DPixelShader9>;

} // namespace platform::device
