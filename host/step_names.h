// The steps of each view's post-processing chain as the script set them, named as an effect author
// knows them: the post-processor's copies by what they do, effect steps by their effect file.
#ifndef VTR3_HOST_STEP_NAMES_H
#define VTR3_HOST_STEP_NAMES_H

#include <map>
#include <string>
#include <vector>

#include "frame_probe.h"

namespace host {

// The post-processor's copies and the effects it loads itself when the plug-in initialises (a copy
// has no file).
struct KnownStep {
    int id;
    const char* label;
    const char* file;
};
extern const KnownStep kPostProcessorSteps[12];

struct StepName {
    int id = 0;
    std::string label; // "half_copy", "vtr3_hbloom"; "scene" for the image the chain starts from
    std::string file;  // the effect file as the plug-in loads it; empty for copies and the scene
};

class StepNames final : public FrameProbe {
  public:
    void Called(const std::string& name, const std::vector<script::Token>& arguments) override;

    // The scene, then the view's steps in the order they run (one full copy for an empty list).
    std::vector<StepName> Chain(const std::string& view) const;

  private:
    std::map<int, std::string> views_;        // the plug-in's view ids, by the engine views' names
    std::map<int, std::map<int, int>> steps_; // by view id: step ids by position
    std::map<int, std::string> paths_;        // effect files the script set, by effect id
};

} // namespace host

#endif
