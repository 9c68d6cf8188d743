#include "d3dx/regular_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::d3dx {

FileRead ReadRegularFile(const std::string& path, const FileLimits& limits, std::string* bytes) {
    bytes->clear();
    // Non-blocking, so that opening a FIFO does not wait for a writer before fstat refuses it.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (limits.followLinks ? 0 : O_NOFOLLOW);
    const int fd = open(path.c_str(), flags);
    if (fd < 0)
        return FileRead::CannotOpen;
    struct stat s {};
    FileRead result = FileRead::Ok;
    if (fstat(fd, &s) != 0)
        result = FileRead::CannotOpen;
    else if (!S_ISREG(s.st_mode))
        result = FileRead::NotRegular;
    else if (static_cast<std::uint64_t>(s.st_size) > limits.maxBytes)
        result = FileRead::TooLarge;
    else if (static_cast<std::uint64_t>(s.st_size) < limits.minBytes)
        result = FileRead::TooSmall;
    if (result == FileRead::Ok) {
        bytes->resize(static_cast<std::size_t>(s.st_size));
        std::size_t done = 0;
        while (result == FileRead::Ok && done < bytes->size()) {
            const ssize_t n = read(fd, &(*bytes)[done], bytes->size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                result = FileRead::CannotOpen; // shrunk or failed while being read
            else
                done += static_cast<std::size_t>(n);
        }
    }
    close(fd);
    if (result != FileRead::Ok)
        bytes->clear();
    return result;
}

} // namespace platform::d3dx
