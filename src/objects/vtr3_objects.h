// c_VTR3ObjectManager owns the scene objects (sky, water, engine mesh) that scripts create by identifier.
#ifndef VTR3_OBJECTS_H
#define VTR3_OBJECTS_H

#include "frame/vtr3_managerLifecycle.h"

class c_VTR3ObjectManager : public c_VTR3ManagerLifecycle {
  public:
    c_VTR3ObjectManager();
    ~c_VTR3ObjectManager();
    c_VTR3ObjectManager(const c_VTR3ObjectManager&) = delete;
    c_VTR3ObjectManager& operator=(const c_VTR3ObjectManager&) = delete;

    void Initialize();
    void DeInitialize();
    void ReleaseResources();
    void RecreateResources();
    void ReduceMemoryOverhead();
    void WriteComponentInfo();

    // placeholder until the object manager lands
    void RenderObjects(int group);
    // placeholder until the object manager lands
    void RenderObject(int id);
};

#endif
