// Directory watching on Windows: one overlapped ReadDirectoryChangesW per directory, its event
// waited for with a timeout and its result taken without blocking.
#include <windows.h>

#include <memory>

#include "system.h"

namespace host::system {
namespace {

constexpr DWORD kChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

struct WatchedDirectory {
    std::string path;
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped{};
    DWORD records[4096]; // FILE_NOTIFY_INFORMATION records are DWORD-aligned

    ~WatchedDirectory() {
        if (handle != INVALID_HANDLE_VALUE) {
            CancelIo(handle);
            DWORD ignored = 0;
            GetOverlappedResult(handle, &overlapped, &ignored, TRUE); // the buffer is ours again
            CloseHandle(handle);
        }
        if (overlapped.hEvent) {
            CloseHandle(overlapped.hEvent);
        }
    }

    bool Listen() {
        return ReadDirectoryChangesW(handle, records, sizeof records, FALSE, kChanges, nullptr, &overlapped,
                                     nullptr) != 0;
    }
};

std::string SystemText(DWORD code) {
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                   sizeof text, nullptr);
    std::string result = text;
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.')) {
        result.pop_back();
    }
    return result;
}

} // namespace

struct DirectoryWatch {
    std::vector<std::unique_ptr<WatchedDirectory>> directories;
    std::vector<HANDLE> events; // one per directory, in the same order
};

DirectoryWatch* OpenDirectoryWatch(std::string*) {
    return new DirectoryWatch;
}

bool WatchDirectory(DirectoryWatch* watch, const std::string& directory, std::string* error) {
    if (watch->events.size() >= MAXIMUM_WAIT_OBJECTS) {
        *error = "cannot watch " + directory + ": too many directories";
        return false;
    }
    auto watched = std::make_unique<WatchedDirectory>();
    watched->path = directory;
    watched->overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    watched->handle = CreateFileA(directory.c_str(), FILE_LIST_DIRECTORY,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (!watched->overlapped.hEvent || watched->handle == INVALID_HANDLE_VALUE || !watched->Listen()) {
        *error = "cannot watch " + directory + ": " + SystemText(GetLastError());
        return false;
    }
    watch->events.push_back(watched->overlapped.hEvent);
    watch->directories.push_back(std::move(watched));
    return true;
}

void TakeChangedFiles(DirectoryWatch* watch, int milliseconds, std::vector<std::string>* paths) {
    if (watch->events.empty() ||
        WaitForMultipleObjects(static_cast<DWORD>(watch->events.size()), watch->events.data(), FALSE,
                               static_cast<DWORD>(milliseconds)) == WAIT_TIMEOUT) {
        return;
    }
    for (const std::unique_ptr<WatchedDirectory>& directory : watch->directories) {
        DWORD bytes = 0;
        if (!GetOverlappedResult(directory->handle, &directory->overlapped, &bytes, FALSE)) {
            continue; // still listening
        }
        // Zero bytes: more changed than the buffer held; those changes are lost, the next is seen.
        for (DWORD at = 0; bytes > 0;) {
            const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(
                reinterpret_cast<const char*>(directory->records) + at);
            char name[MAX_PATH * 2] = {};
            const int length =
                WideCharToMultiByte(CP_ACP, 0, record->FileName, static_cast<int>(record->FileNameLength / 2),
                                    name, sizeof name - 1, nullptr, nullptr);
            paths->push_back(directory->path + "\\" + std::string(name, length > 0 ? length : 0));
            if (record->NextEntryOffset == 0) {
                break;
            }
            at += record->NextEntryOffset;
        }
        ResetEvent(directory->overlapped.hEvent);
        directory->Listen();
    }
}

void CloseDirectoryWatch(DirectoryWatch* watch) {
    delete watch;
}

} // namespace host::system
