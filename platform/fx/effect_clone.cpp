// CloneEffect: a new effect from the same compiled shaders (no compile runs again; only the GL programs
// are linked for the clone's device), with the original's current values and technique, in the same
// pool. The two are independent afterwards, except for shared parameters, which the pool shares.
#include "fx/effect.h"

namespace platform::fx {

HRESULT Effect::CloneEffect(LPDIRECT3DDEVICE9 pDevice, LPD3DXEFFECT* ppEffect) {
    if (!ppEffect)
        return D3DERR_INVALIDCALL;
    *ppEffect = nullptr;
    if (!pDevice || !built_)
        return D3DERR_INVALIDCALL; // no device, or created with D3DXFX_NOT_CLONEABLE
    Effect* clone = nullptr;
    const HRESULT result = Create(pDevice, built_, pool_.Get(), flags_, &clone);
    if (FAILED(result))
        return result;
    try {
        for (std::size_t i = 0; i < parameters_.size(); ++i) {
            ParameterValue& to = *clone->parameters_[i].value;
            if (&to == parameters_[i].value.get() ||
                (i < tree_.size() && tree_[i].root >= 0 &&
                 clone->parameters_[i].value ==
                     clone->parameters_[static_cast<std::size_t>(tree_[i].root)].value))
                continue; // shared through the pool, or a view of its root's words
            to.words = parameters_[i].value->words;
            to.texture = parameters_[i].value->texture;
            to.text = parameters_[i].value->text;
            ++to.version;
        }
    } catch (...) {
        clone->Release();
        return E_OUTOFMEMORY;
    }
    if (currentTechnique_ >= 0)
        clone->SetTechnique(clone->TechniqueHandle(currentTechnique_));
    *ppEffect = clone;
    return D3D_OK;
}

} // namespace platform::fx
