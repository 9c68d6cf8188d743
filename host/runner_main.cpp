// vtr3_runner: the stand-in engine's main program. Creates the engine's window and device, loads
// and binds the plug-in, initialises it, reports how that went, shuts it down and unloads it.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "engine.h"
#include "engine_string.h"
#include "host_error.h"
#include "platform_control.h"
#include "plugin.h"
#include "runner_options.h"

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;
constexpr const char* kWindowTitle = "Acknex 6";
constexpr const char* kPluginTitle = "Vantor 3.0 Runner";
constexpr const char* kLogFile = "Vantor3.html";

// Returns VTR3Initialize's result code.
var Run(const host::RunnerOptions& options) {
    host::Engine engine;
    engine.CreateGraphics(kWindowWidth, kWindowHeight, kWindowTitle);

    const std::string path = options.plugin.empty() ? VTR3_PLUGIN_PATH : options.plugin;
    auto plugin = std::make_unique<host::Plugin>(path);
    std::printf("plug-in: %s\n", path.c_str());
    const int bound = plugin->Bind(engine);
    std::printf("A6_DLLAPI: %d\n", bound);
    if (bound != a6::kDllApiResult) {
        throw host::Error("A6_DLLAPI answered " + std::to_string(bound) + ", not " +
                          std::to_string(a6::kDllApiResult));
    }

    host::EngineString title(kPluginTitle);
    const var result = plugin->Call("VTR3Initialize", a6::VarFromInt(options.log ? 1 : 0), title.record());
    std::printf("VTR3Initialize: %d\n", a6::VarToInt(result));
    std::printf("window title: %s\n", platform::GetStandInWindowTitle(engine.window()).c_str());
    std::printf("VTR3DeInitialize: %d\n", a6::VarToInt(plugin->Call("VTR3DeInitialize")));
    plugin.reset(); // unloaded while the device still exists

    std::error_code error;
    if (!options.log) {
        std::printf("log: switched off\n"); // an older Vantor3.html here is not this run's
    } else if (std::filesystem::exists(kLogFile, error)) {
        std::printf("log: %s\n", std::filesystem::absolute(kLogFile).c_str());
    } else {
        std::printf("log: none written\n");
    }
    return result;
}

} // namespace

int main(int argc, char** argv) {
    host::RunnerOptions options;
    std::string error;
    if (!host::ParseRunnerOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "vtr3_runner: %s\n%s", error.c_str(), host::kRunnerUsage);
        return 2;
    }
    if (options.help) {
        std::printf("%s", host::kRunnerUsage);
        return 0;
    }
    if (!options.plugin.empty()) {
        options.plugin = std::filesystem::absolute(options.plugin).string(); // before --dir moves us
    }
    if (!options.directory.empty()) {
        std::error_code changed;
        std::filesystem::current_path(options.directory, changed);
        if (changed) {
            std::fprintf(stderr, "vtr3_runner: cannot run in \"%s\": %s\n", options.directory.c_str(),
                         changed.message().c_str());
            return 2;
        }
    }
    try {
        return Run(options) == 0 ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fflush(stdout); // the report so far comes before the error
        std::fprintf(stderr, "vtr3_runner: %s\n", failure.what());
        return 1;
    }
}
