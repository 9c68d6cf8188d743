// c_VTR3PostProcessor runs a view's chain of full-screen post-processing steps.
#ifndef VTR3_POSTPROCESSOR_H
#define VTR3_POSTPROCESSOR_H

#include "frame/vtr3_managerLifecycle.h"

class c_VTR3PostProcessor : public c_VTR3ManagerLifecycle {
  public:
    c_VTR3PostProcessor();
    ~c_VTR3PostProcessor();
    c_VTR3PostProcessor(const c_VTR3PostProcessor&) = delete;
    c_VTR3PostProcessor& operator=(const c_VTR3PostProcessor&) = delete;

    void Initialize();
    void DeInitialize();
    void ReleaseResources();
    void RecreateResources();
    void WriteComponentInfo();
};

#endif
