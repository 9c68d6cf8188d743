// The runner program's command line.
#ifndef VTR3_HOST_RUNNER_OPTIONS_H
#define VTR3_HOST_RUNNER_OPTIONS_H

#include <string>

namespace host {

struct RunnerOptions {
    bool log = true;       // the log switch VTR3Initialize gets: 1, or 0 with --no-log
    std::string directory; // --dir: where the runner runs (and the log is written); empty: here
    std::string plugin;    // --plugin: the library to load; empty: the plug-in built with the runner
    bool help = false;
};

extern const char* const kRunnerUsage;

// False, with the reason in `error`, for an unknown option or an option without its value.
bool ParseRunnerOptions(int argc, const char* const* argv, RunnerOptions* options, std::string* error);

} // namespace host

#endif
