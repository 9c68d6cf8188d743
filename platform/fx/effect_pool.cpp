// D3DXCreateEffectPool and the shared parameters of a pool.
#include "fx/effect_pool.h"

#include "fx/effect.h"

#include <new>

namespace platform::fx {

namespace {

// Two declarations of a shared name are one value only when their words line up member by member.
bool SameLayout(const Parameter& a, const Parameter& b) {
    if (a.cls != b.cls || a.type != b.type || a.rows != b.rows || a.columns != b.columns ||
        a.elements != b.elements || a.members.size() != b.members.size())
        return false;
    for (std::size_t i = 0; i < a.members.size(); ++i) {
        if (a.members[i].name != b.members[i].name || !SameLayout(a.members[i], b.members[i]))
            return false;
    }
    return true;
}

} // namespace

bool EffectPool::Share(const Parameter& desc, std::shared_ptr<ParameterValue>* value) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = entries_.find(desc.name);
    if (found == entries_.end()) {
        entries_.emplace(desc.name, Entry{desc, *value});
        return true;
    }
    if (!SameLayout(found->second.desc, desc))
        return false;
    *value = found->second.value;
    return true;
}

EffectPool* PoolOf(ID3DXEffectPool* pool) {
    return dynamic_cast<EffectPool*>(pool);
}

HRESULT Effect::GetPool(LPD3DXEFFECTPOOL* ppPool) {
    if (!ppPool)
        return D3DERR_INVALIDCALL;
    *ppPool = pool_.Get();
    if (*ppPool)
        (*ppPool)->AddRef();
    return D3D_OK;
}

} // namespace platform::fx

extern "C" HRESULT WINAPI D3DXCreateEffectPool(LPD3DXEFFECTPOOL* ppPool) {
    if (!ppPool)
        return D3DERR_INVALIDCALL;
    *ppPool = nullptr;
    auto* pool = new (std::nothrow) platform::fx::EffectPool();
    if (!pool)
        return E_OUTOFMEMORY;
    pool->AddRef();
    *ppPool = pool;
    return D3D_OK;
}
