#include "step_images.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "back_buffer.h"
#include "contact_sheet.h"
#include "host_error.h"
#include "html_text.h"

namespace host {
namespace {

void Let(IDirect3DSurface9*& surface) {
    if (surface) {
        surface->Release();
        surface = nullptr;
    }
}

// "03-30005-vtr3_hbloom.png"; "00-scene.png" for the image the chain starts from.
std::string FileName(int position, const StepName& step) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, step.id ? "%02d-%d-" : "%02d-", position, step.id);
    return prefix + step.label + ".png";
}

} // namespace

StepImages::~StepImages() {
    Drop();
    Let(scene_);
    Let(target_);
}

void StepImages::Drop() {
    for (View& view : views_) {
        for (Image& image : view.images) {
            Let(image.copy);
        }
    }
    views_.clear();
}

void StepImages::FrameBegin(int frame) {
    frame_ = frame == armed_;
    if (frame_) {
        Drop();
    }
}

void StepImages::SectionBegin(Section section, int) {
    if (!frame_ || section != Section::kDrawD) {
        return;
    }
    chain_ = true;
    drawn_ = false;
    if (FAILED(device_->GetRenderTarget(0, &scene_))) {
        scene_ = nullptr;
    }
    views_.push_back(View{view_, {}});
}

void StepImages::SectionEnd(Section section) {
    if (!chain_ || section != Section::kDrawD) {
        return;
    }
    FinishStep();
    chain_ = false;
    Let(scene_);
    if (views_.back().images.empty()) { // no step drew: the view is not post-processed
        views_.pop_back();
    }
}

void StepImages::RenderTargetSetting(DWORD index, IDirect3DSurface9* surface) {
    if (!chain_ || index != 0) {
        return;
    }
    FinishStep();
    target_ = surface;
    if (target_) {
        target_->AddRef();
    }
}

// The first draw into a target set in VTR3RenderDrawD makes it a step; the scene target, unchanged
// since the view was drawn, is read before the first.
void StepImages::Drawing() {
    if (!chain_ || !target_ || drawn_) {
        return;
    }
    drawn_ = true;
    if (views_.back().images.empty() && scene_) {
        Capture(scene_);
    }
}

void StepImages::FinishStep() {
    if (target_ && drawn_) {
        Capture(target_);
    }
    drawn_ = false;
    Let(target_);
}

void StepImages::Capture(IDirect3DSurface9* target) {
    Image image;
    D3DSURFACE_DESC description{};
    image.result = target->GetDesc(&description);
    if (SUCCEEDED(image.result)) {
        image.width = description.Width;
        image.height = description.Height;
        image.result =
            device_->CreateOffscreenPlainSurface(description.Width, description.Height, description.Format,
                                                 D3DPOOL_SYSTEMMEM, &image.copy, nullptr);
    }
    if (SUCCEEDED(image.result)) {
        image.result = device_->GetRenderTargetData(target, image.copy);
    }
    views_.back().images.push_back(image);
}

void StepImages::Write(const std::string& directory, const StepNames& names, const StepTime& time) const {
    namespace fs = std::filesystem;
    if (views_.empty()) {
        throw Error("no view was post-processed in the frame before");
    }
    std::vector<SheetView> sheet;
    for (const View& view : views_) {
        // A view's name may hold dots, which a folder name must not be made of alone.
        std::string name = view.name;
        std::replace(name.begin(), name.end(), '.', '_');
        const fs::path folder = views_.size() > 1 ? fs::path(directory) / name : fs::path(directory);
        std::error_code failed;
        fs::create_directories(folder, failed);
        if (failed) {
            throw Error("cannot create " + folder.string() + ": " + failed.message());
        }
        // The names the script gave the steps hold while the plug-in drew as many steps.
        std::vector<StepName> chain = names.Chain(view.name);
        if (chain.size() != view.images.size()) {
            chain.assign(view.images.size(), StepName{0, "step", ""});
            chain.front() = StepName{0, "scene", ""};
        }
        sheet.push_back(SheetView{view.name, {}});
        for (std::size_t position = 0; position < view.images.size(); ++position) {
            const Image& image = view.images[position];
            const std::string file =
                (folder / FileName(static_cast<int>(position), chain[position])).string();
            const HRESULT result =
                FAILED(image.result) ? image.result : SaveSurfacePng(device_, image.copy, file);
            if (FAILED(result)) {
                throw Error("step " + std::to_string(position) + " of view '" + view.name +
                            "' could not be written to " + file + ": " + ResultText(result));
            }
            sheet.back().images.push_back(
                SheetImage{file, chain[position], image.width, image.height,
                           time ? time(view.name, static_cast<int>(position)) : -1});
        }
    }
    const std::string page = (fs::path(directory) / "steps.html").string();
    if (!html::WriteText(page, ContactSheet(sheet))) {
        throw Error("the contact sheet could not be written to " + page);
    }
}

} // namespace host
