// Compiled shaders kept for the process (and on disk, disk_cache.h), keyed by the source, entry, profile and
// stage, so that a second effect with the same shaders, or an effect compiled again after a device reset,
// does not run glslang again. The GL programs themselves belong to each effect (contexts are per device).
#ifndef VTR3_PLATFORM_FX_PROGRAM_CACHE_H
#define VTR3_PLATFORM_FX_PROGRAM_CACHE_H

#include "fx/shader_request.h"

#include <vector>

namespace platform::fx {

// On a miss, reads the disk cache, else compiles through CompileIsolated and stores the result on
// disk too; failures are not kept.
void CompileCached(const ShaderRequest& request, ShaderResult* result);
// Several at once: the misses compile side by side. results[i] answers requests[i].
void CompileCached(const std::vector<ShaderRequest>& requests, std::vector<ShaderResult>* results);
void ClearShaderCache();
std::size_t ShaderCacheSize();

} // namespace platform::fx

#endif
