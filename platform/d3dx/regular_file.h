// Reading a whole file that a script or an effect names. Only a regular file is read: a device
// (/dev/zero never ends), a FIFO (waits for a writer) or a directory is refused before a byte is
// read, and so is a file beyond the caller's size limit.
#ifndef VTR3_PLATFORM_D3DX_REGULAR_FILE_H
#define VTR3_PLATFORM_D3DX_REGULAR_FILE_H

#include <cstdint>
#include <string>

namespace platform::d3dx {

enum class FileRead { Ok, CannotOpen, NotRegular, TooLarge, TooSmall };

struct FileLimits {
    std::uint64_t maxBytes = 0;
    std::uint64_t minBytes = 0;
    bool followLinks = true;
};

// The file's bytes into *bytes (left empty unless Ok).
FileRead ReadRegularFile(const std::string& path, const FileLimits& limits, std::string* bytes);

} // namespace platform::d3dx

#endif
