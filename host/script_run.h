// Runs a parsed scene script against the stand-in engine and a bound plug-in: declares the engine
// objects it names, calls the exports, draws frames with the render events where the engine sends
// them, moves the clock, resets the device and takes screenshots.
#ifndef VTR3_HOST_SCRIPT_RUN_H
#define VTR3_HOST_SCRIPT_RUN_H

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine.h"
#include "engine_scene.h"
#include "engine_string.h"
#include "plugin.h"
#include "plugin_textures.h"
#include "script_syntax.h"

namespace host::script {

struct RunSettings {
    int frames = 1;  // what `frame` without a count draws
    DWORD tick = 16; // milliseconds the clock moves after each frame, until `tick` changes it
    // Called after each frame's scene has ended, before Present, with the frame's number from 1.
    std::function<void(int frame)> afterFrame;
    // Called once when the plug-in lacks a render event that frames send (the frame goes on).
    std::function<void(const std::string& message)> note;
    // Called after each export call the script makes, with the export's name and arguments.
    std::function<void(const std::string& name, const std::vector<Token>& arguments)> afterCall;
};

class ScriptRun {
  public:
    // The engine needs its device (Engine::CreateGraphics); the plug-in is bound to it.
    ScriptRun(Engine& engine, Plugin& plugin, RunSettings settings);

    // Throws ScriptError, located at the statement that failed.
    void Execute(const std::vector<Statement>& statements);

    int framesDrawn() const { return framesDrawn_; }
    // Seconds spent drawing frames, without what afterFrame did.
    double frameSeconds() const { return frameSeconds_; }

  private:
    struct RenderedView {
        a6::View* view;
        std::string name;
    };

    void ExecuteOne(const Statement& statement);
    void DrawFrames(const Statement& statement, int count);
    void DrawView(const Statement& statement, const RenderedView& rendered);
    var Call(const Location& where, const std::string& name, const std::vector<Token>& arguments);
    var CallNoting(const std::string& name, const std::vector<ExportArgument>& values);
    // A render event export, taking nothing and returning a var.
    using RenderEvent = var (*)();
    RenderEvent FindRenderEvent(const char* name) const;
    void CallRenderEvent(RenderEvent event, const char* name);
    void ResetDevice(const Statement& statement);
    void Screenshot(const Statement& statement);
    void TextureScreenshot(const Statement& statement);
    a6::View& ViewNamed(const Token& name);

    Engine& engine_;
    Plugin& plugin_;
    RunSettings settings_;
    // The render events that frames send, looked up once for the run; null when the plug-in lacks one.
    RenderEvent beginView_;
    RenderEvent endView_;
    EngineScene scene_;
    std::vector<RenderedView> rendered_;
    // The export calls `during` repeats while a view is drawn, by view.
    std::map<const a6::View*, std::vector<Statement>> during_;
    // One engine string per text a call passed, kept for the run: the plug-in may keep path texts by
    // reference, and a call repeated every frame reuses its strings instead of adding new ones.
    std::map<std::string, std::unique_ptr<EngineString>> strings_;
    DWORD clock_ = 0;
    int framesDrawn_ = 0;
    double frameSeconds_ = 0;
    std::vector<std::string> noted_;
    PluginTextures textures_;
};

} // namespace host::script

#endif
