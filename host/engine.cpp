#include "engine.h"

#include "host_error.h"
#include "system.h"
#include "resolver.h"

namespace host {
namespace {

Engine* g_current = nullptr;

constexpr std::array<float, 16> kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

template <typename T> uintptr_t Word(T* pointer) {
    return reinterpret_cast<uintptr_t>(pointer);
}

template <typename Function> uintptr_t FunctionWord(Function function) {
    return reinterpret_cast<uintptr_t>(function);
}

} // namespace

a6::ObjectDescriptor* LookUpObject(const char* name) {
    return g_current ? g_current->objects().Lookup(name) : UnknownObject();
}

void* ResolveEngineFunction(const char* name) {
    return g_current ? ResolveEngineName(name, g_current->objects(), g_current->variables()) : nullptr;
}

Engine::Engine()
    : version_(variables_.FindVar("version")), edition_(variables_.FindVar("edition")),
      camera_(&objects_.AddView("camera")), view_matrix_(kIdentity), projection_matrix_(kIdentity),
      world_matrix_(kIdentity) {
    if (g_current) {
        throw Error("only one engine can exist at a time");
    }
    g_current = this;
    SetVersion(a6::VarFromDouble(kDefaultVersion));
    SetEdition(a6::VarFromInt(kDefaultEdition));

    a6::SetBlockField(&block_, a6::kOffsetVersion, Word(version_));
    a6::SetBlockField(&block_, a6::kOffsetEdition, Word(edition_));
    SetRenderedView(camera_);
    a6::SetBlockField(&block_, a6::kOffsetViewMatrix, Word(viewMatrix()));
    a6::SetBlockField(&block_, a6::kOffsetProjectionMatrix, Word(projectionMatrix()));
    a6::SetBlockField(&block_, a6::kOffsetWorldMatrix, Word(worldMatrix()));
    a6::SetBlockField(&block_, a6::kOffsetObjectLookup, FunctionWord(&LookUpObject));
    a6::SetBlockField(&block_, a6::kOffsetResolver, FunctionWord(&ResolveEngineFunction));
    a6::SetBlockField(&block_, a6::kOffsetScriptCaller, FunctionWord(&CallScript));
}

Engine::~Engine() {
    noting_.reset(); // it may hold textures, which go before their device
    graphics_.reset();
    if (clock_set_) {
        system::UseRealClock();
    }
    g_current = nullptr;
}

Engine* Engine::Current() {
    return g_current;
}

void Engine::SetRenderedView(a6::View* view) {
    a6::SetBlockField(&block_, a6::kOffsetView, Word(view));
}

void Engine::SetMesh(void* mesh) {
    a6::SetBlockField(&block_, a6::kOffsetMesh, Word(mesh));
}

void Engine::SetClock(DWORD milliseconds) {
    system::SetClock(milliseconds);
    clock_set_ = true;
    *variables_.FindVar("total_ticks") = a6::VarFromDouble(milliseconds * 16.0 / 1000.0);
    *variables_.FindVar("total_secs") = a6::VarFromDouble(milliseconds / 1000.0);
}

void Engine::CreateGraphics(int width, int height, const char* title) {
    if (graphics_) {
        throw Error("the engine has its window and device already");
    }
    graphics_ = std::make_unique<Graphics>(width, height, title);
    SetWindowField(graphics_->window());
    SetDirect3DField(graphics_->direct3d());
    noting_ = std::make_unique<NotingDevice>(graphics_->device());
    SetDeviceField(noting_.get());
    a6::Vector& screen_size = *variables_.Find("screen_size");
    screen_size.x = a6::VarFromInt(width);
    screen_size.y = a6::VarFromInt(height);
}

void Engine::SetWindowField(HWND window) {
    a6::SetBlockField(&block_, a6::kOffsetWindow, Word(window));
}

void Engine::SetDirect3DField(IDirect3D9* direct3d) {
    a6::SetBlockField(&block_, a6::kOffsetDirect3D, Word(direct3d));
}

void Engine::SetDeviceField(IDirect3DDevice9* device) {
    a6::SetBlockField(&block_, a6::kOffsetDevice, Word(device));
}

} // namespace host
