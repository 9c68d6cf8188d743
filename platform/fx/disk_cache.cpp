#include "fx/disk_cache.h"

#include "d3dx/regular_file.h"
#include "fx/compile_isolation.h"
#include "fx/compiler_wire.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#ifndef VTR3_SHADER_COMPILER_VERSION
#define VTR3_SHADER_COMPILER_VERSION "unknown"
#endif

namespace platform::fx {
namespace {

constexpr char kMagic[8] = {'V', 'T', 'R', '3', 'S', 'H', 'C', '1'};
constexpr std::size_t kHeaderSize = sizeof(kMagic) + 8 + 4; // magic, payload length, CRC-32
constexpr std::uint64_t kMaxEntryBytes = 16ull << 20;       // larger files are not ours
// A link in the folder is not ours either.
constexpr d3dx::FileLimits kEntryFile{kMaxEntryBytes, kHeaderSize, false};
constexpr std::size_t kNameDigits = 16;
constexpr time_t kStaleTemporarySeconds = 600; // a writer that died between write and rename

void PutU64(std::string* out, std::uint64_t v) {
    out->append(reinterpret_cast<const char*>(&v), sizeof(v));
}

std::uint64_t GetU64(const char* p) {
    std::uint64_t v = 0;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

// The compiler's identity: the version built in and the program file itself, so that a rebuilt or
// upgraded program never answers from entries its predecessor wrote. Empty when it cannot be found.
std::string CompilerIdentity() {
    struct stat s {};
    const std::string program = ShaderCompilerPath();
    if (stat(program.c_str(), &s) != 0)
        return "";
    return std::string(VTR3_SHADER_COMPILER_VERSION) + '\n' + program + '\n' + std::to_string(s.st_size) +
           ' ' + std::to_string(s.st_mtim.tv_sec) + '.' + std::to_string(s.st_mtim.tv_nsec);
}

std::string Key(const ShaderRequest& r, const std::string& identity) {
    return identity + '\n' + r.entry + '\n' + r.profile + '\n' +
           (r.stage == ShaderStage::Vertex ? "v" : "p") + '\n' + r.hlsl;
}

// Two checksums of the key make the file name; the key stored in the entry settles a collision.
std::string FileName(const std::string& key) {
    const auto* bytes = reinterpret_cast<const Bytef*>(key.data());
    const uInt size = static_cast<uInt>(std::min<std::size_t>(key.size(), 0xffffffffu));
    const unsigned long crc = crc32(0, bytes, size);
    const unsigned long adler = adler32(1, bytes, size);
    char name[kNameDigits + 1];
    std::snprintf(name, sizeof(name), "%08lx%08lx", crc & 0xffffffffu, adler & 0xffffffffu);
    return name;
}

// An entry's name, or a temporary file's (the name, a dot and mkostemp's six characters).
bool IsOurs(const char* name) {
    const std::size_t length = std::strlen(name);
    return std::strspn(name, "0123456789abcdef") == kNameDigits &&
           (length == kNameDigits || (length == kNameDigits + 7 && name[kNameDigits] == '.'));
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool MakeDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

// Removes the least recently used entries (a hit refreshes an entry's time) until the folder is
// within the limit, and temporary files that a crashed writer left behind.
void Evict(const std::string& directory) {
    DIR* dir = opendir(directory.c_str());
    if (!dir)
        return;
    struct Entry {
        timespec used;
        std::uint64_t size;
        std::string path;
    };
    std::vector<Entry> entries;
    std::uint64_t total = 0;
    const time_t now = std::time(nullptr);
    while (const dirent* d = readdir(dir)) {
        struct stat s {};
        const std::string path = directory + '/' + d->d_name;
        if (!IsOurs(d->d_name) || lstat(path.c_str(), &s) != 0 || !S_ISREG(s.st_mode))
            continue;
        if (d->d_name[kNameDigits] != '\0') {
            if (now - s.st_mtim.tv_sec > kStaleTemporarySeconds)
                unlink(path.c_str());
            continue;
        }
        entries.push_back({s.st_mtim, static_cast<std::uint64_t>(s.st_size), path});
        total += static_cast<std::uint64_t>(s.st_size);
    }
    closedir(dir);
    if (total <= kDiskCacheLimitBytes)
        return;
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.used.tv_sec != b.used.tv_sec ? a.used.tv_sec < b.used.tv_sec
                                              : a.used.tv_nsec < b.used.tv_nsec;
    });
    for (const Entry& e : entries) {
        if (total <= kDiskCacheLimitBytes)
            break;
        if (unlink(e.path.c_str()) == 0)
            total -= e.size;
    }
}

} // namespace

std::string DiskCacheDirectory() {
    const char* use = std::getenv("VTR3_SHADER_CACHE");
    if (use && (std::strcmp(use, "off") == 0 || std::strcmp(use, "0") == 0))
        return "";
    const char* dir = std::getenv("VTR3_SHADER_CACHE_DIR");
    if (dir && *dir == '/')
        return dir;
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg && *xdg == '/') // relative values are to be ignored
        return std::string(xdg) + "/vantor3";
    const char* home = std::getenv("HOME");
    if (home && *home == '/')
        return std::string(home) + "/.cache/vantor3";
    return "";
}

DiskCacheEntry FindDiskCacheEntry(const ShaderRequest& request) {
    DiskCacheEntry entry;
    const std::string directory = DiskCacheDirectory();
    const std::string identity = directory.empty() ? "" : CompilerIdentity();
    if (identity.empty())
        return entry;
    entry.directory = directory;
    entry.key = Key(request, identity);
    entry.path = directory + '/' + FileName(entry.key);
    return entry;
}

bool LoadFromDiskCache(const DiskCacheEntry& entry, ShaderResult* result) {
    if (entry.directory.empty())
        return false;
    const std::string& key = entry.key;
    const std::string& path = entry.path;
    std::string bytes;
    if (d3dx::ReadRegularFile(path, kEntryFile, &bytes) != d3dx::FileRead::Ok)
        return false;
    const std::uint64_t length = GetU64(bytes.data() + sizeof(kMagic));
    std::uint32_t crc = 0;
    std::memcpy(&crc, bytes.data() + sizeof(kMagic) + 8, sizeof(crc));
    const char* payload = bytes.data() + kHeaderSize;
    const bool intact = std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) == 0 &&
                        length == bytes.size() - kHeaderSize &&
                        crc32(0, reinterpret_cast<const Bytef*>(payload), static_cast<uInt>(length)) == crc;
    if (!intact) {
        unlink(path.c_str()); // never trusted; the compile that follows writes it again
        return false;
    }
    const std::uint64_t keySize = length >= 8 ? GetU64(payload) : ~0ull;
    if (keySize > length - 8 || key.compare(0, std::string::npos, payload + 8, keySize) != 0)
        return false; // another request with the same file name
    const std::size_t resultAt = kHeaderSize + 8 + static_cast<std::size_t>(keySize);
    if (!DeserializeResult(bytes.substr(resultAt), result) || !result->ok) {
        *result = ShaderResult{};
        return false;
    }
    utimensat(AT_FDCWD, path.c_str(), nullptr, 0); // recently used: evicted last
    return true;
}

void StoreInDiskCache(const DiskCacheEntry& entry, const ShaderResult& result) {
    if (entry.directory.empty() || !result.ok || !MakeDirectories(entry.directory))
        return;
    const std::string& key = entry.key;
    std::string payload;
    PutU64(&payload, key.size());
    payload += key;
    payload += SerializeResult(result);
    if (payload.size() + kHeaderSize > kMaxEntryBytes)
        return;
    std::string bytes(kMagic, sizeof(kMagic));
    PutU64(&bytes, payload.size());
    const std::uint32_t crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(payload.data()), static_cast<uInt>(payload.size())));
    bytes.append(reinterpret_cast<const char*>(&crc), sizeof(crc));
    bytes += payload;

    const std::string& path = entry.path;
    std::string temporary = path + ".XXXXXX";
    const int fd = mkostemp(&temporary[0], O_CLOEXEC);
    if (fd < 0)
        return;
    const bool written = WriteAll(fd, bytes);
    if (close(fd) != 0 || !written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return;
    }
    Evict(entry.directory);
}

} // namespace platform::fx
