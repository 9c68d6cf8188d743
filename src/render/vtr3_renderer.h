// c_VTR3Renderer ties the engine's drawing of a view to the plug-in: stage A redirects a registered
// view into the post-processor's scene target or into its render-to-texture surface, stage D hands
// the image on and gives the engine its own target back, stage E draws one object on request.
#ifndef VTR3_RENDERER_H
#define VTR3_RENDERER_H

#include <d3d9.h>

#include "frame/vtr3_managerLifecycle.h"

class c_VTR3Renderer : public c_VTR3ManagerLifecycle {
  public:
    c_VTR3Renderer();
    ~c_VTR3Renderer();
    c_VTR3Renderer(const c_VTR3Renderer&) = delete;
    c_VTR3Renderer& operator=(const c_VTR3Renderer&) = delete;

    void Initialize();
    void DeInitialize();
    void ReleaseResources();
    void RecreateResources();
    void ReleaseAllData();
    void ReleaseRTS1();
    void ReleaseRTS2();
    void WriteComponentInfo();

    void RenderDrawA();
    void RenderDrawB() {}
    void RenderDrawC() {}
    void RenderDrawD();
    void RenderDrawE(int objectId);

  private:
    // Takes render target 0 as the saved target and makes `target` current; on failure nothing is
    // switched and nothing held. Takes over the caller's reference to `target`.
    bool Redirect(IDirect3DSurface9* target);
    IDirect3DSurface9* RenderToTextureSurface(int viewId);
    void SetClipPlanes(int viewId);
    void DropTargets();

    int m_currentViewId;
    int m_currentTextureId;
    IDirect3DSurface9* m_savedTarget;    // RTS1: render target 0 before stage A, one reference
    IDirect3DSurface9* m_switchedTarget; // RTS2: what stage A made render target 0, one reference
};

#endif
