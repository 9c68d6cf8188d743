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

void CompileCached(const std::vector<ShaderRequest>& requests, std::vector<ShaderResult>* results) {
    results->assign(requests.size(), ShaderResult{});
    std::vector<std::string> keys;
    keys.reserve(requests.size());
    std::vector<bool> found(requests.size(), false);
    Cache& cache = TheCache();
    {
        std::lock_guard<std::mutex> lock(cache.mutex);
        for (std::size_t i = 0; i < requests.size(); ++i) {
            keys.push_back(Key(requests[i]));
            const auto hit = cache.entries.find(keys.back());
            if (hit != cache.entries.end()) {
                (*results)[i] = hit->second;
                found[i] = true;
            }
        }
    }
    std::vector<DiskCacheEntry> entries(requests.size());
    std::vector<CompileJob> misses;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (found[i])
            continue;
        entries[i] = FindDiskCacheEntry(requests[i]);
        if (!LoadFromDiskCache(entries[i], &(*results)[i]))
            misses.push_back(CompileJob{&requests[i], &(*results)[i]});
    }
    if (!misses.empty())
        CompileIsolated(misses);
    for (const CompileJob& miss : misses) {
        if (miss.result->ok)
            StoreInDiskCache(entries[static_cast<std::size_t>(miss.request - requests.data())], *miss.result);
    }
    std::lock_guard<std::mutex> lock(cache.mutex);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (found[i] || !(*results)[i].ok)
            continue; // failures are not kept
        if (cache.entries.size() >= kMaxEntries)
            cache.entries.clear();
        cache.entries.emplace(std::move(keys[i]), (*results)[i]);
    }
}

void CompileCached(const ShaderRequest& request, ShaderResult* result) {
    std::vector<ShaderResult> results;
    CompileCached(std::vector<ShaderRequest>{request}, &results);
    *result = std::move(results.front());
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
