// Directory watching on Linux: one inotify descriptor for every watched directory, read without
// blocking once poll says it has events.
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <climits>
#include <cerrno>
#include <cstring>
#include <map>

#include "system.h"

namespace host::system {

struct DirectoryWatch {
    int descriptor = -1;
    std::map<int, std::string> directories; // by watch descriptor
    // Room for many events at once; inotify_event's alignment for the records read into it.
    alignas(inotify_event) char events[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
};

namespace {

// A change that ends a write, a new name or a name gone: what may change what the file holds. A
// plain IN_MODIFY counts too, for writers that keep the file open; the caller waits for quiet.
constexpr uint32_t kChanges =
    IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;

} // namespace

DirectoryWatch* OpenDirectoryWatch(std::string* error) {
    const int descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor < 0) {
        *error = std::string("inotify: ") + std::strerror(errno);
        return nullptr;
    }
    auto* watch = new DirectoryWatch;
    watch->descriptor = descriptor;
    return watch;
}

bool WatchDirectory(DirectoryWatch* watch, const std::string& directory, std::string* error) {
    const int added = inotify_add_watch(watch->descriptor, directory.c_str(), kChanges | IN_ONLYDIR);
    if (added < 0) {
        *error = "cannot watch " + directory + ": " + std::strerror(errno);
        return false;
    }
    watch->directories[added] = directory;
    return true;
}

void TakeChangedFiles(DirectoryWatch* watch, int milliseconds, std::vector<std::string>* paths) {
    pollfd ready{watch->descriptor, POLLIN, 0};
    if (poll(&ready, 1, milliseconds) <= 0) {
        return;
    }
    for (;;) {
        const ssize_t length = read(watch->descriptor, watch->events, sizeof watch->events);
        if (length <= 0) {
            return; // EAGAIN: all read
        }
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(watch->events + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const auto directory = watch->directories.find(event->wd);
            if (event->len > 0 && directory != watch->directories.end()) {
                paths->push_back(directory->second + "/" + event->name);
            }
        }
    }
}

void CloseDirectoryWatch(DirectoryWatch* watch) {
    if (watch) {
        close(watch->descriptor);
        delete watch;
    }
}

} // namespace host::system
