// The shader disk cache: a hit skips the compiler program; a damaged entry is compiled again and
// replaced; the switch turns reading and writing off; concurrent writers never expose a partial entry.
#include "fx/compile_isolation.h"
#include "fx/disk_cache.h"
#include "fx/program_cache.h"
#include "scoped_directory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using platform::fx::ShaderRequest;
using platform::fx::ShaderResult;

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
    std::vector<fs::path> Files() const {
        return std::vector<fs::path>(fs::directory_iterator(dir_.path()), fs::directory_iterator());
    }

  private:
    ScopedDirectory dir_;
    std::string previous_;
};

ShaderRequest Request(std::size_t padding = 0) {
    return {"float4 tint;\nfloat4 PS(float2 uv : TEXCOORD0) : COLOR0 { return tint * uv.x; }\n" +
                std::string(padding, ' '),
            "PS", "ps_2_0", platform::fx::ShaderStage::Pixel};
}

// Compiles with the in-memory cache empty and no program running; true when the program ran.
bool CompileFresh(const ShaderRequest& request, ShaderResult* result) {
    platform::fx::ClearShaderCache();
    platform::fx::StopShaderCompiler();
    platform::fx::CompileCached(request, result);
    return platform::fx::ShaderCompilerProcessId() != 0;
}

TEST(DiskCache, AHitSkipsTheCompilerAndADamagedEntryIsCompiledAgainAndReplaced) {
    ScopedCacheFolder folder;
    const ShaderRequest request = Request();
    ShaderResult good;
    ASSERT_TRUE(CompileFresh(request, &good));
    ASSERT_TRUE(good.ok);
    ASSERT_EQ(folder.Files().size(), 1u);
    const fs::path entry = folder.Files()[0];
    const std::string intact = ReadFileBytes(entry);
    ShaderResult r;
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
    const ShaderRequest request = Request(1 << 20); // a large entry takes many writes
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
