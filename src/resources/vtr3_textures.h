// c_VTR3TextureManager owns the textures and render targets that scripts create by identifier.
#ifndef VTR3_TEXTURES_H
#define VTR3_TEXTURES_H

#include "frame/vtr3_managerLifecycle.h"

class c_VTR3TextureManager : public c_VTR3ManagerLifecycle {
  public:
    c_VTR3TextureManager();
    ~c_VTR3TextureManager();
    c_VTR3TextureManager(const c_VTR3TextureManager&) = delete;
    c_VTR3TextureManager& operator=(const c_VTR3TextureManager&) = delete;

    void Initialize();
    void DeInitialize();
    void ReleaseResources();
    void RecreateResources();
    void ReduceMemoryOverhead();
    void WriteComponentInfo();
};

#endif
