// c_VTR3ObjectSky draws a sky box: a cube whose texture coordinates are its own vertex positions, so
// that a cube texture on stage 0 paints the sky around the viewer. Every drawing moves it to the
// horizontal position of the engine view being rendered, at the height of skill 1.
#ifndef VTR3_OBJECTSKY_H
#define VTR3_OBJECTSKY_H

#include "objects/vtr3_3dobject.h"

class c_VTR3ObjectSky : public c_VTR3Object3D {
  public:
    // D3DFVF_XYZ | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0): position, then a three-component coordinate.
    static const DWORD FVF = D3DFVF_XYZ | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0);
    static const UINT VERTEX_SIZE = 24;
    static const UINT VERTICES = 8;
    static const UINT INDICES = 36;

    void ReleaseResources() override;
    // On a sky that was never initialised nothing is built: nothing could release it again.
    void RecreateResources() override;
    void Initialize() override;
    void DeInitialize() override;
    void Update() override;
    void Render() override;

  private:
    bool Build(const char* method, int line);
};

#endif
