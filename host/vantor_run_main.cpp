// vantor-run: runs a scene script through the plug-in inside the stand-in engine and reports the
// run in one line. See run_options.cpp for the command line and docs/scene-scripts.md for scripts.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>

#include "engine.h"
#include "frame_writer.h"
#include "host_error.h"
#include "log_rows.h"
#include "plugin.h"
#include "profile_session.h"
#include "run_options.h"
#include "script_run.h"
#include "script_syntax.h"
#include "system.h"
#include "watch_run.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kProgram = "vantor-run";
constexpr const char* kLogFile = "Vantor3.html";
constexpr const char* kDefaultScript = "VTR3Initialize 1 \"Vantor 3.0 Runner\"\nVTR3DeInitialize\n";

struct Report {
    int frames = 0;
    double frameSeconds = 0;
    bool ran = false;
};

// Frames the script will draw, for the progress line.
int PlannedFrames(const std::vector<host::script::Statement>& statements, int defaultCount) {
    int total = 0;
    for (const host::script::Statement& statement : statements) {
        if (statement.command.text == "frame") {
            total +=
                statement.arguments.empty() ? defaultCount : static_cast<int>(statement.arguments[0].number);
        }
    }
    return total;
}

// "frame 12 of 100" on standard error, rewritten in place, only on a terminal and only once a run
// has taken a second.
class Progress {
  public:
    explicit Progress(int total) : total_(total), shown_(total > 1 && host::system::ErrorIsTerminal()) {}
    ~Progress() {
        if (drawn_) {
            std::fprintf(stderr, "\r%40s\r", "");
        }
    }
    void Frame(int frame) {
        const Clock::time_point now = Clock::now();
        if (!shown_ || now - start_ < std::chrono::seconds(1) ||
            now - last_ < std::chrono::milliseconds(200)) {
            return;
        }
        last_ = now;
        drawn_ = true;
        std::fprintf(stderr, "\r%s: frame %d of %d", kProgram, frame, total_);
        std::fflush(stderr);
    }

  private:
    int total_;
    bool shown_;
    bool drawn_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_{};
};

std::string FrameFile(const std::string& directory, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.png", frame);
    return (fs::path(directory) / name).string();
}

// The start-up's phases for --timings, measured from the program's static initialisation (after the
// dynamic loader, before main).
const Clock::time_point kProgramStart = Clock::now();

struct StartUp {
    Clock::time_point device, plugin, firstDrawn;
    double firstDrawSeconds = 0;

    void Print(Clock::time_point firstWritten) const {
        const auto ms = [](Clock::time_point from, Clock::time_point to) {
            return std::chrono::duration<double, std::milli>(to - from).count();
        };
        std::fprintf(stderr,
                     "%s: timings: device %.1f ms, plug-in %.1f ms, script up to the first frame %.1f ms, "
                     "first frame %.1f ms",
                     kProgram, ms(kProgramStart, device), ms(device, plugin),
                     ms(plugin, firstDrawn) - firstDrawSeconds * 1000.0, firstDrawSeconds * 1000.0);
        if (firstWritten != Clock::time_point{})
            std::fprintf(stderr, ", its PNG %.1f ms later; on disk %.1f ms after the start",
                         ms(firstDrawn, firstWritten), ms(kProgramStart, firstWritten));
        std::fprintf(stderr, "\n");
    }
};

// Fills `report` as far as the run came; throws what stopped it.
void Run(const host::RunOptions& options, const std::vector<host::script::Statement>& statements,
         Report* report, host::Watch* watch) {
    StartUp startUp;
    host::Engine engine;
    engine.CreateGraphics(options.width, options.height, "Acknex 6");
    startUp.device = Clock::now();
    std::string error;
    if (options.window && !host::system::OpenFrameWindow(engine.window(), options.width, options.height,
                                                         "vantor-run", &error)) {
        throw host::Error(error);
    }
    struct Closer {
        ~Closer() { host::system::CloseFrameWindow(); }
    } closer;
    auto plugin = std::make_unique<host::Plugin>(options.plugin);
    const int bound = plugin->Bind(engine);
    if (bound != a6::kDllApiResult) {
        throw host::Error("A6_DLLAPI answered " + std::to_string(bound) + ", not " +
                          std::to_string(a6::kDllApiResult));
    }
    startUp.plugin = Clock::now();
    Progress progress(PlannedFrames(statements, options.frames));
    host::FrameWriter frames;
    host::script::RunSettings settings;
    settings.frames = options.frames;
    settings.steps = options.steps;
    std::unique_ptr<host::ProfileSession> profile;
    if (!options.profile.empty()) {
        profile = std::make_unique<host::ProfileSession>(engine, PlannedFrames(statements, options.frames));
        profile->Attach(&settings);
    }
    settings.note = [](const std::string& message) {
        std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    };
    if (watch)
        watch->Observe(&settings);
    const host::script::ScriptRun* running = nullptr;
    const int framesBefore = report->frames; // a watch's runs number their frames on
    settings.afterFrame = [&](int frame) {
        if (frame == 1) {
            startUp.firstDrawn = Clock::now();
            startUp.firstDrawSeconds = running->frameSeconds();
        }
        if (!options.out.empty())
            frames.Write(engine.device(), frame, FrameFile(options.out, framesBefore + frame));
        host::system::ShowFrame(engine.device());
        progress.Frame(frame);
    };
    host::script::ScriptRun run(engine, *plugin, settings);
    running = &run;
    try {
        if (watch)
            watch->Drive(engine, *plugin, run, statements);
        else
            run.Execute(statements);
        frames.Finish();
        if (profile && !profile->Report(run, options.profile)) {
            throw host::Error("the profile could not be written to " + options.profile);
        }
        report->ran = true;
        if (options.timings)
            startUp.Print(frames.FirstWritten());
    } catch (...) {
        report->frames += run.framesDrawn();
        report->frameSeconds += run.frameSeconds();
        plugin.reset(); // unloaded while the device it used still exists
        throw;
    }
    report->frames += run.framesDrawn();
    report->frameSeconds += run.frameSeconds();
    plugin.reset();
}

std::optional<fs::file_time_type> LogTime() {
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(kLogFile, error);
    return error ? std::nullopt : std::optional<fs::file_time_type>(time);
}

bool ReadFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    *text = bytes.str();
    return static_cast<bool>(in) || in.eof();
}

std::string Absolute(const std::string& path) {
    return path.empty() ? path : fs::absolute(path).string();
}

} // namespace

int main(int argc, char** argv) {
    host::RunOptions options;
    std::string error;
    if (!host::ParseRunOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "%s: %s\nusage: %s [options] [SCRIPT] (%s --help for the options)\n", kProgram,
                     error.c_str(), kProgram, kProgram);
        return 2;
    }
    if (options.help) {
        std::printf("%s", host::kRunUsage);
        return 0;
    }
    if (options.plugin.empty()) {
        options.plugin = VTR3_PLUGIN_PATH; // relative on Windows: Vantor3.dll where the run starts
    }
    for (std::string* path : {&options.script, &options.out, &options.log, &options.plugin, &options.steps}) {
        *path = Absolute(*path); // before --dir moves the run
    }

    std::string text = kDefaultScript;
    if (!options.script.empty()) {
        const char* why = !fs::exists(options.script)            ? "no such file"
                          : !fs::is_regular_file(options.script) ? "not a file"
                          : !ReadFile(options.script, &text)     ? "unreadable"
                                                                 : nullptr;
        if (why) {
            std::fprintf(stderr, "%s: cannot read the script %s: %s\n", kProgram, options.script.c_str(),
                         why);
            return 1;
        }
    }
    std::vector<host::script::Statement> statements;
    try {
        statements = host::script::ParseScript(text, options.script.empty() ? "(default)" : options.script);
    } catch (const host::script::ScriptError& fault) {
        std::fprintf(stderr, "%s\n", fault.what());
        return 1;
    }

    std::error_code failed;
    if (!options.out.empty() && (fs::create_directories(options.out, failed), failed)) {
        std::fprintf(stderr, "%s: cannot create %s: %s\n", kProgram, options.out.c_str(),
                     failed.message().c_str());
        return 1;
    }
    if (!options.directory.empty() && (fs::current_path(options.directory, failed), failed)) {
        std::fprintf(stderr, "%s: cannot run in %s: %s\n", kProgram, options.directory.c_str(),
                     failed.message().c_str());
        return 1;
    }

    const std::optional<fs::file_time_type> logBefore = LogTime();
    Report report;
    try {
        std::unique_ptr<host::Watch> watch = options.watch ? std::make_unique<host::Watch>(options) : nullptr;
        do {
            Run(options, statements, &report, watch.get());
        } while (watch && watch->Restart(&statements));
    } catch (const std::exception& fault) {
        std::fflush(stdout);
        const bool located = dynamic_cast<const host::script::ScriptError*>(&fault) != nullptr;
        std::fprintf(stderr, located ? "%s\n" : "vantor-run: %s\n", fault.what());
    }

    // The log counts only when this run wrote it.
    const std::optional<fs::file_time_type> logAfter = LogTime();
    const bool logWritten = logAfter && (!logBefore || *logAfter != *logBefore);
    host::LogRowCounts rows;
    std::string html;
    if (logWritten && ReadFile(kLogFile, &html)) {
        rows = host::CountLogRows(html);
        if (!options.log.empty() &&
            (fs::copy_file(kLogFile, options.log, fs::copy_options::overwrite_existing, failed), failed)) {
            std::fprintf(stderr, "%s: cannot copy the log to %s: %s\n", kProgram, options.log.c_str(),
                         failed.message().c_str());
            report.ran = false;
        }
    }
    std::printf(
        "%s: %d %s, %.2f ms a frame, log: ", options.script.empty() ? "(default)" : options.script.c_str(),
        report.frames, report.frames == 1 ? "frame" : "frames",
        report.frames ? report.frameSeconds * 1000.0 / report.frames : 0.0);
    if (logWritten) {
        std::printf("%d information, %d warnings, %d errors, %d labels", rows.information, rows.warnings,
                    rows.errors, rows.labels);
    } else {
        std::printf("none");
    }
    std::printf("; graphics: %s\n", host::system::GraphicsName().c_str());
    if (!report.ran) {
        return 1;
    }
    if (rows.errors > 0 && !options.allowErrors) {
        std::fprintf(stderr, "%s: the log holds %d error %s (see %s); the first: %s\n", kProgram, rows.errors,
                     rows.errors == 1 ? "row" : "rows", fs::absolute(kLogFile).string().c_str(),
                     rows.firstError.c_str());
        std::error_code missing;
        if (!fs::exists("VTR3Content", missing)) {
            std::fprintf(stderr,
                         "%s: %s holds no VTR3Content, where the plug-in loads its effects and sky from; "
                         "run with --dir out after tools/run.sh\n",
                         kProgram, fs::current_path(missing).string().c_str());
        }
        return 1;
    }
    return 0;
}
