// Every step's image: during one chosen frame, the target each step of a view's post-processing
// chain drew into is copied to system memory the moment the plug-in turns to the next target, the
// scene target first and the final target last. Only reading back: no state of the device changes,
// so the next frame draws what it would have drawn.
#ifndef VTR3_HOST_STEP_IMAGES_H
#define VTR3_HOST_STEP_IMAGES_H

#include <windows.h>
#include <d3d9.h>

#include <functional>
#include <string>
#include <vector>

#include "frame_probe.h"
#include "noting_device.h"
#include "step_names.h"

namespace host {

class StepImages final : public FrameProbe, public DeviceWatch {
  public:
    // `device` is the engine's own device, which reads the targets back.
    explicit StepImages(IDirect3DDevice9* device) : device_(device) {}
    ~StepImages();
    StepImages(const StepImages&) = delete;
    StepImages& operator=(const StepImages&) = delete;

    // The views post-processed in frame `frame` are captured, replacing what was captured before.
    void Arm(int frame) { armed_ = frame; }
    bool captured() const { return !views_.empty(); }
    // Milliseconds a view's step took on the device, by position; negative when unknown.
    using StepTime = std::function<double(const std::string& view, int position)>;
    // Writes NN-STEP-LABEL.png for each image (in a folder per view when several views were
    // captured) and steps.html, the contact sheet. Throws host::Error naming what failed.
    void Write(const std::string& directory, const StepNames& names, const StepTime& time) const;

    void FrameBegin(int frame) override;
    void ViewBegin(const std::string& view) override { view_ = view; }
    void SectionBegin(Section section, int object) override;
    void SectionEnd(Section section) override;
    void RenderTargetSetting(DWORD index, IDirect3DSurface9* surface) override;
    void Drawing() override;

  private:
    struct Image {
        IDirect3DSurface9* copy = nullptr;
        unsigned int width = 0;
        unsigned int height = 0;
        HRESULT result = S_OK;
    };
    struct View {
        std::string name;
        std::vector<Image> images;
    };

    void Capture(IDirect3DSurface9* target);
    void FinishStep();
    void Drop();

    IDirect3DDevice9* device_;
    int armed_ = 0;
    bool frame_ = false;                  // the armed frame is being drawn
    bool chain_ = false;                  // inside VTR3RenderDrawD of that frame
    bool drawn_ = false;                  // the current target was drawn into
    IDirect3DSurface9* scene_ = nullptr;  // the target when VTR3RenderDrawD began, held
    IDirect3DSurface9* target_ = nullptr; // the target set since, held
    std::string view_;
    std::vector<View> views_;
};

} // namespace host

#endif
