// The stand-in engine: the interface block it hands the plug-in and everything the block points
// at — the engine variables, the named script objects, the view being rendered, the matrices, the
// clock, the window and the Direct3D 9 device.
//
// The block's object lookup and resolver take nothing but a name, so they serve the one engine that
// exists: a second Engine while one is alive is an error.
#ifndef VTR3_HOST_ENGINE_H
#define VTR3_HOST_ENGINE_H

#include <windows.h>
#include <d3d9.h>

#include <array>
#include <memory>

#include "engine_variables.h"
#include "frame/a6_engine.h"
#include "graphics.h"
#include "noting_device.h"
#include "object_table.h"

namespace host {

// The block's object lookup and resolver, for the engine that exists now; without one every name
// is unknown.
a6::ObjectDescriptor* LookUpObject(const char* name);
void* ResolveEngineFunction(const char* name);

class Engine {
  public:
    // A version above the plug-in's minimum of 6.31; the edition "Professional".
    static constexpr double kDefaultVersion = 6.40;
    static constexpr int kDefaultEdition = 4;

    // The block filled but for the window, the IDirect3D9 and the device (CreateGraphics); the
    // view "camera" is the view being rendered. Throws host::Error while another engine exists.
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The engine that exists now, or null.
    static Engine* Current();

    a6::InterfaceBlock* block() { return &block_; }
    const a6::InterfaceBlock* block() const { return &block_; }
    ObjectTable& objects() { return objects_; }
    EngineVariables& variables() { return variables_; }
    a6::View& camera() { return *camera_; }

    void SetVersion(var version) { *version_ = version; }
    // The edition is a `var` like every engine number: 1 to 4 are the vars 1024 to 4096.
    void SetEdition(var edition) { *edition_ = edition; }
    // The engine view being rendered, as the block shows it (null is allowed).
    void SetRenderedView(a6::View* view);
    void SetMesh(void* mesh);

    // The matrices the block points at, 16 floats each, row-major; identity at first.
    float* viewMatrix() { return view_matrix_.data(); }
    float* projectionMatrix() { return projection_matrix_.data(); }
    float* worldMatrix() { return world_matrix_.data(); }

    // Sets the engine clock that GetTickCount reads, and the variables "total_ticks" (sixteenths of
    // a second) and "total_secs". The real clock returns when the engine goes.
    void SetClock(DWORD milliseconds);

    // Creates the window and the device and puts them (and the IDirect3D9) into the block, the device
    // behind a NotingDevice that notes the plug-in's textures. Throws
    // host::Error when that fails or when the engine has them already.
    void CreateGraphics(int width, int height, const char* title);
    // What the engine owns; null before CreateGraphics.
    HWND window() const { return graphics_ ? graphics_->window() : nullptr; }
    IDirect3D9* direct3d() const { return graphics_ ? graphics_->direct3d() : nullptr; }
    IDirect3DDevice9* device() const { return graphics_ ? graphics_->device() : nullptr; }
    // The wrapper around device() that the block hands the plug-in; null before CreateGraphics.
    NotingDevice* notingDevice() const { return noting_.get(); }
    // Resets the engine's device with the parameters it was created with.
    HRESULT ResetDevice() { return graphics_ ? graphics_->Reset() : D3DERR_INVALIDCALL; }

    // What the block hands the plug-in, whatever the engine owns: null, or another device (a
    // wrapper that fails a call). The engine still releases only its own.
    void SetWindowField(HWND window);
    void SetDirect3DField(IDirect3D9* direct3d);
    void SetDeviceField(IDirect3DDevice9* device);

  private:
    a6::InterfaceBlock block_{};
    EngineVariables variables_;
    ObjectTable objects_;
    var* version_;
    var* edition_;
    a6::View* camera_;
    std::array<float, 16> view_matrix_;
    std::array<float, 16> projection_matrix_;
    std::array<float, 16> world_matrix_;
    bool clock_set_ = false;
    std::unique_ptr<Graphics> graphics_;
    std::unique_ptr<NotingDevice> noting_;
};

} // namespace host

#endif
