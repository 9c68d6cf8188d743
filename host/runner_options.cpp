#include "runner_options.h"

#include <cstring>

namespace host {

const char* const kRunnerUsage = "usage: vtr3_runner [--no-log] [--dir DIR] [--plugin LIBRARY]\n"
                                 "  --no-log          initialise the plug-in with its log switched off\n"
                                 "  --dir DIR         run in DIR, where the plug-in writes Vantor3.html\n"
                                 "  --plugin LIBRARY  load LIBRARY instead of the plug-in built here\n";

bool ParseRunnerOptions(int argc, const char* const* argv, RunnerOptions* options, std::string* error) {
    *options = RunnerOptions();
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        std::string* value = nullptr;
        if (std::strcmp(option, "--no-log") == 0) {
            options->log = false;
        } else if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
            options->help = true;
        } else if (std::strcmp(option, "--dir") == 0) {
            value = &options->directory;
        } else if (std::strcmp(option, "--plugin") == 0) {
            value = &options->plugin;
        } else {
            *error = std::string("unknown option ") + option;
            return false;
        }
        if (value) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                *error = std::string(option) + " needs a value";
                return false;
            }
            *value = argv[++i];
        }
    }
    return true;
}

} // namespace host
