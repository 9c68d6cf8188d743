#include "script_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "back_buffer.h"
#include "engine_view.h"
#include "host_error.h"
#include "script_commands.h"

namespace host::script {
namespace {

constexpr const char* kBeginView = "VTR3RenderDrawA";
constexpr const char* kEndView = "VTR3RenderDrawD";

// A number that must be a whole number from `low` to `high`.
int WholeNumber(const Token& token, const char* what, int low, int high) {
    if (token.number != std::floor(token.number) || token.number < low || token.number > high) {
        throw ScriptError(token.where, std::string(what) + " must be a whole number from " +
                                           std::to_string(low) + " to " + std::to_string(high) + ", not " +
                                           token.text);
    }
    return static_cast<int>(token.number);
}

D3DCOLOR ColourOf(const Token& red, const Token& green, const Token& blue) {
    return D3DCOLOR_XRGB(WholeNumber(red, "red", 0, 255), WholeNumber(green, "green", 0, 255),
                         WholeNumber(blue, "blue", 0, 255));
}

a6::Vector VectorOf(const Token& x, const Token& y, const Token& z) {
    return a6::Vector{a6::VarFromDouble(x.number), a6::VarFromDouble(y.number), a6::VarFromDouble(z.number)};
}

} // namespace

ScriptRun::ScriptRun(Engine& engine, Plugin& plugin, RunSettings settings)
    : engine_(engine), plugin_(plugin), settings_(std::move(settings)),
      beginView_(FindRenderEvent(kBeginView)), endView_(FindRenderEvent(kEndView)) {
    engine_.SetClock(clock_);
}

void ScriptRun::Execute(const std::vector<Statement>& statements) {
    for (const Statement& statement : statements) {
        try {
            ExecuteOne(statement);
        } catch (const host::Error& error) { // the engine refused: a name given twice, for one
            throw ScriptError(statement.command.where, error.what());
        }
    }
}

void ScriptRun::ExecuteOne(const Statement& statement) {
    const std::string& command = statement.command.text;
    const std::vector<Token>& arguments = statement.arguments;
    if (IsExportName(command)) {
        Call(statement.command.where, command, arguments);
    } else if (command == "vector") {
        a6::Vector* vector = engine_.objects().FindVector(arguments[0].text.c_str());
        const a6::Vector value = VectorOf(arguments[1], arguments[2], arguments[3]);
        if (vector) {
            *vector = value; // vectors may change between calls that read them
        } else {
            engine_.objects().AddVector(arguments[0].text, value);
        }
    } else if (command == "view") {
        engine_.objects().AddView(arguments[0].text);
    } else if (command == "position") {
        SetViewPosition(ViewNamed(arguments[0]), arguments[1].number, arguments[2].number,
                        arguments[3].number);
    } else if (command == "angles") {
        SetViewAngles(ViewNamed(arguments[0]), arguments[1].number, arguments[2].number, arguments[3].number);
    } else if (command == "arc") {
        a6::View& view = ViewNamed(arguments[0]);
        if (!(arguments[1].number > 0 && arguments[1].number < 180)) {
            throw ScriptError(arguments[1].where,
                              "the arc must lie between 0 and 180 degrees, not " + arguments[1].text);
        }
        SetViewArc(view, arguments[1].number);
    } else if (command == "size") {
        a6::View& view = ViewNamed(arguments[0]);
        SetViewSize(view, WholeNumber(arguments[1], "a width", 0, 16384),
                    WholeNumber(arguments[2], "a height", 0, 16384));
    } else if (command == "layer") {
        SetViewLayer(ViewNamed(arguments[0]), WholeNumber(arguments[1], "a layer", -1000, 1000));
    } else if (command == "mesh") {
        if (engine_.objects().Find(arguments[0].text.c_str())) {
            throw ScriptError(arguments[0].where,
                              "the engine has an object named '" + arguments[0].text + "'");
        }
        std::string error;
        ID3DXMesh* mesh =
            scene_.AddMesh(engine_.device(), arguments[1].text, static_cast<float>(arguments[2].number),
                           VectorOf(arguments[3], arguments[4], arguments[5]), &error);
        if (!mesh) {
            throw ScriptError(arguments[1].where, error);
        }
        engine_.objects().AddObject(arguments[0].text, mesh);
        engine_.SetMesh(mesh); // the block shows the mesh declared last
    } else if (command == "colour") {
        const auto* mesh = static_cast<const ID3DXMesh*>(engine_.objects().Find(arguments[0].text.c_str()));
        if (!mesh || !scene_.SetMeshColor(mesh, ColourOf(arguments[1], arguments[2], arguments[3]))) {
            throw ScriptError(arguments[0].where, "unknown mesh '" + arguments[0].text + "'");
        }
    } else if (command == "clear") {
        scene_.SetClearColor(ColourOf(arguments[0], arguments[1], arguments[2]));
    } else if (command == "noclear") {
        scene_.KeepTarget();
    } else if (command == "render") {
        a6::View* view = &ViewNamed(arguments[0]);
        if (std::none_of(rendered_.begin(), rendered_.end(),
                         [&](const RenderedView& r) { return r.view == view; })) {
            rendered_.push_back(RenderedView{view, arguments[0].text});
        }
    } else if (command == "during") {
        during_[&ViewNamed(arguments[0])].push_back(statement.body.front());
    } else if (command == "frame") {
        DrawFrames(statement, arguments.empty() ? settings_.frames
                                                : WholeNumber(arguments[0], "a frame count", 0, 1000000));
    } else if (command == "clock") {
        clock_ = static_cast<DWORD>(WholeNumber(arguments[0], "the clock", 0, 2097151));
        engine_.SetClock(clock_);
    } else if (command == "tick") {
        settings_.tick = static_cast<DWORD>(WholeNumber(arguments[0], "a tick", 0, 60000));
    } else if (command == "reset") {
        ResetDevice(statement);
    } else if (command == "screenshot") {
        Screenshot(statement);
    }
}

var ScriptRun::Call(const Location& where, const std::string& name, const std::vector<Token>& arguments) {
    if (!plugin_.Export(name.c_str())) {
        throw ScriptError(where, "the plug-in has no export '" + name + "'");
    }
    std::vector<ExportArgument> values;
    for (const Token& argument : arguments) {
        if (argument.kind == TokenKind::kNumber) {
            values.emplace_back(a6::VarFromDouble(argument.number));
        } else {
            std::unique_ptr<EngineString>& string = strings_[argument.text];
            if (!string) {
                string = std::make_unique<EngineString>(argument.text);
            }
            values.emplace_back(string->record());
        }
    }
    const var result = CallNoting(name, values);
    if (settings_.afterCall) {
        settings_.afterCall(name, arguments);
    }
    return result;
}

// The engine follows the plug-in's textures through the device it handed out (PluginTextures): what
// the plug-in is about to let go is let go first, what it creates is noted.
var ScriptRun::CallNoting(const std::string& name, const std::vector<ExportArgument>& values) {
    NotingDevice* device = engine_.notingDevice();
    const var* first = values.empty() ? nullptr : std::get_if<var>(&values.front());
    const int id = first ? a6::VarToInt(*first) : 0;
    if (name == "VTR3TexDelete") {
        textures_.Forget(id);
    } else if (name == "VTR3ReleaseResources") {
        textures_.LetGo();
    } else if (name == "VTR3Initialize" || name == "VTR3DeInitialize") {
        textures_.Forget();
    }
    const bool initialize = name == "VTR3TexInitialize";
    const bool recreate = name == "VTR3RecreateResources";
    if (!device || !(initialize || recreate)) {
        return plugin_.CallWith(name.c_str(), values);
    }
    device->StartNoting();
    const var result = plugin_.CallWith(name.c_str(), values);
    if (initialize) {
        textures_.Attribute(id, device->TakeNoted());
    } else {
        textures_.Reattribute(device->TakeNoted());
    }
    return result;
}

ScriptRun::RenderEvent ScriptRun::FindRenderEvent(const char* name) const {
    return reinterpret_cast<RenderEvent>(plugin_.Export(name));
}

void ScriptRun::CallRenderEvent(RenderEvent event, const char* name) {
    if (event) {
        event();
    } else if (settings_.note && std::find(noted_.begin(), noted_.end(), name) == noted_.end()) {
        noted_.push_back(name);
        settings_.note(std::string("the plug-in has no export '") + name + "'; views are drawn without it");
    }
}

void ScriptRun::DrawFrames(const Statement& statement, int count) {
    IDirect3DDevice9* device = engine_.device();
    a6::View* camera = &engine_.camera();
    const std::vector<RenderedView> views =
        rendered_.empty() ? std::vector<RenderedView>{{camera, "camera"}} : rendered_;
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        HRESULT result = device->BeginScene();
        if (FAILED(result)) {
            throw ScriptError(statement.command.where, "BeginScene failed with " + ResultText(result));
        }
        for (const RenderedView& view : views) {
            DrawView(statement, view);
        }
        result = device->EndScene();
        if (FAILED(result)) {
            throw ScriptError(statement.command.where, "EndScene failed with " + ResultText(result));
        }
        ++framesDrawn_;
        frameSeconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (settings_.afterFrame) {
            settings_.afterFrame(framesDrawn_);
        }
        device->Present(nullptr, nullptr, nullptr, nullptr);
        clock_ += settings_.tick;
        engine_.SetClock(clock_);
    }
}

void ScriptRun::DrawView(const Statement& statement, const RenderedView& rendered) {
    IDirect3DDevice9* device = engine_.device();
    const a6::Vector& screen = *engine_.variables().Find("screen_size");
    const int screenWidth = a6::VarToInt(screen.x);
    const int screenHeight = a6::VarToInt(screen.y);
    const int width = a6::VarToInt(rendered.view->word[kViewSizeX]);
    const int height = a6::VarToInt(rendered.view->word[kViewSizeY]);
    const D3DVIEWPORT9 viewport{
        0,
        0,
        static_cast<DWORD>(width > 0 ? std::min(width, screenWidth) : screenWidth),
        static_cast<DWORD>(height > 0 ? std::min(height, screenHeight) : screenHeight),
        0.0f,
        1.0f};
    D3DXMATRIX view;
    D3DXMATRIX projection;
    EngineViewMatrices(*rendered.view, static_cast<int>(viewport.Width), static_cast<int>(viewport.Height),
                       &view, &projection);
    std::copy(&view.m[0][0], &view.m[0][0] + 16, engine_.viewMatrix());
    std::copy(&projection.m[0][0], &projection.m[0][0] + 16, engine_.projectionMatrix());
    engine_.SetRenderedView(rendered.view);
    device->SetViewport(&viewport);
    // The plug-in's stage A draws (the sky) with the view's transforms, so they are set before it.
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);

    HRESULT result = scene_.ClearBeforeView(device);
    if (SUCCEEDED(result)) {
        CallRenderEvent(beginView_, kBeginView);
        result = scene_.Draw(device, view, projection);
    }
    if (FAILED(result)) {
        throw ScriptError(statement.command.where,
                          "the engine could not draw view '" + rendered.name + "': " + ResultText(result));
    }
    const auto during = during_.find(rendered.view);
    if (during != during_.end()) {
        for (const Statement& call : during->second) {
            Call(call.command.where, call.command.text, call.arguments);
        }
    }
    CallRenderEvent(endView_, kEndView);
}

void ScriptRun::ResetDevice(const Statement& statement) {
    Call(statement.command.where, "VTR3ReleaseResources", {});
    const HRESULT result = engine_.ResetDevice();
    if (FAILED(result)) {
        throw ScriptError(statement.command.where, "the device did not reset: " + ResultText(result));
    }
    Call(statement.command.where, "VTR3RecreateResources", {});
}

void ScriptRun::Screenshot(const Statement& statement) {
    if (statement.arguments.size() > 1) {
        TextureScreenshot(statement);
        return;
    }
    const Token& file = statement.arguments[0];
    const HRESULT result = SaveBackBufferPng(engine_.device(), file.text);
    if (FAILED(result)) {
        throw ScriptError(file.where, "the back buffer could not be written to '" + file.text +
                                          "': " + ResultText(result));
    }
}

// screenshot texture ID [face N] "FILE.png"
void ScriptRun::TextureScreenshot(const Statement& statement) {
    const std::vector<Token>& arguments = statement.arguments;
    const Token& id = arguments[1];
    const Token& file = arguments.back();
    const int face = arguments.size() == 5 ? WholeNumber(arguments[3], "a face", 0, 5) : -1;
    IDirect3DBaseTexture9* texture = textures_.Find(WholeNumber(id, "a texture id", -2097152, 2097151));
    if (!texture) {
        throw ScriptError(id.where, "the plug-in holds no texture " + id.text);
    }
    const D3DRESOURCETYPE type = texture->GetType();
    if (face >= 0 && type != D3DRTYPE_CUBETEXTURE) {
        throw ScriptError(arguments[2].where, "texture " + id.text + " has no faces: it is no cube texture");
    }
    if (face < 0 && type != D3DRTYPE_TEXTURE) {
        throw ScriptError(id.where,
                          "texture " + id.text +
                              (type == D3DRTYPE_CUBETEXTURE ? " is a cube texture: name a face (face 0 to 5)"
                                                            : " is a volume texture, which has no picture"));
    }
    IDirect3DSurface9* surface = nullptr;
    HRESULT result = TextureSurface(texture, face, &surface);
    if (SUCCEEDED(result)) {
        result = SaveSurfacePng(engine_.device(), surface, file.text);
        surface->Release();
    }
    if (FAILED(result)) {
        throw ScriptError(file.where, "texture " + id.text + " could not be written to '" + file.text +
                                          "': " + ResultText(result));
    }
}

a6::View& ScriptRun::ViewNamed(const Token& name) {
    a6::View* view = engine_.objects().FindView(name.text.c_str());
    if (!view) {
        throw ScriptError(name.where, "unknown view '" + name.text + "'");
    }
    return *view;
}

} // namespace host::script
