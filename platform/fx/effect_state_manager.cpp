// SetStateManager/GetStateManager: while a manager is set, the states a pass applies and End restores
// go to it instead of the device (Begin still reads the states to save from the device, which has the
// getters). The GL programs of a pass bind inside the device; the manager is told SetVertexShader and
// SetPixelShader with null for them, there being no shader object to give.
#include "fx/effect.h"

namespace platform::fx {

HRESULT Effect::SetStateManager(LPD3DXEFFECTSTATEMANAGER pManager) {
    manager_ = com::Ref<ID3DXEffectStateManager>(pManager);
    return D3D_OK;
}

HRESULT Effect::GetStateManager(LPD3DXEFFECTSTATEMANAGER* ppManager) {
    if (!ppManager)
        return D3DERR_INVALIDCALL;
    *ppManager = manager_.Get();
    if (*ppManager)
        (*ppManager)->AddRef();
    return D3D_OK;
}

ID3DXEffectStateManager* Effect::States() {
    return manager_ ? manager_.Get() : static_cast<ID3DXEffectStateManager*>(&deviceStates_);
}

// A pass's shader stages as the manager sees them: null for each stage the pass gives a program.
void Effect::TellManagerShaders(bool vertex, bool pixel) {
    if (!manager_)
        return;
    if (vertex)
        manager_->SetVertexShader(nullptr);
    if (pixel)
        manager_->SetPixelShader(nullptr);
}

} // namespace platform::fx
