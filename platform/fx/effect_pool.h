// ID3DXEffectPool: the values of `shared` parameters, one per name, for every effect created with the
// pool. The pool and each effect hold the value, so it lives while any of them does.
#ifndef VTR3_PLATFORM_FX_EFFECT_POOL_H
#define VTR3_PLATFORM_FX_EFFECT_POOL_H

#include "com/com_object.h"
#include "com/com_ref.h"
#include "fx/effect_model.h"

#include <d3dx9.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform::com {
template <> struct InterfaceIds<ID3DXEffectPool> {
    static bool Contains(REFIID riid) { return IsEqualGUID(riid, IID_ID3DXEffectPool); }
};
} // namespace platform::com

namespace platform::fx {

// A parameter's value: 32-bit words (floats, or integers for INT and BOOL), a texture or a string.
// `version` changes with every write, so that uniforms upload only what changed.
struct ParameterValue {
    std::vector<std::uint32_t> words;
    com::Ref<IDirect3DBaseTexture9> texture;
    std::string text;
    std::uint32_t version = 1;
};

class EffectPool final : public com::ComObject<ID3DXEffectPool> {
  public:
    // The pool's value for a shared parameter: the one an earlier effect declared (whose value it
    // keeps), or `value` registered as the first. False when the name is declared with another
    // class, type or size.
    bool Share(const Parameter& desc, std::shared_ptr<ParameterValue>* value);

  private:
    ~EffectPool() override = default;

    struct Entry {
        Parameter desc;
        std::shared_ptr<ParameterValue> value;
    };
    std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

// The pool behind an ID3DXEffectPool of this platform's, or null.
EffectPool* PoolOf(ID3DXEffectPool* pool);

} // namespace platform::fx

#endif
