// HLSL to GLSL 4.50: the semantic fix-ups, the compiler program that runs them apart from this process,
// and the caches. (glslang's messages as HLSL authors read them are checked in errors_test.cpp.) The
// disk cache: a hit skips the compiler program; a damaged entry is compiled again and replaced; the
// switch turns reading and writing off; concurrent writers never expose a partial entry.
#include "fx/compile_isolation.h"
#include "fx/compiler_wire.h"
#include "fx/disk_cache.h"
#include "fx/program_cache.h"
#include "fx/shaderc/shader_compiler.h"
#include "scoped_directory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

// The library never forks the engine's process; this program counts attempts instead.
static std::atomic<int> g_forks{0};
extern "C" pid_t fork() {
    ++g_forks;
    errno = ENOSYS;
    return -1;
}

namespace {

using platform::fx::CompileIsolated;
using platform::fx::CompileShader;
using platform::fx::ShaderRequest;
using platform::fx::ShaderResult;
using platform::fx::ShaderStage;

const char* const kShaders = R"(float4x4 matWorldViewProjection;
float4 tint;
sampler2D tex0;
struct VsOut { float4 pos : POSITION; float2 uv : TEXCOORD0; float4 col : COLOR0; };
VsOut VS(float4 pos : POSITION, float2 uv : TEXCOORD1, float3 n : NORMAL) {
    VsOut o;
    o.pos = mul(pos, matWorldViewProjection);
    o.uv = uv;
    o.col = float4(n, 1);
    return o;
}
float4 PS(float4 uv : TEXCOORD0, float2 vpos : VPOS) : COLOR0 {
    return tex2D(tex0, uv.xy) * tint + vpos.x * 0.001;
}
)";

TEST(ShaderCompiler, SemanticsMeetTheDeviceLocationsVaryingsAndSamplers) {
    ShaderResult vs, ps;
    CompileShader(ShaderRequest{kShaders, "VS", "vs_2_0", ShaderStage::Vertex}, &vs);
    CompileShader(ShaderRequest{kShaders, "PS", "ps_3_0", ShaderStage::Pixel}, &ps);
    ASSERT_TRUE(vs.ok && ps.ok) << vs.glsl << ps.glsl;
    for (const char* line :
         {"layout(location = 0) in vec4 vtr3_in_POSITION0;",
          "layout(location = 9) in vec2 vtr3_in_TEXCOORD1;", "layout(location = 3) in vec3 vtr3_in_NORMAL0;",
          "layout(location = 2) out vec4 vtr3_v_TEXCOORD0;",
          // Varyings are vec4; a float2 TEXCOORD is widened with 0, 1; shader model 2 clamps COLOR.
          "vtr3_v_TEXCOORD0 = vec4(vtr3_out_TEXCOORD0, 0.0, 1.0);",
          "vtr3_v_COLOR0 = clamp(vtr3_out_COLOR0, 0.0, 1.0);", "vtr3_EmitPosition(vtr3_out_POSITION0);"})
        EXPECT_NE(vs.glsl.find(line), std::string::npos) << line << "\n" << vs.glsl;
    ASSERT_EQ(vs.uniforms.size(), 1u);
    EXPECT_EQ(vs.uniforms[0].name, "matWorldViewProjection");
    EXPECT_EQ(vs.constantRegisters, 4);
    for (const char* line :
         {"layout(location = 2) in vec4 vtr3_v_TEXCOORD0;", "layout(location = 0) out vec4 vtr3_out_COLOR0;",
          "vtr3_in_VPOS0 = vec2(vec4(gl_FragCoord.xy - vec2(0.5), 0.0, 1.0).xy);", "uniform _Global fx_ps;"})
        EXPECT_NE(ps.glsl.find(line), std::string::npos) << line << "\n" << ps.glsl;
    EXPECT_EQ(ps.samplers, std::vector<std::string>{"tex0"});
}

bool IsInternalError(const ShaderResult& r, const std::string& prefix) {
    return !r.ok && r.messages.size() == 1 && r.messages[0].code == 4000 &&
           r.messages[0].text.rfind(prefix, 0) == 0;
}

std::string ProcStatusField(int pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return line.substr(line.find_first_not_of(" \t", field.size() + 1));
    return "";
}

TEST(CompilerProcess, ACrashAHangOrNoProgramCostsOneCompileAndAFreshProgramTakesTheNext) {
    const ShaderRequest good{kShaders, "PS", "ps_2_0", ShaderStage::Pixel};
    ShaderResult r;
    // glslang 12 dereferences null on noise() in HLSL.
    const ShaderRequest crashing{"float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return noise(uv); }", "PS",
                                 "ps_2_0", ShaderStage::Pixel};
    CompileIsolated(crashing, &r);
    EXPECT_TRUE(IsInternalError(r, "internal compiler error: the shader compiler crashed"))
        << r.messages[0].text;
    CompileIsolated(good, &r);
    EXPECT_TRUE(r.ok);
    // Side by side, the crash is its own request's alone.
    ShaderResult batch[3];
    CompileIsolated({{&crashing, &batch[0]}, {&good, &batch[1]}, {&good, &batch[2]}});
    EXPECT_TRUE(IsInternalError(batch[0], "internal compiler error: the shader compiler crashed"));
    EXPECT_TRUE(batch[1].ok && batch[2].ok && batch[2].glsl == r.glsl);

    const std::string hanging = testing::TempDir() + "vtr3_hanging_compiler.sh";
    std::ofstream(hanging) << "#!/bin/sh\nexec sleep 30\n";
    ASSERT_EQ(chmod(hanging.c_str(), 0755), 0);
    const char* named = std::getenv("VTR3_SHADER_COMPILER");
    ASSERT_NE(named, nullptr) << "ctest names the compiler program";
    const std::string real = named;
    const auto compileWith = [&](const std::string& program, auto... timeout) {
        platform::fx::StopShaderCompiler();
        setenv("VTR3_SHADER_COMPILER", program.c_str(), 1);
        CompileIsolated(good, &r, timeout...);
    };
    compileWith(hanging, 300);
    EXPECT_TRUE(IsInternalError(r, "internal compiler error: the shader compiler did not finish in time"))
        << r.messages[0].text;
    compileWith("/nonexistent/vtr3-shaderc");
    EXPECT_TRUE(IsInternalError(
        r, "internal: cannot start the shader compiler /nonexistent/vtr3-shaderc: No such file"))
        << r.messages[0].text;
    compileWith(real);
    EXPECT_TRUE(r.ok);
    // A program killed while idle costs no compile.
    const int pid = platform::fx::ShaderCompilerProcessId();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    while (ProcStatusField(pid, "State").rfind("Z", 0) != 0)
        usleep(1000);
    CompileIsolated(good, &r);
    EXPECT_TRUE(r.ok) << r.messages[0].text;
}

// A fork of this multi-threaded process would copy a heap whose locks another thread may hold.
TEST(CompilerProcess, ProgramsStartAndAnswerWhileAnotherThreadKeepsTheHeapBusy) {
    std::atomic<bool> stop{false};
    std::thread churn([&stop] {
        std::vector<void*> blocks(64, nullptr);
        for (unsigned i = 0; !stop.load(std::memory_order_relaxed); ++i) {
            std::free(blocks[i % blocks.size()]);
            blocks[i % blocks.size()] = std::malloc(16 + (i * 7919) % 70000);
            if (i % 4096 == 0)
                malloc_trim(0); // walks every arena under its lock
        }
        for (void* block : blocks)
            std::free(block);
    });
    const ShaderRequest request{kShaders, "VS", "vs_2_0", ShaderStage::Vertex};
    ShaderResult inProcess;
    CompileShader(request, &inProcess);
    for (int i = 0; i < 3; ++i) {
        platform::fx::StopShaderCompiler();
        ShaderResult isolated;
        CompileIsolated(request, &isolated, 10000);
        ASSERT_TRUE(isolated.ok);
        EXPECT_EQ(isolated.glsl, inProcess.glsl);
        EXPECT_EQ(isolated.constantRegisters, inProcess.constantRegisters);
    }
    stop = true;
    churn.join();
    EXPECT_EQ(g_forks.load(), 0);
    ShaderResult garbage;
    EXPECT_FALSE(platform::fx::DeserializeResult("\x01\x02", &garbage));
    EXPECT_FALSE(platform::fx::DeserializeResult(platform::fx::SerializeResult(inProcess) + "x", &garbage));
}

TEST(CompilerProcess, InheritsOnlyItsChannelAndNoneOfTheEnginesSignalSettings) {
    const int leaked = open("/dev/null", O_RDONLY); // not close-on-exec, as an engine might leave one
    ASSERT_GE(leaked, 0);
    sigset_t blocked;
    sigset_t previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    signal(SIGUSR2, SIG_IGN);
    platform::fx::StopShaderCompiler();
    ShaderResult r;
    CompileIsolated(ShaderRequest{kShaders, "PS", "ps_2_0", ShaderStage::Pixel}, &r);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    signal(SIGUSR2, SIG_DFL);
    close(leaked);
    ASSERT_TRUE(r.ok);

    const int pid = platform::fx::ShaderCompilerProcessId();
    ASSERT_GT(pid, 0);
    const std::string fdDir = "/proc/" + std::to_string(pid) + "/fd";
    std::map<int, std::string> fds;
    for (const auto& entry : std::filesystem::directory_iterator(fdDir))
        fds[std::stoi(entry.path().filename())] = std::filesystem::read_symlink(entry.path());
    ASSERT_EQ(fds.size(), 4u) << "descriptors 0 to 3 only";
    EXPECT_EQ(fds[0], "/dev/null");
    EXPECT_EQ(fds[3].rfind("socket:", 0), 0u) << fds[3];
    // Signals 1 to 31 (the C library keeps its own above them ignored in a spawned child).
    const auto classic = [pid](const char* field) {
        return std::stoull(ProcStatusField(pid, field), nullptr, 16) & 0x7fffffffull;
    };
    EXPECT_EQ(classic("SigBlk"), 0u);
    EXPECT_EQ(classic("SigIgn"), 0u);
}

// Points the cache at a fresh folder with the switch on, for the test's lifetime.
class ScopedCacheFolder {
  public:
    ScopedCacheFolder() {
        if (const char* use = std::getenv("VTR3_SHADER_CACHE"))
            previous_ = use;
        unsetenv("VTR3_SHADER_CACHE");
        setenv("VTR3_SHADER_CACHE_DIR", dir_.path().c_str(), 1);
        platform::fx::ClearShaderCache();
    }
    ~ScopedCacheFolder() {
        unsetenv("VTR3_SHADER_CACHE_DIR");
        if (!previous_.empty())
            setenv("VTR3_SHADER_CACHE", previous_.c_str(), 1);
        platform::fx::ClearShaderCache();
    }
    std::vector<std::filesystem::path> Files() const {
        return std::vector<std::filesystem::path>(std::filesystem::directory_iterator(dir_.path()),
                                                  std::filesystem::directory_iterator());
    }

  private:
    ScopedDirectory dir_;
    std::string previous_;
};

// The pixel shader, with `padding` blanks after it.
ShaderRequest Padded(std::size_t padding = 0) {
    return ShaderRequest{kShaders + std::string(padding, ' '), "PS", "ps_2_0", ShaderStage::Pixel};
}

// Compiles with the in-memory cache empty and no program running; true when the program ran.
bool CompileFresh(const ShaderRequest& request, ShaderResult* result) {
    platform::fx::ClearShaderCache();
    platform::fx::StopShaderCompiler();
    platform::fx::CompileCached(request, result);
    return platform::fx::ShaderCompilerProcessId() != 0;
}

TEST(ShaderCache, HitsSkipTheCompilerFailuresAreNotKeptAndADamagedDiskEntryIsCompiledAgainAndReplaced) {
    ScopedCacheFolder folder;
    const ShaderRequest request = Padded();
    ShaderResult good, r;
    ASSERT_TRUE(CompileFresh(request, &good));
    ASSERT_TRUE(good.ok);
    // In memory: a second compile of the same shader is a hit, and a failure is not kept.
    EXPECT_EQ(platform::fx::ShaderCacheSize(), 1u);
    platform::fx::CompileCached(request, &r);
    EXPECT_EQ(platform::fx::ShaderCacheSize(), 1u);
    EXPECT_EQ(r.glsl, good.glsl);
    ShaderRequest failing = request;
    failing.entry = "Nope";
    platform::fx::CompileCached(failing, &r);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(platform::fx::ShaderCacheSize(), 1u);
    // On disk: an intact entry is read; a damaged one is compiled again and replaced.
    ASSERT_EQ(folder.Files().size(), 1u);
    const std::filesystem::path entry = folder.Files()[0];
    const std::string intact = ReadFileBytes(entry);
    EXPECT_FALSE(CompileFresh(request, &r)) << "an intact entry is read, not compiled";
    EXPECT_EQ(r.glsl, good.glsl);

    std::string flipped = intact;
    ASSERT_NE(intact.find(good.glsl), std::string::npos);
    flipped[intact.find(good.glsl) + good.glsl.size() / 2] ^= 0x01; // a valid entry of other GLSL
    std::string hugeLength = intact;
    hugeLength[15] = 0x7f; // the payload length's high byte
    for (const std::string& damaged :
         {flipped, intact.substr(0, intact.size() / 2), intact.substr(0, 5), hugeLength, std::string()}) {
        std::ofstream(entry, std::ios::binary | std::ios::trunc) << damaged;
        EXPECT_TRUE(CompileFresh(request, &r)) << "a damaged entry is never trusted";
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.glsl, good.glsl);
        EXPECT_EQ(ReadFileBytes(entry), intact) << "and the compile replaces it";
    }

    // Switched off, the cache neither reads the stored entry nor writes a new one.
    setenv("VTR3_SHADER_CACHE", "off", 1);
    EXPECT_TRUE(CompileFresh(request, &r));
    std::filesystem::remove(entry);
    CompileFresh(request, &r);
    EXPECT_TRUE(r.ok && folder.Files().empty());
    unsetenv("VTR3_SHADER_CACHE");
}

// Writers rename complete files into place, so a reader sees the old entry or the new one.
TEST(DiskCache, ConcurrentWritersOfOneEntryNeverExposeAPartialOne) {
    ScopedCacheFolder folder;
    const ShaderRequest request = Padded(1 << 20); // a large entry takes many writes
    ShaderResult good;
    platform::fx::CompileCached(request, &good);
    ASSERT_TRUE(good.ok);
    const platform::fx::DiskCacheEntry entry = platform::fx::FindDiskCacheEntry(request);
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::thread reader([&] {
        while (!stop) {
            ShaderResult r;
            if (!platform::fx::LoadFromDiskCache(entry, &r) || r.glsl != good.glsl)
                ++bad;
        }
    });
    const auto write = [&] {
        for (int i = 0; i < 40; ++i)
            platform::fx::StoreInDiskCache(entry, good);
    };
    std::thread first(write);
    std::thread second(write);
    first.join();
    second.join();
    stop = true;
    reader.join();
    EXPECT_EQ(bad.load(), 0);
    EXPECT_EQ(folder.Files().size(), 1u) << "no temporary file is left behind";
}

} // namespace
