// c_VTR3ViewManager registers the engine's views and their per-view options.
#ifndef VTR3_VIEWS_H
#define VTR3_VIEWS_H

#include "frame/vtr3_managerLifecycle.h"

class c_VTR3ViewManager : public c_VTR3ManagerLifecycle {
  public:
    c_VTR3ViewManager();
    ~c_VTR3ViewManager();
    c_VTR3ViewManager(const c_VTR3ViewManager&) = delete;
    c_VTR3ViewManager& operator=(const c_VTR3ViewManager&) = delete;

    void Initialize();
    void DeInitialize();
    void ReleaseResources();
    void RecreateResources();
    void ReduceMemoryOverhead();
    void WriteComponentInfo();
};

#endif
