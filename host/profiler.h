// vantor-run --profile: for every frame, the time on the graphics device and on the CPU of each
// render event, the engine's own drawing, each object drawn through VTR3RenderDrawE and each step of
// a post-processing chain. The device's times come from Direct3D 9 timestamp queries issued through
// the engine's device, so a Windows runner times Windows' Direct3D 9 the same way; a frame's results
// are read when the frame three later begins, so that reading seldom waits for the device. The
// samples' storage is made for the planned frames before the first one: recording a frame allocates
// nothing once each item and query exists.
#ifndef VTR3_HOST_PROFILER_H
#define VTR3_HOST_PROFILER_H

#include <windows.h>
#include <d3d9.h>

#include <chrono>
#include <string>
#include <vector>

#include "frame_probe.h"
#include "noting_device.h"

namespace host {

// What an item is: one of a view's sections, one object drawn in it or one step of its chain.
struct ProfileItem {
    std::string view;       // empty for the whole frame
    int kind = -1;          // a Section, or -1 for the frame, kStep for a chain's step
    int number = 0;         // VTR3RenderDrawE's object, or the step's position from 1
    std::vector<float> cpu; // milliseconds by frame from 0; negative where the frame has none
    std::vector<float> gpu;
};

// The median and 95th percentile (nearest rank) of the samples not negative; -1 without any.
struct Summary {
    double median = -1;
    double p95 = -1;
    int count = 0;
};
Summary Summarize(const std::vector<float>& samples);

class Profiler final : public FrameProbe, public DeviceWatch {
  public:
    static constexpr int kStep = 100;

    // `device` is the engine's own device; `frames` the frames to keep samples of.
    Profiler(IDirect3DDevice9* device, int frames);
    ~Profiler();
    Profiler(const Profiler&) = delete;
    Profiler& operator=(const Profiler&) = delete;

    // Reads the results still outstanding; the items are complete afterwards.
    void Finish();
    const std::vector<ProfileItem>& items() const { return items_; }
    int frames() const { return frames_; }
    // Whether the device answered timestamp queries.
    bool timed() const { return timed_; }
    // Milliseconds spent in the profiler's own calls, over all frames.
    double ownMilliseconds() const { return own_; }
    // The median on the device of a view's step (position from 1), negative when not profiled.
    double StepMedian(const std::string& view, int position) const;

    void FrameBegin(int frame) override;
    void FrameEnd(int frame) override;
    void ViewBegin(const std::string& view) override { view_ = &view; }
    void SectionBegin(Section section, int object) override;
    void SectionEnd(Section section) override;
    void RenderTargetSetting(DWORD index, IDirect3DSurface9* surface) override;
    void Drawing() override;

  private:
    using Clock = std::chrono::steady_clock;
    // A point in a frame: the item it begins or ends, and the timestamp issued there.
    struct Mark {
        int item;
        bool begin;
        Clock::time_point cpu;
        IDirect3DQuery9* query;
    };
    // A frame whose timestamps are still on their way.
    struct Slot {
        int frame = 0; // 0: free
        std::vector<Mark> marks;
        std::size_t used = 0;
        IDirect3DQuery9* disjoint = nullptr;
        IDirect3DQuery9* frequency = nullptr;
    };

    int Item(const std::string& view, int kind, int number);
    void Stamp(int item, bool begin);
    void EndStep();
    void Collect(Slot& slot);
    IDirect3DQuery9* Query(D3DQUERYTYPE type);

    IDirect3DDevice9* device_;
    int frames_;
    bool timed_;
    std::vector<ProfileItem> items_;
    std::vector<Slot> slots_;
    Slot* slot_ = nullptr; // the frame being drawn
    const std::string* view_ = nullptr;
    int open_[4] = {-1, -1, -1, -1}; // the item of each section begun, by Section
    bool chain_ = false;             // inside VTR3RenderDrawD
    int step_ = 0;                   // the chain's steps drawn so far
    int stepMark_ = -1;              // the mark where the target last changed; -1: none
    bool stepDrawn_ = false;
    double own_ = 0;
};

} // namespace host

#endif
