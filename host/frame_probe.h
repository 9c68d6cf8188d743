// What the engine's tools (step images, the profiler) learn of a run from the engine itself: the
// exports the script called, and where each frame, view, render event and the engine's own drawing
// begin and end.
#ifndef VTR3_HOST_FRAME_PROBE_H
#define VTR3_HOST_FRAME_PROBE_H

#include <string>
#include <vector>

#include "script_syntax.h"

namespace host {

// The parts of a view's frame, in the order the engine runs them.
enum class Section { kDrawA, kEngine, kDrawE, kDrawD };

class FrameProbe {
  public:
    // After the export ran.
    virtual void Called(const std::string& name, const std::vector<script::Token>& arguments) {
        (void)name;
        (void)arguments;
    }
    // Before BeginScene, with the frame's number from 1.
    virtual void FrameBegin(int frame) { (void)frame; }
    // After EndScene, before the frame is written or presented.
    virtual void FrameEnd(int frame) { (void)frame; }
    virtual void ViewBegin(const std::string& view) { (void)view; }
    // `object` is VTR3RenderDrawE's object, 0 for the other sections.
    virtual void SectionBegin(Section section, int object) {
        (void)section;
        (void)object;
    }
    virtual void SectionEnd(Section section) { (void)section; }

  protected:
    ~FrameProbe() = default;
};

} // namespace host

#endif
