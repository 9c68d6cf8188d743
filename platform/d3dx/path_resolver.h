// Opens paths written for Windows on Linux. Backslashes are separators. A path that does not exist as
// written is looked up one component at a time, each matched without regard to ASCII case among the
// names of the directory reached so far; an exact match always wins, and among several names that
// differ only in case the first in byte order is taken, so the choice does not depend on the order in
// which the directory lists its entries.
#ifndef VTR3_PLATFORM_D3DX_PATH_RESOLVER_H
#define VTR3_PLATFORM_D3DX_PATH_RESOLVER_H

#include <string>

namespace platform::d3dx {

// The existing file or directory the path names, or the path with its separators converted when
// nothing matches (opening it then fails as it would have).
std::string ResolvePath(const char* path);

// For a file about to be written: the directory part resolved as above, the file name kept as written
// unless a file of that name in another case exists already.
std::string ResolvePathForWriting(const char* path);

} // namespace platform::d3dx

#endif
