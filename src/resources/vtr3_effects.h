// c_VTR3EffectManager owns the compiled effects that scripts (and the post-processor) create by
// identifier, with the values and texture identifiers handed to each effect when it runs.
#ifndef VTR3_EFFECTS_H
#define VTR3_EFFECTS_H

#include <d3dx9.h>

#include "resources/vtr3_slotManager.h"

// One effect. Default construction gives the fresh record.
struct EffectSlot {
    int effectTextureIds[2] = {};
    // The caller's text, not a copy: it must stay valid while the effect may be compiled again.
    const char* path = "";
    D3DXVECTOR4 values[2] = {D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f), D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f)};
    // The technique chosen by the last compilation; the last one examined when none validated. A
    // handle belongs to its effect: it goes when the effect is released or compiled again.
    D3DXHANDLE technique = nullptr;
    int id = 0;
    int inUse = 0;
    ID3DXEffect* effect = nullptr; // one reference, held by the record

    void ReleaseResource() {
        VTR3ReleaseReference(effect);
        technique = nullptr;
    }
    void Discard() { ReleaseResource(); }
};

class c_VTR3EffectManager : public c_VTR3SlotManager<EffectSlot> {
  public:
    c_VTR3EffectManager();
    ~c_VTR3EffectManager();
    c_VTR3EffectManager(const c_VTR3EffectManager&) = delete;
    c_VTR3EffectManager& operator=(const c_VTR3EffectManager&) = delete;

    void Initialize();
    void ReleaseResources();
    // Compiles every effect in use again; the first failure stops the pass.
    void RecreateResources();
    void WriteComponentInfo();

    void EffectCreate(int id);
    void EffectDelete(int id);
    int IsCreated(int id);
    // A null path is taken as the empty one, which does not compile.
    void SetPath(int id, const char* path);
    // Compiles the file and makes the first technique that validates current; an effect the record
    // held before is released.
    void EffectInitialize(int id);

    // Index 0 to 3: x, y, z, w of vector 0; 4 to 7 those of vector 1; others change nothing.
    void SetEffectValue(int id, unsigned int index, float value);
    // Vector 0 or 1; (0, 0, 0, 0) for any other index.
    void GetValueVector(int id, int index, D3DXVECTOR4* vector);
    // Slot 0 or 1; others change nothing and read 0.
    void SetEffectTex(int id, int index, int textureId);
    int GetEffectTexID(int id, unsigned int index);
    // Borrowed: no reference is added for the caller.
    ID3DXEffect* GetEffect(int id);

  private:
    bool Compile(EffectSlot& slot, const char* method, int line);
    int SelectTechnique(EffectSlot& slot);
};

#endif
