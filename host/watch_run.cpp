#include "watch_run.h"

#include <d3dx9.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "back_buffer.h"
#include "effect_check.h"
#include "host_error.h"

namespace host {
namespace {

namespace fs = std::filesystem;

// An editor's save may be several writes, or a write and a rename: the files count as saved once
// nothing has changed for this long. A file still half-written then fails to compile, and its next
// write is seen as a new change.
constexpr int kQuietMilliseconds = 30;
// How long a headless watch sleeps between looks when nothing changes, and a window's frame time.
constexpr int kIdleMilliseconds = 1000;
constexpr int kWindowFrameMilliseconds = 16;

void Say(const std::string& message) {
    std::fprintf(stderr, "vantor-run: %s\n", message.c_str());
    std::fflush(stderr);
}

std::string NormalPath(const std::string& path) {
    return fs::path(path).lexically_normal().string();
}

// The compiler's verdict on the file as it is now, on the device the plug-in draws with; its
// messages printed as it writes them ("file(line,col): error Xnnnn: text").
bool Compiles(IDirect3DDevice9* device, const std::string& text) {
    std::string messages;
    HRESULT result = S_OK;
    ID3DXEffect* effect = CompileEffectFile(device, text, &messages, &result);
    std::fprintf(stderr, "%s%s", messages.c_str(), !messages.empty() && messages.back() != '\n' ? "\n" : "");
    if (!effect && messages.empty()) { // no file, say
        std::fprintf(stderr, "%s: error: the effect did not compile: %s\n", text.c_str(),
                     ResultText(result).c_str());
    }
    if (effect) {
        effect->Release();
    }
    return effect != nullptr;
}

// The script's statements, or none with the fault printed.
bool ReadScript(const std::string& path, std::vector<script::Statement>* statements) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        Say("cannot read the script " + path);
        return false;
    }
    try {
        *statements = script::ParseScript(text.str(), path);
        return true;
    } catch (const script::ScriptError& fault) {
        std::fprintf(stderr, "%s\n", fault.what());
        return false;
    }
}

} // namespace

Watch::Watch(const RunOptions& options)
    : script_(NormalPath(options.script)), bound_(options.watchFrames), window_(options.window) {
    std::string error;
    watch_ = system::OpenDirectoryWatch(&error);
    if (!watch_) {
        throw Error(error);
    }
    WatchDirectoryOf(script_);
}

Watch::~Watch() {
    system::CloseDirectoryWatch(watch_);
}

void Watch::Observe(script::RunSettings* settings) {
    settings->probes.push_back(&effects_);
}

void Watch::WatchDirectoryOf(const std::string& path) {
    const std::string directory = fs::path(path).parent_path().string();
    if (std::find(directories_.begin(), directories_.end(), directory) != directories_.end()) {
        return;
    }
    std::string error;
    if (!system::WatchDirectory(watch_, directory, &error)) {
        Say(error); // a directory that appears later is not watched; the rest of the run goes on
    }
    directories_.push_back(directory);
}

void Watch::WatchFiles() {
    if (watchedVersion_ == effects_.version()) {
        return;
    }
    watchedVersion_ = effects_.version();
    watched_.clear();
    for (const auto& [id, text] : effects_.files()) {
        watched_.push_back(WatchedFile{FilePath(text), text, id});
        WatchDirectoryOf(watched_.back().path);
    }
    std::stable_sort(watched_.begin(), watched_.end(),
                     [](const WatchedFile& a, const WatchedFile& b) { return a.path < b.path; });
}

bool Watch::TakeChanges(int milliseconds) {
    changed_.clear();
    system::TakeChangedFiles(watch_, milliseconds, &changed_);
    if (changed_.empty()) {
        return false;
    }
    for (std::size_t seen = 0; seen != changed_.size();) {
        seen = changed_.size();
        system::TakeChangedFiles(watch_, kQuietMilliseconds, &changed_);
    }
    for (std::string& path : changed_) {
        path = NormalPath(path);
    }
    return true;
}

bool Watch::ScriptChanged() {
    return std::find(changed_.begin(), changed_.end(), script_) != changed_.end() &&
           ReadScript(script_, &next_);
}

bool Watch::ReloadChangedEffects(IDirect3DDevice9* device, Plugin& plugin) {
    bool handled = false;
    const std::string* checked = nullptr; // identifiers sharing a file follow each other
    bool compiles = false;
    for (const WatchedFile& file : watched_) {
        if (std::find(changed_.begin(), changed_.end(), file.path) == changed_.end()) {
            continue;
        }
        handled = true;
        if (!checked || *checked != file.path) {
            checked = &file.path;
            compiles = Compiles(device, file.text);
        }
        if (!compiles) {
            Say("effect " + std::to_string(file.id) + " keeps the version that compiled last");
            continue;
        }
        plugin.Call("VTR3EffectInitialize", a6::VarFromInt(file.id));
        Say("reloaded " + file.text + " (effect " + std::to_string(file.id) + ")");
    }
    return handled;
}

void Watch::WaitForScript() {
    Say("waiting for " + script_ + " to change");
    while (!(TakeChanges(kIdleMilliseconds) && ScriptChanged())) {
    }
    restart_ = true;
}

void Watch::Drive(Engine& engine, Plugin& plugin, script::ScriptRun& run,
                  const std::vector<script::Statement>& statements) {
    restart_ = false;
    const auto last = std::find_if(statements.rbegin(), statements.rend(),
                                   [](const script::Statement& s) { return s.command.text == "frame"; });
    const auto tailBegin = last.base();
    script::Statement frame;
    frame.command.text = "frame";
    frame.command.where = last != statements.rend() ? last->command.where : script::Location{script_, 1, 1};
    frame.arguments.push_back(script::Token{script::TokenKind::kNumber, "1", 1, frame.command.where});
    const std::vector<script::Statement> oneFrame{frame};
    try {
        run.Execute(std::vector<script::Statement>(statements.begin(), tailBegin));
    } catch (const script::ScriptError& fault) {
        if (bound_ > 0) {
            throw; // a bounded watch ends as a run without it does
        }
        std::fprintf(stderr, "%s\n", fault.what());
        drawnBefore_ += run.framesDrawn();
        WaitForScript();
        return;
    }
    WatchFiles();
    Say("watching " + script_ + " and " + std::to_string(watched_.size()) + " effect files");
    while (bound_ == 0 || drawnBefore_ + run.framesDrawn() < bound_) {
        const bool changed = TakeChanges(window_ ? kWindowFrameMilliseconds : kIdleMilliseconds);
        if (changed && ScriptChanged()) {
            restart_ = true;
            break;
        }
        if (!(changed && ReloadChangedEffects(engine.device(), plugin)) && !window_) {
            continue;
        }
        run.Execute(oneFrame);
        WatchFiles();
    }
    run.Execute(std::vector<script::Statement>(tailBegin, statements.end()));
    drawnBefore_ += run.framesDrawn();
}

bool Watch::Restart(std::vector<script::Statement>* statements) {
    if (restart_) {
        *statements = std::move(next_);
    }
    return restart_;
}

} // namespace host
