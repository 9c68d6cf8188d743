// vantor-run --watch: runs the script, then draws on while its effect files and the script itself
// are watched. A changed effect file is compiled first on the engine's device; only when it compiles
// is the plug-in told to initialise the effect again (VTR3EffectInitialize), because the plug-in
// drops an effect whose new text fails, and the last good version is to keep drawing. The compiler's
// messages are printed as it writes them. A changed script ends the run (its statements after the
// last `frame` run) so that it starts again from the beginning.
#ifndef VTR3_HOST_WATCH_RUN_H
#define VTR3_HOST_WATCH_RUN_H

#include <string>
#include <vector>

#include "engine.h"
#include "loaded_effects.h"
#include "plugin.h"
#include "run_options.h"
#include "script_run.h"
#include "script_syntax.h"
#include "system.h"

namespace host {

class Watch {
  public:
    // Throws host::Error when the system cannot watch files.
    explicit Watch(const RunOptions& options);
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    // Lets the watch see the export calls of runs made with these settings.
    void Observe(script::RunSettings* settings);

    // Runs the statements up to the last `frame`, then draws a frame after each handled change
    // (with a window: continuously) until the runs have drawn --watch-frames frames or the script
    // changed, then the statements after the last `frame`. A fault of the script is printed, and
    // the watch waits for the script to change (with --watch-frames the fault ends the run).
    void Drive(Engine& engine, Plugin& plugin, script::ScriptRun& run,
               const std::vector<script::Statement>& statements);

    // After Drive: whether the script changed and parses; `statements` then holds it.
    bool Restart(std::vector<script::Statement>* statements);

  private:
    struct WatchedFile {
        std::string path; // FilePath of the text
        std::string text; // as the plug-in holds it
        int id;
    };

    void WatchFiles();
    void WatchDirectoryOf(const std::string& path);
    // Waits up to `milliseconds` for a change, then until the files are quiet; false for none.
    bool TakeChanges(int milliseconds);
    bool ScriptChanged();
    // True when any changed effect was handled (reloaded, or refused with its messages printed).
    bool ReloadChangedEffects(IDirect3DDevice9* device, Plugin& plugin);
    void WaitForScript();

    std::string script_;
    int bound_;
    bool window_;
    system::DirectoryWatch* watch_ = nullptr;
    std::vector<std::string> directories_;
    LoadedEffects effects_;
    unsigned watchedVersion_ = ~0u;
    std::vector<WatchedFile> watched_;
    std::vector<std::string> changed_;
    bool restart_ = false;
    std::vector<script::Statement> next_;
    int drawnBefore_ = 0; // by the runs before this one
};

} // namespace host

#endif
