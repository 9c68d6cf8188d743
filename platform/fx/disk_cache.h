// Compiled shaders kept on disk between runs, so that an engine start does not pay glslang again.
// One file per shader under $VTR3_SHADER_CACHE_DIR, else $XDG_CACHE_HOME/vantor3, else
// ~/.cache/vantor3; VTR3_SHADER_CACHE=off turns it off. An entry is keyed by the request and by the
// compiler's identity (the version built in, the program's size and time), checked by length and
// CRC-32 when read, and written to a temporary file renamed into place, so that a reader never sees
// a half-written entry. A bad entry is a miss; the compile that follows replaces it.
#ifndef VTR3_PLATFORM_FX_DISK_CACHE_H
#define VTR3_PLATFORM_FX_DISK_CACHE_H

#include "fx/shader_request.h"

#include <cstdint>
#include <string>

namespace platform::fx {

// Empty when the cache is off or no folder can be named.
std::string DiskCacheDirectory();

// Where a request's entry is, worked out once for the load and the store that may follow.
struct DiskCacheEntry {
    std::string directory; // empty when the cache is off or the compiler cannot be found
    std::string key;
    std::string path;
};
DiskCacheEntry FindDiskCacheEntry(const ShaderRequest& request);

// True with the stored result of a successful compile; false on a miss or a bad entry.
bool LoadFromDiskCache(const DiskCacheEntry& entry, ShaderResult* result);

// Stores a successful result and evicts the least recently used entries beyond the size limit.
// Failures to write are ignored: the cache is an optimisation.
void StoreInDiskCache(const DiskCacheEntry& entry, const ShaderResult& result);

constexpr std::uint64_t kDiskCacheLimitBytes = 64ull << 20;

} // namespace platform::fx

#endif
