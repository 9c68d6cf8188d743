// c_VTR3EffectManager owns the compiled effects that scripts create by identifier.
#ifndef VTR3_EFFECTS_H
#define VTR3_EFFECTS_H

#include "frame/vtr3_managerLifecycle.h"

class c_VTR3EffectManager : public c_VTR3ManagerLifecycle {
  public:
    c_VTR3EffectManager();
    ~c_VTR3EffectManager();
    c_VTR3EffectManager(const c_VTR3EffectManager&) = delete;
    c_VTR3EffectManager& operator=(const c_VTR3EffectManager&) = delete;

    void Initialize();
    void DeInitialize();
    void ReleaseResources();
    void RecreateResources();
    void ReduceMemoryOverhead();
    void WriteComponentInfo();
};

#endif
