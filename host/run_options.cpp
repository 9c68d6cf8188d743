#include "run_options.h"

#include <cstdio>
#include <cstring>

namespace host {

const char* const kRunUsage =
    "usage: vantor-run [options] [SCRIPT]\n"
    "Runs a scene script (docs/scene-scripts.md) through the Vantor 3.0 plug-in inside the stand-in\n"
    "engine, headless, and prints one line: frames drawn, time a frame, the log's rows by kind and\n"
    "what drew them (the EGL display, or Direct3D 9 on Windows).\n"
    "Without SCRIPT it initialises the plug-in with its log on and shuts it down.\n"
    "\n"
    "  --frames N         frames that `frame` without a count draws (default 1)\n"
    "  --out DIR          write every frame to DIR/frame-00001.png, ...\n"
    "  --log FILE         copy the plug-in's log, Vantor3.html, to FILE after the run\n"
    "  --dir DIR          run in DIR: paths in the script and Vantor3.html are relative to it\n"
    "                     (SCRIPT, --out and --log stay relative to the current directory)\n"
    "  --plugin LIBRARY   load LIBRARY instead of the plug-in built with the runner\n"
    "  --steps DIR        write the image each post-processing step of the last frame drew, and\n"
    "                     DIR/steps.html showing them side by side\n"
    "  --size WxH         the engine window's size (default 1024x768)\n"
    "  --allow-errors     error rows in the log are only reported, for scripts that test failures\n"
    "  --window           show the frames live in a window (X11: needs DISPLAY); headless without it\n"
    "  --profile          time each frame's render events, objects and post-processing steps on the\n"
    "                     device and the CPU; print their medians, and write vantor-profile.html\n"
    "                     beside Vantor3.html\n"
    "  --timings          print how long each phase up to the first frame on disk took\n"
    "  --watch            draw on after the script's last frame: a changed effect file is compiled\n"
    "                     and, when it compiles, loaded again (the compiler's errors printed, the\n"
    "                     last good version drawing on); a changed script runs again from the start.\n"
    "                     Headless, a frame is drawn (and written to --out) after each change\n"
    "  --watch-frames N   end the watch once N frames are drawn, the script's own counted (then the\n"
    "                     script's statements after its last frame run)\n"
    "  -h, --help         this text\n"
    "\n"
    "Exit status: 0 when the script ran and the log holds no error row, 1 when the script failed\n"
    "(file:line:column: error: ... on standard error) or the log holds error rows, 2 for a bad\n"
    "command line.\n";

namespace {

bool ParseCount(const char* text, int low, int high, int* value) {
    char rest = 0;
    return std::sscanf(text, "%d%c", value, &rest) == 1 && *value >= low && *value <= high;
}

} // namespace

bool ParseRunOptions(int argc, const char* const* argv, RunOptions* options, std::string* error) {
    *options = RunOptions();
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "-h" || option == "--help") {
            options->help = true;
            continue;
        }
        if (option == "--allow-errors") {
            options->allowErrors = true;
            continue;
        }
        if (option == "--window") {
            options->window = true;
            continue;
        }
        if (option == "--timings") {
            options->timings = true;
            continue;
        }
        if (option == "--profile") {
            options->profile = "vantor-profile.html";
            continue;
        }
        if (option == "--watch") {
            options->watch = true;
            continue;
        }
        if (option.empty() || option[0] != '-') {
            if (!options->script.empty()) {
                *error = "one script at a time (" + options->script + ", " + option + ")";
                return false;
            }
            options->script = option;
            continue;
        }
        if (option != "--frames" && option != "--out" && option != "--log" && option != "--dir" &&
            option != "--plugin" && option != "--size" && option != "--steps" && option != "--watch-frames") {
            *error = "unknown option " + option;
            return false;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            *error = option + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        if (option == "--frames") {
            if (!ParseCount(value, 0, 1000000, &options->frames)) {
                *error = std::string("--frames needs a count from 0 to 1000000, not ") + value;
                return false;
            }
        } else if (option == "--watch-frames") {
            if (!ParseCount(value, 1, 1000000, &options->watchFrames)) {
                *error = std::string("--watch-frames needs a count from 1 to 1000000, not ") + value;
                return false;
            }
        } else if (option == "--size") {
            char rest = 0;
            if (std::sscanf(value, "%dx%d%c", &options->width, &options->height, &rest) != 2 ||
                options->width < 1 || options->height < 1 || options->width > 8192 ||
                options->height > 8192) {
                *error = std::string("--size needs WIDTHxHEIGHT, 1 to 8192 each, not ") + value;
                return false;
            }
        } else {
            std::string* target = option == "--out"     ? &options->out
                                  : option == "--log"   ? &options->log
                                  : option == "--dir"   ? &options->directory
                                  : option == "--steps" ? &options->steps
                                                        : &options->plugin;
            *target = value;
        }
    }
    if (options->watch && options->script.empty() && !options->help) {
        *error = "--watch needs a script";
        return false;
    }
    return true;
}

} // namespace host
