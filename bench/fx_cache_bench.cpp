// Compiling the nine post-processing effects of the content folder (preprocessing, parsing and the
// shaders; no GL): cold (both caches off, so glslang and SPIRV-Cross run in the compiler program),
// from the process's cache, from the disk cache in this process, and from the disk cache in a fresh
// process (the program runs itself once per iteration and reports the time of its nine compiles).
#include "fx/compile_isolation.h"
#include "fx/effect_build.h"
#include "fx/program_cache.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const char* const kSteps[] = {"brightpass", "combine",    "hbloom", "hblur", "monochrom",
                              "negative",   "simpleblur", "vbloom", "vblur"};

std::vector<platform::fx::SourceInput> NineEffects() {
    std::vector<platform::fx::SourceInput> inputs;
    for (const char* step : kSteps) {
        platform::fx::SourceInput in;
        in.name = std::string(VTR3_CONTENT_DIR) + "/vtr3_" + step + ".fx";
        in.directory = VTR3_CONTENT_DIR;
        std::ifstream file(in.name);
        in.text.assign(std::istreambuf_iterator<char>(file), {});
        inputs.push_back(in);
    }
    return inputs;
}

bool BuildAll(const std::vector<platform::fx::SourceInput>& inputs) {
    for (const platform::fx::SourceInput& in : inputs) {
        platform::fx::BuiltEffect effect;
        platform::fx::Diagnostics diagnostics;
        if (!platform::fx::BuildEffect(in, &effect, &diagnostics))
            return false;
    }
    return true;
}

std::string CacheFolder() {
    return "/tmp/vtr3_fx_cache_bench_" + std::to_string(getpid());
}

// diskCache: off, or on in this process's folder; clearMemory: empty the process's cache first.
void Run(benchmark::State& state, bool diskCache, bool clearMemory) {
    const auto inputs = NineEffects();
    setenv("VTR3_SHADER_CACHE", diskCache ? "on" : "off", 1);
    if (!BuildAll(inputs)) { // also fills the disk cache, and starts the compiler program once
        state.SkipWithError("compile failed");
        return;
    }
    for (auto _ : state) {
        if (clearMemory) {
            state.PauseTiming();
            platform::fx::ClearShaderCache();
            state.ResumeTiming();
        }
        BuildAll(inputs);
    }
}

void BM_NinePostEffectsCold(benchmark::State& state) {
    Run(state, false, true);
}
void BM_NinePostEffectsProcessCache(benchmark::State& state) {
    Run(state, false, false);
}
void BM_NinePostEffectsDiskCache(benchmark::State& state) {
    Run(state, true, true);
}

// The child's own measurement: a fresh process's first compiles pay every first-use cost.
void BM_NinePostEffectsDiskCacheFreshProcess(benchmark::State& state) {
    setenv("VTR3_SHADER_CACHE", "on", 1);
    if (!BuildAll(NineEffects())) {
        state.SkipWithError("compile failed");
        return;
    }
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0)
            return state.SkipWithError("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        char self[] = "/proc/self/exe";
        char once[] = "--once";
        char* const argv[] = {self, once, nullptr};
        pid_t pid = 0;
        const bool started = posix_spawn(&pid, self, &actions, nullptr, argv, environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        char text[64] = {};
        const ssize_t n = started ? read(fds[0], text, sizeof(text) - 1) : -1;
        close(fds[0]);
        int status = 0;
        if (started)
            waitpid(pid, &status, 0);
        if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return state.SkipWithError("the fresh process failed");
        state.SetIterationTime(std::atof(text));
    }
}

BENCHMARK(BM_NinePostEffectsCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NinePostEffectsProcessCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NinePostEffectsDiskCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NinePostEffectsDiskCacheFreshProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The compiler program of the build tree, and a cache folder of this run (the children inherit
    // both through the environment).
    setenv("VTR3_SHADER_COMPILER", VTR3_SHADER_COMPILER_PATH, 0);
    setenv("VTR3_SHADER_CACHE_DIR", CacheFolder().c_str(), 0);
    if (argc == 2 && std::strcmp(argv[1], "--once") == 0) {
        const auto inputs = NineEffects();
        const auto start = std::chrono::steady_clock::now();
        const bool ok = BuildAll(inputs);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::printf("%.9f\n", took.count());
        return ok && platform::fx::ShaderCompilerProcessId() == 0 ? 0 : 1; // every shader from disk
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(CacheFolder(), ignored);
    return 0;
}
