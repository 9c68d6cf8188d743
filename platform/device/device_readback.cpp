// Read-back of the back buffer and the depth-stencil surface for the stand-in engine and the tests.
#include "device/device.h"

#include "device/surface.h"
#include "platform_control.h"

#include <new>

namespace platform::device {

bool Device::ReadBackBuffer(std::vector<std::uint8_t>* pixels, UINT* width, UINT* height) {
    const DeviceLock lock(this);
    if (!pixels || !MakeCurrent())
        return false;
    const D3DSURFACE_DESC& desc = backBuffer_->Desc();
    try {
        pixels->resize(std::size_t{desc.Width} * desc.Height * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    gl_.BindReadFramebuffer(readFramebuffer_);
    // GL_BGRA with bytes is Direct3D's A8R8G8B8 memory order; X8R8G8B8 storage reads alpha as 255.
    glReadPixels(0, 0, static_cast<GLsizei>(desc.Width), static_cast<GLsizei>(desc.Height), GL_BGRA,
                 GL_UNSIGNED_BYTE, pixels->data());
    if (width)
        *width = desc.Width;
    if (height)
        *height = desc.Height;
    return glGetError() == GL_NO_ERROR;
}

bool Device::ReadDepthStencil(std::vector<float>* depth, std::vector<std::uint8_t>* stencil, UINT* width,
                              UINT* height) {
    const DeviceLock lock(this);
    if (!depthStencil_ || !MakeCurrent())
        return false;
    const D3DSURFACE_DESC& desc = depthStencil_->Desc();
    const std::size_t count = std::size_t{desc.Width} * desc.Height;
    const GLsizei w = static_cast<GLsizei>(desc.Width);
    const GLsizei h = static_cast<GLsizei>(desc.Height);
    try {
        gl_.BindReadFramebuffer(drawFramebuffer_);
        if (depth) {
            depth->resize(count);
            glReadPixels(0, 0, w, h, GL_DEPTH_COMPONENT, GL_FLOAT, depth->data());
        }
        if (stencil) {
            stencil->assign(count, 0);
            if (depthStencil_->HasStencil())
                glReadPixels(0, 0, w, h, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil->data());
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (width)
        *width = desc.Width;
    if (height)
        *height = desc.Height;
    return glGetError() == GL_NO_ERROR;
}

} // namespace platform::device

namespace platform {

bool ReadBackBuffer(IDirect3DDevice9* device, std::vector<std::uint8_t>* pixels, UINT* width, UINT* height) {
    auto* platformDevice = dynamic_cast<device::Device*>(device);
    return platformDevice && platformDevice->ReadBackBuffer(pixels, width, height);
}

bool ReadDepthStencil(IDirect3DDevice9* device, std::vector<float>* depth, std::vector<std::uint8_t>* stencil,
                      UINT* width, UINT* height) {
    auto* platformDevice = dynamic_cast<device::Device*>(device);
    return platformDevice && platformDevice->ReadDepthStencil(depth, stencil, width, height);
}

} // namespace platform
