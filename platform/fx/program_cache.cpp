#include "fx/program_cache.h"

#include "fx/compile_isolation.h"
#include "fx/disk_cache.h"

#include <mutex>
#include <unordered_map>

namespace platform::fx {
namespace {

constexpr std::size_t kMaxEntries = 512;

struct Cache {
    std::mutex mutex;
    std::unordered_map<std::string, ShaderResult> entries;
};

Cache& TheCache() {
    static Cache* cache = new Cache; // lives for the process; never destroyed while effects may compile
    return *cache;
}

std::string Key(const ShaderRequest& r) {
    return r.entry + '\n' + r.profile + '\n' + (r.stage == ShaderStage::Vertex ? "v" : "p") + '\n' + r.hlsl;
}

} // namespace

void CompileCached(const ShaderRequest& request, ShaderResult* result) {
    const std::string key = Key(request);
    Cache& cache = TheCache();
    {
        std::lock_guard<std::mutex> lock(cache.mutex);
        const auto found = cache.entries.find(key);
        if (found != cache.entries.end()) {
            *result = found->second;
            return;
        }
    }
    const DiskCacheEntry entry = FindDiskCacheEntry(request);
    if (!LoadFromDiskCache(entry, result)) {
        CompileIsolated(request, result);
        if (!result->ok)
            return;
        StoreInDiskCache(entry, *result);
    }
    std::lock_guard<std::mutex> lock(cache.mutex);
    if (cache.entries.size() >= kMaxEntries)
        cache.entries.clear();
    cache.entries.emplace(key, *result);
}

void ClearShaderCache() {
    std::lock_guard<std::mutex> lock(TheCache().mutex);
    TheCache().entries.clear();
}

std::size_t ShaderCacheSize() {
    std::lock_guard<std::mutex> lock(TheCache().mutex);
    return TheCache().entries.size();
}

} // namespace platform::fx
