// vantor-run's command line.
#ifndef VTR3_HOST_RUN_OPTIONS_H
#define VTR3_HOST_RUN_OPTIONS_H

#include <string>

namespace host {

struct RunOptions {
    std::string script;    // empty: initialise the plug-in with its log on and shut it down
    int frames = 1;        // --frames: what `frame` without a count draws
    std::string out;       // --out: a directory for every frame as PNG
    std::string log;       // --log: where to copy Vantor3.html after the run
    std::string directory; // --dir: where the run happens (script paths, Vantor3.html)
    std::string plugin;    // --plugin: empty for the plug-in built with the runner
    std::string steps;     // --steps: a directory for the last frame's post-processing steps
    std::string profile;   // --profile: the profile's page, in the run's directory; empty without
    int width = 1024;      // --size WIDTHxHEIGHT: the engine window
    int height = 768;
    bool allowErrors = false; // --allow-errors
    bool window = false;      // --window: show the frames live
    bool timings = false;     // --timings: the start-up's phases on standard error
    bool watch = false;       // --watch: reload changed effects and the script (watch_run.h)
    int watchFrames = 0;      // --watch-frames: frames after which the watch ends; 0 for none
    bool help = false;
};

extern const char* const kRunUsage;

// False, with the reason in `error`, for an unknown option, a missing or bad value or a second script.
bool ParseRunOptions(int argc, const char* const* argv, RunOptions* options, std::string* error);

} // namespace host

#endif
