// ValidateDevice: whether the texture stages in force draw in one pass. They do unless a stage uses
// an operation the caps do not claim, which the pixel stage does not draw as Direct3D would.
#include "device/device.h"

#include "device/device_caps.h"
#include "device/device_state.h"

namespace platform::device {

HRESULT Device::ValidateDevice(DWORD* numPasses) {
    const DeviceLock lock(this);
    if (!numPasses)
        return D3DERR_INVALIDCALL;
    *numPasses = 0;
    // Stages after the first disabled colour operation are not used.
    for (const auto& stage : state_->stageStates) {
        if (stage[D3DTSS_COLOROP] == D3DTOP_DISABLE)
            break;
        if (!TextureOpClaimed(stage[D3DTSS_COLOROP]))
            return D3DERR_UNSUPPORTEDCOLOROPERATION;
        if (!TextureOpClaimed(stage[D3DTSS_ALPHAOP]))
            return D3DERR_UNSUPPORTEDALPHAOPERATION;
    }
    *numPasses = 1;
    return D3D_OK;
}

} // namespace platform::device
