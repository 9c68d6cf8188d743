// c_VTR3ObjectWater draws a water surface: one flat square drawn with the object's effect, which gets
// two constant texture-projection matrices, a bump-wave matrix that turns with the clock and a
// texture of random distortion vectors. Flag 1 chooses between refraction and reflection with
// refraction.
#ifndef VTR3_OBJECTWATER_H
#define VTR3_OBJECTWATER_H

#include "objects/vtr3_3dobject.h"

class c_VTR3ObjectWater : public c_VTR3Object3D {
  public:
    static const DWORD FVF = D3DFVF_XYZ | D3DFVF_TEX1; // position, then u, v
    static const UINT VERTEX_SIZE = 20;
    static const UINT VERTICES = 4;
    static const UINT INDICES = 6;

    c_VTR3ObjectWater();
    ~c_VTR3ObjectWater() override;

    void ReleaseResources() override;
    void RecreateResources() override;
    void Initialize() override;
    void DeInitialize() override;
    void Update() override;
    void Render() override;

    IDirect3DTexture9* GetNoiseTexture() const { return m_noiseTexture; }

    // The noise texture's side from skill 2, truncated toward zero. A value that has no such integer
    // (negative, NaN, beyond 32 bits) gives 0, which the device refuses.
    static UINT NoiseSize(float skill);

  private:
    bool Build(const char* method, int line);
    void ReleaseNoise();
    void Draw(ID3DXEffect* effect);

    D3DXMATRIX m_matBumpWave;
    D3DXMATRIX m_matTextureRefraction;
    D3DXMATRIX m_matTextureReflection;
    IDirect3DTexture9* m_noiseTexture; // one reference, owned
};

#endif
