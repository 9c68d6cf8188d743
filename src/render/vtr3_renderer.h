// c_VTR3Renderer ties the engine's drawing of a view to the plug-in.
#ifndef VTR3_RENDERER_H
#define VTR3_RENDERER_H

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
    void WriteComponentInfo();
};

#endif
